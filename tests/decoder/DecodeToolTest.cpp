#include "TransferFiles.h"

#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The built ventrix-decode on the example recordings of examples/.
namespace {

struct ToolRun
{
    int status = -1;
    QJsonArray files;
    QString err;
};

ToolRun runTool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(VENTRIX_DECODE_PATH), arguments);
    ToolRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.status = process.exitCode();
    run.err = QString::fromUtf8(process.readAllStandardError());
    run.files = QJsonDocument::fromJson(process.readAllStandardOutput()).object()[QStringLiteral("files")].toArray();
    return run;
}

QString example(const QString &name)
{
    return transferfiles::examplesDir() + u'/' + name + QStringLiteral(".wav");
}

const QStringList kExamples = {QStringLiteral("cs200-ride"), QStringLiteral("f6-memory"), QStringLiteral("rs200-run")};

// A file entry without what depends on the run: path, method and import dates.
QJsonObject withoutRunDetails(QJsonObject file)
{
    file.remove(QStringLiteral("path"));
    file.remove(QStringLiteral("method"));
    file.remove(QStringLiteral("confidence"));
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

// The tool prints what the decoder reads from the recordings: the examples' golden files.
TEST(DecodeTool, ExamplesPrintTheirGoldenSessions)
{
    QStringList paths;
    for (const QString &name : kExamples)
        paths.append(example(name));
    const ToolRun run = runTool(QStringList{"--json"} + paths);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    for (int i = 0; i < kExamples.size(); ++i) {
        QFile golden(QDir(transferfiles::transfersDir()).filePath(kExamples[i] + QStringLiteral(".json")));
        ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
        EXPECT_EQ(run.files.at(i)["path"].toString(), paths[i]);
        EXPECT_EQ(run.files.at(i)["method"].toString(), "exact");
        EXPECT_EQ(run.files.at(i)["confidence"].toString(), "high");
        EXPECT_EQ(withoutRunDetails(run.files.at(i).toObject()),
                  withoutRunDetails(QJsonDocument::fromJson(golden.readAll()).object()))
            << kExamples[i].toStdString();
    }
}

// A repeated import adds nothing, says "already stored" and still exits 0, in
// the same invocation and in a later one; a file that cannot be read exits 1.
TEST(DecodeTool, EveryExampleTwiceIsStoredOnce)
{
    QTemporaryDir dir;
    const QString store = dir.filePath("Ventrix.xml");
    const auto storedSessions = [&] {
        QFile file(store);
        return file.open(QIODevice::ReadOnly) ? file.readAll().count("<RunSession") : -1;
    };
    QStringList examples;
    for (const QString &name : kExamples)
        examples.append(example(name));
    ASSERT_EQ(runTool(QStringList{"--store", store} + examples).status, 0);
    EXPECT_EQ(storedSessions(), 4);
    const ToolRun again = runTool(QStringList{"--json", "--store", store} + examples + examples);
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
TEST(DecodeTool, UnreadableStoreIsNeverOverwritten)
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

TEST(DecodeTool, ExportDirWritesOneFilePerInsertedSession)
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

TEST(DecodeTool, ReportsWhichDemodulationReadEachFile)
{
    synth::RoomOptions tapped;
    tapped.clickSeconds = {1.0}; // one tap four times the bursts blinds the exact threshold
    QTemporaryDir dir;
    const QString tappedWav = dir.filePath("tapped.wav");
    const ByteArray cleaned = transferfiles::cleaned(QStringLiteral("rs200-run"));
    ASSERT_TRUE(synth::writeWav(tappedWav, synth::modulate(synth::frameTransfer(cleaned), tapped)));

    const ToolRun run = runTool({"--json", example("rs200-run"), tappedWav});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.files.at(0)["method"].toString(), "exact");
    EXPECT_EQ(run.files.at(1)["method"].toString(), "rescued");
    EXPECT_EQ(run.files.at(1)["model"].toString(), "RS200");
}
