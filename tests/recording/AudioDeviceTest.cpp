// Recording through PortAudio's default input. The NoAudioDevice tests run
// with an ALSA configuration that defines no device; the PulseAudio tests run
// under with-pulseaudio.sh, which plays into a private daemon's null sink.
#include "AppController.h"
#include "AudioFileRecorder.h"
#include "Decoder.h"
#include "SignalProbe.h"
#include "StoreFile.h"
#include "TransferSynth.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

constexpr double kFileRate = 44100.0;

class NoAudioDevice : public testing::Test
{
protected:
    void SetUp() override
    {
        // ALSA lists sound cards whatever its configuration says.
        QFile cards(QStringLiteral("/proc/asound/cards"));
        if (cards.open(QIODevice::ReadOnly) && !cards.readAll().contains("no soundcards"))
            GTEST_SKIP() << "this machine has a sound card, so an input device exists";
    }
};

TEST_F(NoAudioDevice, ConfigureFailsWithAMessageAndNoFile)
{
    QTemporaryDir folder;
    AudioFileRecorder recorder;
    testing::internal::CaptureStderr();
    EXPECT_NE(recorder.configure(folder.path(), QStringLiteral("Recording.wav")), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no audio input device\n"), std::string::npos);
    EXPECT_NE(recorder.start(), 0);
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST_F(NoAudioDevice, DecodeToolSaysSoAndExitsWithOne)
{
    QProcess tool;
    tool.start(QStringLiteral(VENTRIX_DECODE_PATH), {QStringLiteral("--record"), QStringLiteral("5")});
    ASSERT_TRUE(tool.waitForFinished(60000));

    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_TRUE(tool.readAllStandardError().contains(
        "ventrix-decode: cannot record from the default audio input: no audio input device\n"));
}

// Waits until frames() has grown by half a second of the file's rate, for
// about ten seconds at most. Before playing: the device starts delivering some
// time after start() returns. After: the sound still in the daemon's and
// PortAudio's buffers.
void waitForHalfASecond(const std::function<qint64()> &frames)
{
    const qint64 target = frames() + qint64(kFileRate / 2);
    QElapsedTimer waited;
    waited.start();
    while (frames() < target && waited.elapsed() < 10000)
        QThread::msleep(10);
    EXPECT_GE(frames(), target);
}

void captureHalfASecond(const AudioFileRecorder &recorder)
{
    waitForHalfASecond([&] { return qint64(recorder.framesCaptured()); });
}

// Plays a 44,100 Hz 16-bit WAV into the daemon's null sink and waits until
// paplay has drained it.
bool play(const QString &wavPath)
{
    QProcess paplay;
    paplay.setProcessChannelMode(QProcess::ForwardedChannels);
    paplay.start(QStringLiteral("paplay"), {QStringLiteral("--device=") + qEnvironmentVariable("VENTRIX_PULSE_SINK"), wavPath});
    return paplay.waitForFinished(120000) && paplay.exitStatus() == QProcess::NormalExit && paplay.exitCode() == 0;
}

// The first and last sample above a quarter of the tone's amplitude.
std::pair<std::size_t, std::size_t> toneSpan(const std::vector<std::int16_t> &samples)
{
    const auto loud = [](std::int16_t s) { return std::abs(int(s)) > 3000; };
    const auto first = std::find_if(samples.begin(), samples.end(), loud);
    const auto last = std::find_if(samples.rbegin(), samples.rend(), loud);
    if (first == samples.end())
        return {0, 0};
    return {std::size_t(first - samples.begin()), std::size_t(samples.rend() - last)};
}

class PulseAudio : public testing::Test
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("VENTRIX_PULSE_SINK"))
            GTEST_SKIP() << "needs the private PulseAudio daemon of with-pulseaudio.sh";
    }

    // Plays a 1 kHz tone of that length while recording through PortAudio
    // (and a little before and after); nothing may be lost on the way.
    probe::WavContents recordTone(double seconds)
    {
        std::vector<std::int16_t> tone;
        for (float sample : probe::tone(kFileRate, seconds, 1000.0, 0.37f))
            tone.push_back(std::int16_t(std::lround(sample * 32767.0f)));
        const QString tonePath = m_folder.filePath(QStringLiteral("tone.wav"));
        EXPECT_TRUE(synth::writeWav(tonePath, tone));
        {
            AudioFileRecorder recorder;
            EXPECT_EQ(recorder.configure(m_folder.path(), QStringLiteral("Recording.wav")), 0)
                << recorder.lastError().toStdString();
            EXPECT_EQ(recorder.start(), 0);
            captureHalfASecond(recorder);
            EXPECT_TRUE(play(tonePath));
            captureHalfASecond(recorder);
            EXPECT_EQ(recorder.stop(), 0);
            EXPECT_EQ(recorder.overrunFrames(), 0u);
            EXPECT_EQ(recorder.deviceOverflows(), 0u);
        }
        return probe::readWav(m_folder.filePath(QStringLiteral("Recording.wav")));
    }

    QTemporaryDir m_folder;
    const QString storePath = m_folder.filePath(QStringLiteral("Ventrix.xml"));
};

