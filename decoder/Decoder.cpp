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

#include "DataOutput.h"
#include "ObjectContext.h"
#include "SessionListController.h"

#include <QCoreApplication>
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
    m_decodeMethod = DecodeMethod::Exact;
    m_rescueAttempted = false;
    extractBytesFromFile(path);
    // Never decode again whatever an earlier extraction left in the array.
    if (!m_readError.isEmpty())
        return false;
    return decodeExtractedBytes();
}

bool Decoder::decodeExtractedBytes()
{
    m_decodeMethod = DecodeMethod::Exact;
    m_rescueAttempted = false;
    // Whatever happens, the samples are the memory of this decode only.
    const std::unique_ptr<SampleSource> samples = std::move(m_extractedSamples);
    const bool decoded = decodeBytes();
    // A recognised model is never decoded twice, even when a field cleared dataMakesSense.
    if (m_recognisedModel || !m_rescueEnabled || !samples)
        return decoded;
    return decodeRescued(*samples);
}

bool Decoder::decodeRescued(SampleSource &samples)
{
    m_rescueAttempted = true;
    ByteArray exactBytes = std::move(m_byteArray);
    m_byteArray = RescueDemodulator::demodulate(samples);
    const bool decoded = decodeBytes();
    if (m_recognisedModel) {
        m_decodeMethod = DecodeMethod::Rescued;
        return decoded;
    }
    m_byteArray = std::move(exactBytes);
    return decoded;
}

bool Decoder::decodeBytes()
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

std::vector<LimitZone> Decoder::decodeRS200LimitZones(const QString &limitType)
{
    return RS200SessionLayout(m_byteArray, m_dataMakesSense).decodeRS200LimitZones(limitType);
}

bool Decoder::extractF6SessionData()
{
    return storeTransfer(F6SessionLayout(m_byteArray, m_dataMakesSense).newSessions(storedSessionDates(), m_now));
}

bool Decoder::extractRS200SessionData()
{
    std::vector<RunSession> sessions;
    sessions.push_back(RS200SessionLayout(m_byteArray, m_dataMakesSense).session(m_now));
    return storeTransfer(std::move(sessions));
}

bool Decoder::extractCS200SessionData()
{
    std::vector<RunSession> sessions;
    sessions.push_back(CS200SessionLayout(m_byteArray, m_dataMakesSense).session(m_now));
    return storeTransfer(std::move(sessions));
}

QList<QDateTime> Decoder::storedSessionDates() const
{
    QList<const RunSession *> listed;
    if (m_sessionArrayController)
        listed = m_sessionArrayController->arrangedSessions();
    else if (m_managedObjectContext)
        listed = m_managedObjectContext->sessions();
    QList<QDateTime> dates;
    for (const RunSession *session : listed)
        if (session->sessionDate)
            dates.append(*session->sessionDate);
    return dates;
}

bool Decoder::storeTransfer(std::vector<RunSession> sessions)
{
    if (!m_managedObjectContext)
        return false;
    if (!sessions.empty()) {
        // One transfer is one step of the Edit menu's undo, however many sessions it brings.
        m_managedObjectContext->beginUndoGroup(QCoreApplication::translate("Decoder", "Import Transfer"));
        for (RunSession &session : sessions) {
            const RunSession *stored = m_managedObjectContext->insertSession(std::move(session));
            if (m_sessionArrayController)
                m_sessionArrayController->selectSession(stored);
        }
        m_managedObjectContext->endUndoGroup();
    }
    // A failed save is not shown: the sessions stay in the context and a later save stores them.
    const bool saved = m_managedObjectContext->save().ok;
    if (m_dataOutput)
        m_dataOutput->autoExport();
    return saved;
}
