#include "ExportFixture.h"

#include <QTimeZone>

#include <functional>

namespace {

using DataOutputTest = LocaleFixture;

TEST_F(DataOutputTest, TimeStringRoundsToWholeSecondsOrShowsTenths)
{
    const struct { std::optional<qint64> tenths; bool withTenths; const char *expected; } cases[] = {
        {599, false, "0:01:00"},       {35995, false, "1:00:00"},      {599, true, "0:00:59.9"},
        {1000000, false, "27:46:40"},  {1000000, true, "27:46:40.0"},  {1235, false, "0:02:04"},
        {594, false, "0:00:59"},       {std::nullopt, true, "0:00:00.0"}, {-50, false, "0:00:00"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DataOutput::timeStringFromSeconds(c.tenths, c.withTenths), c.expected) << c.expected;
    German();
    EXPECT_EQ(DataOutput::timeStringFromSeconds(599, true), "0:00:59,9");
}

TEST_F(DataOutputTest, DatesFollowSaveDateFormatUnlessFixedAndAreLocalTime)
{
    const QDateTime training(QDate(2008, 7, 21), QTime(18, 5, 33));
    const QDateTime birthday(QDate(1970, 3, 15), QTime(0, 0));
    const struct { const char *format; bool fixed; const char *date; const char *birthday; } cases[] = {
        {nullptr, false, "07/21/2008 18:05:33", "03/15/1970"},
        {"Date DD/MM/YYYY", false, "21/07/2008 18:05:33", "15/03/1970"},
        {"Date DD/MM/YYYY", true, "07/21/2008 18:05:33", "15/03/1970"},
        {"date dd/mm/yyyy", false, "07/21/2008 18:05:33", "03/15/1970"},
    };
    for (const auto &c : cases) {
        VXDefaults::settings().clear();
        if (c.format)
            setSetting(QStringLiteral("SaveDateFormat"), QString::fromLatin1(c.format));
        EXPECT_EQ(DataOutput::dateStringFromDate(training, c.fixed), c.date) << c.format << c.fixed;
        EXPECT_EQ(DataOutput::birthdayStringFromDate(birthday), c.birthday) << c.format;
    }
    EXPECT_EQ(DataOutput::dateStringFromDate(QDateTime(), true), QString());
    EXPECT_EQ(DataOutput::birthdayStringFromDate(QDateTime()), QString());
    // The test binary runs with local time fixed at UTC+2.
    German();
    const QDateTime utc(QDate(2008, 12, 31), QTime(23, 30, 0), QTimeZone::utc());
    EXPECT_EQ(DataOutput::dateStringFromDate(utc, false), "01/01/2009 01:30:00");
}

struct ValueCase
{
    bool german;
    bool tenthsSetting;
    std::function<QString()> format;
    const char *expected;
};

TEST_F(DataOutputTest, ValuesHaveTheirPrecisionRoundingAndLocaleSeparator)
{
    using D = DataOutput;
    const VXUnits metric(true), imperial(false);
    const std::vector<ValueCase> cases = {
        {false, false, [] { return D::speedFromData(3601); }, "10.00"},
        {false, false, [&] { return D::speedFromData(3000, imperial); }, "7.46"},
        {true, false, [&] { return D::speedFromData(2700, metric); }, "13,33"},
        // An absent or zero pace has no speed rather than "inf".
        {false, false, [] { return D::speedFromData(0); }, ""},
        {false, false, [&] { return D::speedFromData(std::nullopt, imperial); }, ""},
        // "SaveDataWithTenths", not the caller, decides the pace's tenths.
        {false, false, [] { return D::paceFromData(3004); }, "0:05:00"},
        {false, true, [] { return D::paceFromData(3004); }, "0:05:00.4"},
        {false, true, [&] { return D::paceFromData(std::nullopt, imperial); }, "0:00:00.0"},
        // Per mile, truncated through single precision: 8583 / 0.621371192 = 13812.9996 -> 13813f.
        {false, true, [&] { return D::paceFromData(3000, imperial); }, "0:08:02.8"},
        {false, true, [&] { return D::paceFromData(8583, imperial); }, "0:23:01.3"},
        {true, false, [] { return D::distanceFromData(1234567); }, "1234,567"},
        {true, false, [] { return D::distanceFromData(std::nullopt); }, "0,000"},
        // x / 1000 in single precision: 0.005f lies below 0.005, 0.045f above 0.045.
        {false, false, [] { return D::distanceFromData(5); }, "0.00"},
        {false, false, [] { return D::distanceFromData(45); }, "0.05"},
        // The locale, not the units object, decides whether lap distances convert.
        {false, false, [&] { return D::distanceFromData(5000, imperial); }, "3.11"},
        {false, false, [&] { return D::distanceFromData(5000, metric); }, "5.00"},
        {true, false, [&] { return D::distanceFromData(5250, imperial); }, "5,250"},
        {false, false, [] { return D::lengthFromData(180); }, "71"},
        {false, false, [] { return D::lengthFromData(std::nullopt); }, "0"},
        {true, false, [] { return D::lengthFromData(180); }, "180"},
        {true, false, [] { return D::lengthFromData(std::nullopt); }, ""},
        {false, false, [&] { return D::weightFromData(1650, metric); }, "75"},
        {false, false, [&] { return D::weightFromData(1650, imperial); }, "165"},
        {false, false, [&] { return D::weightFromData(1645, imperial); }, "165"}, // halves go up
        {false, false, [&] { return D::weightFromData(std::nullopt, metric); }, "0"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const ValueCase &c = cases[i];
        c.german ? German() : UnitedStates();
        setSetting(QStringLiteral("SaveDataWithTenths"), c.tenthsSetting);
        EXPECT_EQ(c.format(), c.expected) << "case " << i;
    }
}

} // namespace
