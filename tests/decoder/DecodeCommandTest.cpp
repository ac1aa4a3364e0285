#include "DecodeCommand.h"

#include "TransferFiles.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

// The command-line decoder on the example recordings of examples/ and on
// synthesized ones.
namespace {

struct ToolRun
{
    int status = -1;
    QString out;
    QString err;
    QJsonArray files; // of --json
};

ToolRun runTool(const QStringList &arguments)
{
    ToolRun run;
    QTextStream out(&run.out), err(&run.err);
    run.status = DecodeCommand(out, err).run(QStringList{"ventrix-decode"} + arguments);
    out.flush();
    err.flush();
    run.files = QJsonDocument::fromJson(run.out.toUtf8()).object()[QStringLiteral("files")].toArray();
    return run;
}

QString example(const QString &name)
{
    return transferfiles::examplesDir() + u'/' + name + QStringLiteral(".wav");
}

const QStringList kExamples = {QStringLiteral("cs200-ride"), QStringLiteral("f6-memory"), QStringLiteral("rs200-run")};
const QStringList kExamplePaths = {example(kExamples[0]), example(kExamples[1]), example(kExamples[2])};

// A file entry without what depends on the run: path, method and import dates.
QJsonObject withoutRunDetails(QJsonObject file)
{
    for (const char *key : {"path", "method", "confidence"})
        file.remove(QLatin1StringView(key));
    QJsonArray sessions;
    for (const QJsonValue &session : file[QStringLiteral("sessions")].toArray()) {
        QJsonObject s = session.toObject();
        s.remove(QStringLiteral("importDate"));
        sessions.append(s);
    }
    file[QStringLiteral("sessions")] = sessions;
    return file;
}

} // namespace

// The command prints what the decoder reads from the recordings: the
// examples' golden files, read exactly and with high confidence. A tap four
// times the bursts blinds the exact threshold: the second demodulation reads it.
TEST(DecodeCommand, PrintsTheGoldenSessionsAndWhichDemodulationReadEachFile)
{
    QTemporaryDir dir;
    const QString tapped = dir.filePath("tapped.wav");
    const ByteArray cleaned = transferfiles::cleaned(QStringLiteral("rs200-run"));
    ASSERT_TRUE(synth::writeWav(tapped, synth::modulate(synth::frameTransfer(cleaned), {.clickSeconds = {1.0}})));
    const ToolRun run = runTool(QStringList{"--json"} + kExamplePaths + QStringList{tapped});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    for (int i = 0; i < kExamples.size(); ++i) {
        QFile golden(QDir(transferfiles::transfersDir()).filePath(kExamples[i] + QStringLiteral(".json")));
        ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
        EXPECT_EQ(run.files.at(i)["path"].toString(), kExamplePaths[i]);
        EXPECT_EQ(run.files.at(i)["method"].toString(), "exact");
        EXPECT_EQ(run.files.at(i)["confidence"].toString(), "high");
        EXPECT_EQ(withoutRunDetails(run.files.at(i).toObject()),
                  withoutRunDetails(QJsonDocument::fromJson(golden.readAll()).object()))
            << kExamples[i].toStdString();
    }
    EXPECT_EQ(run.files.at(3)["method"].toString(), "rescued");
    EXPECT_EQ(run.files.at(3)["model"].toString(), "RS200");
}

