#include "ExportFixture.h"
#include "TcxActivity.h"
#include "TcxSessions.h"

#include <functional>

// TCX exports against files written by hand in golden/tcx/, and the mapping's edge cases.
namespace {

struct TcxGoldenCase
{
    const char *golden;
    std::function<RunSession()> session;
    bool german;
};

void PrintTo(const TcxGoldenCase &c, std::ostream *out) { *out << c.golden << (c.german ? " in de_DE" : " in en_US"); }

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
    EXPECT_EQ(contents(written).toStdString(), golden(QStringLiteral("tcx/") + QLatin1String(c.golden)).toStdString());
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

TEST(TcxActivity, SharedCaloriesFollowTheTimesAndAddUpToTheSessionsCalories)
{
    const struct { int calories; QList<qint64> times; QList<int> shares; } cases[] = {
        {560, {9000, 9125, 9000}, {186, 188, 186}},
        {10, {1, 1, 1}, {3, 4, 3}},
        {7, {0, 0}, {4, 3}},             // no time at all: shared by count, halves up
        {5, {-100, 100}, {0, 5}},        // a negative time counts as none
        {5, {}, {}},
        {70000, {1, 1}, {32768, 32767}}, // at most what the format can hold
    };
    for (const auto &c : cases)
        EXPECT_EQ(TcxActivity::sharedCalories(c.calories, c.times), c.shares) << c.calories;
}

class TcxActivityTest : public LocaleFixture
{
protected:
    static TcxActivity activityOf(const RunSession &session)
    {
        return TcxActivity::fromSession(session, VXUnits(true)).value_or(TcxActivity());
    }
};

TEST_F(TcxActivityTest, LapsGoByNumberAndStartWhereTheEarlierOnesEnded)
{
    RunSession session = ExportSessions::rs200WithoutFootPod();
    // An unnumbered lap goes last; a negative time (an invalid CS200 lap time) is none.
    session.lap = {ExportSessions::lap(0, 100, 0, 0, 0), ExportSessions::lap(2, -50, 0, 0, 0),
                   ExportSessions::lap(1, 300, 0, 0, 0)};
    session.lap[0].lapNumber.reset();

    QList<qint64> times, starts;
    for (const TcxLap &made : activityOf(session).laps) {
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

    for (const TcxLap &made : activityOf(session).laps) {
        EXPECT_FALSE(made.averageHeartRate);
        EXPECT_EQ(made.maximumHeartRate.has_value(), made.cadence.has_value());
    }
}

TEST_F(TcxActivityTest, ACS200SessionWithoutLapsIsOneLapWithItsSpeedsAndCadences)
{
    const TcxActivity activity = activityOf(TcxSessions::cs200WithoutLaps());

    ASSERT_EQ(activity.laps.size(), 1);
    const TcxLap &whole = activity.laps.front();
    EXPECT_EQ(whole.timeTenths, 54321);
    EXPECT_DOUBLE_EQ(whole.distanceMetres, 40255.0);
    EXPECT_DOUBLE_EQ(*whole.averageSpeed, 40255.0 / 5000.0); // over the ride time
    EXPECT_DOUBLE_EQ(*whole.maximumSpeed, 45.2 * 1000.0 / 3600.0);
    EXPECT_EQ(whole.cadence, 85);
    EXPECT_EQ(whole.maximumBikeCadence, 110);
    EXPECT_EQ(whole.calories, 1200);
}

} // namespace
