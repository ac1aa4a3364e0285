// The recorder on a fake device and through PortAudio's default input. The
// audio callback must never allocate, so this binary replaces the global
// operator new and counts the calls made while the feeding thread is inside
// renderInput; it is its own executable so the replacement touches no other
// suite. The NoAudioDevice tests run with an ALSA configuration that defines no
// device; the PulseAudio tests run under with-pulseaudio.sh, which plays into a
// private daemon's null sink.
#include "AudioFileRecorder.h"

#include "AppController.h"
#include "Decoder.h"
#include "FakeCaptureSource.h"
#include "Pcm16.h"
#include "SignalProbe.h"
#include "StoreFile.h"
#include "TransferSynth.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <gtest/gtest.h>
#include <sndfile.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <new>

namespace {

thread_local bool t_inCallback = false;
std::atomic<int> g_callbackAllocations{0};

void *countedAllocate(std::size_t size, std::size_t alignment = 0)
{
    if (t_inCallback)
        g_callbackAllocations.fetch_add(1, std::memory_order_relaxed);
    size = std::max<std::size_t>(size, 1);
    return alignment > alignof(std::max_align_t) ? std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment)
                                                 : std::malloc(size);
}

void *allocateOrThrow(std::size_t size, std::size_t alignment = 0)
{
    if (void *memory = countedAllocate(size, alignment))
        return memory;
    throw std::bad_alloc();
}

} // namespace

