#include "Decoder.h"

#include "AudioFileReader.h"
#include "ByteStreamCleanup.h"
#include "CS200SessionLayout.h"
#include "Demodulator.h"
#include "FileName.h"
#include "F6SessionLayout.h"
#include "ModelRecognizer.h"
#include "RescueDemodulator.h"
#include "RS200SessionLayout.h"
#include "TransferConfidence.h"
#include "WavDataSampleSource.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {
constexpr std::size_t kInitialByteCapacity = 256;
constexpr int kBytesPerSample = 2;
} // namespace

Decoder::Decoder()
{
    m_byteArray.reserve(kInitialByteCapacity);
}

DecodeResult Decoder::decodeFile(const QString &path)
{
    extractBytesFromFile(path);
    // Never decode again whatever an earlier extraction left in the array.
    DecodeResult result;
    if (m_readError.isEmpty())
        result = decodeExtractedBytes();
    // A file libsndfile could not read in which the exact way finds no watch
    // either: most likely a format nobody here reads (a phone's AAC, say), so
    // the reason is libsndfile's, not an empty transfer.
    if (m_readError.isEmpty() && !result.model)
        m_readError = m_exactPathReason;
    result.path = path;
    result.readFailure = m_readError;
    return result;
}

DecodeResult Decoder::decodeExtractedBytes()
{
    // Whatever happens, the samples and margins are the memory of this decode only.
    const std::unique_ptr<SampleSource> samples = std::move(m_extractedSamples);
    const DecisionMargins margins = std::move(m_exactMargins);
    m_exactMargins.clear();
    Reading reading = readBytes(std::move(m_byteArray), margins, DecodeMethod::Exact);
    // A clear reading is never decoded twice, even when a field cleared dataMakesSense.
    const bool doubtful = !reading.result.model || reading.result.confidence == Confidence::Low;
    if (doubtful && m_rescueEnabled && samples)
        reading = readBothWays(std::move(reading), *samples);
    return decodeReading(std::move(reading));
}

Decoder::Reading Decoder::readBothWays(Reading exact, SampleSource &samples)
{
    exact.result.rescueAttempted = true;
    DecisionMargins margins;
    Reading rescued = readBytes(RescueDemodulator::demodulate(samples, &margins), margins, DecodeMethod::Rescued);
    rescued.result.rescueAttempted = true;
    if (!rescued.result.model)
        return exact;
    if (!exact.result.model)
        return rescued;
    // Two demodulations that read the same values from the same samples are believed.
    const WatchModel model = *exact.result.model;
    if (rescued.result.model == model && TransferConfidence::agree(model, exact.bytes, rescued.bytes)) {
        exact.result.minimumMargin = std::max(exact.result.minimumMargin, rescued.result.minimumMargin);
        exact.result.confidence = Confidence::High;
        return exact;
    }
    Reading &better = rescued.result.minimumMargin > exact.result.minimumMargin ? rescued : exact;
    better.result.confidence = Confidence::Low;
    return std::move(better);
}

Decoder::Reading Decoder::readBytes(ByteArray bytes, const DecisionMargins &margins, DecodeMethod method)
{
    Reading reading;
    reading.bytes = std::move(bytes);
    DecodeResult &result = reading.result;
    result.minimumMargin = DecisionMargins::kUnmeasured;
    const std::vector<std::int64_t> sources =
        margins.empty() ? std::vector<std::int64_t>{} : ByteStreamCleanup::sourceIndices(reading.bytes);
    if (!ByteStreamCleanup::cleanupBytes(reading.bytes))
        return reading;

    // The order is fixed: an array that passes two checks is the first model.
    ModelRecognizer recognizer(reading.bytes, result.dataMakesSense);
    if (recognizer.checkF6Data())
        result.model = WatchModel::F6;
    else if (recognizer.checkRS200Data())
        result.model = WatchModel::RS200;
    else if (recognizer.checkCS200Data())
        result.model = WatchModel::CS200;
    if (result.model) {
        result.method = method;
        result.minimumMargin = TransferConfidence::minimumMargin(*result.model, reading.bytes, sources, margins);
        result.confidence = TransferConfidence::judge(result.minimumMargin);
    }
    return reading;
}

