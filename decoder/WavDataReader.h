#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

class QIODevice;

// Reads the sample data out of a recorded WAV file as the recorder writes it:
// the RIFF header and format chunk are not interpreted, the "data" word is
// looked for at every fourth byte, and what follows is taken as 16-bit mono.
// Used for one extraction at a time; the device is not owned.
class WavDataReader
{
public:
    static constexpr std::uint32_t kDataChunkId = 0x61746164; // "data" in file order

    void open(QIODevice *device);
    void close();
    bool isOpen() const { return m_device != nullptr; }
    // Where in the file the next read4BytesLittleEndian() starts.
    qint64 position() const;

    // The next four bytes, least significant first. Bytes past the end of the
    // file (or with no file open) read as 0.
    std::uint32_t read4BytesLittleEndian();

    // Reads words until one is the "data" identifier; false at the end of the file.
    bool findDataChunk();

    // Reads sampleCount samples that follow. Only as many as the file holds
    // are read from it, followed by at most `padding` zero samples standing in
    // for the rest: a data chunk that claims more than the file holds never
    // makes us allocate for samples that do not exist.
    std::vector<std::int16_t> readSamples(std::uint32_t sampleCount, std::int64_t padding);

private:
    bool fillChunk();
    std::int64_t bytesLeft() const;

    QIODevice *m_device = nullptr;
    QByteArray m_chunk;
    qsizetype m_chunkPos = 0;
};
