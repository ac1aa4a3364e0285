#include "Decoder.h"

#include "ByteStreamCleanup.h"
#include "CS200SessionLayout.h"
#include "Demodulator.h"
#include "ExactMargins.h"
#include "F6SessionLayout.h"
#include "ModelRecognizer.h"
#include "RescueDemodulator.h"
#include "RS200SessionLayout.h"
#include "TransferConfidence.h"

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
    m_confidence = Confidence::High;
    m_minimumMargin = DecisionMargins::kUnmeasured;
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
    // Whatever happens, the samples and margins are the memory of this decode only.
    const std::vector<std::int16_t> samples = std::move(m_extractedSamples);
    m_extractedSamples = {};
    const DecisionMargins margins = std::move(m_exactMargins);
    m_exactMargins.clear();
    Reading reading = readBytes(std::move(m_byteArray), margins, DecodeMethod::Exact);
    // A clear reading is never decoded twice, even when a field cleared dataMakesSense.
    const bool doubtful = !reading.model || reading.confidence == Confidence::Low;
    if (doubtful && m_rescueEnabled && !samples.empty())
        reading = readBothWays(std::move(reading), samples);
    return decodeReading(std::move(reading));
}

Decoder::Reading Decoder::readBothWays(Reading exact, std::span<const std::int16_t> samples)
{
    m_rescueAttempted = true;
    DecisionMargins margins;
    Reading rescued = readBytes(RescueDemodulator::demodulate(samples, &margins), margins, DecodeMethod::Rescued);
    if (!rescued.model)
        return exact;
    if (!exact.model)
        return rescued;
    // Two demodulations that read the same values from the same samples are believed.
    if (rescued.model == exact.model && TransferConfidence::agree(*exact.model, exact.bytes, rescued.bytes)) {
        exact.minimumMargin = std::max(exact.minimumMargin, rescued.minimumMargin);
        exact.confidence = Confidence::High;
        return exact;
    }
    Reading &better = rescued.minimumMargin > exact.minimumMargin ? rescued : exact;
    better.confidence = Confidence::Low;
    return std::move(better);
}

Decoder::Reading Decoder::readBytes(ByteArray bytes, const DecisionMargins &margins, DecodeMethod method)
{
    m_byteArray = std::move(bytes);
    const std::vector<std::int64_t> sources =
        margins.empty() ? std::vector<std::int64_t>{} : ByteStreamCleanup::sourceIndices(m_byteArray);
    recogniseBytes();
    Reading reading;
    reading.model = m_recognisedModel;
    reading.dataMakesSense = m_dataMakesSense;
    reading.method = method;
    if (m_recognisedModel) {
        reading.minimumMargin = TransferConfidence::minimumMargin(*m_recognisedModel, m_byteArray, sources, margins);
        reading.confidence = TransferConfidence::judge(reading.minimumMargin);
    }
    reading.bytes = std::move(m_byteArray);
    return reading;
}

void Decoder::recogniseBytes()
{
    m_dataMakesSense = false;
    m_recognisedModel.reset();
    if (!cleanupBytes())
        return;

    // The order is fixed: an array that passes two checks is the first model.
    if (checkF6Data())
        m_recognisedModel = WatchModel::F6;
    else if (checkRS200Data())
        m_recognisedModel = WatchModel::RS200;
    else if (checkCS200Data())
        m_recognisedModel = WatchModel::CS200;
}

bool Decoder::decodeReading(Reading reading)
{
    m_byteArray = std::move(reading.bytes);
    m_recognisedModel = reading.model;
    m_dataMakesSense = reading.dataMakesSense;
    m_decodeMethod = reading.model ? reading.method : DecodeMethod::Exact;
    m_minimumMargin = reading.minimumMargin;
    m_confidence = reading.confidence;
    if (m_recognisedModel == WatchModel::F6)
        extractF6SessionData();
    else if (m_recognisedModel == WatchModel::RS200)
        extractRS200SessionData();
    else if (m_recognisedModel == WatchModel::CS200)
        extractCS200SessionData();
    return m_dataMakesSense;
}

void Decoder::extractBytesFromFile(const QString &path)
{
    m_readError.clear();
    m_extractedSamples = {};
    m_exactMargins.clear();
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

    const Demodulator demodulator(samples);
    const int threshold = demodulator.threshold();
    ExactMargins margins(samples, threshold, m_exactMargins);
    std::vector<std::uint8_t> marks = demodulator.markBursts(threshold, &margins);
    m_byteArray = Demodulator::frameBytes(marks, &margins);
    // Kept for the second demodulation; marks and samples together are the
    // extraction's whole memory, as during the burst search.
    m_extractedSamples = std::move(samples);
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
