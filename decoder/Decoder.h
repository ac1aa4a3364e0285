#pragma once

#include "ByteReader.h"
#include "DecisionMargins.h"
#include "DecodeResult.h"
#include "SampleSource.h"
#include "SessionClock.h"
#include "WavDataReader.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class QIODevice;

// Decodes the recording of one watch transfer: demodulates the WAV samples
// into the byte array, strips the line framing, recognises the model and
// reads its sessions, which it returns as values; storing them is the
// importer's job. Holds the last transfer's bytes between decodes.
// Lives in the GUI thread; one decode at a time.
class Decoder
{
public:
    Decoder();
    Decoder(const Decoder &) = delete;
    Decoder &operator=(const Decoder &) = delete;

    // The moment a transfer is decoded, for importDate; the wall clock by default.
    void setClock(SessionClock now) { m_now = std::move(now); }
    // On by default; off, a decode is the exact path alone.
    void setRescueEnabled(bool enabled) { m_rescueEnabled = enabled; }

    // The whole decode of one recording. A file that cannot be read answers
    // NO with its readFailure set; so does one libsndfile cannot read in
    // which the exact path recognises no watch.
    DecodeResult decodeFile(const QString &path);
    // The decode from the clean-up on, for bytes already extracted or set.
    // When no model is recognised in bytes extracted from samples, the second
    // demodulation reads the same samples and the clean-up, checks and layouts
    // run once more on its bytes; if that recognises nothing either, the
    // exact bytes are left in the array. When some decision behind the bytes
    // the recognised layout reads was doubtful, the second demodulation reads
    // the samples too: where both agree the result is confident; otherwise the
    // reading with the larger margins is decoded, with low confidence.
    DecodeResult decodeExtractedBytes();

    // Replaces the byte array by the bytes demodulated from the file. A file
    // that cannot be opened leaves the array as it was; one without a "data"
    // word empties it. Either way readError() says why.
    void extractBytesFromFile(const QString &path);
    void extractBytesFromDevice(QIODevice &device);
    // Next four bytes of the file open during an extraction; 0 when none is open.
    std::uint32_t read4BytesLittleEndian();

    const ByteArray &byteArray() const { return m_byteArray; }
    void setByteArray(ByteArray bytes)
    {
        m_byteArray = std::move(bytes);
        m_extractedSamples.reset();
        m_exactMargins.clear();
    }
    // Why the last extraction could not read its file; empty when it could.
    const QString &readError() const { return m_readError; }

    // Zero samples that stand in for the samples a data chunk claims but the
    // file does not hold. Past the last real sample only the tail of its burst
    // can be marked (44 samples) and a frame can still start on it while it
    // lies before n - 1000; 1000 + 88 zeros keep every such decision the same
    // as with the full claimed length.
    static constexpr std::int64_t kMissingSamplePadding = 1088;

private:
    // What one demodulation's bytes gave: the cleaned bytes, and the result
    // of the checks and margins before any layout ran.
    struct Reading
    {
        ByteArray bytes;
        DecodeResult result;
    };

    // Clean-up and the checks in order, judged by the margins of its bytes.
    Reading readBytes(ByteArray bytes, const DecisionMargins &margins, DecodeMethod method);
    // The second demodulation's reading, or the exact one, whichever is to be decoded.
    Reading readBothWays(Reading exact, SampleSource &samples);
    // Makes the reading's bytes the array and runs the recognised model's layout.
    DecodeResult decodeReading(Reading reading);
    // The exact demodulation of the source, which is kept for the second one.
    void extractBytesFromSource(std::unique_ptr<SampleSource> source);
    // Why a file in no format we read was not decoded, with the formats that work.
    static QString unknownFormatMessage();

    ByteArray m_byteArray;
    QString m_readError;
    // Why libsndfile could not read the file the last extraction read the exact
    // way (its format unknown, or a recognised file it failed on); shown when
    // that way finds nothing either. Empty when libsndfile read it.
    QString m_exactPathReason;
    // The last extraction's samples (read from the file again as needed),
    // kept until its decode is over in case the second demodulation needs them.
    std::unique_ptr<SampleSource> m_extractedSamples;
    DecisionMargins m_exactMargins; // of the last extraction's bytes
    bool m_rescueEnabled = true;
    WavDataReader m_openFile; // open only while an extraction runs
    SessionClock m_now = &QDateTime::currentDateTime;
};
