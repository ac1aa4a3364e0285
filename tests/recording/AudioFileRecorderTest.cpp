#include "AudioFileRecorder.h"
#include "FakeCaptureSource.h"
#include "SignalProbe.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>

namespace {

constexpr double kFileRate = 44100.0;
const QString kName = QStringLiteral("Recording-090214183005.wav");

struct Recording
{
    std::unique_ptr<AudioFileRecorder> recorder;
    FakeCaptureSource *source = nullptr;
};

Recording makeRecorder(FakeCaptureSource::Options options, std::vector<float> samples)
{
    auto source = std::make_unique<FakeCaptureSource>(options, std::move(samples));
    Recording recording;
    recording.source = source.get();
    recording.recorder = std::make_unique<AudioFileRecorder>(std::move(source));
    return recording;
}

// Configures, records everything the fake device sends, stops and destroys the recorder.
void recordAll(const QString &folder, FakeCaptureSource::Options options, std::vector<float> samples)
{
    Recording recording = makeRecorder(options, std::move(samples));
    ASSERT_EQ(recording.recorder->configure(folder, kName), 0);
    ASSERT_EQ(recording.recorder->start(), 0);
    recording.source->waitUntilDelivered();
    EXPECT_EQ(recording.recorder->stop(), 0);
    EXPECT_EQ(recording.recorder->overrunFrames(), 0u);
}

struct Device
{
    double rate;
    std::uint32_t channels;
};

class RecorderOnDevice : public testing::TestWithParam<Device>
{
};

// Whatever the device delivers, the file is canonical 44,100 Hz 16-bit mono
// ("data" at byte 36, its true size) and the tone keeps its pitch and level.
TEST_P(RecorderOnDevice, WritesACanonicalMono16BitFileAt44100WithTheToneUnchanged)
{
    QTemporaryDir folder;
    const auto [rate, channels] = GetParam();
    constexpr double kSeconds = 1.5;
    recordAll(folder.path(), {.sampleRate = rate, .channels = channels},
              probe::tone(rate, kSeconds, 1000.0, 0.5f, int(channels)));

    const probe::WavContents wav = probe::readWav(folder.filePath(kName));
    ASSERT_TRUE(wav.ok);
    EXPECT_EQ(wav.sampleRate, 44100);
    EXPECT_EQ(wav.channels, 1);
    EXPECT_EQ(wav.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_NEAR(double(wav.samples.size()), kSeconds * kFileRate, 512.0);
    // Unresampled samples played at 44,100 Hz would sound at 919 Hz.
    EXPECT_NEAR(probe::zeroCrossingFrequency(wav.samples, kFileRate), 1000.0, 1.0);
    const auto peak = *std::max_element(wav.samples.begin(), wav.samples.end());
    EXPECT_NEAR(peak, 0.5 * 32767, 0.02 * 32767); // two channels are averaged, not summed

    QFile file(folder.filePath(kName));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.mid(36, 4), "data");
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 40), quint32(bytes.size() - 44));
}

INSTANTIATE_TEST_SUITE_P(Devices, RecorderOnDevice, testing::Values(Device{44100.0, 1}, Device{48000.0, 1}, Device{48000.0, 2}));

// The level meter's reading: the loudest sample of the latest buffer, on
// any channel and of either sign, not of the whole recording.
TEST(AudioFileRecorder, PublishesThePeakOfTheLatestBuffer)
{
    QTemporaryDir folder;
    constexpr std::uint32_t kFrames = 256;
    std::vector<float> samples(2 * 2 * kFrames, 0.1f);
    samples[7] = 0.9f;                          // first buffer, left
    samples[2 * kFrames + 2 * 100 + 1] = -0.6f; // last buffer, right
    Recording recording = makeRecorder({.sampleRate = 48000.0, .channels = 2, .bufferFrames = kFrames}, samples);
    ASSERT_EQ(recording.recorder->configure(folder.path(), kName), 0);
    EXPECT_EQ(recording.recorder->peakLevel(), 0.0f);

    ASSERT_EQ(recording.recorder->start(), 0);
    recording.source->waitUntilDelivered();

    EXPECT_EQ(recording.recorder->peakLevel(), 0.6f);
    recording.recorder->renderInput(nullptr, kFrames, 0); // a device that lost its input: silence
    EXPECT_EQ(recording.recorder->peakLevel(), 0.0f);
}

TEST(AudioFileRecorder, FailingStartLeavesAnEmptyWavFile)
{
    QTemporaryDir folder;
    Recording recording = makeRecorder({.startStatus = -9999}, probe::tone(kFileRate, 0.1, 1000.0));
    ASSERT_EQ(recording.recorder->configure(folder.path(), kName), 0);

    testing::internal::CaptureStderr();
    EXPECT_EQ(recording.recorder->start(), -9999);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "failed to start AU\n");
    recording.recorder.reset();

    const probe::WavContents wav = probe::readWav(folder.filePath(kName));
    EXPECT_TRUE(wav.ok);
    EXPECT_TRUE(wav.samples.empty());
    EXPECT_EQ(QFileInfo(folder.filePath(kName)).size(), 44);
}

TEST(AudioFileRecorder, CountsAndReportsFramesLostToAFullRing)
{
    QTemporaryDir folder;
    Recording recording = makeRecorder({}, {});
    AudioFileRecorder &recorder = *recording.recorder;
    ASSERT_EQ(recorder.configure(folder.path(), kName), 0);
    // Nothing drains before start(), so the ring fills up and the rest is lost.
    const std::vector<float> block(512, 0.25f);
    const std::size_t blocks = recorder.ringCapacity() / block.size() + 3;
    for (std::size_t i = 0; i < blocks; ++i)
        recorder.renderInput(block.data(), std::uint32_t(block.size()), i == 0 ? AudioFileRecorder::kInputOverflow : 0);
    EXPECT_EQ(recorder.overrunFrames(), 3u * 512u);
    EXPECT_EQ(recorder.deviceOverflows(), 1u);

    testing::internal::CaptureStderr();
    ASSERT_EQ(recorder.start(), 0);
    EXPECT_EQ(recorder.stop(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "recording overrun: 1536 frames dropped, 1 device overflows\n");
    EXPECT_EQ(recorder.framesWritten(), recorder.ringCapacity());
}

} // namespace
