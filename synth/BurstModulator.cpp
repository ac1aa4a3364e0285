// Modulation of a byte stream into the bursts a watch beeps, with what a room adds to them.
#include "TransferSynth.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <stdexcept>

namespace synth {
namespace {

// Three cycles of 3675 Hz under a Hann envelope 36 samples (0.8 ms) wide. The sine phase puts
// one crest 3 samples after the centre and one trough 3 samples before it, both at about
// 0.93 A, while the next crests reach only 0.5 A and 0.07 A; so either polarity has a single
// dominant positive peak, and nothing is left of the burst 70 samples after it.
constexpr double kBurstHalfWidth = 18.0;
constexpr double kCarrierPeriod = 12.0;

// A tap on the microphone jumps to its peak in one sample and decays exponentially: broadband,
// and gone (below 1 % of its peak) 14 samples later.
constexpr double kClickDecaySamples = 3.0;
constexpr double kClickLengthSamples = 5.0 * kClickDecaySamples;

// The most samples a WAV data chunk can describe (its size field is 32 bits).
constexpr double kMaxRecordingSamples = double((0xFFFFFFFFull - 44) / 2);

double burstShape(double u)
{
    if (std::abs(u) >= kBurstHalfWidth)
        return 0.0;
    const double envelope = std::cos(std::numbers::pi * u / (2.0 * kBurstHalfWidth));
    return envelope * envelope * std::sin(2.0 * std::numbers::pi * u / kCarrierPeriod);
}

// White Gaussian noise from mt19937_64 through Box-Muller, so that a seed gives the same
// recording with every standard library.
class GaussianNoise {
public:
    GaussianNoise(std::uint64_t seed, double sigma) : m_generator(seed), m_sigma(sigma) {}

    double next()
    {
        if (m_hasSpare) {
            m_hasSpare = false;
            return m_spare;
        }
        const double u1 = 1.0 - uniform();  // in (0, 1], so the logarithm is finite
        const double u2 = uniform();
        const double radius = m_sigma * std::sqrt(-2.0 * std::log(u1));
        const double angle = 2.0 * std::numbers::pi * u2;
        m_spare = radius * std::sin(angle);
        m_hasSpare = true;
        return radius * std::cos(angle);
    }

private:
    double uniform() { return double(m_generator() >> 11) * 0x1.0p-53; }

