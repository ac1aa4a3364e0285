#include "Decoder.h"

#include "ByteStreamCleanup.h"
#include "CS200SessionLayout.h"
#include "Demodulator.h"
#include "F6SessionLayout.h"
#include "ModelRecognizer.h"
#include "RescueDemodulator.h"
#include "RS200SessionLayout.h"

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
    const std::vector<std::int16_t> samples = std::move(m_extractedSamples);
    m_extractedSamples = {};
    DecodeResult result = decodeBytes();
    // A recognised model is never decoded twice, even when a field cleared dataMakesSense.
    if (result.model || !m_rescueEnabled || samples.empty())
        return result;
    return decodeRescued(samples, std::move(result));
}

DecodeResult Decoder::decodeRescued(std::span<const std::int16_t> samples, DecodeResult exact)
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
    m_extractedSamples = {};
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        m_readError = file.errorString();
        return;
    }
    extractBytesFromDevice(file);
}

void Decoder::extractBytesFromDevice(QIODevice &device)
{
    m_readError.clear();
    m_extractedSamples = {};
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

    const Demodulator demodulator(samples);
    std::vector<std::uint8_t> marks = demodulator.markBursts(demodulator.threshold());
    // Kept for the second demodulation; marks and samples together are the
    // extraction's whole memory, as during the burst search.
    m_extractedSamples = std::move(samples);
    m_byteArray = Demodulator::frameBytes(marks);
}

std::uint32_t Decoder::read4BytesLittleEndian()
{
    return m_openFile.read4BytesLittleEndian();
}
