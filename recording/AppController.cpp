#include "AppController.h"

#include "AudioFileRecorder.h"
#include "ReceptionMonitor.h"
#include "Decoder.h"
#include "TransferImporter.h"
#include "VXDefaults.h"
#include "DataFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Two-digit year, month, day, hour 00 to 23, minute, second.
const QString kStampFormat = QStringLiteral("yyMMddHHmmss");

} // namespace

AppController::AppController(Decoder *decoder, QObject *parent)
    : QObject(parent),
      m_decoder(decoder),
      m_recorderFactory([] { return std::make_unique<AudioFileRecorder>(); }),
      m_clock([] { return QDateTime::currentDateTime(); }),
      m_recordingsFolder(defaultRecordingsFolder())
{
    m_transferWatch.setInterval(kTransferWatchIntervalMs);
    connect(&m_transferWatch, &QTimer::timeout, this, &AppController::watchTransfer);
}

AppController::~AppController() = default;

QString AppController::defaultRecordingsFolder()
{
    return DataFolder::recordingsPath();
}

QString AppController::recordingFileName(const QString &folder, const QDateTime &when)
{
    const QString stamp = when.toString(kStampFormat);
    const QDir dir(folder);
    QString path = dir.filePath(QStringLiteral("Recording-%1.wav").arg(stamp));
    // Two recordings in the same second must not share a file.
    for (int suffix = 2; QFileInfo::exists(path); ++suffix)
        path = dir.filePath(QStringLiteral("Recording-%1-%2.wav").arg(stamp).arg(suffix));
    return path;
}

void AppController::startButtonClicked(bool start)
{
    if (start) {
        // When this fails (a plain file in the way) the recorder's file
        // creation fails and says why.
        QDir().mkpath(m_recordingsFolder);
        m_fileName = recordingFileName(m_recordingsFolder, m_clock());
        if (startRecording() != 0)
            emit recordingFailed(m_lastError);
        return;
    }
    stopRecording();
    m_lastDecode = m_decoder ? m_decoder->decodeFile(m_fileName) : DecodeResult();
    m_lastDecode.path = m_fileName;
    m_lastImport = m_importer ? m_importer->importTransfer(m_lastDecode) : ImportResult();
    if (!m_lastDecode.dataMakesSense && m_shake)
        m_shake();
}

std::int32_t AppController::startRecording()
{
    m_recorder.reset();
    m_isRecording = false;
    m_recordingProblem.clear();
    m_recorder = m_recorderFactory();
    const QFileInfo file(m_fileName);
    std::int32_t status = m_recorder->configure(file.path(), file.fileName());
    if (status == 0)
        status = m_recorder->start();
    if (status != 0) {
        m_lastError = m_recorder->lastError();
        m_recorder.reset();
        return status;
    }
    m_isRecording = true;
    if (m_stopWhenTransferEnds.value_or(VXDefaults::value(QString(kStopWhenTransferEndsKey)).toBool()))
        m_transferWatch.start();
    return 0;
}

void AppController::watchTransfer()
{
    const ReceptionMonitor *monitor = m_recorder ? m_recorder->receptionMonitor() : nullptr;
    if (!monitor || !monitor->transferEnded())
        return;
    m_transferWatch.stop();
    emit transferEnded();
}

std::int32_t AppController::stopRecording()
{
    m_transferWatch.stop();
    if (!m_isRecording)
        return 0;
    const std::int32_t status = m_recorder->stop();
    m_recordingProblem = m_recorder->recordingProblem();
    // Destroying the recorder completes the file before anyone reads it.
    m_recorder.reset();
    m_isRecording = false;
    return status;
}

void AppController::showPreferencesWindow()
{
    if (m_openPreferences)
        m_openPreferences();
}
