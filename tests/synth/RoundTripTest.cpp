// Bytes -> sound -> bytes: synthesized recordings, clean and as rooms make them, decoded by
// the Decoder must give back every byte.
#include "ByteStreamCleanup.h"
#include "Decoder.h"
#include "TestTables.h"
#include "TransferSynth.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

constexpr std::size_t kStreamSize = 2000;
constexpr std::uint64_t kBytesSeed = 2024;

// Where two byte arrays part, rather than two thousand bytes printed side by side.
std::string difference(const std::vector<std::uint8_t>& got, const std::vector<std::uint8_t>& want)
{
    if (got == want)
        return {};
    const auto first = std::mismatch(got.begin(), got.end(), want.begin(), want.end()).first - got.begin();
    return "got " + std::to_string(got.size()) + " bytes, want " + std::to_string(want.size())
           + "; they part at index " + std::to_string(first);
}

class RoundTrip : public testing::TestWithParam<QStringList> {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    // Records `stream` in the room under test and demodulates it.
    const std::vector<std::uint8_t>& demodulate(const std::vector<std::uint8_t>& stream)
    {
        const QString path = m_dir.filePath("transfer.wav");
        QString error;
        EXPECT_TRUE(synth::writeWav(path, synth::modulate(stream, roomFromText(GetParam()[1])), &error))
            << error.toStdString();
        m_decoder.extractBytesFromFile(path);
        return m_decoder.byteArray();
    }

    QTemporaryDir m_dir;
    Decoder m_decoder;
};

TEST_P(RoundTrip, EveryByteOfARandomStreamComesBack)
{
    const auto stream = synth::randomBytes(kStreamSize, kBytesSeed);
    EXPECT_EQ(difference(demodulate(stream), stream), "");
}

INSTANTIATE_TEST_SUITE_P(Rooms, RoundTrip, testing::ValuesIn(tableRows(QStringLiteral("synth/rooms.txt"))),
                         [](const auto& info) { return info.param[0].toStdString(); });

// The synthesizer's framing and its prediction of the clean-up agree with the decoder's
// clean-up for any payload size and fill count, and each cleaned byte is traced back to
// the demodulated byte it came from, across joined blocks.
TEST(Framing, CleanupOfAFramedTransferGivesCleanedRoundTrip)
{
    for (int fill : {1, 100, 251, 252}) {
        for (std::size_t payload : {0, 1, 251, 252, 253, 504, 505, 2000}) {
            if (synth::blockCount(payload, fill) > 255)
                continue;
            SCOPED_TRACE("fill " + std::to_string(fill) + ", payload " + std::to_string(payload));
            std::vector<std::uint8_t> cleaned = synth::randomBytes(11 + payload, payload);
            cleaned[0] = synth::kSyncByte;
            const synth::FramingOptions framing{.fillCount = fill, .leadSyncBytes = 5};
            const std::vector<std::uint8_t> raw = synth::frameTransfer(cleaned, framing);
            std::vector<std::uint8_t> bytes = raw;
            ASSERT_TRUE(ByteStreamCleanup::cleanupBytes(bytes));
            const auto expected = synth::cleanedRoundTrip(cleaned, framing);
            EXPECT_EQ(difference(bytes, expected), "");
            EXPECT_TRUE(std::equal(cleaned.begin() + 11, cleaned.end(), expected.begin() + 11));
            const std::vector<std::int64_t> sources = ByteStreamCleanup::sourceIndices(raw);
            ASSERT_EQ(sources.size(), bytes.size());
            for (std::size_t i = 0; i < bytes.size(); ++i)
                ASSERT_EQ(raw[std::size_t(sources[i])], bytes[i]) << "byte " << i;
            EXPECT_TRUE(std::is_sorted(sources.begin(), sources.end()));
        }
    }
    EXPECT_TRUE(ByteStreamCleanup::sourceIndices({0xAA, 0xAA, 0xAA, 0xAA, 0x55}).empty());
}

// ventrix-synth from the command line: its recordings decode to the bytes it was given, and
// bad invocations fail with a message and the right exit status.
struct ToolRun {
    int exitCode = -1;
    QString standardError;
};

class SynthTool : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    ToolRun run(const QStringList& arguments, const QByteArray& input = {})
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        process.start(QStringLiteral(VENTRIX_SYNTH_PATH), arguments);
        process.write(input);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
    }

    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir m_dir;
    Decoder m_decoder;
};

TEST_F(SynthTool, HexTransferInARoomDecodesBack)
{
    const std::vector<std::uint8_t> cleaned = synth::randomBytes(600, 5);
    QByteArray hex = QByteArray(reinterpret_cast<const char*>(cleaned.data()), qsizetype(cleaned.size()))
                         .toHex(' ');
    hex.prepend("# a transfer\n");

    const ToolRun result = run({"--fill-count", "200", "--snr", "22", "--seed", "9", "--drift", "0.01", "--invert",
                                "--fade", "0.3,2", "--dc", "-700", "--lead", "0.5", "--tail", "0.3", "-",
                                path("out.wav")},
                               hex);

    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
    m_decoder.extractBytesFromFile(path("out.wav"));
    ByteArray bytes = m_decoder.byteArray();
    ASSERT_TRUE(ByteStreamCleanup::cleanupBytes(bytes));
    EXPECT_EQ(bytes, synth::cleanedRoundTrip(cleaned, {.fillCount = 200}));
}

// Usage errors exit with 2, unreadable input with 1; neither leaves a recording.
TEST_F(SynthTool, BadInvocationsAndInputFailWithAMessage)
{
    const QStringList cases[] = {
        {},
        {"--snr", "loud", "-", "out.wav"},
        {"--fill-count", "300", "-", "out.wav"},
        {"--fade", "1.5", "-", "out.wav"},
        {"--no-such-option", "-", "out.wav"},
    };
    for (const QStringList& arguments : cases) {
        const ToolRun result = run(arguments, "55");
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.standardError.startsWith("ventrix-synth: "))
            << result.standardError.toStdString();
    }
    const ToolRun missing = run({path("missing.hex"), path("out.wav")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.standardError.contains("cannot read " + path("missing.hex")));
    const ToolRun malformed = run({"-", path("out.wav")}, "55 aa 5");
    EXPECT_EQ(malformed.exitCode, 1);
    EXPECT_TRUE(malformed.standardError.contains("odd number of hex digits"));
    EXPECT_FALSE(QFile::exists(path("out.wav")));
}

}  // namespace
