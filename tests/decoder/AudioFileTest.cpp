// Recordings in other formats than the recorder's: each example, converted
// here with libsndfile and libsoxr, must decode to the bytes of the original.
#include "Decoder.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sndfile.h>
#include <soxr.h>

#include <string_view>
#include <tuple>

namespace {

struct Conversion
{
    const char *name;
    int rate;
    int format;
    enum Channels { Mono, SecondOfTwo, OppositePhase } channels = Mono;
};

const Conversion kConversions[] = {
    {"48kHz", 48000, SF_FORMAT_WAV | SF_FORMAT_PCM_16},
    {"22kHz", 22050, SF_FORMAT_WAV | SF_FORMAT_PCM_16},
    {"StereoOneChannel", 44100, SF_FORMAT_WAV | SF_FORMAT_PCM_16, Conversion::SecondOfTwo},
    {"StereoOppositePhase", 44100, SF_FORMAT_WAV | SF_FORMAT_PCM_16, Conversion::OppositePhase},
    {"Pcm24", 44100, SF_FORMAT_WAV | SF_FORMAT_PCM_24},
    {"Float48kHzStereo", 48000, SF_FORMAT_WAVEX | SF_FORMAT_FLOAT, Conversion::OppositePhase},
    {"Pcm8", 44100, SF_FORMAT_WAV | SF_FORMAT_PCM_U8},
    {"Aiff", 44100, SF_FORMAT_AIFF | SF_FORMAT_PCM_16},
    {"Flac", 44100, SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
    {"OggVorbis", 44100, SF_FORMAT_OGG | SF_FORMAT_VORBIS},
    {"OggOpus", 48000, SF_FORMAT_OGG | SF_FORMAT_OPUS},
    // The recorder's format, with a LIST chunk that puts "data" off the four-byte grid.
    {"CanonicalWithTitle", 44100, SF_FORMAT_WAV | SF_FORMAT_PCM_16},
};
const char *const kExamples[] = {"rs200-run", "f6-memory", "cs200-ride"};

QString examplePath(const char *name)
{
    return QStringLiteral(VENTRIX_EXAMPLES_DIR "/%1.wav").arg(QLatin1StringView(name));
}

std::vector<float> readMono(const QString &path)
{
    SF_INFO info{};
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    std::vector<float> samples(file ? std::size_t(info.frames) : 0);
    if (file)
        sf_read_float(file, samples.data(), sf_count_t(samples.size()));
    sf_close(file);
    return samples;
}

bool writeConverted(const QString &path, const std::vector<float> &mono, const Conversion &c)
{
    std::vector<float> resampled(std::size_t(double(mono.size()) * c.rate / 44100.0) + 16);
    std::size_t produced = 0;
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_oneshot(44100, c.rate, 1, mono.data(), mono.size(), nullptr, resampled.data(), resampled.size(), &produced,
                 nullptr, &quality, nullptr);
    const int channels = c.channels == Conversion::Mono ? 1 : 2;
    std::vector<float> frames;
    for (std::size_t i = 0; i < produced; ++i) {
        const float x = resampled[i];
        if (c.channels == Conversion::SecondOfTwo)
            frames.insert(frames.end(), {0.0F, x});
        else if (c.channels == Conversion::OppositePhase)
            frames.insert(frames.end(), {x, -x});
        else
            frames.push_back(x);
    }
    SF_INFO info{};
    info.samplerate = c.rate;
    info.channels = channels;
    info.format = c.format;
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    if (std::string_view(c.name) == "CanonicalWithTitle")
        sf_set_string(file, SF_STR_TITLE, "odds!"); // "data" at byte 62
    const bool written = sf_writef_float(file, frames.data(), sf_count_t(produced)) == sf_count_t(produced);
    return sf_close(file) == 0 && written;
}

// What a decode read: the model and the cleaned bytes every field comes from.
auto decode(const QString &path)
{
    Decoder decoder;
    const DecodeResult result = decoder.decodeFile(path);
    return std::make_tuple(result.dataMakesSense, result.model, decoder.byteArray(), result.readFailure);
}

class AudioFile : public testing::TestWithParam<std::tuple<const char *, Conversion>>
{
};

TEST_P(AudioFile, DecodesToTheBytesOfTheOriginal)
{
    const auto &[example, conversion] = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("converted"));
    ASSERT_TRUE(writeConverted(path, readMono(examplePath(example)), conversion));
    const auto original = decode(examplePath(example));
    ASSERT_TRUE(std::get<0>(original));
    EXPECT_EQ(decode(path), original);
}

INSTANTIATE_TEST_SUITE_P(Examples, AudioFile,
                         testing::Combine(testing::ValuesIn(kExamples), testing::ValuesIn(kConversions)),
                         [](const auto &info) {
                             QString name = QStringLiteral("%1_%2").arg(QLatin1StringView(std::get<0>(info.param)),
                                                                        QLatin1StringView(std::get<1>(info.param).name));
                             return name.remove(QLatin1Char('-')).toStdString();
                         });

} // namespace
