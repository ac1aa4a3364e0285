#include "SpscRing.h"

#include <gtest/gtest.h>

#include <numeric>
#include <thread>
#include <vector>

TEST(SpscRing, KeepsOrderAcrossTheWrapAndRefusesWhatDoesNotFit)
{
    SpscRing<int> ring(5);
    ASSERT_EQ(ring.capacity(), 8u);
    std::vector<int> in(6), out(8);
    std::iota(in.begin(), in.end(), 0);
    ASSERT_EQ(ring.push(in.data(), 6), 6u);
    ASSERT_EQ(ring.pop(out.data(), 4), 4u);
    std::iota(in.begin(), in.end(), 6);
    EXPECT_EQ(ring.push(in.data(), 6), 6u); // wraps: 2 left + 6 new = full
    EXPECT_EQ(ring.push(in.data(), 1), 0u);
    ASSERT_EQ(ring.pop(out.data(), 8), 8u);
    EXPECT_EQ(out, (std::vector<int>{4, 5, 6, 7, 8, 9, 10, 11}));
}

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
