#include "Decoder.h"

#include "AudioFileReader.h"
#include "ByteStreamCleanup.h"
#include "CS200SessionLayout.h"
#include "Demodulator.h"
#include "F6SessionLayout.h"
#include "ModelRecognizer.h"
#include "RescueDemodulator.h"
#include "RS200SessionLayout.h"
#include "WavDataSampleSource.h"

#include <QFile>
#include <QFileInfo>

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
    result.path = path;
    result.readFailure = m_readError;
    return result;
}

DecodeResult Decoder::decodeExtractedBytes()
{
    // Whatever happens, the samples are the memory of this decode only.
    const std::unique_ptr<SampleSource> samples = std::move(m_extractedSamples);
    DecodeResult result = decodeBytes();
    // A recognised model is never decoded twice, even when a field cleared dataMakesSense.
    if (result.model || !m_rescueEnabled || !samples)
        return result;
    return decodeRescued(*samples, std::move(result));
}

DecodeResult Decoder::decodeRescued(SampleSource &samples, DecodeResult exact)
{
    ByteArray exactBytes = std::move(m_byteArray);
    m_byteArray = RescueDemodulator::demodulate(samples);
    DecodeResult rescued = decodeBytes();
    rescued.rescueAttempted = true;
    if (rescued.model) {
        rescued.method = DecodeMethod::Rescued;
        return rescued;
    }
    m_byteArray = std::move(exactBytes);
    exact.rescueAttempted = true;
    return exact;
}

DecodeResult Decoder::decodeBytes()
{
    DecodeResult result;
    bool &dataMakesSense = result.dataMakesSense;
    if (!ByteStreamCleanup::cleanupBytes(m_byteArray))
        return result;

    // The order is fixed: an array that passes two checks is the first model.
    ModelRecognizer recognizer(m_byteArray, dataMakesSense);
    if (recognizer.checkF6Data()) {
        result.model = WatchModel::F6;
        result.sessions = F6SessionLayout(m_byteArray, dataMakesSense).sessions(m_now);
    } else if (recognizer.checkRS200Data()) {
        result.model = WatchModel::RS200;
        result.sessions.push_back(RS200SessionLayout(m_byteArray, dataMakesSense).session(m_now));
    } else if (recognizer.checkCS200Data()) {
        result.model = WatchModel::CS200;
        result.sessions.push_back(CS200SessionLayout(m_byteArray, dataMakesSense).session(m_now));
    }
    return result;
}

void Decoder::extractBytesFromFile(const QString &path)
{
    m_readError.clear();
    m_extractedSamples.reset();
    const QFileInfo info(path);
    if (info.isDir()) {
        m_readError = QStringLiteral("is a folder, not a recording");
        return;
    }
    // A device or pipe could block the open or never end the search for "data".
    if (info.exists() && !info.isFile()) {
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
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        m_readError = file->errorString();
        return;
    }
    m_openFile.open(file.get());
    const bool found = m_openFile.findDataChunk();
    const std::uint32_t sampleCount = found ? read4BytesLittleEndian() / kBytesPerSample : 0;
    const qint64 dataStart = m_openFile.position();
    m_openFile.close();
    if (found) {
        extractBytesFromSource(
            std::make_unique<WavDataSampleSource>(std::move(file), dataStart, sampleCount, kMissingSamplePadding));
    } else if (audioFileReadable) {
        // Chunks off the four-byte grid: the recorder's format all the same.
        extractBytesFromSource(std::move(audioFile));
    } else {
        m_byteArray.clear();
        m_readError = QStringLiteral("not an audio file Ventrix can read; it reads %1 recordings")
                          .arg(AudioFileReader::supportedFormats());
    }
}

void Decoder::extractBytesFromSource(std::unique_ptr<SampleSource> source)
{
    m_byteArray = Demodulator::demodulate(*source);
    m_extractedSamples = std::move(source);
}

void Decoder::extractBytesFromDevice(QIODevice &device)
{
    m_readError.clear();
    m_extractedSamples.reset();
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
