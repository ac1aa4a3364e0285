#include "ExportFixture.h"

#include <deque>
#include <memory>

namespace {

class DataOutputExportTest : public ExportFixture
{
protected:
    // Automatic export names drawn from a fixed list.
    void drawNames(std::deque<quint32> names)
    {
        output.setRandomSource([names]() mutable {
            const quint32 next = names.front();
            if (names.size() > 1)
                names.pop_front();
            return next;
        });
    }
};

TEST_F(DataOutputExportTest, SavingAlertsUnlessExactlyOneSessionIsSelected)
{
    output.saveFile();
    output.saveTcxFile();
    context.insertSession(fixtureSession(QStringLiteral("f6")));
    context.insertSession(fixtureSession(QStringLiteral("cs200")));
    list.setSelectionIndexes({0, 1});
    output.saveFile();
    output.saveTcxFile();

    EXPECT_EQ(dialog.alerts, QStringList(4, QStringLiteral("Please only select one session|Ok")));
    EXPECT_TRUE(dialog.proposedNames.isEmpty());
}

TEST_F(DataOutputExportTest, SavingProposesTheNameAndExportsOnlyWhenTheDialogSaysOK)
{
    insertAndSelect(fixtureSession(QStringLiteral("rs200_nolaps")));
    setSetting(QStringLiteral("SaveTimeWithTenths"), true);
    setSetting(QStringLiteral("SaveDateFormat"), QStringLiteral("Date DD/MM/YYYY"));

    output.saveFile();
    dialog.completion(SaveDialog::kCancelCode, path(QStringLiteral("no.csv")));
    EXPECT_TRUE(files().isEmpty());
    output.saveFile();
    dialog.completion(SaveDialog::kOKCode, path(QStringLiteral("mine.txt")));
    output.saveTcxFile();
    dialog.completion(SaveDialog::kOKCode, path(QStringLiteral("chosen.tcx")));

    EXPECT_EQ(dialog.proposedNames, QStringList({"TEMPO.csv", "TEMPO.csv", "TEMPO.tcx"}));
    const QByteArray csv = contents(path(QStringLiteral("mine.txt")));
    EXPECT_TRUE(csv.startsWith("Session Name,TEMPO\nSession Training Date,01/01/2008 01:30:00\n"));
    EXPECT_TRUE(csv.contains("\nSession Total Time,0:30:00.0\n"));
    EXPECT_EQ(contents(path(QStringLiteral("chosen.tcx"))), golden(QStringLiteral("rs200_nolaps_en_US.tcx")));
}

TEST_F(DataOutputExportTest, ADialogThatOutlivesItsExporterWritesNothing)
{
    insertAndSelect(fixtureSession(QStringLiteral("f6")));
    auto exporter = std::make_unique<DataOutput>();
    exporter->setSessionArrayController(&list);
    exporter->setSaveDialog(&dialog);
    exporter->saveFile();
    exporter.reset();

    dialog.completion(SaveDialog::kOKCode, path(QStringLiteral("c.csv")));
    EXPECT_TRUE(files().isEmpty());
}

// With nothing selected (an F6 transfer that added no session) the file is
// the de_DE golden one: its dates are empty, its durations carry tenths.
TEST_F(DataOutputExportTest, AutoExportDrawsAgainRatherThanReplaceAFile)
{
    EXPECT_FALSE(output.autoExport()); // off without a folder
    German();
    setSetting(QStringLiteral("VXAutoExportPath"), folder.path() + "//");
    writeFile(path(QStringLiteral("42")), "earlier export");
    drawNames({0x80000000u + 42, 2147483647u});

    const std::optional<SaveResult> result = output.autoExport();
    ASSERT_TRUE(result && result->ok) << result->errorMessage.toStdString();
    EXPECT_EQ(contents(path(QStringLiteral("42"))), "earlier export");
    EXPECT_EQ(contents(path(QStringLiteral("2147483647"))).toStdString(),
              golden(QStringLiteral("none_de_DE.plist")).toStdString());

    drawNames({42}); // every name drawn is taken: give up
    EXPECT_FALSE(output.autoExport()->ok);
    EXPECT_EQ(files().size(), 2);
}

TEST_F(DataOutputExportTest, AutoExportIntoAMissingFolderWritesNothing)
{
    const QString missing = path(QStringLiteral("gone"));
    setSetting(QStringLiteral("VXAutoExportPath"), missing);
    drawNames({7});

    const SaveResult result = output.autoExport().value();

    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.errorMessage.startsWith("cannot export session to " + missing + "/7: "));
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(failures.size(), 1);
}

