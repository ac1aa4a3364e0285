#pragma once

#include "DecodeResult.h"
#include "ImportResult.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class AudioFileRecorder;
class Decoder;
class TransferImporter;

// Turns the record button into a recording: names a new file in the
// Recordings folder, starts a recorder, and on stop completes the file and
// hands it to the decoder and what that reads to the importer. Lives in the GUI thread.
class AppController : public QObject
{
    Q_OBJECT

public:
    using RecorderFactory = std::function<std::unique_ptr<AudioFileRecorder>()>;
    using Clock = std::function<QDateTime()>;

    // decoder is not owned and may be null (then every stop answers NO).
    explicit AppController(Decoder *decoder, QObject *parent = nullptr);
    // Stops a running recording, which completes its file.
    ~AppController() override;

    // DataFolder::recordingsPath(). Settings need no registration step:
    // VXDefaults::value() falls back to VXDefaults::table().
    static QString defaultRecordingsFolder();
    // "Recording-<yyMMddHHmmss>.wav" in folder for a start at `when`, with
    // "-2", "-3", ... before ".wav" while a file of that name exists.
    static QString recordingFileName(const QString &folder, const QDateTime &when);
    // The setting that stops a recording when the transfer in it has ended.
    static constexpr QLatin1StringView kStopWhenTransferEndsKey{"VXStopRecordingWhenTransferEnds"};
    // How often a running recording is asked whether its transfer has ended.
    static constexpr int kTransferWatchIntervalMs = 100;

    // The seams: how recorders are made (PortAudio by default), the present
    // moment, the folder, the main window's shake and the preferences window.
    void setRecorderFactory(RecorderFactory factory) { m_recorderFactory = std::move(factory); }
    void setClock(Clock clock) { m_clock = std::move(clock); }
    void setRecordingsFolder(const QString &folder) { m_recordingsFolder = folder; }
    void setShakeHandler(std::function<void()> shake) { m_shake = std::move(shake); }
    void setPreferencesWindowOpener(std::function<void()> open) { m_openPreferences = std::move(open); }
    // Stores what a finished recording decodes to; not owned. Without one
    // nothing is stored.
    void setImporter(TransferImporter *importer) { m_importer = importer; }
    // Whether transferEnded is emitted, over the setting kStopWhenTransferEndsKey.
    void setStopWhenTransferEnds(bool stop) { m_stopWhenTransferEnds = stop; }

    // YES: prepare the folder and the name, then record; when that fails,
    // recordingFailed is emitted before this returns. NO: stop, decode the
    // recording and shake the main window when it does not decode.
    void startButtonClicked(bool start);
    std::int32_t startRecording();
    std::int32_t stopRecording();
    void showPreferencesWindow();

    QString fileName() const { return m_fileName; }
    bool isRecording() const { return m_isRecording; }
    QString recordingsFolder() const { return m_recordingsFolder; }
    // The recorder of the running recording, or null.
    const AudioFileRecorder *recorder() const { return m_recorder.get(); }
    // What the last finished recording decoded to, and what of it was stored.
    const DecodeResult &lastDecode() const { return m_lastDecode; }
    const ImportResult &lastImport() const { return m_lastImport; }
    // What the last finished recording lost (AudioFileRecorder::recordingProblem), or empty.
    QString lastRecordingProblem() const { return m_recordingProblem; }

signals:
    // Nothing records: the record button should return to idle and show why.
    void recordingFailed(const QString &reason);
    // The watch was heard and then fell silent for two seconds, and the
    // setting asks to stop then: whoever drives the record button stops as
    // if Stop were clicked. Emitted once per recording.
    void transferEnded();

private:
    void watchTransfer();

    Decoder *m_decoder;
    TransferImporter *m_importer = nullptr;
    DecodeResult m_lastDecode;
    ImportResult m_lastImport;
    RecorderFactory m_recorderFactory;
    Clock m_clock;
    QString m_recordingsFolder;
    std::function<void()> m_shake;
    std::function<void()> m_openPreferences;
    std::unique_ptr<AudioFileRecorder> m_recorder;
    QString m_fileName;
    QString m_lastError;
    QString m_recordingProblem;
    bool m_isRecording = false;
    QTimer m_transferWatch;
    std::optional<bool> m_stopWhenTransferEnds;
};
