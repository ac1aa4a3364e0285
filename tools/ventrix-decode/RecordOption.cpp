#include "RecordOption.h"

#include "AudioFileRecorder.h"
#include "InterruptRequest.h"
#include "ReceptionMonitor.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>

#include <unistd.h>

namespace {

const QString kProgram = QStringLiteral("ventrix-decode");
// How often the loop looks at the recorder and the interrupt flag.
constexpr int kPollMs = 50;
// The time counts the audio delivered, so a slow device start does not
// shorten the recording; a device that stops delivering altogether ends it
// this long after the time asked for.
constexpr double kStalledInputGraceSeconds = 5.0;

double secondsCaptured(const AudioFileRecorder &recorder)
{
    const double rate = recorder.deviceFormat().sampleRate;
    return rate > 0.0 ? double(recorder.framesCaptured()) / rate : 0.0;
}

} // namespace

RecordOption::RecordOption(double seconds, QTextStream &err, bool autoStop)
    : m_seconds(seconds), m_err(err), m_autoStop(autoStop), m_onTerminal(::isatty(STDERR_FILENO) == 1)
{
    m_clock.start();
}

RecordOption::Result RecordOption::record()
{
    // The controller is not given the decoder: the command decodes the
    // recording itself, like a file named on the command line.
    AppController controller(nullptr);
    if (m_recorderFactory)
        controller.setRecorderFactory(m_recorderFactory);
    controller.setStopWhenTransferEnds(m_autoStop);
    QString failure;
    QObject::connect(&controller, &AppController::recordingFailed,
                     [&failure](const QString &reason) { failure = reason; });
    // Installed first, so that a Ctrl-C while the device opens stops rather than kills.
    const InterruptRequest interrupt;

    controller.startButtonClicked(true);
    if (!controller.isRecording()) {
        const QString why = failure.isEmpty() ? QStringLiteral("the recorder did not start") : failure;
        return {QString(), QStringLiteral("cannot record from the default audio input: %1").arg(why)};
    }
    m_err << kProgram << ": recording into " << controller.fileName() << " (Ctrl-C stops)\n";
    m_err.flush();

    waitForTheEnd(controller, interrupt);
    showProgress(*controller.recorder(), true);
    const bool ended = controller.recorder()->receptionMonitor()->transferEnded();
    const double captured = secondsCaptured(*controller.recorder());
    const bool interrupted = interrupt.isRaised();
    // Stopping destroys the recorder, which completes the file.
    controller.stopRecording();

    if (!interrupted && !(m_autoStop && ended) && captured < m_seconds)
        m_err << kProgram << ": the audio input delivered only " << QString::number(captured, 'f', 1)
              << " of " << QString::number(m_seconds) << " seconds\n";
    m_err << kProgram << ": recorded " << controller.fileName() << "\n";
    m_err.flush();
    return {controller.fileName(), QString()};
}

void RecordOption::waitForTheEnd(AppController &controller, const InterruptRequest &interrupt)
{
    const AudioFileRecorder &recorder = *controller.recorder();
    QEventLoop loop;
    bool transferEnded = false;
    QObject::connect(&controller, &AppController::transferEnded, &loop, [&transferEnded] { transferEnded = true; });
    const qint64 deadlineMs = qint64((m_seconds + kStalledInputGraceSeconds) * 1000.0);
    QElapsedTimer clock;
    clock.start();
    const auto done = [&] {
        return transferEnded || interrupt.isRaised() || secondsCaptured(recorder) >= m_seconds || clock.elapsed() >= deadlineMs;
    };
    if (done())
        return;
    QTimer poll;
    poll.setInterval(kPollMs);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        showProgress(recorder, false);
        if (done())
            loop.quit();
    });
    poll.start();
    loop.exec();
}

void RecordOption::showProgress(const AudioFileRecorder &recorder, bool last)
{
    const ReceptionMonitor *monitor = recorder.receptionMonitor();
    if (!monitor || !monitor->watchHeard())
        return;
    const QString progress = QStringLiteral("Receiving\u2026 %1 bytes").arg(monitor->bytesReceived());
    if (progress == m_shownProgress && !(last && m_onTerminal))
        return;
    if (m_onTerminal) {
        // One line, rewritten in place; the last one ends it.
        m_err << "\r" << progress << (last ? "\n" : "");
    } else {
        const qint64 now = m_clock.elapsed();
        if (!last && m_lastProgressLineMs >= 0 && now - m_lastProgressLineMs < kProgressLineIntervalMs)
            return;
        m_lastProgressLineMs = now;
        m_err << progress << "\n";
    }
    m_err.flush();
    m_shownProgress = progress;
}
