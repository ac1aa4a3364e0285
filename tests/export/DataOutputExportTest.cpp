#include "ExportFakes.h"
#include "ExportFixture.h"

#include <deque>
#include <memory>

namespace {

class DataOutputExportTest : public ExportFixture
{
protected:
    void SetUp() override
    {
        ExportFixture::SetUp();
        output.setSaveDialog(&dialog);
    }
    // Counts the failures the exporter announces.
    void countFailures()
    {
        QObject::connect(&output, &DataOutput::exportFailed, [this] { ++failures; });
    }
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

    FakeSaveDialog dialog;
    int failures = 0;
};

TEST_F(DataOutputExportTest, SaveFileAlertsUnlessExactlyOneSessionIsSelected)
{
    output.saveFile();
    insertAndSelect(ExportSessions::f6());
    const RunSession *second = context.insertSession(ExportSessions::cs200());
    list.setSelectionIndexes({0, int(list.arrangedSessions().indexOf(second))});
    output.saveFile();

    EXPECT_EQ(dialog.alerts, QStringList(2, QStringLiteral("Please only select one session|Ok")));
    EXPECT_TRUE(dialog.proposedNames.isEmpty());
}

TEST_F(DataOutputExportTest, SaveFileProposesTheNameAndExportsWhenTheDialogSaysOK)
{
    insertAndSelect(ExportSessions::rs200WithFootPod());
    setSetting(QStringLiteral("SaveTimeWithTenths"), true);
    setSetting(QStringLiteral("SaveDateFormat"), QStringLiteral("Date DD/MM/YYYY"));

    output.saveFile();
    ASSERT_EQ(dialog.proposedNames, QStringList({"MYRUN.csv"}));
    EXPECT_TRUE(files().isEmpty());
    dialog.completion(SaveDialog::kOKCode, path(QStringLiteral("mine.txt")));

    const QByteArray csv = contents(path(QStringLiteral("mine.txt")));
    EXPECT_TRUE(csv.startsWith("Session Name,MYRUN\nSession Training Date,01/07/2008 07:05:03\n"));
    EXPECT_TRUE(csv.contains("\nSession Total Time,0:45:12.5\n"));
}

TEST_F(DataOutputExportTest, CancellingTheDialogWritesNothing)
{
    insertAndSelect(ExportSessions::f6());
    auto exporter = std::make_unique<DataOutput>();
    exporter->setSessionArrayController(&list);
    exporter->setSaveDialog(&dialog);
    exporter->saveFile();

    EXPECT_FALSE(exporter->savePanelDidEnd(SaveDialog::kCancelCode, path(QStringLiteral("a.csv"))));
    dialog.completion(SaveDialog::kCancelCode, path(QStringLiteral("b.csv")));
    exporter.reset();
    dialog.completion(SaveDialog::kOKCode, path(QStringLiteral("c.csv"))); // the exporter is gone
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(DataOutputExportTest, AutoExportIsOffWithoutAFolder)
{
    insertAndSelect(ExportSessions::f6());
    EXPECT_FALSE(output.autoExport());
    setSetting(QStringLiteral("VXAutoExportPath"), QString());
    EXPECT_FALSE(output.autoExport());
    EXPECT_TRUE(files().isEmpty());
}

// With nothing selected (an F6 transfer that added no session) the file is
// the de_DE golden one: its dates are empty, its durations carry tenths.
TEST_F(DataOutputExportTest, AutoExportDrawsAgainRatherThanReplaceAFile)
{
    German();
    setSetting(QStringLiteral("VXAutoExportPath"), folder.path() + "//");
    writeFile(path(QStringLiteral("42")), "earlier export");
    drawNames({0x80000000u + 42, 2147483647u});

    const std::optional<SaveResult> result = output.autoExport();

    ASSERT_TRUE(result && result->ok) << result->errorMessage.toStdString();
    EXPECT_EQ(contents(path(QStringLiteral("42"))), "earlier export");
    EXPECT_EQ(contents(path(QStringLiteral("2147483647"))).toStdString(),
              contents(VENTRIX_EXPORT_GOLDEN_DIR "/none_de_DE.plist").toStdString());
    EXPECT_EQ(files().size(), 2);
}

TEST_F(DataOutputExportTest, AutoExportNamesAreDigitsOnly)
{
    setSetting(QStringLiteral("VXAutoExportPath"), folder.path());
    ASSERT_TRUE(output.autoExport()->ok);
    ASSERT_TRUE(output.autoExport()->ok);

    ASSERT_EQ(files().size(), 2);
    for (const QString &name : files()) {
        bool ok = false;
        EXPECT_LT(name.toULongLong(&ok), 1ull << 31);
        EXPECT_TRUE(ok && (name == u"0" || !name.startsWith(u'0'))) << name.toStdString();
    }
}

TEST_F(DataOutputExportTest, AutoExportIntoAMissingFolderWritesNothing)
{
    countFailures();
    const QString missing = path(QStringLiteral("gone"));
    setSetting(QStringLiteral("VXAutoExportPath"), missing);
    drawNames({7});

    const std::optional<SaveResult> result = output.autoExport();

    ASSERT_TRUE(result);
    EXPECT_FALSE(result->ok);
    EXPECT_TRUE(result->errorMessage.startsWith("cannot export session to " + missing + "/7: "));
    EXPECT_TRUE(files().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(failures, 1);
}

TEST_F(DataOutputExportTest, AutoExportGivesUpWhenEveryDrawnNameIsTaken)
{
    setSetting(QStringLiteral("VXAutoExportPath"), folder.path());
    writeFile(path(QStringLiteral("5")), "kept");
    drawNames({5});

    EXPECT_FALSE(output.autoExport()->ok);
    EXPECT_EQ(contents(path(QStringLiteral("5"))), "kept");
}

TEST_F(DataOutputExportTest, AFailedWriteLeavesTheEarlierFileAsItWas)
{
    insertAndSelect(ExportSessions::cs200());
    const FullDisk fullDisk;
    output.setFileWriter(&fullDisk);
    countFailures();
    writeFile(path(QStringLiteral("ride.csv")), "good old export\n");

    const SaveResult result = output.exportDataToCSVFile(path(QStringLiteral("ride.csv")), false, false, false);

    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.errorMessage.contains(path(QStringLiteral("ride.csv"))));
    EXPECT_EQ(contents(path(QStringLiteral("ride.csv"))), "good old export\n");
    setSetting(QStringLiteral("VXAutoExportPath"), folder.path());
    EXPECT_FALSE(output.autoExport()->ok);
    EXPECT_EQ(files(), QStringList({"ride.csv"})); // no temporary file, no empty claim
    EXPECT_EQ(failures, 2);
}

TEST_F(DataOutputExportTest, FolderExportNamesFilesAfterTheRecordingInOrder)
{
    const RunSession *first = context.insertSession(ExportSessions::f6());
    const RunSession *second = context.insertSession(ExportSessions::cs200());

    const QList<SaveResult> csv = DataOutput::exportSessionsToFolder(
        {first, second}, QStringLiteral("/rec/Recording-080721.v2.wav"), folder.path(), false, false, false);
    const QList<SaveResult> plist = DataOutput::exportSessionsToFolder(
        {second}, QStringLiteral("x.wav"), folder.path(), true, true, true);
    const QList<SaveResult> missing = DataOutput::exportSessionsToFolder(
        {first}, QStringLiteral("x.wav"), path(QStringLiteral("gone")), false, false, false);

    EXPECT_TRUE(csv.size() == 2 && csv[0].ok && csv[1].ok && plist.size() == 1 && plist[0].ok);
    EXPECT_EQ(files(), QStringList({"Recording-080721.v2-1.csv", "Recording-080721.v2-2.csv", "x-1.plist"}));
    EXPECT_TRUE(contents(path(QStringLiteral("Recording-080721.v2-2.csv"))).startsWith("Session Name,CS200\n"));
    ASSERT_EQ(missing.size(), 1);
    EXPECT_FALSE(missing[0].ok);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("gone"))));
}

} // namespace
