#pragma once

#include "AppController.h"

#include <QElapsedTimer>
#include <QString>

class AudioFileRecorder;
class InterruptRequest;
class QTextStream;

// --record SECONDS: records from the default audio input through the
// application's own controller and recorder until the transfer has ended
// (the controller's signal), SECONDS of audio have arrived, or Ctrl-C, and
// leaves the completed recording in the Recordings folder for the command to
// decode. Meanwhile standard error shows how many bytes have arrived.
// Main thread; runs an event loop meanwhile.
class RecordOption
{
public:
    // Longer recordings would outgrow what a WAV file can hold (4 GiB of
    // 16-bit samples at 44,100 Hz last about 13.5 hours).
    static constexpr double kMaximumSeconds = 12 * 3600.0;
    // Off a terminal, a new progress line at most this often.
    static constexpr int kProgressLineIntervalMs = 1000;

    struct Result
    {
        QString path;  // the recording, when one was made
        QString error; // empty when the recording ran
    };

    // autoStop: end two seconds after the transfer ends; off, record all SECONDS.
    RecordOption(double seconds, QTextStream &err, bool autoStop = true);

    // Tests record from a source of their own instead of PortAudio.
    void setRecorderFactory(AppController::RecorderFactory factory) { m_recorderFactory = std::move(factory); }

    Result record();

private:
    // Until the transfer ends, the time is up, Ctrl-C, or the input has
    // delivered nothing for long past the time asked for.
    void waitForTheEnd(AppController &controller, const InterruptRequest &interrupt);
    void showProgress(const AudioFileRecorder &recorder, bool last);

    double m_seconds;
    QTextStream &m_err;
    bool m_autoStop;
    AppController::RecorderFactory m_recorderFactory;
    bool m_onTerminal;
    QString m_shownProgress;
    QElapsedTimer m_clock; // for the progress lines off a terminal
    qint64 m_lastProgressLineMs = -1;
};
