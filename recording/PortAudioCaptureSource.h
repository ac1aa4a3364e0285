#pragma once

#include "CaptureSource.h"

#include <QCoreApplication>

#include <cstdint>

typedef void PaStream;

// Captures PortAudio's default input device. The stream's callback runs on
// PortAudio's audio thread and only forwards to AudioFileRecorder::renderInput.
// Everything else: the owner's thread.
class PortAudioCaptureSource final : public CaptureSource
{
    Q_DECLARE_TR_FUNCTIONS(PortAudioCaptureSource)

public:
    // Frames per callback: about 12 ms at 44,100 Hz. PortAudio adapts the
    // host's own buffer size to it.
    static constexpr std::uint32_t kFramesPerBuffer = 512;

    PortAudioCaptureSource() = default;
    ~PortAudioCaptureSource() override;

    std::int32_t open(AudioFileRecorder &recorder, CaptureFormat &format) override;
    std::int32_t start() override;
    std::int32_t stop() override;
    QString lastError() const override { return m_lastError; }

private:
    std::int32_t fail(std::int32_t status, const QString &what);

    PaStream *m_stream = nullptr;
    bool m_initialized = false;
    QString m_lastError;
};
