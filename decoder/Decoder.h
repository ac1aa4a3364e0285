#pragma once

#include "ByteReader.h"
#include "Confidence.h"
#include "DecisionMargins.h"
#include "DecodeMethod.h"
#include "FieldCodecs.h"
#include "SessionClock.h"
#include "WatchModel.h"
#include "WavDataReader.h"

#include "LimitZone.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class DataOutput;
class ObjectContext;
class QIODevice;
class RunSession;
class SessionListController;

// Decodes the recording of one watch transfer: demodulates the WAV samples
// into the byte array, strips the line framing, recognises the model and
// reads its fields; the layout of the recognised model stores the sessions in
// the object context, selects the new one and starts the automatic export.
// Holds the last transfer's bytes and outcome between decodes.
// Lives in the GUI thread; one decode at a time.
class Decoder
{
public:
    Decoder();
    Decoder(const Decoder &) = delete;
    Decoder &operator=(const Decoder &) = delete;

    // --- Wiring (references, not owned) ------------------------------------

    // Where the layouts insert and save the sessions. Without a context a
    // decode still reads and checks every field but stores nothing.
    void setManagedObjectContext(ObjectContext *context) { m_managedObjectContext = context; }
    // The session list: its sessions are the ones an F6 memory is compared
    // against, and the new session is selected in it.
    void setSessionArrayController(SessionListController *controller) { m_sessionArrayController = controller; }
    SessionListController *sessionArrayController() const { return m_sessionArrayController; }
    // Its autoExport() runs after every stored transfer.
    void setDataOutput(DataOutput *dataOutput) { m_dataOutput = dataOutput; }
    DataOutput *dataOutput() const { return m_dataOutput; }
    // The moment a transfer is decoded, for importDate; the wall clock by default.
    void setClock(SessionClock now) { m_now = std::move(now); }

    // The whole decode of one recording. YES when a model was recognised and
    // its layout met no invalid field. A file that cannot be read is NO.
    bool decodeFile(const QString &path);
    // The decode from the clean-up on, for bytes already extracted or set.
    // When no model is recognised in bytes extracted from samples, the second
    // demodulation reads the same samples and the clean-up, checks and layouts
    // run once more on its bytes; if that recognises nothing either, the
    // exact bytes are left in the array. When some decision behind the bytes
    // the recognised layout reads was doubtful, the second demodulation reads
    // the samples too: where both agree the result is confident; otherwise the
    // reading with the larger margins is decoded, with low confidence.
    bool decodeExtractedBytes();

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
        m_extractedSamples = {};
        m_exactMargins.clear();
    }
    bool dataMakesSense() const { return m_dataMakesSense; }
    // The model whose check answered YES in the last decode, even when its
    // layout then met an invalid field.
    std::optional<WatchModel> recognisedModel() const { return m_recognisedModel; }
    // Which demodulation the last decode's recognised bytes came from.
    DecodeMethod decodeMethod() const { return m_decodeMethod; }
    // Whether every decision behind the bytes the last decode's layout read
    // was clear; bytes set rather than demodulated count as clear.
    Confidence confidence() const { return m_confidence; }
    // The smallest margin of those decisions, 1 being the smallest called
    // clear; of two readings that agree, the larger one's.
    float minimumMargin() const { return m_minimumMargin; }
    // Whether the last decode ran the second demodulation.
    bool rescueAttempted() const { return m_rescueAttempted; }
    // On by default; off, a decode is the exact path alone.
    void setRescueEnabled(bool enabled) { m_rescueEnabled = enabled; }
    // Why the last extraction could not read its file; empty when it could.
    const QString &readError() const { return m_readError; }

    // Clean-up and recognition.
    bool cleanupBytes();
    bool checkF6Data();
    bool checkRS200Data();
    bool checkCS200Data();
    int lsbMsbToInt(int i) const { return codecs().lsbMsbToInt(i); }

    // Field codecs. Those taking no flag leave dataMakesSense alone; the date
    // and name codecs clear it on an implausible value.
    std::optional<int> secondsx10From3Bytes(int i) const { return codecs().secondsx10From3Bytes(i); }
    std::optional<int> secondsx10From4Bytes(int i) const { return codecs().secondsx10From4Bytes(i); }
    std::optional<TimeRecord> timeFrom3Bytes(int i, bool bcd) const { return codecs().timeFrom3Bytes(i, bcd); }
    std::optional<int> decodeTotalTime() const { return codecs().decodeTotalTime(); }
    std::optional<QDateTime> decodeSessionDate(int i) { return codecs().decodeSessionDate(i, m_dataMakesSense); }
    std::optional<QDateTime> decodeF6SessionDate(int i) { return codecs().decodeF6SessionDate(i, m_dataMakesSense); }
    std::optional<QDateTime> decodeBirthdayDate(int i) { return codecs().decodeBirthdayDate(i, m_dataMakesSense); }
    std::optional<QString> decodeSessionName() { return codecs().decodeSessionName(m_dataMakesSense); }
    std::optional<int> decodeWeight(int i) const { return codecs().decodeWeight(i); }
    std::optional<QString> decodeUserActivityLevel() const { return codecs().decodeUserActivityLevel(); }
    bool decodeFootPodIsOn() const { return codecs().decodeFootPodIsOn(); }
    std::optional<HeartRateRecord> decodeSessionHR(int i) const { return codecs().decodeSessionHR(i); }
    std::optional<PaceRecord> decodePace() const { return codecs().decodePace(); }
    std::optional<SpeedRecord> decodeCS200Speed() const { return codecs().decodeCS200Speed(); }
    std::optional<CadenceRecord> decodeCS200Cadence() const { return codecs().decodeCS200Cadence(); }
    std::optional<LimitZoneTimes> decodeTimeBelowZone() const { return codecs().decodeTimeBelowZone(); }
    std::optional<LimitZoneTimes> decodeTimeInZone() const { return codecs().decodeTimeInZone(); }
    std::optional<LimitZoneTimes> decodeTimeAboveZone() const { return codecs().decodeTimeAboveZone(); }
    std::optional<std::vector<SportZoneRecord>> decodeSportZones() const { return codecs().decodeSportZones(); }
    bool checkCS200Zones() const { return codecs().checkCS200Zones(); }
    std::optional<QString> decodeCS200LimitType() const { return codecs().decodeCS200LimitType(); }
    int decodeNumberOfLaps() const { return codecs().decodeNumberOfLaps(); }
    int decodeNumberOfCS200Laps() const { return codecs().decodeNumberOfCS200Laps(); }
    bool checkLapData(bool footPod, int sessionTotalTime) const
    {
        return codecs().checkLapData(footPod, sessionTotalTime);
    }
    // The RS200's limit zones 1 to 3 for limitType, not yet in any context.
    std::vector<LimitZone> decodeRS200LimitZones(const QString &limitType);

    // Zero samples that stand in for the samples a data chunk claims but the
    // file does not hold. Past the last real sample only the tail of its burst
    // can be marked (44 samples) and a frame can still start on it while it
    // lies before n - 1000; 1000 + 88 zeros keep every such decision the same
    // as with the full claimed length.
    static constexpr std::int64_t kMissingSamplePadding = 1088;

