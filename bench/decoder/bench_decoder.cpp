// Decoding a ten-minute recording (26.46 million samples) from a file in the
// page cache, clean and at 20 dB SNR. Target: at least 3000 times real time
// (0.2 s per decode). The demodulations alone show what their decision
// margins cost: at most 10 % over the same demodulation without them.
// "bench_decoder --write-recording PATH [SNR]" only writes
// the recording, so that the peak memory of one decode can be measured
// outside this process, e.g. /usr/bin/time -v ventrix-decode PATH.
#include "Decoder.h"
#include "Demodulator.h"
#include "RescueDemodulator.h"
#include "TransferSynth.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

constexpr std::size_t kTenMinutes = 600 * 44100;
// With the synthesizer's nominal 896-sample frames, 115 blocks of payload
// fill ten minutes: 16 lead bytes, the header and 115 x 255 block bytes.
constexpr std::size_t kPayloadBytes = 115 * 252;

std::vector<std::int16_t> tenMinuteRecording(std::optional<double> snrDb)
{
    std::vector<std::uint8_t> cleaned = synth::randomBytes(11 + kPayloadBytes, 7);
    cleaned[0] = synth::kSyncByte;
    synth::RoomOptions room;
    room.snrDb = snrDb;
    std::vector<std::int16_t> samples = synth::modulate(synth::frameTransfer(cleaned), room);
    samples.resize(kTenMinutes, 0);
    return samples;
}

void decodeTenMinutes(benchmark::State &state, std::optional<double> snrDb)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("ten-minutes.wav");
    if (!synth::writeWav(path, tenMinuteRecording(snrDb))) {
        state.SkipWithError("cannot write the recording");
        return;
    }
    Decoder decoder;
    for (auto _ : state) {
        decoder.extractBytesFromFile(path);
        benchmark::DoNotOptimize(decoder.decodeExtractedBytes());
    }
    state.counters["bytes"] = double(decoder.byteArray().size());
    state.counters["xRealTime"] = benchmark::Counter(600.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_DecodeTenMinutesClean(benchmark::State &state)
{
    decodeTenMinutes(state, std::nullopt);
}

void BM_DecodeTenMinutesNoisy(benchmark::State &state)
{
    decodeTenMinutes(state, 20.0);
}

// The noisy recording in memory, demodulated without and with margins (margins:1).
void demodulateTenMinutes(benchmark::State &state, ByteArray (*demodulate)(SampleSource &, DecisionMargins *))
{
    MemorySampleSource source(tenMinuteRecording(20.0));
    DecisionMargins margins;
    const bool measured = state.range(0) != 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        margins.clear();
        bytes = demodulate(source, measured ? &margins : nullptr).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = double(bytes);
}

void BM_ExactDemodulation(benchmark::State &state)
{
    demodulateTenMinutes(state, &Demodulator::demodulate);
}

void BM_RescueDemodulation(benchmark::State &state)
{
    demodulateTenMinutes(state, static_cast<ByteArray (*)(SampleSource &, DecisionMargins *)>(
                                    &RescueDemodulator::demodulate));
}

} // namespace

BENCHMARK(BM_DecodeTenMinutesClean)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_DecodeTenMinutesNoisy)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_ExactDemodulation)->ArgName("margins")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_RescueDemodulation)->ArgName("margins")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3.0);

int main(int argc, char **argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--write-recording") == 0) {
        const std::optional<double> snr = argc >= 4 ? std::optional<double>(std::atof(argv[3])) : std::nullopt;
        QString error;
        if (!synth::writeWav(QString::fromLocal8Bit(argv[2]), tenMinuteRecording(snr), &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
