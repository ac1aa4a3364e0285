#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

// How clear the decisions behind each demodulated byte were, one entry per
// byte in the order the bytes came: the margin of its frame's own decisions,
// and where the frame started. A demodulation scales its margins so that 1 is
// the smallest it calls clear: below 1 some decision of the frame (a burst
// against its threshold, a cell against its window) was doubtful, and margins
// of the two demodulations compare with each other. Any thread.
class DecisionMargins
{
public:
    // No byte measured: nothing to doubt.
    static constexpr float kUnmeasured = std::numeric_limits<float>::infinity();
    // A frame follows the one before it clearly when the gap between their
    // starts lies within a tenth of the transfer's usual gap: a frame lost in
    // noise leaves twice the gap, one made up of noise less than one, and a
    // watch clock a few per cent off changes every gap alike.
    static constexpr double kClearGapDeviation = 0.1;
    static constexpr double kDoubtfulGapDeviation = 0.5;

    void addFrame(std::int64_t start, float margin)
    {
        m_starts.push_back(start);
        m_margins.push_back(margin);
    }
    // The margin of byte index; a byte without a measurement is doubtful.
    float at(std::size_t index) const { return index < m_margins.size() ? m_margins[index] : 0.0F; }
    bool empty() const { return m_margins.empty(); }
    std::size_t size() const { return m_margins.size(); }
    void clear()
    {
        m_starts.clear();
        m_margins.clear();
    }

    // For each byte, how clearly every frame from the one after first up to
    // it followed the one before: a lost or made-up frame shifts every later
    // byte. Scaled like the margins.
    std::vector<float> continuityFrom(std::size_t first) const;

private:
    std::vector<std::int64_t> m_starts;
    std::vector<float> m_margins;
};
