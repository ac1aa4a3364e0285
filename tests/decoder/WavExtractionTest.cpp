#include "Decoder.h"

#include "DecoderTestData.h"
#include "TransferFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

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

} // namespace

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
