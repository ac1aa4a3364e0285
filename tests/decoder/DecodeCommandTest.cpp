#include "DecodeCommand.h"

#include "DecoderTestData.h"
#include "TransferFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

namespace {

struct CommandRun
{
    int status;
    QString out;
    QString err;
};

CommandRun run(const QStringList &arguments)
{
    CommandRun result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.status = DecodeCommand(out, err).run(QStringList{"ventrix-decode"} + arguments);
    return result;
}

class DecodeCommandTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_path = m_dir.filePath("rs200.wav");
        QFile file(m_path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(testdata::wav(testdata::spikes(transferfiles::withLead(transferfiles::cleaned("rs200-minimal")))));
    }

    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace

TEST_F(DecodeCommandTest, DumpsTheBytesBeforeCleanUpSixteenPerLine)
{
    const CommandRun r = run({"--dump-bytes", m_path});
    EXPECT_EQ(r.status, DecodeCommand::Decoded);
    const QStringList lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 166 / 16 + 1 + 1); // 166 bytes, then the empty text after the last newline
    EXPECT_EQ(lines[0], "aa aa aa aa aa aa 55 00 00 01 00 00 00 00 00 00");
    EXPECT_EQ(lines[10], "00 00 00 00 00 00");
}

TEST_F(DecodeCommandTest, UsageErrorsExitWithTwo)
{
    EXPECT_EQ(run({}).status, DecodeCommand::UsageError);
    EXPECT_EQ(run({"--bogus", m_path}).status, DecodeCommand::UsageError);
    const CommandRun recordAndFile = run({"--record", "5", m_path});
    EXPECT_EQ(recordAndFile.status, DecodeCommand::UsageError);
    EXPECT_TRUE(recordAndFile.err.contains("--record decodes its own recording and takes no FILE.wav"));
    for (const char *seconds : {"0", "-3", "ten", "nan", "inf", "43201"}) {
        const CommandRun badTime = run({"--record", seconds});
        EXPECT_EQ(badTime.status, DecodeCommand::UsageError) << seconds;
        EXPECT_TRUE(badTime.err.contains("--record needs a number of seconds")) << badTime.err.toStdString();
    }
    const CommandRun format = run({"--xml", m_path});
    EXPECT_EQ(format.status, DecodeCommand::UsageError);
    EXPECT_TRUE(format.err.contains("--xml needs --export-dir"));
}