DecodeResult Decoder::decodeReading(Reading reading)
{
    m_byteArray = std::move(reading.bytes);
    DecodeResult result = std::move(reading.result);
    bool &dataMakesSense = result.dataMakesSense;
    if (result.model == WatchModel::F6) {
        result.sessions = F6SessionLayout(m_byteArray, dataMakesSense).sessions(m_now);
    } else if (result.model == WatchModel::RS200) {
        result.sessions.push_back(RS200SessionLayout(m_byteArray, dataMakesSense).session(m_now));
    } else if (result.model == WatchModel::CS200) {
        result.sessions.push_back(CS200SessionLayout(m_byteArray, dataMakesSense).session(m_now));
    }
    return result;
}

QString Decoder::unknownFormatMessage()
{
    return QStringLiteral("not an audio file Ventrix can read; it reads %1 recordings")
        .arg(AudioFileReader::supportedFormats());
}

void Decoder::extractBytesFromFile(const QString &path)
{
    m_readError.clear();
    m_exactPathReason.clear();
    m_extractedSamples.reset();
    m_exactMargins.clear();
    struct stat info {};
    const bool exists = ::stat(FileName::encode(path).constData(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) {
        m_readError = QStringLiteral("is a folder, not a recording");
        return;
    }
    // A device or pipe could block the open or never end the search for "data".
    if (exists && !S_ISREG(info.st_mode)) {
        m_readError = QStringLiteral("is not a regular file");
        return;
    }
    // The recorder's own format, and whatever libsndfile cannot read, go the
    // exact way; any other audio file is read as the recorder would have recorded it.
    auto audioFile = std::make_unique<AudioFileReader>();
    const bool audioFileReadable = audioFile->open(path);
    if (audioFileReadable && !audioFile->isCanonical()) {
        extractBytesFromSource(std::move(audioFile));
        return;
    }
    auto file = std::make_unique<QFile>();
    if (!FileName::openForReading(*file, path, QIODevice::Unbuffered)) {
        m_readError = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    m_openFile.open(file.get());
    const bool found = m_openFile.findDataChunk();
    const std::uint32_t sampleCount = found ? read4BytesLittleEndian() / kBytesPerSample : 0;
    const qint64 dataStart = m_openFile.position();
    m_openFile.close();
    if (!audioFileReadable)
        m_exactPathReason = audioFile->recognised() ? audioFile->lastError() : unknownFormatMessage();
    if (found) {
        extractBytesFromSource(
            std::make_unique<WavDataSampleSource>(std::move(file), dataStart, sampleCount, kMissingSamplePadding));
    } else if (audioFileReadable) {
        // Chunks off the four-byte grid: the recorder's format all the same.
        extractBytesFromSource(std::move(audioFile));
    } else {
        m_byteArray.clear();
        m_readError = m_exactPathReason;
    }
}

void Decoder::extractBytesFromSource(std::unique_ptr<SampleSource> source)
{
    m_byteArray = Demodulator::demodulate(*source, &m_exactMargins);
    m_extractedSamples = std::move(source);
}

void Decoder::extractBytesFromDevice(QIODevice &device)
{
    m_readError.clear();
    m_extractedSamples.reset();
    m_exactMargins.clear();
    m_openFile.open(&device);
    if (!m_openFile.findDataChunk()) {
        m_openFile.close();
        m_byteArray.clear();
        m_readError = QStringLiteral("no \"data\" chunk found");
        return;
    }
    const std::uint32_t sampleCount = read4BytesLittleEndian() / kBytesPerSample;
    std::vector<std::int16_t> samples = m_openFile.readSamples(sampleCount, kMissingSamplePadding);
    m_openFile.close();

    // The caller's device may be gone by the second demodulation: its samples stay in memory.
    extractBytesFromSource(std::make_unique<MemorySampleSource>(std::move(samples)));
}

std::uint32_t Decoder::read4BytesLittleEndian()
{
    return m_openFile.read4BytesLittleEndian();
}
