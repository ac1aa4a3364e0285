// Reading recordings: malformed WAV files, and other formats than the
// recorder's: each example, converted here with libsndfile and libsoxr, must
// decode to the bytes of the original.
#include "Decoder.h"
#include "SignalProbe.h"
#include "TransferFiles.h"

#include <QBuffer>
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

// The examples are 16-bit mono: their samples as floats, exactly.
std::vector<float> readMono(const QString &path)
{
    std::vector<float> samples;
    for (std::int16_t s : probe::readWav(path).samples)
        samples.push_back(float(s) / 32768.0F);
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

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
}

ByteArray extract(const QByteArray &wav)
{
    QBuffer buffer;
    buffer.setData(wav);
    buffer.open(QIODevice::ReadOnly);
    Decoder decoder;
    decoder.extractBytesFromDevice(buffer);
    return decoder.byteArray();
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

// An unreadable file is one neither libsndfile nor the search for "data" reads:
// its message says which formats work.
TEST(WavExtraction, MalformedFilesDecodeAsNo)
{
    const QByteArray header = testdata::wav({1, 2, 3});
    struct Case { const char *name; QByteArray content; bool readable; };
    const std::vector<Case> cases = {
        {"empty", {}, false},
        {"not a recording", "just some text, no chunk words in it at all", false},
        {"header cut before the data word", header.left(35), false},
        {"data word off the four-byte grid", "xx" + header.mid(36), false},
        {"data word without a size", header.left(40), false}, // the exact path finds nothing in it
        {"size cut in half", header.left(42), true},
        {"claims 4 GB in 50 bytes", testdata::wav({1, 2, 3}, 0xFFFFFFFFLL), true},
        {"odd number of data bytes", testdata::wav({1, 2}) + char(7), true},
        {"zero samples", testdata::wav({}), true},
        // A phone's AAC file whose metadata box "data" stands on the grid: the exact path finds nothing.
        {"another format", QByteArray("\0\0\0\x1c" "ftypM4A \0\0\0\0M4A mp42isom\0\0\0\x08" "data", 36) + QByteArray(8, 0),
         false},
    };
    QTemporaryDir dir;
    for (const Case &c : cases) {
        Decoder decoder;
        decoder.setByteArray({1, 2, 3});
        const DecodeResult result = decoder.decodeFile(writeFile(dir, "case.wav", c.content));
        EXPECT_FALSE(result.dataMakesSense) << c.name;
        EXPECT_EQ(result.readFailure.toStdString(), c.readable ? "" : "not an audio file Ventrix can read; it reads WAV, "
                                                                      "AIFF, FLAC, Ogg Vorbis, Ogg Opus and MP3 recordings")
            << c.name;
        EXPECT_TRUE(decoder.byteArray().empty()) << c.name;
        EXPECT_EQ(result.model, std::nullopt) << c.name;
    }
}

TEST(WavExtraction, UnopenableFileLeavesTheArrayAndAnswersNo)
{
    QTemporaryDir dir;
    const ByteArray cleanable = transferfiles::withLead(transferfiles::cleaned(QStringLiteral("rs200-minimal")));
    // /dev/zero never ends: read as a file, the search for "data" would never stop.
    for (const QString &path : {dir.path(), dir.filePath("missing.wav"), QStringLiteral("/dev/zero")}) {
        Decoder decoder;
        decoder.setByteArray(cleanable);
        const DecodeResult result = decoder.decodeFile(path);
        EXPECT_FALSE(result.dataMakesSense);
        // The message names the file and says why.
        EXPECT_TRUE(result.readError().startsWith(QStringLiteral("cannot read ") + path + QStringLiteral(": ")))
            << result.readError().toStdString();
        EXPECT_EQ(decoder.byteArray(), cleanable);
    }
}

// The samples a data chunk claims but the file lacks count as 0: a file that
// claims far more must decode exactly like one that holds those zeros.
TEST(WavExtraction, MissingSamplesActLikeZeros)
{
    // The last real sample is a burst 880 samples after the last frame's
    // start, so the frame scan lands on that burst's marked tail, which lies
    // past the end of the file.
    std::vector<std::int16_t> real = testdata::spikes({0x00}, 6000, 900, 10000);
    real.resize(6838);
    real[6837] = 10000;
    std::vector<std::int16_t> zeros = real;
    zeros.resize(real.size() + 10000, 0);
    EXPECT_EQ(extract(testdata::wav(real, 0xFFFFFFFFLL)), (ByteArray{0, 0}));
    EXPECT_EQ(extract(testdata::wav(zeros)), (ByteArray{0, 0}));

    std::vector<std::int16_t> cut = testdata::spikes(synth::randomBytes(300, 1));
    cut.resize(cut.size() / 2 + 17);
    std::vector<std::int16_t> padded = cut;
    padded.resize(cut.size() + 5000, 0);
    EXPECT_EQ(extract(testdata::wav(cut, std::int64_t(padded.size()) * 2)), extract(testdata::wav(padded)));
}

} // namespace
