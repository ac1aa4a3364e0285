#include "LocaleFixture.h"
#include "VXNumberText.h"

namespace {

class VXNumberTextTest : public LocaleFixture
{
};

TEST_F(VXNumberTextTest, RoundsExactTiesAsPrintfDoes)
{
    // 0.125 and 0.25 are exact in binary; printf rounds such ties to even.
    EXPECT_EQ(VXNumberText::plain(0.125, 2), "0.12");
    EXPECT_EQ(VXNumberText::plain(0.25, 1), "0.2");
    EXPECT_EQ(VXNumberText::plain(0.375, 2), "0.38");
}

TEST_F(VXNumberTextTest, LocaleFormattedHasNoGrouping)
{
    German();
    EXPECT_EQ(VXNumberText::localeFormatted(1234567.891, 2), "1234567,89");
    EXPECT_EQ(VXNumberText::localeFormatted(75.0, 0), "75");
    EXPECT_EQ(VXNumberText::plain(1234567.891, 2), "1234567.89");
}

TEST_F(VXNumberTextTest, FillFormatReplacesOnlyTheFirstPlaceholder)
{
    German();
    using S = VXNumberText::Separator;
    EXPECT_EQ(VXNumberText::fillFormat(QStringLiteral("%.3f km"), 5.25, S::Locale), "5,250 km");
    EXPECT_EQ(VXNumberText::fillFormat(QStringLiteral("%.2f mi"), 5.25, S::Plain), "5.25 mi");
    EXPECT_EQ(VXNumberText::fillFormat(QStringLiteral("%% %.1f %.1f"), 1.0, S::Plain),
              "% 1.0 %.1f");
    EXPECT_EQ(VXNumberText::fillFormat(QStringLiteral("km"), 1.0, S::Plain), "km");
}

} // namespace
