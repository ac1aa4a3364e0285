// The audio callback must never allocate. This binary replaces the global
// operator new and counts the calls made while the feeding thread is inside
// renderInput; it is its own executable so the replacement touches no other suite.
#include "AudioFileRecorder.h"
#include "FakeCaptureSource.h"
#include "SignalProbe.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    if (size == 0)
        size = 1;
    void *memory = alignment > alignof(std::max_align_t) ? std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment)
                                                         : std::malloc(size);
    return memory;
}

} // namespace

void *operator new(std::size_t size)
{
    if (void *memory = countedAllocate(size))
        return memory;
    throw std::bad_alloc();
}
void *operator new[](std::size_t size) { return operator new(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept { return countedAllocate(size); }
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept { return countedAllocate(size); }
void *operator new(std::size_t size, std::align_val_t alignment)
{
    if (void *memory = countedAllocate(size, std::size_t(alignment)))
        return memory;
    throw std::bad_alloc();
}
void *operator new[](std::size_t size, std::align_val_t alignment) { return operator new(size, alignment); }
void *operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t &) noexcept
{
    return countedAllocate(size, std::size_t(alignment));
}
void *operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t &) noexcept
{
    return countedAllocate(size, std::size_t(alignment));
}
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

struct CallbackCase
{
    double sampleRate;
    std::uint32_t channels;
};

class RecorderCallback : public testing::TestWithParam<CallbackCase>
{
};

TEST_P(RecorderCallback, AllocatesNothing)
{
    const CallbackCase params = GetParam();
    QTemporaryDir folder;
    auto source = std::make_unique<FakeCaptureSource>(
        FakeCaptureSource::Options{.sampleRate = params.sampleRate, .channels = params.channels},
        probe::tone(params.sampleRate, 1.0, 1000.0, 0.5f, int(params.channels)));
    FakeCaptureSource *fake = source.get();
    fake->onCallback = [](bool inCallback) { t_inCallback = inCallback; };
    AudioFileRecorder recorder(std::move(source));
    ASSERT_EQ(recorder.configure(folder.path(), QStringLiteral("Recording.wav")), 0);
    g_callbackAllocations = 0;

    ASSERT_EQ(recorder.start(), 0);
    fake->waitUntilDelivered();
    recorder.stop();

    EXPECT_EQ(recorder.framesCaptured(), std::uint64_t(params.sampleRate));
    EXPECT_EQ(g_callbackAllocations.load(), 0);
}

INSTANTIATE_TEST_SUITE_P(Devices, RecorderCallback,
                         testing::Values(CallbackCase{44100.0, 1}, CallbackCase{48000.0, 2}),
                         [](const testing::TestParamInfo<CallbackCase> &info) {
                             return std::to_string(int(info.param.sampleRate)) + "Hz"
                                    + (info.param.channels == 1 ? "Mono" : "Stereo");
                         });

TEST(RecorderCallback, AllocatesNothingWhenTheRingIsFull)
{
    QTemporaryDir folder;
    AudioFileRecorder recorder(std::make_unique<FakeCaptureSource>(FakeCaptureSource::Options{}, std::vector<float>{}));
    ASSERT_EQ(recorder.configure(folder.path(), QStringLiteral("Recording.wav")), 0);
    const std::vector<float> block(512, 0.1f);
    g_callbackAllocations = 0;

    t_inCallback = true;
    for (std::size_t i = 0; i < recorder.ringCapacity() / block.size() + 2; ++i)
        recorder.renderInput(block.data(), std::uint32_t(block.size()), AudioFileRecorder::kInputOverflow);
    t_inCallback = false;

    EXPECT_EQ(recorder.overrunFrames(), 1024u);
    EXPECT_EQ(g_callbackAllocations.load(), 0);
}

// The probe itself must see allocations, or the tests above prove nothing.
TEST(RecorderCallback, ProbeCountsAnAllocation)
{
    g_callbackAllocations = 0;
    t_inCallback = true;
    auto *leakCheck = new int(1);
    t_inCallback = false;
    delete leakCheck;
    EXPECT_EQ(g_callbackAllocations.load(), 1);
}

} // namespace
