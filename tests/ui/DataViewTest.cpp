#include "DataView.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

class DataViewTest : public ::testing::Test
{
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

struct TimeCase
{
    std::optional<qint64> tenths;
    const char *withoutTenths;
    const char *withTenths;
};

// Unlike the export's, seconds are truncated: 599 tenths show 0:00:59, not 0:01:00.
TEST_F(DataViewTest, TimeStringTruncatesSeconds)
{
    const std::vector<TimeCase> cases = {
        {599, "0:00:59", "0:00:59.9"},
        {35995, "0:59:59", "0:59:59.5"},
        {1000000, "27:46:40", "27:46:40.0"},
        {std::nullopt, "0:00:00", "0:00:00.0"},
    };
    for (const TimeCase &c : cases) {
        const StyledTime plain = DataView::timeStringFromSeconds(c.tenths, false);
        const StyledTime styled = DataView::timeStringFromSeconds(c.tenths, true);
        EXPECT_EQ(plain.text, c.withoutTenths) << c.withoutTenths;
        EXPECT_FALSE(plain.smallLastCharacter);
        EXPECT_EQ(styled.text, c.withTenths) << c.withTenths;
        EXPECT_TRUE(styled.smallLastCharacter);
    }
}

TEST_F(DataViewTest, TenthsDigitIsSetSmallInRichText)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const StyledTime time = DataView::timeStringFromSeconds(1234, true);
    EXPECT_EQ(time.text, "0:02:03,4");
    EXPECT_EQ(time.toHtml(), "0:02:03,<span style=\"font-size:10pt\">4</span>");
    EXPECT_EQ((StyledTime{QStringLiteral("<1>"), false}).toHtml(), "&lt;1&gt;");
}

TEST_F(DataViewTest, DisplayTimeNoHoursDropsTheHourAndDashesFromTwoHours)
{
    const std::vector<std::pair<std::optional<qint64>, const char *>> cases = {
        {36000 + 3000 + 15, "05:01"}, {71999, "59:59"}, {72000, "-"}, {std::nullopt, "00:00"},
    };
    for (const auto &[tenths, expected] : cases)
        EXPECT_EQ(DataView::displayTimeNoHours(tenths), expected) << expected;
}

} // namespace
