#include "LocaleFixture.h"
#include "VXSpeedFormatter.h"

namespace {

class VXSpeedFormatterTest : public LocaleFixture
{
};

TEST_F(VXSpeedFormatterTest, ShowsSpeedOfAPacePerDisplayUnit)
{
    German();
    EXPECT_EQ(VXSpeedFormatter().stringForObjectValue(3000), "12,0 km/h");
    UnitedStates();
    // No factor: the pace is already per mile.
    EXPECT_EQ(VXSpeedFormatter().stringForObjectValue(3000), "12.0 mph");
    EXPECT_EQ(VXSpeedFormatter().stringForObjectValue(2700.0), "13.3 mph");
}

TEST_F(VXSpeedFormatterTest, ZeroPaceIsADashAndNonNumbersHaveNoText)
{
    const VXSpeedFormatter formatter;
    EXPECT_EQ(formatter.stringForObjectValue(0), "-");
    EXPECT_EQ(formatter.stringForObjectValue(0.6), "-");
    EXPECT_FALSE(formatter.stringForObjectValue(QVariant()));
    EXPECT_FALSE(formatter.stringForObjectValue(QStringLiteral("3000")));
}

TEST_F(VXSpeedFormatterTest, TypedTextIsNotTakenOver)
{
    QVariant value = 3000;
    QString error;
    EXPECT_TRUE(VXSpeedFormatter().getObjectValue(QStringLiteral("20"), &value, &error));
    EXPECT_EQ(value, QVariant(3000));
    EXPECT_TRUE(error.isEmpty());
}

} // namespace
