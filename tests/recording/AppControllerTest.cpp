// The controller on a fake device, and the reception monitor on synthesized sound.
#include "AppController.h"

#include "AudioFileRecorder.h"
#include "Decoder.h"
#include "FakeCaptureSource.h"
#include "ReceptionMonitor.h"
#include "SignalProbe.h"
#include "SoundsWithoutTransfer.h"
#include "TestTables.h"
#include "TransferFiles.h"
#include "TransferSynth.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <soxr.h>

namespace {

const QDateTime kValentines(QDate(2009, 2, 14), QTime(18, 30, 5));

// A controller whose recorders listen to a fake device sending `samples`.
struct ControllerFixture
{
    QTemporaryDir home;
    Decoder decoder;
    AppController controller{&decoder};
    int shakes = 0;
    FakeCaptureSource *lastSource = nullptr;

    explicit ControllerFixture(FakeCaptureSource::Options options = {}, std::vector<float> samples = {})
    {
        controller.setClock([] { return kValentines; });
        controller.setRecordingsFolder(home.filePath(QStringLiteral("Ventrix/Recordings")));
        controller.setShakeHandler([this] { ++shakes; });
        controller.setRecorderFactory([this, options, samples] {
            auto source = std::make_unique<FakeCaptureSource>(options, samples);
            lastSource = source.get();
            return std::make_unique<AudioFileRecorder>(std::move(source));
        });
    }

