// The second demodulation against the exact one on the same ten-minute
// recording (26.46 million samples): the demodulations alone, in memory, and
// the whole decode of the file (page cache) with and without the second path,
// on a room where the exact path recognises nothing. Target: the second path
// takes at most ten times as long as the exact one.
#include "Decoder.h"
#include "Demodulator.h"
#include "RescueDemodulator.h"
#include "TransferSynth.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr std::size_t kTenMinutes = 600 * 44100;
// 115 blocks of payload fill ten minutes at the synthesizer's 896-sample frames.
constexpr std::size_t kPayloadBytes = 115 * 252;

const std::vector<std::int16_t> &tenMinuteRecording(bool hardRoom)
{
    static const auto make = [](bool hard) {
        std::vector<std::uint8_t> cleaned = synth::randomBytes(11 + kPayloadBytes, 7);
        cleaned[0] = synth::kSyncByte;
        synth::RoomOptions room;
        room.snrDb = 20.0;
        if (hard) {
            room.amplitude = 6000.0;
            room.clickSeconds = {60.0, 240.0, 420.0};
            room.humLevel = 0.5;
            room.echoLevel = 0.5;
            room.echoDelayMs = 5.0;
        }
        std::vector<std::int16_t> samples = synth::modulate(synth::frameTransfer(cleaned), room);
        samples.resize(kTenMinutes, 0);
        return samples;
    };
    static const std::vector<std::int16_t> noisy = make(false);
    static const std::vector<std::int16_t> hard = make(true);
    return hardRoom ? hard : noisy;
}

void report(benchmark::State &state, std::size_t bytes)
{
    state.counters["bytes"] = double(bytes);
    state.counters["xRealTime"] = benchmark::Counter(600.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ExactDemodulation(benchmark::State &state)
{
    const std::vector<std::int16_t> &samples = tenMinuteRecording(false);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const Demodulator demodulator(samples);
        const std::vector<std::uint8_t> marks = demodulator.markBursts(demodulator.threshold());
        bytes = Demodulator::frameBytes(marks).size();
        benchmark::DoNotOptimize(bytes);
    }
    report(state, bytes);
}

void BM_RescueDemodulation(benchmark::State &state)
{
    const std::vector<std::int16_t> &samples = tenMinuteRecording(state.range(0) != 0);
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = RescueDemodulator::demodulate(samples).size();
        benchmark::DoNotOptimize(bytes);
    }
    report(state, bytes);
}

// Random payload: no model is recognised, so with the second path enabled
// every decode runs both paths in full.
void decodeHardFile(benchmark::State &state, bool rescue)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("ten-minutes.wav");
    if (!synth::writeWav(path, tenMinuteRecording(true))) {
        state.SkipWithError("cannot write the recording");
        return;
    }
    Decoder decoder;
    decoder.setRescueEnabled(rescue);
    for (auto _ : state)
        benchmark::DoNotOptimize(decoder.decodeFile(path));
    report(state, decoder.byteArray().size());
}

void BM_DecodeFileExactOnly(benchmark::State &state)
{
    decodeHardFile(state, false);
}

void BM_DecodeFileBothPaths(benchmark::State &state)
{
    decodeHardFile(state, true);
}

} // namespace

BENCHMARK(BM_DecodeFileExactOnly)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_DecodeFileBothPaths)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_ExactDemodulation)->Unit(benchmark::kMillisecond)->MinTime(3.0);
// 0: the same 20 dB recording; 1: with clicks, hum and an echo as well.
BENCHMARK(BM_RescueDemodulation)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3.0);

BENCHMARK_MAIN();
