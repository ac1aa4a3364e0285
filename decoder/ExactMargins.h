#pragma once

#include "DecisionMargins.h"

#include <cstdint>
#include <span>
#include <vector>

// Measures how clear the exact demodulation's decisions were, one margin per
// frame it reads: for a cell read as a burst, how far the burst's peak stands
// above the threshold and how far the cell's sample point lies from the edges
// of the span the burst marked; for a cell read as silence, how far the
// loudest sample that could have marked it stays below the threshold; and
// whether the frame holds a burst peak that no cell explains (noise above the
// threshold). Fed by the demodulator's hooks in sample order; the margins,
// and the samples it is shown, must outlive it. Any thread.
class ExactMargins
{
public:
    // The frame margin, as a share of the threshold or of a half cell, that we
    // still call clear. Chosen with bench/decoder margin_sweep (each watch in
    // white noise from 8 to 25 dB SNR, 20 and 60 seeds a level, and the hard
    // rooms): wrong readings reached at most 0.11, right ones at 20 dB and up
    // stayed above 0.21. A doubtful reading only costs a second demodulation,
    // and where both agree the transfer is still confident, so we err high.
    static constexpr float kClearMargin = 0.2F;

    // The frame starting at sample s looks at samples s to s + kFrameReach.
    static constexpr std::int64_t kFrameReach = 879;

    ExactMargins(int threshold, DecisionMargins &margins);
    // Over a whole recording in memory.
    ExactMargins(std::span<const std::int16_t> samples, int threshold, DecisionMargins &margins);

    // The samples from first on, as far as the next frames read need them:
    // a streaming demodulation shows its window before each frame.
    void showSamples(std::span<const std::int16_t> samples, std::int64_t first)
    {
        m_samples = samples;
        m_first = first;
    }

    // A burst peak the demodulator accepted at sample peak.
    void burstAccepted(std::int64_t peak) { m_peaks.push_back(peak); }
    // A frame read from the mark at sample start, giving byte.
    void frameRead(std::int64_t start, int byte);

private:
    float markedCellMargin(std::int64_t samplePoint) const;
    float emptyCellMargin(std::int64_t samplePoint) const;
    std::int16_t sample(std::int64_t i) const { return m_samples[std::size_t(i - m_first)]; }
    void dropPassedPeaks();

    std::span<const std::int16_t> m_samples;
    std::int64_t m_first = 0; // the index of m_samples[0] in the recording
    float m_threshold;
    DecisionMargins &m_margins;
    std::vector<std::int64_t> m_peaks;
    std::size_t m_firstPeak = 0; // the peaks before it lie before the frames still to come
};
