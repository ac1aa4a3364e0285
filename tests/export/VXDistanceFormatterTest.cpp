#include "LocaleFixture.h"
#include "VXDistanceFormatter.h"

#include <QDate>

#include <vector>

namespace {

class VXDistanceFormatterTest : public LocaleFixture
{
};

TEST_F(VXDistanceFormatterTest, ShowsThousandthsInTheDisplayUnit)
{
    German();
    EXPECT_EQ(VXDistanceFormatter().stringForObjectValue(5000), "5,000 km");
    EXPECT_EQ(VXDistanceFormatter().stringForObjectValue(12345.0), "12,345 km");
    UnitedStates();
    // No factor: the value is already in thousandths of a mile.
    EXPECT_EQ(VXDistanceFormatter().stringForObjectValue(3107), "3.11 mi");
}

TEST_F(VXDistanceFormatterTest, ShowsNothingForANonNumber)
{
    const VXDistanceFormatter formatter;
    EXPECT_FALSE(formatter.stringForObjectValue(QVariant()));
    EXPECT_FALSE(formatter.stringForObjectValue(QStringLiteral("5000")));
    EXPECT_FALSE(formatter.stringForObjectValue(QDate(2008, 7, 21)));
}

struct ParseCase
{
    bool german;
    const char *text;
    int thousandths;
};

TEST_F(VXDistanceFormatterTest, ParsesADecimalNumberTimesAThousandExactly)
{
    const std::vector<ParseCase> cases = {
        {true, "5,25", 5250},      {true, "5,000 km", 5000}, {true, "1,001", 1001},
        {true, "0,0015", 1},       {true, "  42", 42000},    {true, "5.25", 5000},
        {true, ",5", 500},         {true, "+3,1", 3100},     {true, "-0", 0},
        {false, "1.001", 1001},    {false, "3.11 mi", 3110}, {false, "5,25", 5000},
        {false, "2147483.647", 2147483647},
    };
    for (const ParseCase &c : cases) {
        c.german ? German() : UnitedStates();
        QVariant value;
        QString error;
        EXPECT_TRUE(VXDistanceFormatter().getObjectValue(QString::fromUtf8(c.text), &value, &error))
            << c.text;
        EXPECT_EQ(value, QVariant(c.thousandths)) << c.text;
        EXPECT_TRUE(error.isEmpty()) << c.text;
    }
}

TEST_F(VXDistanceFormatterTest, EmptyTextIsNoValueNotZero)
{
    QVariant value = 17;
    EXPECT_TRUE(VXDistanceFormatter().getObjectValue(QString(), &value, nullptr));
    EXPECT_FALSE(value.isValid());
}

TEST_F(VXDistanceFormatterTest, RejectsTextThatIsNoNonNegativeDistance)
{
    German();
    for (const char *text : {"km", " ,", "-5", "-0,5", "abc 5", "2147484", "99999999999999999999"}) {
        QVariant value = 17;
        QString error;
        EXPECT_FALSE(VXDistanceFormatter().getObjectValue(QString::fromUtf8(text), &value, &error))
            << text;
        EXPECT_EQ(value, QVariant(17)) << text;
        EXPECT_FALSE(error.isEmpty()) << text;
    }
}

} // namespace
