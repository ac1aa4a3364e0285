// Prints, for synthesized recordings of each watch across SNR and in the hard
// rooms, the smallest margin that each demodulation measured over the bytes
// the recognised layout reads, split into readings that were right and wrong:
// "margin-sweep". The clear margins of ExactMargins and RescueFramer are chosen
// from it: above every wrong reading's minimum, below the right readings' at
// 20 dB and in the rooms. Margins are printed as measured, before each path
// divides them by its clear margin.
#include "ByteStreamCleanup.h"
#include "Demodulator.h"
#include "ExactMargins.h"
#include "ModelRecognizer.h"
#include "RescueDemodulator.h"
#include "RescueFramer.h"
#include "TransferConfidence.h"
#include "TransferSynth.h"

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Watch
{
    const char *name;
    WatchModel model;
    ByteArray cleaned;
};

// A cleaned transfer of the tests, from its .hex file.
ByteArray transfer(const char *path)
{
    QFile file(QStringLiteral(VENTRIX_SOURCE_DIR "/tests/") + QLatin1StringView(path));
    const auto bytes = file.open(QIODevice::ReadOnly) ? synth::parseHexBytes(file.readAll()) : std::nullopt;
    if (!bytes)
        std::fprintf(stderr, "cannot read %s\n", path);
    return bytes.value_or(ByteArray{});
}

std::vector<Watch> watches()
{
    return {
        {"F6", WatchModel::F6, transfer("rescue/transfers/f6-three-records.hex")},
        {"RS200", WatchModel::RS200, transfer("rescue/transfers/rs200-foot-pod-three-laps.hex")},
        {"CS200", WatchModel::CS200, transfer("decoder/transfers/cs200-two-laps.hex")},
    };
}

struct Reading
{
    std::optional<WatchModel> model;
    float minimumMargin = 0.0F;
    bool right = false;
};

Reading judge(ByteArray raw, const DecisionMargins &margins, const Watch &watch)
{
    Reading reading;
    const std::vector<std::int64_t> sources = ByteStreamCleanup::sourceIndices(raw);
    if (!ByteStreamCleanup::cleanupBytes(raw))
        return reading;
    bool sense = false;
    if (ModelRecognizer(raw, sense).checkF6Data())
        reading.model = WatchModel::F6;
    else if (ModelRecognizer(raw, sense).checkRS200Data())
        reading.model = WatchModel::RS200;
    else if (ModelRecognizer(raw, sense).checkCS200Data())
        reading.model = WatchModel::CS200;
    if (!reading.model)
        return reading;
    reading.minimumMargin = TransferConfidence::minimumMargin(*reading.model, raw, sources, margins);
    const ByteArray sent = synth::cleanedRoundTrip(watch.cleaned);
    reading.right = reading.model == watch.model && TransferConfidence::agree(watch.model, raw, sent);
    return reading;
}

struct Tally
{
    int right = 0;
    int wrong = 0;
    float lowestRight = std::numeric_limits<float>::infinity();
    float highestWrong = -std::numeric_limits<float>::infinity();

    void add(const Reading &reading)
    {
        if (!reading.model)
            return;
        if (reading.right) {
            ++right;
            lowestRight = std::min(lowestRight, reading.minimumMargin);
        } else {
            ++wrong;
            highestWrong = std::max(highestWrong, reading.minimumMargin);
        }
    }
    void print(const char *path, float clearMargin) const
    {
        std::printf("  %s right %3d (lowest %6.3f)  wrong %3d (highest %6.3f)", path, right, lowestRight * clearMargin,
                    wrong, highestWrong * clearMargin);
    }
};

void measure(const std::string &label, const std::vector<synth::RoomOptions> &rooms)
{
    Tally exact, rescued;
    for (const Watch &watch : watches()) {
        for (const synth::RoomOptions &room : rooms) {
            const std::vector<std::int16_t> samples = synth::modulate(synth::frameTransfer(watch.cleaned), room);
            const Demodulator demodulator(samples);
            const int threshold = demodulator.threshold();
            DecisionMargins exactMargins;
            ExactMargins hooks(samples, threshold, exactMargins);
            ByteArray bytes = Demodulator::frameBytes(demodulator.markBursts(threshold, &hooks), &hooks);
            exact.add(judge(std::move(bytes), exactMargins, watch));
            DecisionMargins rescueMargins;
            bytes = RescueDemodulator::demodulate(samples, &rescueMargins);
            rescued.add(judge(std::move(bytes), rescueMargins, watch));
        }
    }
    std::printf("%-12s", label.c_str());
    exact.print("exact", ExactMargins::kClearMargin);
    rescued.print("second", RescueFramer::kClearMargin);
    std::printf("\n");
}

constexpr int kSeeds = 20;

} // namespace

int main()
{
    for (int snr = 8; snr <= 25; ++snr) {
        std::vector<synth::RoomOptions> rooms;
        for (int seed = 1; seed <= kSeeds; ++seed)
            rooms.push_back({.snrDb = double(snr), .seed = std::uint64_t(50000 + 1000 * snr + seed)});
        measure(std::to_string(snr) + " dB", rooms);
    }
    // The hard rooms of the second demodulation, at its quiet level.
    const double a = 6000.0;
    const std::vector<std::pair<std::string, synth::RoomOptions>> hard = {
        {"click", {.amplitude = a, .clickSeconds = {2.0}}},
        {"hum", {.amplitude = a, .humLevel = 0.5}},
        {"echo 3 ms", {.amplitude = a, .echoLevel = 0.5, .echoDelayMs = 3.0}},
        {"echo 4.5 ms", {.amplitude = a, .echoLevel = 0.5, .echoDelayMs = 4.5}},
        {"echo 6 ms", {.amplitude = a, .echoLevel = 0.5, .echoDelayMs = 6.0}},
        {"fading", {.amplitude = a, .fadeDepth = 0.75, .fadePeriodSeconds = 3.0}},
        {"drift", {.amplitude = a, .drift = -0.015, .snrDb = 14.0}},
    };
    for (const auto &[label, room] : hard) {
        std::vector<synth::RoomOptions> rooms;
        for (int seed = 1; seed <= 4; ++seed) {
            rooms.push_back(room);
            rooms.back().seed = std::uint64_t(seed);
        }
        measure(label, rooms);
    }
    return 0;
}
