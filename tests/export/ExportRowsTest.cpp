#include "ExportFixture.h"
#include "ExportRows.h"

namespace {

class ExportRowsTest : public LocaleFixture
{
protected:
    // The "label=value" texts of one group of the session's rows.
    static QStringList group(const RunSession &session, const QString &name)
    {
        QStringList found;
        for (const ExportRow &row : ExportRows(false, false).rowsForSession(&session)) {
            if (row.group == name)
                found << row.label + u'=' + row.value;
        }
        return found;
    }
};

TEST_F(ExportRowsTest, OnlyTheUnnumberedZoneOfASingleZoneSessionStandsInForZoneOne)
{
    RunSession session = ExportSessions::rs200WithoutFootPod();
    session.limitZone = {ExportSessions::limitZone(std::nullopt, 100, 110, 10, 20, 30),
                         ExportSessions::limitZone(2, 120, 130, 40, 50, 60)};

    EXPECT_EQ(group(session, QStringLiteral("LimitZone 1")),
              QStringList({"Low HR Limit=", "High HR Limit=", "Time Below Limits=0:00:00",
                           "Time Inside Limits=0:00:00", "Time Above Limits=0:00:00"}));
    EXPECT_EQ(group(session, QStringLiteral("LimitZone 2")).first(), "Low HR Limit=120");
}

TEST_F(ExportRowsTest, NoLimitsWritesOnlyTheTypeButTheCS200sNoLimitsIsNotTheSame)
{
    RunSession rs200 = ExportSessions::rs200WithoutFootPod();
    rs200.sessionLimitType = QStringLiteral("No Limits");
    RunSession cs200 = ExportSessions::cs200();
    cs200.sessionLimitType = QStringLiteral("No limits");
    RunSession f6 = ExportSessions::f6();
    f6.sportZone.clear();

    EXPECT_EQ(group(rs200, QStringLiteral("Limits")), QStringList({"Type=No Limits"}));
    EXPECT_TRUE(group(rs200, QStringLiteral("LimitZone 1")).isEmpty());
    EXPECT_FALSE(group(cs200, QStringLiteral("LimitZone 1")).isEmpty());
    EXPECT_EQ(group(f6, QStringLiteral("Limits")), QStringList({"Type="})); // an F6 without its zone
}

TEST_F(ExportRowsTest, LapRowsFollowTheReportedLapCountUpToTheWatchsLimit)
{
    RunSession session = ExportSessions::rs200WithoutFootPod();
    session.sessionLaps = 1;
    EXPECT_TRUE(group(session, QStringLiteral("Lap 1")).isEmpty());

    // Laps the store does not hold still get their rows, empty.
    session.sessionLaps = 3;
    EXPECT_EQ(group(session, QStringLiteral("Lap 3")),
              QStringList({"Time in Lap=0:00:00", "Average HR=", "End HR=", "Maximum HR="}));

    // A damaged store's count does not build rows without end.
    session.sessionLaps = 2'000'000'000;
    EXPECT_EQ(group(session, QStringLiteral("Lap 255")).size(), 4);
    EXPECT_TRUE(group(session, QStringLiteral("Lap 256")).isEmpty());
}

TEST_F(ExportRowsTest, PaceLimitWithoutValueHasNoSpeedAndAZeroPace)
{
    RunSession session = ExportSessions::rs200WithFootPod();
    session.limitZone = {ExportSessions::limitZone(1, 0, 3000, 0, 0, 0)};
    session.limitZone.front().limitLow.reset();

    EXPECT_EQ(group(session, QStringLiteral("LimitZone 1")).mid(0, 4),
              QStringList({"Low Speed Limit=", "High Speed Limit=7.5", "Low Pace Limit=0.0", "High Pace Limit=8.0"}));
}

} // namespace