    void recordEverything()
    {
        controller.startButtonClicked(true);
        ASSERT_TRUE(controller.isRecording());
        lastSource->waitUntilDelivered();
        controller.startButtonClicked(false);
    }
};

TEST(AppController, NamesRecordingsByTheSecondWithASuffixForTheSameSecond)
{
    QTemporaryDir folder;
    const QString first = AppController::recordingFileName(folder.path(), kValentines);
    EXPECT_EQ(first, folder.filePath(QStringLiteral("Recording-090214183005.wav")));
    QFile(first).open(QIODevice::WriteOnly);
    const QString second = AppController::recordingFileName(folder.path(), kValentines);
    EXPECT_EQ(second, folder.filePath(QStringLiteral("Recording-090214183005-2.wav")));
    QFile(second).open(QIODevice::WriteOnly);
    EXPECT_EQ(AppController::recordingFileName(folder.path(), kValentines),
              folder.filePath(QStringLiteral("Recording-090214183005-3.wav")));
    EXPECT_EQ(AppController::recordingFileName(folder.path(), QDateTime(QDate(2010, 1, 2), QTime(0, 4, 9))),
              folder.filePath(QStringLiteral("Recording-100102000409.wav")));
    EXPECT_EQ(AppController::defaultRecordingsFolder(),
              qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Ventrix/Recordings"));
}

TEST(AppController, CreatesTheFolderRecordsAndShakesWhenNothingDecodes)
{
    ControllerFixture f({}, probe::tone(44100.0, 0.5, 1000.0));
    f.recordEverything();

    const QString expected = f.controller.recordingsFolder() + QStringLiteral("/Recording-090214183005.wav");
    EXPECT_EQ(f.controller.fileName(), expected);
    EXPECT_FALSE(f.controller.isRecording());
    EXPECT_EQ(f.controller.recorder(), nullptr);
    EXPECT_EQ(probe::readWav(expected).samples.size(), 22050u);
    EXPECT_EQ(f.shakes, 1);
}

TEST(AppController, NoInputDeviceTellsTheCallerAtOnceAndKeepsRunning)
{
    ControllerFixture f({.openStatus = -9985});
    QStringList failed;
    QObject::connect(&f.controller, &AppController::recordingFailed, [&](const QString &reason) { failed << reason; });

    testing::internal::CaptureStderr();
    f.controller.startButtonClicked(true);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "no audio input device\n");
    ASSERT_EQ(failed.size(), 1);
    EXPECT_EQ(failed.at(0), QStringLiteral("no audio input device"));
    EXPECT_FALSE(f.controller.isRecording());
    EXPECT_FALSE(QFile::exists(f.controller.fileName()));

    // A stop press anyway: nothing to stop, the missing file does not decode.
    EXPECT_EQ(f.controller.stopRecording(), 0);
    f.controller.startButtonClicked(false);
    EXPECT_EQ(f.shakes, 1);
}

// The transfer as a microphone at deviceRate would hear it.
std::vector<float> transferAt(double deviceRate)
{
    const std::vector<std::int16_t> recorded = synth::modulate(synth::frameTransfer(transferfiles::cleaned(QStringLiteral("rs200-minimal"))));
    std::vector<float> samples(recorded.size());
    for (std::size_t i = 0; i < recorded.size(); ++i)
        samples[i] = float(recorded[i]) / 32768.0f;
    if (deviceRate == synth::kSampleRate)
        return samples;
    std::vector<float> resampled(std::size_t(double(samples.size()) * deviceRate / synth::kSampleRate) + 1);
    std::size_t produced = 0;
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    soxr_oneshot(synth::kSampleRate, deviceRate, 1, samples.data(), samples.size(), nullptr, resampled.data(),
                 resampled.size(), &produced, &io, nullptr, nullptr);
    resampled.resize(produced);
    return resampled;
}

class ControllerWithDeviceRate : public testing::TestWithParam<double>
{
};

TEST_P(ControllerWithDeviceRate, RecordedTransferDecodes)
{
    ControllerFixture f({.sampleRate = GetParam()}, transferAt(GetParam()));
    f.recordEverything();

    EXPECT_EQ(f.shakes, 0);
    EXPECT_TRUE(f.controller.lastDecode().dataMakesSense);
    EXPECT_EQ(f.controller.lastDecode().model, WatchModel::RS200);
}

INSTANTIATE_TEST_SUITE_P(Rates, ControllerWithDeviceRate, testing::Values(44100.0, 48000.0));

// The reception monitor on synthesized transfers in the synthesizer's rooms,
// and on sounds that hold no transfer.
constexpr double kRate = synth::kSampleRate;
// The writer hands the monitor about 10 ms at a time.
constexpr std::size_t kStep = 441;

struct Followed
{
    bool heard = false;
    std::uint64_t bytes = 0;
    std::int64_t endDecidedAt = -1; // the sample at which transferEnded() first held
    bool clipped = false;
};

Followed follow(const std::vector<std::int16_t> &samples)
{
    ReceptionMonitor monitor;
    Followed followed;
    for (std::size_t at = 0; at < samples.size(); at += kStep) {
        monitor.process(std::span(samples).subspan(at, std::min(kStep, samples.size() - at)));
        followed.clipped = followed.clipped || (monitor.watchHeard() && monitor.isClipping());
        if (followed.endDecidedAt < 0 && monitor.transferEnded())
            followed.endDecidedAt = monitor.samplesProcessed();
    }
    followed.heard = monitor.watchHeard();
    followed.bytes = monitor.bytesReceived();
    return followed;
}

TEST(ReceptionMonitor, FollowsTransfersInEveryRoom)
{
    std::vector<std::uint8_t> cleaned = synth::randomBytes(11 + 300, 5);
    cleaned[0] = synth::kSyncByte;
    const std::vector<std::uint8_t> stream = synth::frameTransfer(cleaned);
    for (const QStringList &row : tableRows(QStringLiteral("recording/monitor-rooms.txt"))) {
        SCOPED_TRACE(row[0].toStdString());
        const synth::RoomOptions room = roomFromText(row[1] + QStringLiteral(" lead=1 tail=3"));
        const Followed followed = follow(synth::modulate(stream, room));
        ASSERT_TRUE(followed.heard);
        EXPECT_NEAR(double(followed.bytes), double(stream.size()), 0.03 * double(stream.size()));
        const double lastFrame = synth::burstCentre(stream.size() - 1, 0, room);
        EXPECT_NEAR((double(followed.endDecidedAt) - lastFrame) / kRate, ReceptionMonitor::kEndSeconds, 0.2);
        EXPECT_EQ(followed.clipped, row[2] == u"yes");
    }
}

// Three seconds of noise, music or speech never make a watch heard.
TEST(ReceptionMonitor, HearsNoWatchInSoundsWithoutATransfer)
{
    SoundsWithoutTransfer sounds(std::size_t(3 * kRate), 11);
    for (int r = 0; r < 30; ++r) {
        const auto &kind = kSoundsWithoutTransfer[r % 3];
        const Followed followed = follow((sounds.*kind.make)());
        EXPECT_FALSE(followed.heard) << kind.name << ", recording " << r;
        EXPECT_EQ(followed.bytes, 0u) << kind.name << ", recording " << r;
    }
}

TEST(ReceptionMonitor, SaysTheInputIsQuietAfterFiveSeconds)
{
    ReceptionMonitor monitor;
    const std::vector<std::int16_t> hiss(std::size_t(ReceptionMonitor::kQuietSeconds * kRate) - kStep, 30);
    monitor.process(hiss);
    EXPECT_FALSE(monitor.isQuiet());
    monitor.process(std::vector<std::int16_t>(kStep, -30));
    EXPECT_TRUE(monitor.isQuiet());
    EXPECT_NEAR(monitor.inputPeak(), 30.0F / 32768.0F, 1e-6F);
    monitor.process(std::vector<std::int16_t>(kStep, 5000));
    EXPECT_FALSE(monitor.isQuiet());
}

} // namespace
