// The recorder on a fake device. The audio callback must never allocate, so
// this binary replaces the global operator new and counts the calls made while
// the feeding thread is inside renderInput; it is its own executable so the
// replacement touches no other suite.
#include "AudioFileRecorder.h"
#include "FakeCaptureSource.h"
#include "SignalProbe.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sndfile.h>

#include <atomic>
#include <cstdlib>
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
};

class RecorderOnDevice : public Recorder, public testing::WithParamInterface<Device>
{
};

// Whatever the device delivers, the file is canonical 44,100 Hz 16-bit mono
// ("data" at byte 36, its true size), the tone keeps its pitch and level, and
// the callback allocated nothing.
TEST_P(RecorderOnDevice, WritesACanonicalMono16BitFileAt44100WithTheToneUnchanged)
{
    const auto [rate, channels] = GetParam();
    constexpr double kSeconds = 1.5;
    make({.sampleRate = rate, .channels = channels}, probe::tone(rate, kSeconds, 1000.0, 0.5f, int(channels)));
    recordAll();
    EXPECT_EQ(recorder->overrunFrames(), 0u);
    EXPECT_EQ(recorder->framesCaptured(), std::uint64_t(std::llround(rate * kSeconds)));
    EXPECT_EQ(g_callbackAllocations.load(), 0);
    recorder.reset();

    const probe::WavContents wav = probe::readWav(folder.filePath(kName));
    ASSERT_TRUE(wav.ok);
    EXPECT_EQ(std::tie(wav.sampleRate, wav.channels, wav.format), std::tuple(44100, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16));
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

} // namespace
