#pragma once

#include "AudioFileRecorder.h"
#include "CaptureSource.h"

// An input that opens and starts (or fails to, when told) but never delivers
// a sample: a recording through it stays empty.
class IdleCaptureSource final : public CaptureSource
{
public:
    explicit IdleCaptureSource(std::int32_t openStatus = 0) : m_openStatus(openStatus) {}

    std::int32_t open(AudioFileRecorder &, CaptureFormat &format) override
    {
        if (m_openStatus != 0)
            return m_openStatus;
        format.deviceFormat = StreamFormat{44100.0, 1, 32, true};
        format.bufferFrameSize = 512;
        return 0;
    }
    std::int32_t start() override { return 0; }
    std::int32_t stop() override { return 0; }
    QString lastError() const override
    {
        return m_openStatus != 0 ? QStringLiteral("no input device") : QString();
    }

private:
    std::int32_t m_openStatus;
};
