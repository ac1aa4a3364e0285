#pragma once

#include "ByteReader.h"

class SampleSource;

#include <cstdint>
#include <span>
#include <vector>

class DecisionMargins;
class ExactMargins;

// Turns the samples of a recorded transfer into bytes. The watch sends each
// byte as a frame of ten 88-sample bit cells: a start burst, eight data cells
// least significant bit first (a burst is a 1) and an empty stop cell. We find
// the bursts as local maxima above a threshold, mark the 88 samples around
// each, and read frames off the marks. Pure; any thread.
class Demodulator
{
public:
    static constexpr double kThresholdDivisor = 2.5;
    static constexpr std::int64_t kSkipHeadSamples = 5000;  // about 0.11 s: never a burst
    static constexpr std::int64_t kSkipTailSamples = 1000;  // about 23 ms: never a burst
    static constexpr std::int64_t kPeakTailSamples = 100;   // the peak search stops 100 samples before the end
    static constexpr int kPeakNeighbourhood = 20;           // a burst peak is >= the 20 samples on each side
    static constexpr int kMinBurstSpacing = 70;             // a new peak lies more than 70 samples after the last
    static constexpr int kMarkBeforePeak = 43;
    static constexpr int kMarkAfterPeak = 44;
    static constexpr int kBurstAdvance = 46;                // scan resumes this far after a peak
    static constexpr int kCellSamples = 88;
    static constexpr int kCellCentre = 44;
    static constexpr int kDataBits = 8;
    static constexpr int kStopCellOffset = kCellCentre + (kDataBits + 1) * kCellSamples; // 836
    static constexpr int kFrameAdvance = 881;               // a little more than ten cells

    explicit Demodulator(std::span<const std::int16_t> samples) : m_samples(samples) {}

    // The largest sample from 5000 to n - 101 (never below 0) divided by 2.5,
    // truncated; 0 for a recording of 5100 samples or fewer.
    int threshold() const;

    // One mark per sample, 1 inside a detected burst (the 88 samples from 43
    // before to 44 after its peak), 0 elsewhere. margins, when given, hears of
    // every burst peak accepted.
    std::vector<std::uint8_t> markBursts(int threshold, ExactMargins *margins = nullptr) const;

    // Reads the frames off a mark buffer, one byte per frame. margins, when
    // given, hears of every frame read.
    static ByteArray frameBytes(std::span<const std::uint8_t> marks, ExactMargins *margins = nullptr);

    // The same bytes as threshold(), markBursts() and frameBytes() over the
    // whole recording, from two passes over the source in blocks: the first
    // finds the peak, the second marks bursts and reads frames through a
    // window of a few hundred thousand samples, so memory stays flat however
    // long the recording is. margins, when given, gets one margin per byte
    // read, as ExactMargins measures them.
    static ByteArray demodulate(SampleSource &source, DecisionMargins *margins = nullptr);

private:
    bool isLocalMaximum(std::int64_t i) const;

    std::span<const std::int16_t> m_samples;
};
