#include "ExportFakes.h"
#include "ExportFixture.h"
#include "TcxActivity.h"
#include "TcxDocument.h"
#include "TcxSessions.h"

#include <functional>

// TCX exports against files written by hand in golden/tcx/, the mapping's
// edge cases, and the export commands.
namespace {

struct TcxGoldenCase
{
    const char *golden;
    std::function<RunSession()> session;
    bool german;
};

void PrintTo(const TcxGoldenCase &c, std::ostream *out)
{
    *out << c.golden << (c.german ? " in de_DE" : " in en_US");
}

class TcxGoldenTest : public ExportFixture, public ::testing::WithParamInterface<TcxGoldenCase>
{
};

TEST_P(TcxGoldenTest, MatchesTheFileWrittenByHand)
{
    const TcxGoldenCase &c = GetParam();
    c.german ? German() : UnitedStates();
    insertAndSelect(c.session());
    const QString written = path(QStringLiteral("export.tcx"));

    const SaveResult result = output.exportTcxFile(written);

    ASSERT_TRUE(result.ok) << result.errorMessage.toStdString();
    const QString golden = QStringLiteral(VENTRIX_EXPORT_GOLDEN_DIR "/tcx/") + QLatin1String(c.golden);
    EXPECT_EQ(contents(written).toStdString(), contents(golden).toStdString());
}

// Only CS200 distances depend on the locale; every number has "." in both.
INSTANTIATE_TEST_SUITE_P(
    Sessions, TcxGoldenTest,
    ::testing::Values(TcxGoldenCase{"f6.tcx", ExportSessions::f6, false},
                      TcxGoldenCase{"rs200_footpod_laps.tcx", TcxSessions::rs200WithFootPodAndLaps, false},
                      TcxGoldenCase{"rs200_footpod_laps.tcx", TcxSessions::rs200WithFootPodAndLaps, true},
                      TcxGoldenCase{"rs200_nolaps.tcx", TcxSessions::rs200WithoutLaps, false},
                      TcxGoldenCase{"cs200_cadence_en_US.tcx", TcxSessions::cs200WithCadence, false},
                      TcxGoldenCase{"cs200_cadence_de_DE.tcx", TcxSessions::cs200WithCadence, true}),
    [](const ::testing::TestParamInfo<TcxGoldenCase> &info) {
        return QString::fromLatin1(info.param.golden).section(u'.', 0, 0).toStdString()
               + (info.param.german ? "_de" : "_us");
    });

struct CalorieCase
{
    int calories;
    QList<qint64> times;
    QList<int> shares;
};

TEST(TcxActivity, SharedCaloriesFollowTheTimesAndAddUpToTheSessionsCalories)
{
    const CalorieCase cases[] = {
        {560, {9000, 9125, 9000}, {186, 188, 186}},
        {10, {1, 1, 1}, {3, 4, 3}},
        {7, {0, 0}, {4, 3}},           // no time at all: shared by count, halves up
        {5, {-100, 100}, {0, 5}},      // a negative time counts as none
        {0, {5, 5}, {0, 0}},
        {5, {}, {}},
        {70000, {1, 1}, {32768, 32767}}, // at most what the format can hold
    };
    for (const CalorieCase &c : cases)
        EXPECT_EQ(TcxActivity::sharedCalories(c.calories, c.times), c.shares) << c.calories;
}

class TcxActivityTest : public LocaleFixture
{
protected:
    static TcxActivity activityOf(const RunSession &session, bool metric = true)
    {
        const std::optional<TcxActivity> activity = TcxActivity::fromSession(session, VXUnits(metric));
        return activity.value_or(TcxActivity());
    }
    static Lap lap(std::optional<int> number, int time)
    {
        Lap made;
        made.lapNumber = number;
        made.timeInLap = time;
        return made;
    }
};

TEST_F(TcxActivityTest, LapsGoByNumberAndStartWhereTheEarlierOnesEnded)
{
    RunSession session = ExportSessions::rs200WithoutFootPod();
    // An unnumbered lap goes last; a negative time (an invalid CS200 lap time) is none.
    session.lap = {lap(std::nullopt, 100), lap(2, -50), lap(1, 300)};

    const TcxActivity activity = activityOf(session);

    QList<qint64> times, starts;
    for (const TcxLap &made : activity.laps) {
        times << made.timeTenths;
        starts << made.startOffsetTenths;
    }
    EXPECT_EQ(times, (QList<qint64>{300, 0, 100}));
    EXPECT_EQ(starts, (QList<qint64>{0, 300, 300}));
}

TEST_F(TcxActivityTest, HeartRatesAndCadencesTheFormatCannotHoldAreLeftOut)
{
    RunSession session = TcxSessions::cs200WithCadence();
    session.lap[0].averageHR = 0;
    session.lap[0].maxHR = 256;
    session.lap[0].cadenceAverage = 255;
    session.lap[1].averageHR.reset();

    const TcxActivity activity = activityOf(session);

    for (const TcxLap &made : activity.laps) {
        EXPECT_FALSE(made.averageHeartRate);
        EXPECT_EQ(made.maximumHeartRate.has_value(), made.cadence.has_value());
    }
}

TEST_F(TcxActivityTest, ACS200SessionWithoutLapsIsOneLapWithItsSpeedsAndCadences)
{
    const TcxActivity activity = activityOf(TcxSessions::cs200WithoutLaps());

    ASSERT_EQ(activity.laps.size(), 1);
    const TcxLap &whole = activity.laps.front();
    EXPECT_EQ(activity.sport, QStringLiteral("Biking"));
    EXPECT_EQ(whole.timeTenths, 54321);
    EXPECT_DOUBLE_EQ(whole.distanceMetres, 40255.0);
    EXPECT_DOUBLE_EQ(*whole.averageSpeed, 40255.0 / 5000.0); // over the ride time
    EXPECT_DOUBLE_EQ(*whole.maximumSpeed, 45.2 * 1000.0 / 3600.0);
    EXPECT_EQ(whole.cadence, 85);
    EXPECT_EQ(whole.maximumBikeCadence, 110);
    EXPECT_EQ(whole.calories, 1200);
    EXPECT_EQ(whole.triggerMethod, QStringLiteral("Manual"));
}

TEST_F(TcxActivityTest, NotesHoldTheNameAndCommentThatThereAre)
{
    RunSession session = TcxSessions::rs200WithoutLaps();
    session.comment = QStringLiteral("windy");
    EXPECT_EQ(activityOf(session).notes, QStringLiteral("TEMPO\nwindy"));
    session.sessionName.reset();
    EXPECT_EQ(activityOf(session).notes, QStringLiteral("windy"));
    session.comment = QString();

    const TcxActivity activity = activityOf(session);

    EXPECT_TRUE(activity.notes.isEmpty());
    EXPECT_FALSE(TcxDocument::text(activity, {}).contains("<Notes>"));
}

class TcxExportTest : public ExportFixture
{
protected:
    void SetUp() override
    {
        ExportFixture::SetUp();
        output.setSaveDialog(&dialog);
        QObject::connect(&output, &DataOutput::exportFailed,
                         [this](const QString &message) { failures << message; });
    }

