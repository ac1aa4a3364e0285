#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

// A recording's samples as the demodulators read them: 16-bit, one channel,
// 44,100 per second, delivered in blocks and read again from the start as
// often as needed, so that no demodulation holds a whole recording. One
// reader at a time.
class SampleSource
{
public:
    virtual ~SampleSource() = default;
    // Fills the front of out with the next samples; fewer only at the end, 0 after it.
    virtual std::size_t read(std::span<std::int16_t> out) = 0;
    // Starts over at the first sample; false when the recording cannot be read again.
    virtual bool rewind() = 0;
};

// Samples held by the caller, read in place; they must outlive the source.
class SpanSampleSource final : public SampleSource
{
public:
    explicit SpanSampleSource(std::span<const std::int16_t> samples) : m_samples(samples) {}

    std::size_t read(std::span<std::int16_t> out) override
    {
        const std::size_t count = std::min(out.size(), m_samples.size() - m_next);
        std::copy_n(m_samples.begin() + std::ptrdiff_t(m_next), count, out.begin());
        m_next += count;
        return count;
    }
    bool rewind() override
    {
        m_next = 0;
        return true;
    }

private:
    std::span<const std::int16_t> m_samples;
    std::size_t m_next = 0;
};

// Samples the source owns.
class MemorySampleSource final : public SampleSource
{
public:
    explicit MemorySampleSource(std::vector<std::int16_t> samples) : m_samples(std::move(samples)) {}

    std::size_t read(std::span<std::int16_t> out) override { return m_reader.read(out); }
    bool rewind() override { return m_reader.rewind(); }

private:
    std::vector<std::int16_t> m_samples;
    SpanSampleSource m_reader{m_samples}; // after m_samples, which it reads
};
