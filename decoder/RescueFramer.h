#pragma once

#include "BurstEnvelope.h"
#include "ByteReader.h"
#include "DecisionMargins.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

// Reads bytes off the burst envelope on the watch's grid: a start burst, eight
// data cells of 88 samples least significant bit first, an empty stop cell.
// Every threshold follows the local level: a frame's start burst sets the
// level its data bursts are measured against, and the next start burst is
// looked for relative to the recent frames and to the noise floor. A peak
// that follows a much stronger one by 3 to 6 ms is an echo and counts as
// silence. Each frame re-synchronises on its start burst; within a frame the
// grid follows the data bursts, so a clock off by a few per cent still lands
// on every cell. Streaming over a ring of recent envelope samples. The
// envelope is a power (mean square); the ratios below are of amplitudes and
// are squared where they meet it.
class RescueFramer
{
public:
    static constexpr double kCellSamples = 88.0;
    static constexpr int kDataBits = 8;
    static constexpr int kStopCell = kDataBits + 1;
    // The watch's clock may run a few per cent off; the cell width we learn
    // from the bursts stays within this of 88 samples.
    static constexpr double kMaxClockError = 0.04;
    // How the cell width follows the measured one, frame by frame.
    static constexpr double kCellWidthGain = 0.05;
    static constexpr int kMinCellsForWidth = 4;
    // A data cell is searched this far either side of where the grid puts it:
    // more than the drift over a frame of zeros (2 % of 9 cells), less than the
    // 22 samples that a 3.5 ms echo lies before the next cell's centre.
    static constexpr int kCellSearch = 16;
    // The top of a start burst lies within this many samples of where its
    // envelope first crosses the threshold.
    static constexpr int kPeakSearch = 32;
    // A cell holds a burst when it reaches this share of its frame's start
    // burst or of the recent frames' loudest bursts, whichever is louder (an
    // echo of the frame before can half cancel a start burst): above an echo
    // of half the bursts' level, while noise at 12 dB SNR stays near a fifth.
    static constexpr float kOneFraction = 0.55F;
    // A burst with a click cut out of it keeps less than half its level;
    // every bar it must pass is lowered by this much.
    static constexpr float kBlankedShare = 0.45F;
    // A start burst reaches this share of the recent frames' loudest bursts ...
    static constexpr float kStartFraction = 0.4F;
    // Every burst, start or data, stands this far above the noise floor ...
    static constexpr float kBurstOverFloor = 4.0F;
    // ... and above this absolute level (in sample units, about -64 dBFS), so
    // that digital silence and dither are never a burst.
    static constexpr float kMinBurstLevel = 20.0F;
    // The recent level follows each frame's loudest burst by a quarter of the
    // difference (a burst more than twice as loud as the recent ones counts as
    // twice), and halves every 0.1 s spent looking for a frame, so a watch
    // that was louder a moment ago, or a click that got through, blinds
    // nothing for long.
    static constexpr float kLevelGain = 0.25F;
    static constexpr float kMaxLevelStep = 2.0F;
    static constexpr float kLevelDecayPerSample = 0.999843F;
    // Echoes: a wall 0.5 to 1 m away returns the bursts 3 to 6 ms later
    // (132 to 265 samples; a little more either side for the envelope's
    // spread). A peak below this share of the strongest one that far back is
    // taken for its echo.
    static constexpr int kEchoMinDelay = 120;
    static constexpr int kEchoMaxDelay = 280;
    static constexpr float kEchoRatio = 0.6F;
    // After a frame the next start burst is looked for from the middle of the
    // cell after the stop cell; after a burst that started no frame, from
    // past its top.
    static constexpr double kNextFrameCells = kStopCell + 0.5;
    static constexpr int kRetrySkip = 22;
    // Like the exact demodulation, the first 0.11 s never start a frame: the
    // filters settle and the noise floor is learnt there.
    static constexpr std::int64_t kSettleSamples = 5000;

    // How far the framer looks ahead of and back from the sample it hunts on.
    static constexpr int kLookahead =
        kPeakSearch + int(kStopCell * kCellSamples * (1.0 + kMaxClockError)) + kCellSearch + 2 * kCellSearch;
    static constexpr int kLookback = kEchoMaxDelay + kCellSearch;
    static constexpr std::size_t kMaxBlock = 1024;
    static constexpr std::size_t kRingSize = 4096;
    static_assert(kLookahead + kLookback + kPeakSearch + int(kMaxBlock) < int(kRingSize));

    // The frame margin (the smallest of its cells' and its start burst's, as
    // a share of amplitude against the bar each had to pass or stay under)
    // that we still call clear. Chosen with bench/decoder margin_sweep (each
    // watch in white noise from 8 to 25 dB SNR, 20 and 60 seeds a level, and
    // the click, hum, echo and fading rooms): wrong readings reached at most
    // 0.085 (at 10 dB); right ones stayed above 0.1 from 12 dB on and in the
    // rooms but for echoes landing near a cell (0.09 to 0.11).
    static constexpr float kClearMargin = 0.12F;

    // margins, when given, gets one margin per byte read.
    explicit RescueFramer(ByteArray &bytes, DecisionMargins *margins = nullptr) : m_bytes(bytes), m_margins(margins) {}

    // The envelope's next samples (levels and blank flags, as BurstEnvelope
    // gives them, at most kMaxBlock) and the noise floor after them; frames
    // are read as soon as all their cells are in.
    void push(std::span<const float> levels, std::span<const std::uint8_t> blanked, float noiseFloor);
    // The sample at which the last frame read began; -1 before the first.
    std::int64_t lastFrameStart() const { return m_lastFrameStart; }

private:
    struct Peak
    {
        float level = 0.0F;
        std::int64_t at = 0;
        bool blanked = false;
    };

    void hunt();
    // The first sample from `from` on (before `end`) that may start a frame, or end.
    std::int64_t nextCandidate(std::int64_t from, std::int64_t end) const;
    float startThreshold(bool blanked) const;
    // What every burst, start or data, stands above: the noise floor and silence.
    float aboveNoise() const;
    Peak peakIn(std::int64_t from, std::int64_t to) const;
    bool isEcho(const Peak &peak) const { return peak.level < echoBar(peak); }
    // What a peak must reach not to be taken for an echo of an earlier one.
    float echoBar(const Peak &peak) const;
    std::optional<std::uint8_t> readFrame(const Peak &start);
    void acceptFrame();

    static constexpr float power(float amplitudeRatio) { return amplitudeRatio * amplitudeRatio; }
    static float blankedShare(bool blanked) { return blanked ? kBlankedShare : 1.0F; }
    float level(std::int64_t i) const { return m_level[std::size_t(i) % kRingSize]; }
    bool blanked(std::int64_t i) const { return m_blanked[std::size_t(i) % kRingSize] != 0; }

    ByteArray &m_bytes;
    DecisionMargins *m_margins = nullptr;
    float m_lastFrameMargin = 0.0F;
    std::array<float, kRingSize> m_level{};
    std::array<std::uint8_t, kRingSize> m_blanked{};
    std::int64_t m_written = 0;
    std::int64_t m_cursor = kSettleSamples;
    float m_noiseFloor = 0.0F;
    float m_recentLevel = 0.0F;      // of the recent frames' loudest bursts; 0 before the first
    float m_lastFrameLevel = 0.0F;
    double m_cellWidth = kCellSamples;
    // Where the last read frame's last data burst lay, counted in cells from its start.
    double m_lastAnchorOffset = 0.0;
    int m_lastAnchorCell = 0;
    std::int64_t m_lastFrameStart = -1;
};