// A repeated import adds nothing, says "already stored" and still exits 0, in
// the same invocation and in a later one; a file that cannot be read exits 1.
TEST(DecodeCommand, EveryExampleTwiceIsStoredOnce)
{
    QTemporaryDir dir;
    const QString store = dir.filePath("Ventrix.xml");
    const auto storedSessions = [&] {
        QFile file(store);
        return file.open(QIODevice::ReadOnly) ? file.readAll().count("<RunSession") : -1;
    };
    ASSERT_EQ(runTool(QStringList{"--store", store} + kExamplePaths).status, 0);
    EXPECT_EQ(storedSessions(), 4);
    const ToolRun again = runTool(QStringList{"--json", "--store", store} + kExamplePaths + kExamplePaths);
    EXPECT_EQ(again.status, 0) << again.err.toStdString();
    EXPECT_EQ(storedSessions(), 4);
    EXPECT_EQ(again.err.count("already stored"), 6) << again.err.toStdString();
    EXPECT_TRUE(again.err.contains(example("f6-memory") + ": 2 sessions already stored"));
    EXPECT_TRUE(again.err.contains(example("rs200-run") + ": 1 session already stored"));
    EXPECT_TRUE(again.files.at(1)["sessions"].toArray().isEmpty());

    const QString missing = dir.filePath("missing.wav");
    const ToolRun unread = runTool({"--json", missing});
    EXPECT_EQ(unread.status, 1);
    EXPECT_TRUE(unread.err.contains("cannot read " + missing + ": ")) << unread.err.toStdString();
    EXPECT_TRUE(unread.files.at(0)["model"].isNull());
}

// A store that cannot be read is left as it was.
TEST(DecodeCommand, UnreadableStoreIsNeverOverwritten)
{
    QTemporaryDir dir;
    const QString broken = dir.filePath("Broken.xml");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<not a store");
    file.close();
    const ToolRun run = runTool({"--store", broken, example("rs200-run")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(broken)) << run.err.toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "<not a store");
}

TEST(DecodeCommand, ExportDirWritesOneFilePerInsertedSession)
{
    QTemporaryDir dir;
    const ToolRun run = runTool({"--export-dir", dir.path(), "--xml", example("f6-memory"), example("rs200-run")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    ASSERT_EQ(runTool({"--export-dir", dir.path(), "--tcx", example("cs200-ride")}).status, 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList({"cs200-ride-1.tcx", "f6-memory-1.plist", "f6-memory-2.plist", "rs200-run-1.plist"}));

    const ToolRun missing = runTool({"--export-dir", dir.filePath("missing"), example("rs200-run")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("rs200-run-1.csv")) << missing.err.toStdString();
    EXPECT_EQ(runTool({"--export-dir", dir.path(), "--tcx", "--xml", example("cs200-ride")}).status, 2);
}

TEST(DecodeCommand, DumpsTheBytesBeforeCleanUpSixteenPerLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("rs200.wav");
    ASSERT_TRUE(synth::writeWav(path, testdata::spikes(transferfiles::withLead(transferfiles::cleaned("rs200-minimal")))));
    const ToolRun r = runTool({"--dump-bytes", path});
    EXPECT_EQ(r.status, DecodeCommand::Decoded);
    const QStringList lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 166 / 16 + 1 + 1); // 166 bytes, then the empty text after the last newline
    EXPECT_EQ(lines[0], "aa aa aa aa aa aa 55 00 00 01 00 00 00 00 00 00");
    EXPECT_EQ(lines[10], "00 00 00 00 00 00");
}

TEST(DecodeCommand, UsageErrorsExitWithTwo)
{
    const QString wav = kExamplePaths[2];
    EXPECT_EQ(runTool({}).status, DecodeCommand::UsageError);
    EXPECT_EQ(runTool({"--bogus", wav}).status, DecodeCommand::UsageError);
    const ToolRun recordAndFile = runTool({"--record", "5", wav});
    EXPECT_EQ(recordAndFile.status, DecodeCommand::UsageError);
    EXPECT_TRUE(recordAndFile.err.contains("--record decodes its own recording and takes no FILE.wav"));
    for (const char *seconds : {"0", "-3", "ten", "nan", "inf", "43201"}) {
        const ToolRun badTime = runTool({"--record", seconds});
        EXPECT_EQ(badTime.status, DecodeCommand::UsageError) << seconds;
        EXPECT_TRUE(badTime.err.contains("--record needs a number of seconds")) << badTime.err.toStdString();
    }
    const ToolRun format = runTool({"--xml", wav});
    EXPECT_EQ(format.status, DecodeCommand::UsageError);
    EXPECT_TRUE(format.err.contains("--xml needs --export-dir"));
}
