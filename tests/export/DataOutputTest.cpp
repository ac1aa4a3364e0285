#include "DataOutput.h"
#include "LocaleFixture.h"

#include <QDateTime>
#include <QTimeZone>

#include <optional>
#include <vector>

namespace {

class DataOutputTest : public LocaleFixture
{
};

struct DurationCase
{
    std::optional<qint64> tenths;
    bool withTenths;
    const char *expected;
};

TEST_F(DataOutputTest, TimeStringRoundsToWholeSecondsOrShowsTenths)
{
    const std::vector<DurationCase> cases = {
        {599, false, "0:01:00"},       {35995, false, "1:00:00"},
        {599, true, "0:00:59.9"},      {1000000, false, "27:46:40"},
        {1000000, true, "27:46:40.0"}, {1234, true, "0:02:03.4"},
        {1234, false, "0:02:03"},      {1235, false, "0:02:04"},
        {595, false, "0:01:00"},       {594, false, "0:00:59"},
        {360000, false, "10:00:00"},   {36605, false, "1:01:01"},
        {std::nullopt, false, "0:00:00"}, {std::nullopt, true, "0:00:00.0"},
        {-50, false, "0:00:00"},
    };
    for (const DurationCase &c : cases)
        EXPECT_EQ(DataOutput::timeStringFromSeconds(c.tenths, c.withTenths), c.expected)
            << "tenths " << c.tenths.value_or(-1) << " withTenths " << c.withTenths;
}

TEST_F(DataOutputTest, TimeStringTenthsUseTheLocaleSeparator)
{
    German();
    EXPECT_EQ(DataOutput::timeStringFromSeconds(599, true), "0:00:59,9");
    EXPECT_EQ(DataOutput::timeStringFromSeconds(599, false), "0:01:00");
}

struct DateCase
{
    QVariant saveDateFormat;
    bool fixed;
    const char *dateText;
    const char *birthdayText;
};

TEST_F(DataOutputTest, DatesFollowSaveDateFormatUnlessFixed)
{
    const QDateTime training(QDate(2008, 7, 21), QTime(18, 5, 33));
    const QDateTime birthday(QDate(1970, 3, 15), QTime(0, 0));
    const std::vector<DateCase> cases = {
        {QVariant(), false, "07/21/2008 18:05:33", "03/15/1970"},
        {QVariant(), true, "07/21/2008 18:05:33", "03/15/1970"},
        {QStringLiteral("Date DD/MM/YYYY"), false, "21/07/2008 18:05:33", "15/03/1970"},
        {QStringLiteral("Date DD/MM/YYYY"), true, "07/21/2008 18:05:33", "15/03/1970"},
        {QStringLiteral("Date MM/DD/YYYY"), false, "07/21/2008 18:05:33", "03/15/1970"},
        {QStringLiteral("date dd/mm/yyyy"), false, "07/21/2008 18:05:33", "03/15/1970"},
    };
    for (const DateCase &c : cases) {
        VXDefaults::settings().clear();
        if (c.saveDateFormat.isValid())
            setSetting(QStringLiteral("SaveDateFormat"), c.saveDateFormat);
        const QString setting = c.saveDateFormat.toString();
        EXPECT_EQ(DataOutput::dateStringFromDate(training, c.fixed), c.dateText)
            << qPrintable(setting) << " fixed " << c.fixed;
        EXPECT_EQ(DataOutput::birthdayStringFromDate(birthday), c.birthdayText)
            << qPrintable(setting);
    }
}

TEST_F(DataOutputTest, DatesAreWrittenInLocalTimeWhateverTheLocale)
{
    German();
    // The test binary runs with local time fixed at UTC+2.
    const QDateTime utc(QDate(2008, 12, 31), QTime(23, 30, 0), QTimeZone::utc());
    EXPECT_EQ(DataOutput::dateStringFromDate(utc, false), "01/01/2009 01:30:00");
    EXPECT_EQ(DataOutput::birthdayStringFromDate(utc), "01/01/2009");
}

TEST_F(DataOutputTest, AbsentDatesGiveNoText)
{
    EXPECT_EQ(DataOutput::dateStringFromDate(QDateTime(), true), QString());
    EXPECT_EQ(DataOutput::birthdayStringFromDate(QDateTime()), QString());
}

TEST_F(DataOutputTest, SpeedIsTwoDecimalsWithTheLocaleSeparator)
{
    EXPECT_EQ(DataOutput::speedFromData(3000), "12.00");
    EXPECT_EQ(DataOutput::speedFromData(3601), "10.00");
    EXPECT_EQ(DataOutput::speedFromData(3000, VXUnits(false)), "7.46");
    EXPECT_EQ(DataOutput::speedFromData(3000, VXUnits(true)), "12.00");
    German();
    EXPECT_EQ(DataOutput::speedFromData(3000), "12,00");
    EXPECT_EQ(DataOutput::speedFromData(2700, VXUnits(true)), "13,33");
}

TEST_F(DataOutputTest, SpeedOfAnAbsentOrZeroPaceIsEmpty)
{
    for (const std::optional<qint64> pace : {std::optional<qint64>(), std::optional<qint64>(0)}) {
        EXPECT_EQ(DataOutput::speedFromData(pace), QString());
        EXPECT_EQ(DataOutput::speedFromData(pace, VXUnits(false)), QString());
    }
}

TEST_F(DataOutputTest, PaceFollowsSaveDataWithTenthsNotTheCaller)
{
    EXPECT_EQ(DataOutput::paceFromData(3004), "0:05:00");
    EXPECT_EQ(DataOutput::paceFromData(std::nullopt), "0:00:00");
    setSetting(QStringLiteral("SaveDataWithTenths"), true);
    EXPECT_EQ(DataOutput::paceFromData(3004), "0:05:00.4");
    EXPECT_EQ(DataOutput::paceFromData(std::nullopt, VXUnits(false)), "0:00:00.0");
    setSetting(QStringLiteral("SaveDataWithTenths"), false);
    EXPECT_EQ(DataOutput::paceFromData(3004), "0:05:00");
}

TEST_F(DataOutputTest, PacePerMileIsTruncatedThroughSinglePrecision)
{
    setSetting(QStringLiteral("SaveDataWithTenths"), true);
    // 3000 / 0.621371192 = 4828.03: 4828 tenths.
    EXPECT_EQ(DataOutput::paceFromData(3000, VXUnits(false)), "0:08:02.8");
    EXPECT_EQ(DataOutput::paceFromData(3000, VXUnits(true)), "0:05:00.0");
    // 8583 / 0.621371192 = 13812.9996 becomes the float 13813 before truncation.
    EXPECT_EQ(DataOutput::paceFromData(8583, VXUnits(false)), "0:23:01.3");
}

struct DistanceCase
{
    bool german;
    std::optional<qint64> thousandths;
    const char *expected;
};

TEST_F(DataOutputTest, TotalDistanceHasLocaleDecimalsAndNoFactor)
{
    const std::vector<DistanceCase> cases = {
        {true, 5000, "5,000"},
        {true, 1234567, "1234,567"},
        {true, std::nullopt, "0,000"},
        {false, 5000, "5.00"},
        {false, std::nullopt, "0.00"},
        // x / 1000 in single precision: 0.005f lies below 0.005, 0.045f above 0.045.
        {false, 5, "0.00"},
        {false, 45, "0.05"},
    };
    for (const DistanceCase &c : cases) {
        c.german ? German() : UnitedStates();
        EXPECT_EQ(DataOutput::distanceFromData(c.thousandths), c.expected)
            << (c.german ? "de_DE " : "en_US ") << c.thousandths.value_or(-1);
    }
}

TEST_F(DataOutputTest, LapDistanceConvertsWhenTheLocaleIsNotMetric)
{
    EXPECT_EQ(DataOutput::distanceFromData(5000, VXUnits(false)), "3.11");
    // The locale, not the units object, decides metric or not.
    EXPECT_EQ(DataOutput::distanceFromData(5000, VXUnits(true)), "5.00");
    EXPECT_EQ(DataOutput::distanceFromData(std::nullopt, VXUnits(false)), "0.00");
    German();
    EXPECT_EQ(DataOutput::distanceFromData(5250, VXUnits(false)), "5,250");
    EXPECT_EQ(DataOutput::distanceFromData(std::nullopt, VXUnits(true)), "0,000");
}

TEST_F(DataOutputTest, LengthIsCentimetresOrRoundedInches)
{
    EXPECT_EQ(DataOutput::lengthFromData(180), "71");
    EXPECT_EQ(DataOutput::lengthFromData(2), "1");
    EXPECT_EQ(DataOutput::lengthFromData(std::nullopt), "0");
    German();
    EXPECT_EQ(DataOutput::lengthFromData(180), "180");
    EXPECT_EQ(DataOutput::lengthFromData(std::nullopt), QString());
}

TEST_F(DataOutputTest, WeightIsRoundedHalvesAwayFromZero)
{
    EXPECT_EQ(DataOutput::weightFromData(1650, VXUnits(true)), "75");
    EXPECT_EQ(DataOutput::weightFromData(1650, VXUnits(false)), "165");
    // 164.5 pounds: halves go up, not to the even neighbour.
    EXPECT_EQ(DataOutput::weightFromData(1645, VXUnits(false)), "165");
    EXPECT_EQ(DataOutput::weightFromData(std::nullopt, VXUnits(true)), "0");
    German();
    EXPECT_EQ(DataOutput::weightFromData(1650, VXUnits(true)), "75");
}

} // namespace
