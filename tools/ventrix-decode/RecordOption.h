#pragma once

#include "AppController.h"

#include <QString>

class AudioFileRecorder;
class InterruptRequest;
class QTextStream;

// --record SECONDS: records from the default audio input through the
// application's own controller and recorder until SECONDS of audio have
// arrived or Ctrl-C, and leaves the completed recording in the Recordings
// folder for the command to decode. Main thread; runs an event loop meanwhile.
class RecordOption
{
public:
    // Longer recordings would outgrow what a WAV file can hold (4 GiB of
    // 16-bit samples at 44,100 Hz last about 13.5 hours).
    static constexpr double kMaximumSeconds = 12 * 3600.0;

    struct Result
    {
        QString path;  // the recording, when one was made
        QString error; // empty when the recording ran
    };

    RecordOption(double seconds, QTextStream &err);

    // Tests record from a source of their own instead of PortAudio.
    void setRecorderFactory(AppController::RecorderFactory factory) { m_recorderFactory = std::move(factory); }

    Result record();

private:
    // Until the time is up, Ctrl-C, or the input has delivered nothing for
    // long past the time asked for.
    void waitForTheEnd(const AudioFileRecorder &recorder, const InterruptRequest &interrupt);

    double m_seconds;
    QTextStream &m_err;
    AppController::RecorderFactory m_recorderFactory;
};
