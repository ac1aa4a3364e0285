#include "RecordOption.h"

#include "AudioFileRecorder.h"
#include "InterruptRequest.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>

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

RecordOption::RecordOption(double seconds, QTextStream &err) : m_seconds(seconds), m_err(err) {}

RecordOption::Result RecordOption::record()
{
    // The controller is not given the decoder: the command decodes the
    // recording itself, like a file named on the command line.
    AppController controller(nullptr);
    if (m_recorderFactory)
        controller.setRecorderFactory(m_recorderFactory);
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

    waitForTheEnd(*controller.recorder(), interrupt);
    const double captured = secondsCaptured(*controller.recorder());
    const bool interrupted = interrupt.isRaised();
    // Stopping destroys the recorder, which completes the file.
    controller.stopRecording();

    if (!interrupted && captured < m_seconds)
        m_err << kProgram << ": the audio input delivered only " << QString::number(captured, 'f', 1)
              << " of " << QString::number(m_seconds) << " seconds\n";
    m_err << kProgram << ": recorded " << controller.fileName() << "\n";
    m_err.flush();
    return {controller.fileName(), QString()};
}

void RecordOption::waitForTheEnd(const AudioFileRecorder &recorder, const InterruptRequest &interrupt)
{
    const qint64 deadlineMs = qint64((m_seconds + kStalledInputGraceSeconds) * 1000.0);
    QElapsedTimer clock;
    clock.start();
    const auto done = [&] {
        return interrupt.isRaised() || secondsCaptured(recorder) >= m_seconds || clock.elapsed() >= deadlineMs;
    };
    if (done())
        return;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(kPollMs);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start();
    loop.exec();
}
