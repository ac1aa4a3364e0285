#include "ExportRows.h"
#include "ExportSessions.h"
#include "LocaleFixture.h"

namespace {

class ExportRowsTest : public LocaleFixture
{
protected:
    static QList<ExportRow> rows(const RunSession &session) { return ExportRows(false, false).rowsForSession(&session); }
    static QStringList group(const QList<ExportRow> &rows, const QString &name)
    {
        QStringList found;
        for (const ExportRow &row : rows) {
            if (row.group == name)
                found << row.label + u'=' + row.value;
        }
        return found;
    }
    static bool hasGroupStartingWith(const QList<ExportRow> &rows, const QString &prefix)
    {
        return std::any_of(rows.begin(), rows.end(), [&](const ExportRow &r) { return r.group.startsWith(prefix); });
    }
};

TEST_F(ExportRowsTest, OnlyTheUnnumberedZoneOfASingleZoneSessionStandsInForZoneOne)
{
    RunSession session = ExportSessions::rs200WithoutFootPod();
    session.limitZone = {ExportSessions::limitZone(std::nullopt, 100, 110, 10, 20, 30),
                         ExportSessions::limitZone(2, 120, 130, 40, 50, 60)};

    const QList<ExportRow> exported = rows(session);

    EXPECT_EQ(group(exported, QStringLiteral("LimitZone 1")),
              QStringList({"Low HR Limit=", "High HR Limit=", "Time Below Limits=0:00:00",
                           "Time Inside Limits=0:00:00", "Time Above Limits=0:00:00"}));
    EXPECT_EQ(group(exported, QStringLiteral("LimitZone 2")).first(), "Low HR Limit=120");
}

TEST_F(ExportRowsTest, NoLimitsWritesOnlyTheTypeButTheCS200sNoLimitsIsNotTheSame)
{
    RunSession rs200 = ExportSessions::rs200WithoutFootPod();
    rs200.sessionLimitType = QStringLiteral("No Limits");
    RunSession cs200 = ExportSessions::cs200();
    cs200.sessionLimitType = QStringLiteral("No limits");

    EXPECT_EQ(group(rows(rs200), QStringLiteral("Limits")), QStringList({"Type=No Limits"}));
    EXPECT_FALSE(hasGroupStartingWith(rows(rs200), QStringLiteral("LimitZone")));
    EXPECT_TRUE(hasGroupStartingWith(rows(cs200), QStringLiteral("LimitZone 1")));
    cs200.limitZone.clear();
    EXPECT_FALSE(hasGroupStartingWith(rows(cs200), QStringLiteral("LimitZone")));
}

TEST_F(ExportRowsTest, LapRowsFollowTheReportedLapCount)
{
    RunSession session = ExportSessions::rs200WithoutFootPod();
    session.sessionLaps = 1;
    EXPECT_FALSE(hasGroupStartingWith(rows(session), QStringLiteral("Lap ")));

    // Laps the store does not hold still get their rows, empty.
    session.sessionLaps = 3;
    EXPECT_EQ(group(rows(session), QStringLiteral("Lap 3")),
              QStringList({"Time in Lap=0:00:00", "Average HR=", "End HR=", "Maximum HR="}));

    // A damaged store's count does not build rows without end.
    session.sessionLaps = 2'000'000'000;
    const QList<ExportRow> many = rows(session);
    EXPECT_EQ(group(many, QStringLiteral("Lap 255")).size(), 4);
    EXPECT_TRUE(group(many, QStringLiteral("Lap 256")).isEmpty());
}

TEST_F(ExportRowsTest, PaceLimitWithoutValueHasNoSpeedAndAZeroPace)
{
    RunSession session = ExportSessions::rs200WithFootPod();
    session.limitZone = {ExportSessions::limitZone(1, 0, 3000, 0, 0, 0)};
    session.limitZone.front().limitLow.reset();

    const QStringList zone = group(rows(session), QStringLiteral("LimitZone 1"));

    EXPECT_EQ(zone.mid(0, 4), QStringList({"Low Speed Limit=", "High Speed Limit=7.5",
                                           "Low Pace Limit=0.0", "High Pace Limit=8.0"}));
}

TEST_F(ExportRowsTest, AnF6WithoutItsZoneWritesNoZoneLimits)
{
    RunSession session = ExportSessions::f6();
    session.sportZone.clear();

    EXPECT_EQ(group(rows(session), QStringLiteral("Limits")), QStringList({"Type="}));
}

} // namespace