    FakeSaveDialog dialog;
    QStringList failures;
};

TEST_F(TcxExportTest, SaveTcxFileAlertsUnlessExactlyOneSessionIsSelected)
{
    output.saveTcxFile();
    context.insertSession(ExportSessions::f6());
    context.insertSession(ExportSessions::cs200());
    list.setSelectionIndexes({0, 1});
    output.saveTcxFile();

    EXPECT_EQ(dialog.alerts, QStringList(2, QStringLiteral("Please only select one session|Ok")));
    EXPECT_TRUE(dialog.proposedNames.isEmpty());
}

TEST_F(TcxExportTest, SaveTcxFileProposesTheNameAndExportsOnlyWhenTheDialogSaysOK)
{
    insertAndSelect(TcxSessions::rs200WithoutLaps());
    output.saveTcxFile();
    ASSERT_EQ(dialog.proposedNames, QStringList{QStringLiteral("TEMPO.tcx")});
    dialog.completion(SaveDialog::kCancelCode, QString());
    EXPECT_TRUE(files().isEmpty());

    output.saveTcxFile();
    dialog.completion(SaveDialog::kOKCode, path(QStringLiteral("chosen.tcx")));

    EXPECT_EQ(contents(path(QStringLiteral("chosen.tcx"))),
              contents(QStringLiteral(VENTRIX_EXPORT_GOLDEN_DIR "/tcx/rs200_nolaps.tcx")));
}

TEST_F(TcxExportTest, AFailedWriteLeavesTheEarlierFileAndIsAnnounced)
{
    insertAndSelect(ExportSessions::f6());
    const QString target = path(QStringLiteral("f6.tcx"));
    writeFile(target, "earlier");
    const FullDisk fullDisk;
    output.setFileWriter(&fullDisk);

    const SaveResult result = output.exportTcxFile(target);

    EXPECT_FALSE(result.ok);
    EXPECT_EQ(contents(target), QByteArray("earlier"));
    EXPECT_EQ(files(), QStringList{QStringLiteral("f6.tcx")});
    EXPECT_EQ(failures, QStringList{result.errorMessage});
}

TEST_F(TcxExportTest, ASessionWithoutStartDateOrNoSessionIsNoActivity)
{
    RunSession undated = ExportSessions::f6();
    undated.sessionDate.reset();
    const QString target = path(QStringLiteral("undated.tcx"));

    const SaveResult result = DataOutput::exportSessionAsTcx(&undated, target);
    const SaveResult none = output.exportTcxFile(target);

    const QString cannot = QStringLiteral("cannot export session to ") + target;
    EXPECT_EQ(result.errorMessage, cannot + QStringLiteral(": the session has no start date"));
    EXPECT_EQ(none.errorMessage, cannot + QStringLiteral(": no session selected"));
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(TcxExportTest, FolderExportNamesTcxFilesAfterTheRecording)
{
    const RunSession f6 = ExportSessions::f6();
    const RunSession cs200 = TcxSessions::cs200WithCadence();

    const QList<SaveResult> results = DataOutput::exportSessionsToFolder(
        {&f6, &cs200}, QStringLiteral("/somewhere/Recording-080721.wav"), folder.path(),
        DataOutput::ExportFormat::Tcx, true, true);

    ASSERT_EQ(results.size(), 2);
    EXPECT_TRUE(results[0].ok && results[1].ok);
    EXPECT_EQ(files(), (QStringList{QStringLiteral("Recording-080721-1.tcx"),
                                    QStringLiteral("Recording-080721-2.tcx")}));
    EXPECT_EQ(contents(path(QStringLiteral("Recording-080721-1.tcx"))),
              contents(QStringLiteral(VENTRIX_EXPORT_GOLDEN_DIR "/tcx/f6.tcx")));
}

} // namespace
