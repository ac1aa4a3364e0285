#pragma once

#include "AudioFileRecorder.h"
#include "CaptureSource.h"

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

// Stands in for the audio device: start() launches a thread that hands the
// given interleaved samples to renderInput one buffer at a time, waiting for
// room in the recorder's ring as a real device's steady clock would allow.
class FakeCaptureSource final : public CaptureSource
{
public:
    struct Options
    {
        double sampleRate = 44100.0;
        std::uint32_t channels = 1;
        std::uint32_t bufferFrames = 512;
        std::int32_t openStatus = 0;
        std::int32_t startStatus = 0;
    };

    FakeCaptureSource(Options options, std::vector<float> samples) : m_options(options), m_samples(std::move(samples)) {}
    ~FakeCaptureSource() override { stop(); }

    // Runs on the feeding thread around each renderInput call (for the allocation probe).
    std::function<void(bool inCallback)> onCallback = [](bool) {};

    std::int32_t open(AudioFileRecorder &recorder, CaptureFormat &format) override
    {
        m_recorder = &recorder;
        format.deviceFormat = StreamFormat{m_options.sampleRate, m_options.channels, 32, true};
        format.bufferFrameSize = m_options.bufferFrames;
        return m_options.openStatus;
    }

    std::int32_t start() override
    {
        if (m_options.startStatus == 0)
            m_thread = std::thread([this] { feed(); });
        return m_options.startStatus;
    }

    std::int32_t stop() override
    {
        m_stopRequested = true;
        waitUntilDelivered();
        return 0;
    }

    // Blocks until every sample has been handed over (the device went quiet).
    void waitUntilDelivered()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    QString lastError() const override
    {
        return m_options.openStatus != 0 ? QStringLiteral("no audio input device")
                                         : QStringLiteral("the fake device refused to start");
    }

private:
    void feed()
    {
        const std::size_t channels = m_options.channels, totalFrames = m_samples.size() / channels;
        for (std::size_t frame = 0; frame < totalFrames && !m_stopRequested;) {
            const std::size_t count = std::min<std::size_t>(m_options.bufferFrames, totalFrames - frame);
            while (m_recorder->ringCapacity() - m_recorder->queuedFrames() < count && !m_stopRequested)
                std::this_thread::yield();
            onCallback(true);
            m_recorder->renderInput(m_samples.data() + frame * channels, std::uint32_t(count), 0);
            onCallback(false);
            frame += count;
        }
    }

    Options m_options;
    std::vector<float> m_samples;
    AudioFileRecorder *m_recorder = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_stopRequested{false};
};