    std::mt19937_64 m_generator;
    double m_sigma;
    double m_spare = 0.0;
    bool m_hasSpare = false;
};

void checkRoom(const RoomOptions& room)
{
    if (!(room.amplitude >= 0.0 && std::isfinite(room.amplitude)))
        throw std::invalid_argument("amplitude must be a finite number, not negative");
    if (room.frameSpacing < 0)
        throw std::invalid_argument("frame spacing cannot be negative");
    if (!(room.drift > -0.5 && room.drift < 1.0))
        throw std::invalid_argument("drift must lie between -0.5 and 1");
    if (!(room.fadeDepth >= 0.0 && room.fadeDepth <= 1.0))
        throw std::invalid_argument("fade depth must lie between 0 and 1");
    if (!(room.fadePeriodSeconds > 0.0))
        throw std::invalid_argument("fade period must be positive");
    if (!(room.leadSeconds >= 0.0 && room.tailSeconds >= 0.0))
        throw std::invalid_argument("lead and tail cannot be negative");
    if (!std::isfinite(room.fadePeriodSeconds))
        throw std::invalid_argument("fade period must be finite");
    if (room.snrDb && !std::isfinite(*room.snrDb))
        throw std::invalid_argument("SNR must be a finite number of dB");
    if (!std::isfinite(room.dcOffset))
        throw std::invalid_argument("DC offset must be finite");
    const auto finiteNonNegative = [](double v) { return v >= 0.0 && std::isfinite(v); };
    if (!finiteNonNegative(room.clickLevel) || !finiteNonNegative(room.humLevel)
        || !finiteNonNegative(room.humFrequency) || !finiteNonNegative(room.echoLevel)
        || !finiteNonNegative(room.echoDelayMs))
        throw std::invalid_argument("click, hum and echo settings must be finite, not negative");
    if (!std::all_of(room.clickSeconds.begin(), room.clickSeconds.end(), finiteNonNegative))
        throw std::invalid_argument("click times must be finite, not negative");
}

// The sum of the bursts around time t. `first` is the first burst that may still reach t; it only
// moves forward, so that a sweep over increasing t touches each burst a few times.
double burstsAt(double t, const std::vector<double>& centres, std::size_t& first)
{
    while (first < centres.size() && centres[first] + kBurstHalfWidth <= t)
        ++first;
    double signal = 0.0;
    for (std::size_t j = first; j < centres.size() && centres[j] - kBurstHalfWidth < t; ++j)
        signal += burstShape(t - centres[j]);
    return signal;
}

// Clicks, sorted, as samples from their onset; `next` is the first click not yet over.
double clicksAt(double t, const std::vector<double>& onsets, std::size_t& next)
{
    while (next < onsets.size() && onsets[next] + kClickLengthSamples <= t)
        ++next;
    double value = 0.0;
    for (std::size_t j = next; j < onsets.size() && onsets[j] <= t; ++j)
        value += std::exp(-(t - onsets[j]) / kClickDecaySamples);
    return value;
}

std::vector<double> clickOnsets(const RoomOptions& room)
{
    std::vector<double> onsets;
    for (double seconds : room.clickSeconds)
        onsets.push_back(std::round(seconds * kSampleRate));
    std::sort(onsets.begin(), onsets.end());
    return onsets;
}

double noiseSigma(const RoomOptions& room)
{
    if (!room.snrDb)
        return 0.0;
    const double tonePower = room.amplitude * room.amplitude / 2.0;
    return std::sqrt(tonePower / std::pow(10.0, *room.snrDb / 10.0));
}

// Centres of every burst, in ascending order (frames closer than ten cells may interleave).
std::vector<double> burstCentres(const std::vector<std::uint8_t>& stream, const RoomOptions& room)
{
    std::vector<double> centres;
    for (std::size_t frame = 0; frame < stream.size(); ++frame) {
        centres.push_back(burstCentre(frame, 0, room));
        for (int bit = 0; bit < 8; ++bit) {
            if (stream[frame] & (1u << bit))
                centres.push_back(burstCentre(frame, bit + 1, room));
        }
    }
    std::sort(centres.begin(), centres.end());
    return centres;
}

std::size_t recordingLength(std::size_t frames, const RoomOptions& room)
{
    const double transfer = double(frames) * room.frameSpacing * (1.0 + room.drift);
    const double length =
        std::ceil(room.leadSeconds * kSampleRate + transfer + room.tailSeconds * kSampleRate);
    // Also catches infinite lead or tail times before they are converted.
    if (!(length <= kMaxRecordingSamples))
        throw std::invalid_argument("the recording would be too long for a WAV file");
    return std::size_t(length);
}

double fadeGain(std::size_t n, const RoomOptions& room)
{
    if (room.fadeDepth == 0.0)
        return 1.0;
    const double phase = 2.0 * std::numbers::pi * double(n) / (room.fadePeriodSeconds * kSampleRate);
    return 1.0 - room.fadeDepth * (1.0 - std::cos(phase)) / 2.0;
}

std::int16_t toSample(double value)
{
    return std::int16_t(std::lround(std::clamp(value, -32768.0, 32767.0)));
}

}  // namespace

double burstCentre(std::size_t frame, int cell, const RoomOptions& room)
{
    const double nominal = double(frame) * room.frameSpacing + double(cell) * kCellSamples;
    return room.leadSeconds * kSampleRate + nominal * (1.0 + room.drift);
}

std::vector<std::int16_t> modulate(const std::vector<std::uint8_t>& stream, const RoomOptions& room)
{
    checkRoom(room);
    std::vector<std::int16_t> samples(recordingLength(stream.size(), room));
    const std::vector<double> centres = burstCentres(stream, room);
    const double polarity = room.invert ? -1.0 : 1.0;
    GaussianNoise noise(room.seed, noiseSigma(room));
    const bool noisy = room.snrDb.has_value();

    const double echoDelay = room.echoDelayMs * kSampleRate / 1000.0;
    const bool echoing = room.echoLevel > 0.0;
    const std::vector<double> clicks = clickOnsets(room);
    const double humStep = 2.0 * std::numbers::pi * room.humFrequency / kSampleRate;

    std::size_t burst = 0;
    std::size_t echo = 0;
    std::size_t click = 0;
    for (std::size_t n = 0; n < samples.size(); ++n) {
        const double t = double(n);
        double signal = burstsAt(t, centres, burst);
        if (echoing)
            signal += room.echoLevel * burstsAt(t - echoDelay, centres, echo);
        double value = room.dcOffset;
        if (signal != 0.0)
            value += polarity * room.amplitude * fadeGain(n, room) * signal;
        if (room.humLevel > 0.0)
            value += room.humLevel * room.amplitude * std::sin(humStep * t);
        if (click < clicks.size())
            value += room.clickLevel * room.amplitude * clicksAt(t, clicks, click);
        if (noisy)
            value += noise.next();
        samples[n] = toSample(value);
    }
    return samples;
}

}  // namespace synth
