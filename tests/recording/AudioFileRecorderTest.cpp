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

class RecorderAtDeviceRate : public testing::TestWithParam<double>
{
};

TEST_P(RecorderAtDeviceRate, WritesMono16BitAt44100WithTheToneUnchanged)
{
    QTemporaryDir folder;
    const double deviceRate = GetParam();
    const double seconds = 1.5;
    const std::size_t framesSent = std::size_t(std::llround(deviceRate * seconds));
    recordAll(folder.path(), {.sampleRate = deviceRate}, probe::tone(deviceRate, seconds, 1000.0));

    const probe::WavContents wav = probe::readWav(folder.filePath(kName));
    ASSERT_TRUE(wav.ok);
    EXPECT_EQ(wav.sampleRate, 44100);
    EXPECT_EQ(wav.channels, 1);
    EXPECT_EQ(wav.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    const double expectedFrames = double(framesSent) * kFileRate / deviceRate;
    EXPECT_NEAR(double(wav.samples.size()), expectedFrames, 512.0);
    EXPECT_NEAR(probe::zeroCrossingFrequency(wav.samples, kFileRate), 1000.0, 1.0);
    // Unresampled samples played at 44,100 Hz would sound at 1000 * 44100 / 48000 Hz.
    const double wrongFrequency = 1000.0 * kFileRate / 48000.0;
    EXPECT_GT(probe::goertzelPower(wav.samples, kFileRate, 1000.0),
              1000.0 * probe::goertzelPower(wav.samples, kFileRate, wrongFrequency));
}

INSTANTIATE_TEST_SUITE_P(Rates, RecorderAtDeviceRate, testing::Values(44100.0, 48000.0));

TEST(AudioFileRecorder, WritesTheCanonicalHeaderWithTheTrueDataSize)
{
    QTemporaryDir folder;
    recordAll(folder.path(), {}, probe::tone(kFileRate, 0.25, 1000.0));

    QFile file(folder.filePath(kName));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 44);
    EXPECT_EQ(bytes.mid(0, 4), "RIFF");
    EXPECT_EQ(bytes.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(bytes.mid(36, 4), "data");
    const auto dataSize = qFromLittleEndian<quint32>(bytes.constData() + 40);
    EXPECT_EQ(dataSize, quint32(bytes.size() - 44));
    EXPECT_EQ(dataSize, quint32(2 * 11025));
}

TEST(AudioFileRecorder, MixesAStereoOnlyDeviceToMono)
{
    QTemporaryDir folder;
    recordAll(folder.path(), {.sampleRate = 48000.0, .channels = 2},
              probe::tone(48000.0, 1.0, 1000.0, 0.5f, 2));

    const probe::WavContents wav = probe::readWav(folder.filePath(kName));
    ASSERT_TRUE(wav.ok);
    EXPECT_EQ(wav.channels, 1);
    EXPECT_NEAR(probe::zeroCrossingFrequency(wav.samples, kFileRate), 1000.0, 1.0);
    const auto peak = *std::max_element(wav.samples.begin(), wav.samples.end());
    EXPECT_NEAR(peak, 0.5 * 32767, 0.02 * 32767); // the mean of two equal channels, not their sum
}

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

TEST(AudioFileRecorder, NoInputDeviceFailsConfigureWithAMessageAndMakesNoFile)
{
    QTemporaryDir folder;
    Recording recording = makeRecorder({.openStatus = -9985}, {});

    testing::internal::CaptureStderr();
    EXPECT_EQ(recording.recorder->configure(folder.path(), kName), -9985);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "no audio input device\n");
    EXPECT_NE(recording.recorder->start(), 0);
    recording.recorder.reset();
    EXPECT_FALSE(QFile::exists(folder.filePath(kName)));
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

TEST(AudioFileRecorder, NeverReplacesAnExistingFile)
{
    QTemporaryDir folder;
    QFile earlier(folder.filePath(kName));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("an earlier recording");
    earlier.close();
    Recording recording = makeRecorder({}, {});

    testing::internal::CaptureStderr();
    EXPECT_NE(recording.recorder->configure(folder.path(), kName), 0);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("cannot create " + folder.filePath(kName).toStdString()), std::string::npos) << message;
    recording.recorder.reset();

    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), "an earlier recording");
}

TEST(AudioFileRecorder, MissingFolderFailsConfigureNamingThePath)
{
    QTemporaryDir folder;
    const QString missing = folder.filePath(QStringLiteral("Recordings"));
    Recording recording = makeRecorder({}, {});

    testing::internal::CaptureStderr();
    EXPECT_NE(recording.recorder->configure(missing, kName), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("No such file or directory"), std::string::npos);
    EXPECT_TRUE(recording.recorder->lastError().startsWith(QStringLiteral("cannot create ") + missing));
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
