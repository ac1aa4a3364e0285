#include "DataRowBuilder.h"
#include "ExampleSessions.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

const DataSwitches kBpmAndSpeed{0, 0};
const DataSwitches kPercentAndPace{1, 1};

DataRow plain(const char *label, const QString &value)
{
    return DataRow::text(QString::fromUtf8(label), value);
}

DataRow styled(const char *label, const char *value)
{
    return {QString::fromUtf8(label), {QString::fromUtf8(value), true}};
}

DataRow heading(const char *label)
{
    return DataRow::heading(QString::fromUtf8(label));
}

const DataRow separator = DataRow::separator();

void expectRows(const QList<DataRow> &actual, const std::vector<DataRow> &expected)
{
    for (size_t i = 0; i < std::min<size_t>(actual.size(), expected.size()); ++i) {
        EXPECT_EQ(actual[i].label, expected[i].label) << "row " << i;
        EXPECT_EQ(actual[i].value.text, expected[i].value.text) << "row " << i << " " << expected[i].label.toStdString();
        EXPECT_EQ(actual[i].value.smallLastCharacter, expected[i].value.smallLastCharacter) << "row " << i;
    }
    EXPECT_EQ(size_t(actual.size()), expected.size());
}

QList<DataRow> rowsFor(const std::vector<const RunSession *> &sessions, DataSwitches switches, bool metric = true)
{
    const VXUnits units(metric);
    return DataRowBuilder(units, switches).populateDataRowArray(QList<const RunSession *>(sessions.begin(), sessions.end()));
}

class DataRowBuilderTest : public ::testing::Test
{
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::Ireland)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(DataRowBuilderTest, NoSelectionGivesNoRows)
{
    EXPECT_TRUE(rowsFor({}, kBpmAndSpeed).isEmpty());
}

TEST_F(DataRowBuilderTest, F6ShowsTimeHeartRatesAndCaloriesOnly)
{
    const RunSession f6 = ExampleSessions::f6();
    expectRows(rowsFor({&f6}, kBpmAndSpeed), {
        styled("Total time", "1:01:01.5"),
        plain("Average HR", "145"),
        plain("Maximum HR", "170"),
        plain("Calories", "650 kcal"),
    });
}

TEST_F(DataRowBuilderTest, RS200WithFootPodHRLimitsAndLaps)
{
    const RunSession rs200 = ExampleSessions::rs200();
    expectRows(rowsFor({&rs200}, kBpmAndSpeed), {
        styled("Total time", "0:30:00.0"),
        plain("Average HR", "150"),
        plain("Maximum HR", "180"),
        plain("Calories", "400 kcal"),
        separator,
        plain("Total distance", "5.000 km"),
        plain("Average speed", "10.0 km/h"),
        plain("Maximum speed", "15.0 km/h"),
        separator,
        heading("Sport Zones"),
        plain("Zone 1  (50-60%)", "0:05:00"),
        plain("Zone 2  (60-70%)", "0:10:00"),
        plain("Zone 3  (70-80%)", "0:20:00"),
        plain("Zone 4  (80-90%)", "0:10:00"),
        plain("Zone 5  (90-100%)", "0:05:00"),
        separator,
        heading("HR Limits"),
        plain("Zone 1  (120-160)", QStringLiteral("\u2193 0:03:00  \u2192 0:20:00  \u2191 0:07:00")),
        plain("Sport Zone 3", QStringLiteral("\u2193 0:01:00  \u2192 0:02:00  \u2191 0:27:00")),
        plain("Zone 3  (130-150)", QStringLiteral("\u2193 0:05:00  \u2192 0:15:00  \u2191 0:10:00")),
        separator,
        heading("Lap 1"),
        styled("Time in lap", "0:15:00.5"),
        plain("Average HR", "148"),
        plain("End HR", "165"),
        plain("Maximum HR", "170"),
        plain("Distance", "2.500 km"),
        plain("Average speed", "10.0 km/h"),
        plain("End speed", "10.3 km/h"),
        separator,
        heading("Lap 2"),
        styled("Time in lap", "0:14:59.5"),
        plain("Average HR", "152"),
        plain("Maximum HR", "180"),
        plain("Distance", "2.500 km"),
        plain("Average speed", "10.0 km/h"),
        plain("End speed", "-"),
    });
}

TEST_F(DataRowBuilderTest, CS200ShowsRideDistanceCadenceAndLapSpeedsWithoutZones)
{
    const RunSession cs200 = ExampleSessions::cs200();
    expectRows(rowsFor({&cs200}, kBpmAndSpeed), {
        styled("Total time", "1:00:00.0"),
        styled("Ride time", "0:55:00.0"),
        plain("Average HR", "140"),
        plain("Maximum HR", "175"),
        plain("Calories", "800 kcal"),
        separator,
        plain("Total distance", "27.500 km"),
        plain("Average speed", "30.0 km/h"),
        plain("Maximum speed", "45.2 km/h"),
        separator,
        plain("Average cadence", "85 rpm"),
        plain("Maximum cadence", "110 rpm"),
        separator,
        heading("Lap 1"),
        styled("Time in lap", "0:30:00.0"),
        plain("Average HR", "138"),
        plain("Maximum HR", "170"),
        plain("Distance", "15.000 km"),
        plain("Average speed", "30.0 km/h"),
        plain("End speed", "30.0 km/h"),
        plain("Average cadence", "84 rpm"),
        separator,
        heading("Lap 2"),
        styled("Time in lap", "0:25:00.0"),
        plain("Average HR", "142"),
        plain("Maximum HR", "175"),
        plain("Distance", "12.000 km"),
        plain("Average speed", "28.8 km/h"),
        plain("End speed", "25.5 km/h"),
    });
}

