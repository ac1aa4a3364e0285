// ventrix-synth from the command line: its recordings decode to the bytes it was given, and
// bad invocations fail with a message and the right exit status.
#include "ByteStreamCleanup.h"
#include "Decoder.h"
#include "TransferSynth.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

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
