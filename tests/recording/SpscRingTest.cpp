#include "SpscRing.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

// Small ring, odd block sizes: every push and pop wraps at some point.
TEST(SpscRing, DeliversEverySampleInOrderBetweenTwoThreads)
{
    SpscRing<std::uint32_t> ring(64);
    constexpr std::uint32_t kCount = 200000;
    std::thread producer([&] {
        std::uint32_t next = 0;
        while (next < kCount) {
            const std::size_t n = ring.pushWith(std::min<std::uint32_t>(7, kCount - next),
                                                [next](std::size_t i) { return next + std::uint32_t(i); });
            if (n == 0)
                std::this_thread::yield();
            next += std::uint32_t(n);
        }
    });
    std::uint32_t expected = 0;
    bool inOrder = true;
    std::uint32_t block[13];
    while (expected < kCount) {
        const std::size_t n = ring.pop(block, 13);
        if (n == 0)
            std::this_thread::yield();
        for (std::size_t i = 0; i < n; ++i)
            inOrder = inOrder && block[i] == expected++;
    }
    producer.join();
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(ring.readAvailable(), 0u);
}