private:
    // What one demodulation's bytes gave up to the layout.
    struct Reading
    {
        ByteArray bytes;
        std::optional<WatchModel> model;
        bool dataMakesSense = false;
        DecodeMethod method = DecodeMethod::Exact;
        float minimumMargin = DecisionMargins::kUnmeasured;
        Confidence confidence = Confidence::High;
    };

    FieldCodecs codecs() const { return FieldCodecs(m_byteArray); }
    // Clean-up and the checks in order, judged by the margins of its bytes.
    Reading readBytes(ByteArray bytes, const DecisionMargins &margins, DecodeMethod method);
    void recogniseBytes();
    // The second demodulation's reading, or the exact one, whichever is to be decoded.
    Reading readBothWays(Reading exact, std::span<const std::int16_t> samples);
    // Makes the reading the decoder's state and runs the recognised model's layout.
    bool decodeReading(Reading reading);

    // Session layouts: each stores the sessions of a recognised transfer,
    // clearing dataMakesSense when one of its fields is invalid, and answers
    // whether the save afterwards succeeded.
    bool extractF6SessionData();
    bool extractRS200SessionData();
    bool extractCS200SessionData();
    // Inserts the sessions of one transfer as one undo step, selecting each
    // as it comes; then saves and starts the automatic export.
    bool storeTransfer(std::vector<RunSession> sessions);
    QList<QDateTime> storedSessionDates() const;

    ByteArray m_byteArray;
    bool m_dataMakesSense = false;
    std::optional<WatchModel> m_recognisedModel;
    QString m_readError;
    // The last extraction's samples, kept until its decode is over in case the
    // second demodulation needs them.
    std::vector<std::int16_t> m_extractedSamples;
    DecisionMargins m_exactMargins; // of the last extraction's bytes
    Confidence m_confidence = Confidence::High;
    float m_minimumMargin = DecisionMargins::kUnmeasured;
    bool m_rescueEnabled = true;
    bool m_rescueAttempted = false;
    DecodeMethod m_decodeMethod = DecodeMethod::Exact;
    WavDataReader m_openFile; // open only while an extraction runs
    ObjectContext *m_managedObjectContext = nullptr;
    SessionListController *m_sessionArrayController = nullptr;
    DataOutput *m_dataOutput = nullptr;
    SessionClock m_now = &QDateTime::currentDateTime;
};