TEST_F(DataOutputExportTest, AFailedWriteLeavesTheEarlierFileAsItWasAndIsAnnounced)
{
    insertAndSelect(fixtureSession(QStringLiteral("cs200")));
    const FullDisk fullDisk;
    output.setFileWriter(&fullDisk);
    writeFile(path(QStringLiteral("ride.csv")), "good old export\n");
    writeFile(path(QStringLiteral("ride.tcx")), "earlier");

    const SaveResult csv = output.exportDataToCSVFile(path(QStringLiteral("ride.csv")), false, false, false);
    const SaveResult tcx = output.exportTcxFile(path(QStringLiteral("ride.tcx")));
    setSetting(QStringLiteral("VXAutoExportPath"), folder.path());
    EXPECT_FALSE(output.autoExport()->ok);

    EXPECT_FALSE(csv.ok || tcx.ok);
    EXPECT_TRUE(csv.errorMessage.contains(path(QStringLiteral("ride.csv"))));
    EXPECT_EQ(contents(path(QStringLiteral("ride.csv"))), "good old export\n");
    EXPECT_EQ(contents(path(QStringLiteral("ride.tcx"))), "earlier");
    EXPECT_EQ(files(), QStringList({"ride.csv", "ride.tcx"})); // no temporary file, no empty claim
    EXPECT_EQ(failures.size(), 3);
    EXPECT_EQ(failures[1], tcx.errorMessage);
}

TEST_F(DataOutputExportTest, TcxNeedsASessionWithAStartDate)
{
    RunSession undated = fixtureSession(QStringLiteral("f6"));
    undated.sessionDate.reset();
    const QString target = path(QStringLiteral("undated.tcx"));
    const QString cannot = QStringLiteral("cannot export session to ") + target;

    EXPECT_EQ(DataOutput::exportSessionAsTcx(&undated, target).errorMessage,
              cannot + QStringLiteral(": the session has no start date"));
    EXPECT_EQ(output.exportTcxFile(target).errorMessage, cannot + QStringLiteral(": no session selected"));
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(DataOutputExportTest, FolderExportNamesFilesAfterTheRecordingInOrder)
{
    const RunSession *first = context.insertSession(fixtureSession(QStringLiteral("f6")));
    const RunSession *second = context.insertSession(fixtureSession(QStringLiteral("cs200")));
    using F = DataOutput::ExportFormat;
    const QString recording = QStringLiteral("/rec/Recording-080721.v2.wav");

    const QList<SaveResult> csv = DataOutput::exportSessionsToFolder({first, second}, recording, folder.path(),
                                                                     false, false, false);
    const QList<SaveResult> plist =
        DataOutput::exportSessionsToFolder({second}, QStringLiteral("x.wav"), folder.path(), true, true, true);
    const QList<SaveResult> tcx =
        DataOutput::exportSessionsToFolder({first}, QStringLiteral("t.wav"), folder.path(), F::Tcx, true, true);
    const QList<SaveResult> missing = DataOutput::exportSessionsToFolder(
        {first}, QStringLiteral("x.wav"), path(QStringLiteral("gone")), false, false, false);

    EXPECT_TRUE(csv.size() == 2 && csv[0].ok && csv[1].ok && plist.size() == 1 && plist[0].ok);
    EXPECT_TRUE(tcx.size() == 1 && tcx[0].ok);
    EXPECT_EQ(files(), QStringList({"Recording-080721.v2-1.csv", "Recording-080721.v2-2.csv", "t-1.tcx", "x-1.plist"}));
    EXPECT_TRUE(contents(path(QStringLiteral("Recording-080721.v2-2.csv"))).startsWith("Session Name,CS200\n"));
    EXPECT_EQ(contents(path(QStringLiteral("t-1.tcx"))), golden(QStringLiteral("f6_en_US.tcx")));
    ASSERT_EQ(missing.size(), 1);
    EXPECT_FALSE(missing[0].ok);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("gone"))));
}

} // namespace
