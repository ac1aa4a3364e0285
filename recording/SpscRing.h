#pragma once

#include <atomic>
#include <bit>
#include <cstddef>
#include <memory>
#include <new>

// A fixed-size lock-free queue between exactly one producer thread and one
// consumer thread. push*(): wait-free, producer only (the audio callback).
// pop(): wait-free, consumer only (the writer thread). All storage is
// allocated by the constructor; nothing allocates afterwards.
template <typename T>
class SpscRing
{
public:
    // Capacity is rounded up to a power of two so that indices wrap with a mask.
    // Allocation failure is reported by isValid(), not by an exception, so that
    // the caller can print its own message.
    explicit SpscRing(std::size_t minimumCapacity)
        : m_capacity(std::bit_ceil(minimumCapacity < 2 ? std::size_t(2) : minimumCapacity)),
          m_mask(m_capacity - 1),
          m_items(new (std::nothrow) T[m_capacity]())
    {
    }

    SpscRing(const SpscRing &) = delete;
    SpscRing &operator=(const SpscRing &) = delete;

    bool isValid() const { return m_items != nullptr; }
    std::size_t capacity() const { return m_capacity; }

    // Items waiting to be popped. Exact on the consumer side; on the producer
    // side it may overstate (the consumer can have moved on), so free space
    // computed from it errs on the safe side.
    std::size_t readAvailable() const
    {
        return m_writeIndex.load(std::memory_order_acquire) - m_readIndex.load(std::memory_order_relaxed);
    }

    // Appends produce(i) for i = 0 .. count-1, or as many as fit; returns how many.
    // produce lets the caller convert while copying (a stereo frame to one sample).
    template <typename Produce>
    std::size_t pushWith(std::size_t count, Produce &&produce)
    {
        // Only this thread writes m_writeIndex, so a relaxed load sees its own value.
        const std::size_t write = m_writeIndex.load(std::memory_order_relaxed);
        // Acquire pairs with the consumer's release store in pop(): once we see
        // that the consumer has moved past a slot, its reads of that slot are
        // finished and we may overwrite it.
        const std::size_t read = m_readIndex.load(std::memory_order_acquire);
        const std::size_t free = m_capacity - (write - read);
        const std::size_t n = count < free ? count : free;
        for (std::size_t i = 0; i < n; ++i)
            m_items[(write + i) & m_mask] = produce(i);
        // Release publishes the items written above: a consumer that loads the
        // new index with acquire is guaranteed to see them.
        m_writeIndex.store(write + n, std::memory_order_release);
        return n;
    }

    std::size_t push(const T *items, std::size_t count)
    {
        return pushWith(count, [items](std::size_t i) { return items[i]; });
    }

    // Moves up to count items into out; returns how many.
    std::size_t pop(T *out, std::size_t count)
    {
        // Only this thread writes m_readIndex.
        const std::size_t read = m_readIndex.load(std::memory_order_relaxed);
        // Acquire pairs with the producer's release store: the items up to
        // write are fully written before we read them.
        const std::size_t write = m_writeIndex.load(std::memory_order_acquire);
        const std::size_t available = write - read;
        const std::size_t n = count < available ? count : available;
        for (std::size_t i = 0; i < n; ++i)
            out[i] = m_items[(read + i) & m_mask];
        // Release hands the slots back: the producer's acquire load of this
        // index happens after our reads above, so it cannot overwrite them early.
        m_readIndex.store(read + n, std::memory_order_release);
        return n;
    }

private:
    const std::size_t m_capacity;
    const std::size_t m_mask;
    const std::unique_ptr<T[]> m_items;
    // Free-running counters (they wrap at SIZE_MAX, which the unsigned
    // subtraction tolerates because the capacity is a power of two). Kept on
    // separate cache lines so the two threads do not contend on one line.
    alignas(64) std::atomic<std::size_t> m_writeIndex{0};
    alignas(64) std::atomic<std::size_t> m_readIndex{0};
};
