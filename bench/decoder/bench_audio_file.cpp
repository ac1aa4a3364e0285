// Any audio file against the recorder's own: the ten-minute recording of
// bench_decoder as a 44.1 kHz mono 16-bit WAV and as a 48 kHz stereo float
// WAV, decoded from files in the page cache; and the reception monitor's cost
// per second of audio. "bench_audio_file --write-recordings DIR" only writes
// both files (ten-minutes-mono.wav, ten-minutes-48k-stereo-float.wav), so
// that the peak memory of one decode can be measured outside this process:
//   /usr/bin/time -v ventrix-decode DIR/ten-minutes-48k-stereo-float.wav
#include "Decoder.h"
#include "ReceptionMonitor.h"
#include "TransferSynth.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <soxr.h>

#include <cstring>

namespace {

constexpr std::size_t kTenMinutes = 600 * 44100;

std::vector<std::int16_t> tenMinuteRecording()
{
    std::vector<std::uint8_t> cleaned = synth::randomBytes(11 + 115 * 252, 7);
    cleaned[0] = synth::kSyncByte;
    synth::RoomOptions room;
    room.snrDb = 30.0;
    std::vector<std::int16_t> samples = synth::modulate(synth::frameTransfer(cleaned), room);
    samples.resize(kTenMinutes, 0);
    return samples;
}

// The same recording as a phone or an editor might save it.
bool writeStereoFloat48k(const QString &path, const std::vector<std::int16_t> &samples)
{
    std::vector<float> mono(samples.begin(), samples.end());
    for (float &x : mono)
        x /= 32768.0F;
    std::vector<float> resampled(std::size_t(double(mono.size()) * 48000 / 44100) + 16);
    std::size_t produced = 0;
    soxr_oneshot(44100, 48000, 1, mono.data(), mono.size(), nullptr, resampled.data(), resampled.size(), &produced,
                 nullptr, nullptr, nullptr);
    std::vector<float> frames;
    frames.reserve(2 * produced);
    for (std::size_t i = 0; i < produced; ++i)
        frames.insert(frames.end(), {resampled[i], -resampled[i]});
    SF_INFO info{};
    info.samplerate = 48000;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    const bool written = sf_writef_float(file, frames.data(), sf_count_t(produced)) == sf_count_t(produced);
    return sf_close(file) == 0 && written;
}

bool writeRecordings(const QDir &dir)
{
    const std::vector<std::int16_t> samples = tenMinuteRecording();
    return synth::writeWav(dir.filePath(QStringLiteral("ten-minutes-mono.wav")), samples)
           && writeStereoFloat48k(dir.filePath(QStringLiteral("ten-minutes-48k-stereo-float.wav")), samples);
}

void decode(benchmark::State &state, const char *name)
{
    QTemporaryDir dir;
    if (!writeRecordings(QDir(dir.path()))) {
        state.SkipWithError("cannot write the recordings");
        return;
    }
    const QString path = QDir(dir.path()).filePath(QString::fromLatin1(name));
    Decoder decoder;
    for (auto _ : state)
        benchmark::DoNotOptimize(decoder.decodeFile(path));
    state.counters["bytes"] = double(decoder.byteArray().size());
    state.counters["xRealTime"] = benchmark::Counter(600.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_DecodeTenMinutesMono44k(benchmark::State &state)
{
    decode(state, "ten-minutes-mono.wav");
}

void BM_DecodeTenMinutesStereoFloat48k(benchmark::State &state)
{
    decode(state, "ten-minutes-48k-stereo-float.wav");
}

// What following a recording costs the writer thread, per second of audio.
void BM_ReceptionMonitorPerSecond(benchmark::State &state)
{
    const std::vector<std::int16_t> samples = tenMinuteRecording();
    constexpr std::size_t kSecond = 44100;
    constexpr std::size_t kWriterBlock = 4096;
    ReceptionMonitor monitor;
    std::size_t at = 0;
    for (auto _ : state) {
        for (std::size_t done = 0; done < kSecond; done += kWriterBlock) {
            const std::size_t count = std::min(kWriterBlock, kSecond - done);
            monitor.process(std::span(samples).subspan(at, count));
            at = (at + count) % (samples.size() - kWriterBlock);
        }
    }
    state.counters["bytes"] = double(monitor.bytesReceived());
}

} // namespace

BENCHMARK(BM_DecodeTenMinutesMono44k)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DecodeTenMinutesStereoFloat48k)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReceptionMonitorPerSecond)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--write-recordings") == 0)
        return writeRecordings(QDir(QString::fromLocal8Bit(argv[2]))) ? 0 : 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
