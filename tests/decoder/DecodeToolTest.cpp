#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "TransferSynth.h"

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

QString example(const char *name)
{
    return QDir(QStringLiteral(VENTRIX_EXAMPLES_DIR)).filePath(QString::fromLatin1(name));
}

QJsonArray sessionsOf(const ToolRun &run, int file)
{
    return run.files.at(file).toObject()[QStringLiteral("sessions")].toArray();
}

QStringList keysOf(const QJsonValue &object)
{
    return object.toObject().keys(); // sorted
}

} // namespace

TEST(DecodeTool, RS200ExamplePrintsEveryKeyInItsUnit)
{
    const ToolRun run = runTool({"--json", example("rs200-run.wav")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject file = run.files.at(0).toObject();
    EXPECT_EQ(file["model"].toString(), "RS200");
    EXPECT_TRUE(file["dataMakesSense"].toBool());
    ASSERT_EQ(sessionsOf(run, 0).size(), 1);

    const QJsonObject s = sessionsOf(run, 0).at(0).toObject();
    EXPECT_EQ(keysOf(s), QStringList({"hrm", "importDate", "lap", "limitZone", "sessionAverageHR",
                                      "sessionCalories", "sessionDate", "sessionLaps", "sessionLimitType",
                                      "sessionMaxHR", "sessionMaxPace", "sessionMaxSetHR", "sessionName",
                                      "sessionPaceData", "sessionTotalDistance", "sessionTotalTime", "sportZone",
                                      "userActivityLevel", "userBirthday", "userLength", "userMaxHR", "userSex",
                                      "userSittingHR", "userVO2Max", "userWeight"}));
    EXPECT_EQ(s["sessionDate"].toString(), "2013-01-15T14:30:00");
    EXPECT_EQ(s["sessionTotalTime"].toInt(), 9628);      // 16:02.8 in tenths
    EXPECT_EQ(s["sessionTotalDistance"].toInt(), 3110);  // metres
    EXPECT_EQ(s["sessionLimitType"].toString(), "HR Limits");
    EXPECT_EQ(s["limitZone"].toArray().size(), 2);
    EXPECT_EQ(s["sportZone"].toArray().size(), 5);
    const QJsonArray laps = s["lap"].toArray();
    ASSERT_EQ(laps.size(), 3);
    EXPECT_EQ(laps.at(0)["lapNumber"].toInt(), 1);
    EXPECT_EQ(laps.at(0)["timeInLap"].toInt(), 3124);
    EXPECT_EQ(laps.at(1)["distance"].toInt(), 1060);
    EXPECT_TRUE(laps.at(1)["autoLap"].toBool());
}

TEST(DecodeTool, CS200ExampleKeepsTheWatchsUnits)
{
    const ToolRun run = runTool({"--json", example("cs200-ride.wav")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.files.at(0)["model"].toString(), "CS200");
    const QJsonObject s = sessionsOf(run, 0).at(0).toObject();
    EXPECT_EQ(keysOf(s), QStringList({"hrm", "importDate", "lap", "limitZone", "sessionAverageCadence",
                                      "sessionAverageHR", "sessionCalories", "sessionDate", "sessionLaps",
                                      "sessionLimitType", "sessionMaxCadence", "sessionMaxHR", "sessionMaxSpeed",
                                      "sessionName", "sessionPaceData", "sessionRideTime", "sessionTotalDistance",
                                      "sessionTotalTime", "sportZone", "userBirthday", "userLength", "userMaxHR",
                                      "userSittingHR", "userWeight"}));
    EXPECT_EQ(s["sessionTotalTime"].toInt(), 18905);      // 0:31:30.50
    EXPECT_EQ(s["sessionRideTime"].toInt(), 17450);
    EXPECT_EQ(s["sessionTotalDistance"].toInt(), 11800);  // 11.8 units in thousandths
    EXPECT_EQ(s["sessionLimitType"].toString(), "Manual");
    EXPECT_EQ(keysOf(s["limitZone"].toArray().at(0)),
              QStringList({"limitHigh", "limitLow", "timeAboveZone", "timeBelowZone", "timeInZone"}));
    const QJsonArray laps = s["lap"].toArray();
    ASSERT_EQ(laps.size(), 2);
    EXPECT_EQ(laps.at(1)["timeInLap"].toInt(), 8845);     // 29:05.0 - 14:20.5
    EXPECT_EQ(laps.at(1)["distance"].toInt(), 5700);
    EXPECT_EQ(laps.at(1)["cadenceAverage"].toInt(), 88);
}

TEST(DecodeTool, F6ExampleTwiceInOneInvocationAddsItsSessionsOnce)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.wav");
    const ToolRun run = runTool({"--json", example("f6-memory.wav"), example("f6-memory.wav"), missing});
    EXPECT_EQ(run.status, 1); // one file could not be decoded
    EXPECT_TRUE(run.err.contains("cannot read " + missing + ": ")) << run.err.toStdString();
    ASSERT_EQ(run.files.size(), 3);
    EXPECT_EQ(run.files.at(1)["model"].toString(), "F6");
    EXPECT_TRUE(sessionsOf(run, 1).isEmpty());
    EXPECT_TRUE(run.files.at(2)["model"].isNull());
    EXPECT_FALSE(run.files.at(2)["dataMakesSense"].toBool());

    const QJsonArray sessions = sessionsOf(run, 0);
    ASSERT_EQ(sessions.size(), 2);
    const QJsonObject first = sessions.at(0).toObject(); // record 1, inserted first
    EXPECT_EQ(keysOf(first), QStringList({"hrm", "importDate", "lap", "limitZone", "sessionAverageHR",
                                          "sessionCalories", "sessionDate", "sessionFat", "sessionMaxHR",
                                          "sessionName", "sessionTotalTime", "sportZone", "userMaxHR"}));
    EXPECT_EQ(first["sessionDate"].toString(), "2009-05-02T18:05:33");
    EXPECT_EQ(first["sessionTotalTime"].toInt(), 25300);
    EXPECT_EQ(first["sportZone"].toArray().at(0)["name"].toString(), "In Zone");
    EXPECT_EQ(sessions.at(1)["sessionTotalTime"].toInt(), 39470);
}

// The store keeps sessions across invocations; one it cannot read is left as it was.
TEST(DecodeTool, StoreKeepsSessionsAndIsNeverOverwrittenWhenUnreadable)
{
    QTemporaryDir dir;
    const QString store = dir.filePath("Ventrix.xml");
    ASSERT_EQ(runTool({"--json", "--store", store, example("f6-memory.wav")}).status, 0);
    const ToolRun again = runTool({"--json", "--store", store, example("f6-memory.wav")});
    ASSERT_EQ(again.status, 0) << again.err.toStdString();
    EXPECT_TRUE(sessionsOf(again, 0).isEmpty());

    const QString broken = dir.filePath("Broken.xml");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<not a store");
    file.close();
    const ToolRun run = runTool({"--store", broken, example("rs200-run.wav")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(broken)) << run.err.toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "<not a store");
}

TEST(DecodeTool, ExportDirWritesOneFilePerInsertedSession)
{
    QTemporaryDir dir;
    const ToolRun run = runTool({"--export-dir", dir.path(), "--xml", example("f6-memory.wav"),
                                 example("rs200-run.wav")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    ASSERT_EQ(runTool({"--export-dir", dir.path(), "--tcx", example("cs200-ride.wav")}).status, 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList({"cs200-ride-1.tcx", "f6-memory-1.plist", "f6-memory-2.plist", "rs200-run-1.plist"}));

    const ToolRun missing = runTool({"--export-dir", dir.filePath("missing"), example("rs200-run.wav")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("rs200-run-1.csv")) << missing.err.toStdString();
    EXPECT_EQ(runTool({"--export-dir", dir.path(), "--tcx", "--xml", example("cs200-ride.wav")}).status, 2);
}

TEST(DecodeTool, ReportsWhichDemodulationReadEachFile)
{
    QFile hex(QStringLiteral(VENTRIX_EXAMPLES_DIR "/rs200-run.hex"));
    ASSERT_TRUE(hex.open(QIODevice::ReadOnly));
    const auto cleaned = synth::parseHexBytes(hex.readAll());
    ASSERT_TRUE(cleaned);
    synth::RoomOptions tapped;
    tapped.clickSeconds = {1.0}; // one tap four times the bursts blinds the exact threshold
    QTemporaryDir dir;
    const QString tappedWav = dir.filePath("tapped.wav");
    ASSERT_TRUE(synth::writeWav(tappedWav, synth::modulate(synth::frameTransfer(*cleaned), tapped)));

    const ToolRun run = runTool({"--json", example("rs200-run.wav"), tappedWav});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.files.at(0)["method"].toString(), "exact");
    EXPECT_EQ(run.files.at(1)["method"].toString(), "rescued");
    EXPECT_EQ(run.files.at(1)["model"].toString(), "RS200");
}