TEST_F(PulseAudio, RecordsThePlayedToneAt44100HzWhateverTheSinkRate)
{
    const probe::WavContents wav = recordTone(1.0);
    ASSERT_TRUE(wav.ok);
    EXPECT_EQ(wav.sampleRate, 44100);
    EXPECT_EQ(wav.channels, 1);
    const auto [first, last] = toneSpan(wav.samples);
    ASSERT_GT(last, first);
    // The daemon mixes a new stream into audio it has already rendered, so
    // the monitor misses up to a few ten milliseconds of its start.
    constexpr double kMixingLoss = 0.03 * kFileRate;
    EXPECT_NEAR(double(last - first), kFileRate - kMixingLoss / 2, kMixingLoss / 2);
    const std::vector<std::int16_t> toneOnly(wav.samples.begin() + std::ptrdiff_t(first),
                                             wav.samples.begin() + std::ptrdiff_t(last));
    EXPECT_NEAR(probe::zeroCrossingFrequency(toneOnly, kFileRate), 1000.0, 2.0);
}

// A minute of tone: nothing is lost and the file holds a minute of it.
TEST_F(PulseAudio, LongRecordingKeepsEverySample)
{
    constexpr double kSeconds = 60.0;
    const probe::WavContents wav = recordTone(kSeconds);
    ASSERT_TRUE(wav.ok);
    const auto [first, last] = toneSpan(wav.samples);
    EXPECT_NEAR(double(last - first), kSeconds * kFileRate, 0.005 * kSeconds * kFileRate);
}

// The example RS200 transfer, and what decoding its file directly gives.
const QString kExampleTransfer = QStringLiteral(VENTRIX_EXAMPLES_DIR "/rs200-run.wav");

// The store holds one session, the one decoding the example file directly gives
// (the import date differs).
void expectStoreHoldsTheExample(const QString &storePath)
{
    const DecodeResult decoded = Decoder().decodeFile(kExampleTransfer);
    ASSERT_EQ(decoded.sessions.size(), 1u);
    const RunSession &expected = decoded.sessions.front();
    ASSERT_TRUE(expected.sessionDate.has_value());
    const StoreLoadResult stored = StoreFile(storePath).load();
    ASSERT_TRUE(stored.ok) << stored.errorMessage.toStdString();
    ASSERT_EQ(stored.contents.sessions.size(), 1u);
    const RunSession &recorded = stored.contents.sessions.front();
    EXPECT_EQ(std::tie(recorded.hrm, recorded.sessionDate, recorded.sessionTotalTime, recorded.sessionAverageHR, recorded.sessionLaps),
              std::tie(expected.hrm, expected.sessionDate, expected.sessionTotalTime, expected.sessionAverageHR, expected.sessionLaps));
}

// The transfer ends 0.1 s before the file does; the sound reaches the
// recorder a little after paplay is done with it.
void expectStoppedTwoSecondsAfterPlayback(qint64 milliseconds)
{
    EXPECT_GE(milliseconds, 1500);
    EXPECT_LE(milliseconds, 3500);
}

// The command-line recorder, given two minutes, ends by itself two seconds
// after the transfer and says meanwhile how many bytes have arrived.
TEST_F(PulseAudio, DecodeToolRecordsThePlayedTransferIntoJsonAndStore)
{
    QProcess tool;
    tool.setReadChannel(QProcess::StandardError);
    tool.start(QStringLiteral(VENTRIX_DECODE_PATH),
               {QStringLiteral("--record"), QStringLiteral("120"), QStringLiteral("--json"), QStringLiteral("--store"),
                storePath});
    ASSERT_TRUE(tool.waitForStarted());
    const QString announcement = QStringLiteral("ventrix-decode: recording into ");
    QString err;
    while (!err.contains(QStringLiteral(" (Ctrl-C stops)")) && tool.waitForReadyRead(30000))
        err += QString::fromLocal8Bit(tool.readAllStandardError());
    const qsizetype start = err.indexOf(announcement);
    ASSERT_GE(start, 0) << err.toStdString();
    const QString recording = err.mid(start + announcement.size()).section(QStringLiteral(" (Ctrl-C stops)"), 0, 0);
    EXPECT_EQ(QFileInfo(recording).absolutePath(), AppController::defaultRecordingsFolder());

    // The writer keeps the file complete as it goes: 16-bit mono after a 44-byte header.
    waitForHalfASecond([&] { return std::max<qint64>(0, QFileInfo(recording).size() - 44) / 2; });
    ASSERT_TRUE(play(kExampleTransfer));
    QElapsedTimer sincePlayback;
    sincePlayback.start();
    while (tool.state() != QProcess::NotRunning && !err.contains(QStringLiteral("ventrix-decode: recorded ")))
        if (tool.waitForReadyRead(30000))
            err += QString::fromLocal8Bit(tool.readAllStandardError());
    expectStoppedTwoSecondsAfterPlayback(sincePlayback.elapsed());
    ASSERT_TRUE(tool.waitForFinished(60000));

    err += QString::fromLocal8Bit(tool.readAllStandardError());
    EXPECT_TRUE(err.contains(QRegularExpression(QStringLiteral("\nReceiving\u2026 [0-9]+ bytes\n")))) << err.toStdString();
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 0) << err.toStdString();
    const QJsonArray files =
        QJsonDocument::fromJson(tool.readAllStandardOutput()).object()[QStringLiteral("files")].toArray();
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(files[0].toObject()[QStringLiteral("path")].toString(), recording);
    EXPECT_EQ(files[0].toObject()[QStringLiteral("model")].toString(), QStringLiteral("RS200"));
    EXPECT_EQ(files[0].toObject()[QStringLiteral("sessions")].toArray().size(), 1);
    expectStoreHoldsTheExample(storePath);
}

} // namespace
