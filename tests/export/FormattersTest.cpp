#include "ExportFixture.h"
#include "VXDistanceFormatter.h"
#include "VXNumberText.h"
#include "VXSpeedFormatter.h"

#include <QDate>

namespace {

using FormattersTest = LocaleFixture;

TEST_F(FormattersTest, ShowDistanceAndSpeedInTheDisplayUnitWithoutAFactor)
{
    German();
    EXPECT_EQ(VXDistanceFormatter().stringForObjectValue(12345.0), "12,345 km");
    EXPECT_EQ(VXSpeedFormatter().stringForObjectValue(3000), "12,0 km/h");
    UnitedStates();
    // The stored values are already per mile here.
    EXPECT_EQ(VXDistanceFormatter().stringForObjectValue(3107), "3.11 mi");
    EXPECT_EQ(VXSpeedFormatter().stringForObjectValue(2700.0), "13.3 mph");
    EXPECT_EQ(VXSpeedFormatter().stringForObjectValue(0.6), "-");
    for (const QVariant &nonNumber : {QVariant(), QVariant(QStringLiteral("5000")), QVariant(QDate(2008, 7, 21))}) {
        EXPECT_FALSE(VXDistanceFormatter().stringForObjectValue(nonNumber));
        EXPECT_FALSE(VXSpeedFormatter().stringForObjectValue(nonNumber));
    }
}

TEST_F(FormattersTest, DistanceParsesADecimalNumberTimesAThousandExactly)
{
    const struct { bool german; const char *text; int thousandths; } cases[] = {
        {true, "5,25", 5250},   {true, "5,000 km", 5000}, {true, "0,0015", 1},  {true, "  42", 42000},
        {true, "5.25", 5000},   {true, ",5", 500},        {true, "+3,1", 3100}, {true, "-0", 0},
        {false, "1.001", 1001}, {false, "3.11 mi", 3110}, {false, "5,25", 5000},
        {false, "2147483.647", 2147483647},
    };
    for (const auto &c : cases) {
        c.german ? German() : UnitedStates();
        QVariant value;
        QString error;
        EXPECT_TRUE(VXDistanceFormatter().getObjectValue(QString::fromUtf8(c.text), &value, &error)) << c.text;
        EXPECT_EQ(value, QVariant(c.thousandths)) << c.text;
        EXPECT_TRUE(error.isEmpty()) << c.text;
    }
    QVariant value = 17;
    EXPECT_TRUE(VXDistanceFormatter().getObjectValue(QString(), &value, nullptr));
    EXPECT_FALSE(value.isValid()); // empty text is no value, not zero
}

TEST_F(FormattersTest, DistanceRejectsTextThatIsNoNonNegativeDistance)
{
    German();
    for (const char *text : {"km", " ,", "-5", "-0,5", "abc 5", "2147484", "99999999999999999999"}) {
        QVariant value = 17;
        QString error;
        EXPECT_FALSE(VXDistanceFormatter().getObjectValue(QString::fromUtf8(text), &value, &error)) << text;
        EXPECT_EQ(value, QVariant(17)) << text;
        EXPECT_FALSE(error.isEmpty()) << text;
    }
}

TEST_F(FormattersTest, NumberTextRoundsTiesAsPrintfAndNeverGroups)
{
    German();
    using S = VXNumberText::Separator;
    // 0.125 is exact in binary; printf rounds such ties to even.
    EXPECT_EQ(VXNumberText::plain(0.125, 2), "0.12");
    EXPECT_EQ(VXNumberText::plain(0.375, 2), "0.38");
    EXPECT_EQ(VXNumberText::localeFormatted(1234567.891, 2), "1234567,89");
    EXPECT_EQ(VXNumberText::fillFormat(QStringLiteral("%.3f km"), 5.25, S::Locale), "5,250 km");
    EXPECT_EQ(VXNumberText::fillFormat(QStringLiteral("%% %.1f %.1f"), 1.0, S::Plain), "% 1.0 %.1f");
}

} // namespace
