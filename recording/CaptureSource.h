#pragma once

#include <QString>

#include <cstdint>

class AudioFileRecorder;

// The layout of the samples a stream carries.
struct StreamFormat
{
    double sampleRate = 0.0;
    std::uint32_t channelsPerFrame = 0;
    std::uint32_t bitsPerChannel = 0;
    bool isFloat = false;
};

// What an opened capture delivers to AudioFileRecorder::renderInput: interleaved
// 32-bit float frames in deviceFormat, at most bufferFrameSize frames per call.
struct CaptureFormat
{
    StreamFormat deviceFormat;
    std::uint32_t bufferFrameSize = 0;
};

// A source of input samples that calls AudioFileRecorder::renderInput on a
// thread of its own between start() and stop(). Lives in the thread that owns
// the recorder; open(), start(), stop() and destruction are called from there.
// Statuses are 0 on success; on failure lastError() says what failed and why.
class CaptureSource
{
public:
    virtual ~CaptureSource() = default;

    // Opens the default input for one channel of float samples at the device's
    // own rate (or the nearest the device allows) and fills format.
    virtual std::int32_t open(AudioFileRecorder &recorder, CaptureFormat &format) = 0;
    virtual std::int32_t start() = 0;
    // After stop() returns, renderInput is not called again.
    virtual std::int32_t stop() = 0;
    virtual QString lastError() const = 0;
};