void *operator new(std::size_t size) { return allocateOrThrow(size); }
void *operator new[](std::size_t size) { return allocateOrThrow(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept { return countedAllocate(size); }
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept { return countedAllocate(size); }
void *operator new(std::size_t size, std::align_val_t a) { return allocateOrThrow(size, std::size_t(a)); }
void *operator new[](std::size_t size, std::align_val_t a) { return allocateOrThrow(size, std::size_t(a)); }
void *operator new(std::size_t size, std::align_val_t a, const std::nothrow_t &) noexcept { return countedAllocate(size, std::size_t(a)); }
void *operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t &) noexcept { return countedAllocate(size, std::size_t(a)); }
void operator delete(void *memory) noexcept { std::free(memory); }
void operator delete[](void *memory) noexcept { std::free(memory); }
void operator delete(void *memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void *memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void *memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void *memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete(void *memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void *memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }
void operator delete(void *memory, const std::nothrow_t &) noexcept { std::free(memory); }
void operator delete[](void *memory, const std::nothrow_t &) noexcept { std::free(memory); }

namespace {

constexpr double kFileRate = 44100.0;
const QString kName = QStringLiteral("Recording-090214183005.wav");

// A recorder configured on a fake device that will send `samples`.
class Recorder : public testing::Test
{
protected:
    void make(FakeCaptureSource::Options options, std::vector<float> samples = {})
    {
        auto source = std::make_unique<FakeCaptureSource>(options, std::move(samples));
        source->onCallback = [](bool inCallback) { t_inCallback = inCallback; };
        fake = source.get();
        recorder = std::make_unique<AudioFileRecorder>(std::move(source));
        ASSERT_EQ(recorder->configure(folder.path(), kName), 0);
        g_callbackAllocations = 0;
    }

    void recordAll()
    {
        ASSERT_EQ(recorder->start(), 0);
        fake->waitUntilDelivered();
        EXPECT_EQ(recorder->stop(), 0);
    }

    QTemporaryDir folder;
    FakeCaptureSource *fake = nullptr;
    std::unique_ptr<AudioFileRecorder> recorder;
};

struct Device
{
    double rate;
    std::uint32_t channels;
    std::uint32_t bufferFrames = 512;
};
void PrintTo(const Device &d, std::ostream *out) { *out << d.rate << " Hz, " << d.channels << " ch, " << d.bufferFrames; }

class RecorderOnDevice : public Recorder, public testing::WithParamInterface<Device>
{
};

// Whatever the device delivers, the file is canonical 44,100 Hz 16-bit mono
// ("data" at byte 36, its true size), the tone keeps its pitch and level, and
// the callback allocated nothing. The recording is longer than the ring, so
// pushes and pops wrap around it, mid-buffer for buffers of 441 frames; at
// 44,100 Hz mono every sample must arrive as sent, in order.
TEST_P(RecorderOnDevice, WritesACanonicalMono16BitFileAt44100WithTheToneUnchanged)
{
    const auto [rate, channels, bufferFrames] = GetParam();
    constexpr double kSeconds = 3.5;
    const std::vector<float> sent = probe::tone(rate, kSeconds, 1000.0, 0.5f, int(channels));
    make({.sampleRate = rate, .channels = channels, .bufferFrames = bufferFrames}, sent);
    ASSERT_LT(recorder->ringCapacity(), sent.size() / channels);
    recordAll();
    EXPECT_EQ(recorder->overrunFrames(), 0u);
    EXPECT_EQ(recorder->framesCaptured(), std::uint64_t(std::llround(rate * kSeconds)));
    EXPECT_EQ(g_callbackAllocations.load(), 0);
    recorder.reset();

    const probe::WavContents wav = probe::readWav(folder.filePath(kName));
    ASSERT_TRUE(wav.ok);
    EXPECT_EQ(std::tie(wav.sampleRate, wav.channels, wav.format), std::tuple(44100, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16));
    if (rate == kFileRate && channels == 1) {
        std::vector<std::int16_t> expected(sent.size());
        Pcm16::fromFloat(sent, expected.data());
        EXPECT_TRUE(wav.samples == expected);
    }
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

INSTANTIATE_TEST_SUITE_P(Devices, RecorderOnDevice, testing::Values(Device{44100.0, 1, 441}, Device{48000.0, 1}, Device{48000.0, 2, 441}));

// The level meter's reading: the loudest sample of the latest buffer, on
// any channel and of either sign, not of the whole recording.
TEST_F(Recorder, PublishesThePeakOfTheLatestBuffer)
{
    constexpr std::uint32_t kFrames = 256;
    std::vector<float> samples(2 * 2 * kFrames, 0.1f);
    samples[7] = 0.9f;                          // first buffer, left
    samples[2 * kFrames + 2 * 100 + 1] = -0.6f; // last buffer, right
    make({.sampleRate = 48000.0, .channels = 2, .bufferFrames = kFrames}, samples);
    EXPECT_EQ(recorder->peakLevel(), 0.0f);
    recordAll();
    EXPECT_EQ(recorder->peakLevel(), 0.6f);
    recorder->renderInput(nullptr, kFrames, 0); // a device that lost its input: silence
    EXPECT_EQ(recorder->peakLevel(), 0.0f);
}

TEST_F(Recorder, FailingStartLeavesAnEmptyWavFile)
{
    make({.startStatus = -9999}, probe::tone(kFileRate, 0.1, 1000.0));
    testing::internal::CaptureStderr();
    EXPECT_EQ(recorder->start(), -9999);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "failed to start AU\n");
    recorder.reset();

    const probe::WavContents wav = probe::readWav(folder.filePath(kName));
    EXPECT_TRUE(wav.ok);
    EXPECT_TRUE(wav.samples.empty());
    EXPECT_EQ(QFileInfo(folder.filePath(kName)).size(), 44);
}

// Nothing drains before start(), so the ring fills up and the rest is lost,
// counted without allocating.
TEST_F(Recorder, CountsAndReportsFramesLostToAFullRingWithoutAllocating)
{
    make({});
    const std::vector<float> block(512, 0.25f);
    const std::size_t blocks = recorder->ringCapacity() / block.size() + 3;
    t_inCallback = true;
    for (std::size_t i = 0; i < blocks; ++i)
        recorder->renderInput(block.data(), std::uint32_t(block.size()), i == 0 ? AudioFileRecorder::kInputOverflow : 0);
    t_inCallback = false;
    EXPECT_EQ(g_callbackAllocations.load(), 0);
    EXPECT_EQ(recorder->overrunFrames(), 3u * 512u);
    EXPECT_EQ(recorder->deviceOverflows(), 1u);

    testing::internal::CaptureStderr();
    ASSERT_EQ(recorder->start(), 0);
    EXPECT_EQ(recorder->stop(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "recording overrun: 1536 frames dropped, 1 device overflows\n");
    // ... and to the window, which shows it while recording and after the stop.
    EXPECT_EQ(recorder->recordingProblem(),
              QStringLiteral("cannot keep up with the audio input: 1536 frames dropped, 1 device overflows"));
    EXPECT_EQ(recorder->framesWritten(), recorder->ringCapacity());
}

// The probe itself must see allocations, or the checks above prove nothing.
TEST(AllocationProbe, CountsAnAllocation)
{
    g_callbackAllocations = 0;
    t_inCallback = true;
    auto *leakCheck = new int(1);
    t_inCallback = false;
    delete leakCheck;
    EXPECT_EQ(g_callbackAllocations.load(), 1);
}

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
