#pragma once

#include <atomic>
#include <cstdint>

// Counters the audio callback bumps and the writer thread and the owner read.
// Each is an independent statistic, so relaxed ordering is enough: no other
// memory is published through them.
struct CaptureCounters
{
    std::atomic<std::uint64_t> framesCaptured{0};
    // Frames the callback could not queue because the ring was full.
    std::atomic<std::uint64_t> overrunFrames{0};
    // Callbacks in which the device itself reported lost input.
    std::atomic<std::uint64_t> deviceOverflows{0};

    static_assert(std::atomic<std::uint64_t>::is_always_lock_free,
                  "the audio callback must not take a lock to count");
};
