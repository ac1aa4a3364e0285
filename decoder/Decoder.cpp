#include "Decoder.h"

#include "ByteStreamCleanup.h"
#include "Demodulator.h"
#include "ModelRecognizer.h"

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

bool Decoder::decodeFile(const QString &path)
{
    m_dataMakesSense = false;
    m_recognisedModel.reset();
    extractBytesFromFile(path);
    // Never decode again whatever an earlier extraction left in the array.
    if (!m_readError.isEmpty())
        return false;
    return decodeExtractedBytes();
}

bool Decoder::decodeExtractedBytes()
{
    m_dataMakesSense = false;
    m_recognisedModel.reset();
    if (!cleanupBytes())
        return false;

    // The order is fixed: an array that passes two checks is the first model.
    if (checkF6Data()) {
        m_recognisedModel = WatchModel::F6;
        extractF6SessionData();
    } else if (checkRS200Data()) {
        m_recognisedModel = WatchModel::RS200;
        extractRS200SessionData();
    } else if (checkCS200Data()) {
        m_recognisedModel = WatchModel::CS200;
        extractCS200SessionData();
    }
    return m_dataMakesSense;
}

void Decoder::extractBytesFromFile(const QString &path)
{
    m_readError.clear();
    if (QFileInfo(path).isDir()) {
        m_readError = QStringLiteral("is a folder, not a recording");
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
    samples = {}; // released before framing: the two buffers are the decode's whole memory
    m_byteArray = Demodulator::frameBytes(marks);
}

std::uint32_t Decoder::read4BytesLittleEndian()
{
    return m_openFile.read4BytesLittleEndian();
}

bool Decoder::cleanupBytes()
{
    return ByteStreamCleanup::cleanupBytes(m_byteArray);
}

bool Decoder::checkF6Data()
{
    return ModelRecognizer(m_byteArray, m_dataMakesSense).checkF6Data();
}

bool Decoder::checkRS200Data()
{
    return ModelRecognizer(m_byteArray, m_dataMakesSense).checkRS200Data();
}

bool Decoder::checkCS200Data()
{
    return ModelRecognizer(m_byteArray, m_dataMakesSense).checkCS200Data();
}

void Decoder::extractF6SessionData()
{
}

void Decoder::extractRS200SessionData()
{
}

void Decoder::extractCS200SessionData()
{
}
