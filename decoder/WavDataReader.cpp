#include "WavDataReader.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {
// The header search reads the file in pieces this large rather than four bytes per call.
constexpr qint64 kChunkBytes = 64 * 1024;
constexpr int kBytesPerSample = 2;
} // namespace

void WavDataReader::open(QIODevice *device)
{
    m_device = device;
    m_chunk.clear();
    m_chunkPos = 0;
}

void WavDataReader::close()
{
    m_device = nullptr;
    m_chunk.clear();
    m_chunkPos = 0;
}

bool WavDataReader::fillChunk()
{
    if (!m_device)
        return false;
    m_chunk = m_device->read(kChunkBytes);
    m_chunkPos = 0;
    return !m_chunk.isEmpty();
}

std::uint32_t WavDataReader::read4BytesLittleEndian()
{
    std::uint32_t word = 0;
    for (int k = 0; k < 4; ++k) {
        if (m_chunkPos >= m_chunk.size() && !fillChunk())
            break;
        word |= std::uint32_t(std::uint8_t(m_chunk[m_chunkPos++])) << (8 * k);
    }
    return word;
}

bool WavDataReader::findDataChunk()
{
    for (;;) {
        if (m_chunkPos >= m_chunk.size() && !fillChunk())
            return false;
        // A partial last word reads with zero bytes and so can never be "data".
        if (read4BytesLittleEndian() == kDataChunkId)
            return true;
    }
}

qint64 WavDataReader::position() const
{
    return m_device ? m_device->pos() - (m_chunk.size() - m_chunkPos) : 0;
}

std::int64_t WavDataReader::bytesLeft() const
{
    const std::int64_t buffered = m_chunk.size() - m_chunkPos;
    if (!m_device || m_device->isSequential())
        return buffered + (m_device ? m_device->bytesAvailable() : 0);
    return buffered + std::max<std::int64_t>(0, m_device->size() - m_device->pos());
}

std::vector<std::int16_t> WavDataReader::readSamples(std::uint32_t sampleCount, std::int64_t padding)
{
    const std::int64_t declared = sampleCount;
    const std::int64_t held = std::min(declared, bytesLeft() / kBytesPerSample);
    std::vector<std::int16_t> samples(std::size_t(std::min(declared, held + padding)));

    // Whatever the header search read ahead comes first, then the rest in one read.
    char *out = reinterpret_cast<char *>(samples.data());
    const std::int64_t wanted = held * kBytesPerSample;
    const std::int64_t fromChunk =
        std::max<std::int64_t>(0, std::min<std::int64_t>(wanted, m_chunk.size() - m_chunkPos));
    if (fromChunk > 0)
        std::memcpy(out, m_chunk.constData() + m_chunkPos, std::size_t(fromChunk));
    m_chunkPos += fromChunk;
    std::int64_t got = fromChunk;
    while (m_device && got < wanted) {
        const qint64 n = m_device->read(out + got, wanted - got);
        if (n <= 0)
            break; // what could not be read stays 0, like samples the file does not hold
        got += n;
    }
    // A sample whose second byte is missing is a sample the file does not hold.
    if (got % kBytesPerSample)
        out[got - 1] = 0;

    if constexpr (QSysInfo::ByteOrder == QSysInfo::BigEndian)
        qFromLittleEndian<std::int16_t>(samples.data(), qsizetype(held), samples.data());
    return samples;
}