TEST_F(DataRowBuilderTest, SeveralSessionsShowSumsOnly)
{
    const RunSession f6 = ExampleSessions::f6();
    const RunSession rs200 = ExampleSessions::rs200();
    const RunSession cs200 = ExampleSessions::cs200();
    expectRows(rowsFor({&f6, &rs200}, kBpmAndSpeed), {
        styled("Total time", "1:31:01.5"),
        plain("Calories", "1050 kcal"),
        separator,
        plain("Total distance", "5.000 km"),
    });
    // Ride time appears with the one session that has it.
    expectRows(rowsFor({&cs200, &f6}, kBpmAndSpeed), {
        styled("Total time", "2:01:01.5"),
        styled("Ride time", "0:55:00.0"),
        plain("Calories", "1450 kcal"),
        separator,
        plain("Total distance", "27.500 km"),
    });
}

TEST_F(DataRowBuilderTest, PercentAndPaceSwitchTheirRows)
{
    RunSession rs200 = ExampleSessions::rs200();
    rs200.sessionAverageHR = 145;
    const QList<DataRow> rows = rowsFor({&rs200}, kPercentAndPace);
    EXPECT_EQ(rows[1].value.text, "76%");
    EXPECT_EQ(rows[2].value.text, "95%");
    EXPECT_EQ(rows[6].value.text, "06:00 min/km");
    EXPECT_EQ(rows[7].value.text, "04:00 min/km");
    EXPECT_EQ(rows[24].value.text, "87%");  // lap 1 end HR 165
    EXPECT_EQ(rows[28].value.text, "05:50 min/km");
    EXPECT_EQ(rows.last().value.text, "-"); // a pace of 0 has no pace either
}

TEST_F(DataRowBuilderTest, UnitsAndLocaleFormatDistances)
{
    const RunSession rs200 = ExampleSessions::rs200();
    const RunSession cs200 = ExampleSessions::cs200();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QList<DataRow> metric = rowsFor({&rs200}, kBpmAndSpeed);
    EXPECT_EQ(metric[0].value.text, "0:30:00,0");
    EXPECT_EQ(metric[5].value.text, "5,000 km");
    EXPECT_EQ(metric[26].value.text, "2.500 km"); // lap distances are plain
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(rowsFor({&rs200}, kBpmAndSpeed, false)[5].value.text, "3.11 mi");
    EXPECT_EQ(rowsFor({&rs200}, kPercentAndPace, false)[6].value.text, "09:39 min/mi");
    // A CS200 distance is in the watch's own unit: no factor.
    EXPECT_EQ(rowsFor({&cs200}, kBpmAndSpeed, false)[6].value.text, "27.50 mi");
}

TEST_F(DataRowBuilderTest, PaceLimitLabelsFollowTheSpeedSwitch)
{
    RunSession rs200 = ExampleSessions::rs200();
    rs200.sessionLimitType = QStringLiteral("Pace Limits");
    rs200.limitZone = {ExampleSessions::limitZone(1, 3000, 2400, 600, 1200, 600),
                       ExampleSessions::limitZone(2, 0, 2400, 600, 1200, 600)};
    const QList<DataRow> speed = rowsFor({&rs200}, kBpmAndSpeed);
    EXPECT_EQ(speed[17].label, "Zone 1  (12.0-15.0 km/h)");
    EXPECT_EQ(speed[18].label, "Zone 2  (--15.0 km/h)"); // a limit of 0 has no speed
    EXPECT_EQ(rowsFor({&rs200}, kPercentAndPace)[17].label, "Zone 1  (5.0-4.0 min/km)");
}

TEST_F(DataRowBuilderTest, NoLimitsHaveNoLimitBlockAndEmptyLimitsOnlyTheHeading)
{
    RunSession rs200 = ExampleSessions::rs200();
    rs200.sessionLimitType = QStringLiteral("No Limits");
    rs200.sessionLaps = 1;
    EXPECT_EQ(rowsFor({&rs200}, kBpmAndSpeed).last().label, "Zone 5  (90-100%)");
    rs200.sessionLimitType = QStringLiteral("HR Limits");
    rs200.limitZone.clear();
    EXPECT_EQ(rowsFor({&rs200}, kBpmAndSpeed).last(), heading("HR Limits"));
}

TEST_F(DataRowBuilderTest, AbsentValuesShowDash)
{
    RunSession f6 = ExampleSessions::f6();
    f6.sessionAverageHR.reset();
    EXPECT_EQ(rowsFor({&f6}, kBpmAndSpeed)[1].value.text, "-");
    f6.userMaxHR = 0;
    EXPECT_EQ(rowsFor({&f6}, kPercentAndPace)[2].value.text, "-");
    f6.userMaxHR.reset();
    EXPECT_EQ(rowsFor({&f6}, kPercentAndPace)[2].value.text, "-");
}

TEST_F(DataRowBuilderTest, MissingOrImplausibleLapsAndZones)
{
    RunSession rs200 = ExampleSessions::rs200();
    rs200.sessionLaps = 3;
    rs200.sportZone[0].zoneNumber = 6; // zone 3 is missing now, five members remain
    const QList<DataRow> rows = rowsFor({&rs200}, kBpmAndSpeed);
    EXPECT_EQ(rows[12], plain("Zone 3  (0-0%)", "0:00:00"));
    EXPECT_EQ(rows[rows.size() - 5], plain("Average HR", "-")); // lap 3
    rs200.sessionLaps = INT_MAX;
    rs200.sessionPaceData = false;
    const QList<DataRow> capped = rowsFor({&rs200}, kBpmAndSpeed);
    EXPECT_EQ(capped[capped.size() - 4].label, QStringLiteral("Lap %1").arg(DataRowBuilder::kMaxLaps));
}

} // namespace
