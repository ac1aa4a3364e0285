#include "RunSession.h"
#include "StoreTestSupport.h"
#include "VXUnits.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

RunSession sessionOf(const char *hrm, std::optional<int> storedDistance, std::optional<int> totalTime = 18000)
{
    RunSession session;
    session.hrm = QString::fromLatin1(hrm);
    session.setPrimitiveSessionTotalDistance(storedDistance);
    session.sessionTotalTime = totalTime;
    return session;
}

} // namespace

TEST(RunSession, TotalDistanceIsMetresOrTruncatedMilesBothWaysButCS200sAreNeverConverted)
{
    const struct { const char *hrm; bool metric; int stored, shown, set, storedAfterSet; } cases[] = {
        {"RS200", true, 10000, 10000, 9998, 9998},
        {"RS200", false, 10000, 6213, 6213, 9998},
        {"CS200", true, 12345, 12345, 777, 777},
        {"CS200", false, 12345, 12345, 777, 777},
    };
    for (const auto &c : cases) {
        ScopedLocale locale(c.metric ? ScopedLocale::metric() : ScopedLocale::imperial());
        RunSession session = sessionOf(c.hrm, c.stored);
        EXPECT_EQ(session.sessionTotalDistance(), c.shown) << c.hrm << c.metric;
        session.setSessionTotalDistance(c.set);
        EXPECT_EQ(session.primitiveSessionTotalDistance(), c.storedAfterSet) << c.hrm << c.metric;
    }
    ScopedLocale locale(ScopedLocale::imperial());
    RunSession session = sessionOf("RS200", 9998);
    EXPECT_EQ(session.sessionTotalDistance(), 6212);
    session.setSessionTotalDistance(-5);
    EXPECT_EQ(session.primitiveSessionTotalDistance(), 0);
    // Beyond 32 bits once converted back to metres: held at the limit.
    session.setSessionTotalDistance(std::numeric_limits<int>::max());
    EXPECT_EQ(session.primitiveSessionTotalDistance(), std::numeric_limits<int>::max());
    session.setSessionTotalDistance(std::nullopt);
    EXPECT_EQ(session.primitiveSessionTotalDistance(), std::nullopt);
    EXPECT_FALSE(session.value(u"sessionTotalDistance").isValid());
    EXPECT_EQ(session.sessionAveragePace(), 0); // no foot pod, no pace
}

TEST(RunSession, AveragePaceIsTenthsPerDisplayUnitAndACS200sUsesTheRideTime)
{
    RunSession session = sessionOf("RS200", 5000);
    RunSession cs200 = sessionOf("CS200", 30000, 99999);
    cs200.sessionRideTime = 36000;
    RunSession tiny = sessionOf("RS200", 1, std::numeric_limits<int>::max());
    {
        ScopedLocale locale(ScopedLocale::metric());
        EXPECT_EQ(session.sessionAveragePace(), 3600);
        EXPECT_EQ(tiny.sessionAveragePace(), std::numeric_limits<int>::max()); // stays within 32 bits
    }
    ScopedLocale locale(ScopedLocale::imperial());
    EXPECT_EQ(session.sessionAveragePace(), 5793); // 1800 s over 3.10685596 miles
    EXPECT_EQ(cs200.sessionAveragePace(), 1200);
    cs200.sessionRideTime.reset();
    EXPECT_EQ(cs200.sessionAveragePace(), 0);
}

TEST(Lap, AverageCS200SpeedIsWatchUnitsPerHourOrZeroWithoutDistanceOrTime)
{
    Lap lap;
    lap.timeInLap = 2400;
    EXPECT_EQ(lap.averageCS200Speed(), 0.0f);
    lap.distance = 1000;
    EXPECT_FLOAT_EQ(lap.averageCS200Speed(), 15.0f);
    lap.timeInLap = 0;
    EXPECT_EQ(lap.averageCS200Speed(), 0.0f);
    lap.timeInLap.reset();
    EXPECT_EQ(lap.averageCS200Speed(), 0.0f);
}

TEST(RunSession, HiddenColorIsGreyOnlyWhenHidden)
{
    RunSession session;
    session.hidden = false;
    EXPECT_EQ(session.hiddenColor(), QColor(Qt::black));
    session.hidden = true;
    EXPECT_EQ(session.hiddenColor(), QColor::fromRgbF(0.5f, 0.5f, 0.5f));
    EXPECT_EQ(RunSession::hiddenSelectedAttributes().foreground, QColor(Qt::white));
}

namespace {

// A value of each key's type stored and read back through the key table; an
// absent value reads invalid.
template <typename Entity>
void expectKeysStoreTheirValues()
{
    const QVariant samples[] = {QVariant(1234), QVariant(true), QVariant(QStringLiteral("x,y")),
                                QVariant(QDateTime(QDate(1970, 3, 15), QTime(0, 0)))};
    Entity entity;
    for (const EntityKey<Entity> &key : Entity::keys()) {
        EXPECT_FALSE(key.value(entity).isValid()) << key.name;
        const QVariant &sample = samples[int(key.type())];
        ASSERT_TRUE(key.setValue(entity, sample)) << key.name;
        EXPECT_EQ(key.value(entity), sample) << key.name;
    }
}

} // namespace

TEST(EntityKeys, StoreAndReadBackAValueOfTheirType)
{
    expectKeysStoreTheirValues<RunSession>();
    expectKeysStoreTheirValues<Lap>();
    expectKeysStoreTheirValues<SportZone>();
    expectKeysStoreTheirValues<LimitZone>();
}

TEST(EntityKeys, RefuseValuesOfTheWrongKindAndKeepTheOldOne)
{
    RunSession session;
    session.sessionCalories = 560;
    const std::pair<const char16_t *, QVariant> refused[] = {
        {u"sessionCalories", QStringLiteral("12abc")}, {u"sessionCalories", QVariant(qlonglong(1) << 40)},
        {u"sessionCalories", QVariant(true)},          {u"sessionDate", QStringLiteral("not a date")},
        {u"hidden", QStringLiteral("maybe")},          {u"noSuchKey", 1}};
    for (const auto &[key, value] : refused)
        EXPECT_FALSE(session.setPrimitiveValue(key, value)) << value.toString().toStdString();
    EXPECT_EQ(session.sessionCalories, 560);
    EXPECT_TRUE(session.setPrimitiveValue(u"sessionCalories", QStringLiteral("561")));
    EXPECT_EQ(session.sessionCalories, 561);
}

TEST(RunSession, AccessByNameGoesThroughTheDerivedAccessors)
{
    ScopedLocale locale(ScopedLocale::imperial());
    RunSession session = sessionOf("RS200", 10000);
    EXPECT_EQ(session.value(u"sessionTotalDistance"), QVariant(6213));
    EXPECT_EQ(session.primitiveValue(u"sessionTotalDistance"), QVariant(10000));
    EXPECT_EQ(session.value(u"sessionAveragePace"), QVariant(session.sessionAveragePace()));
    EXPECT_TRUE(session.setValue(u"sessionTotalDistance", 6213));
    EXPECT_EQ(session.primitiveSessionTotalDistance(), 9998);
    EXPECT_FALSE(session.setValue(u"sessionAveragePace", 1));
    EXPECT_TRUE(RunSession::keysDependentOn(u"sessionTotalDistance").contains("sessionAveragePace"));
}

// Only US-customary locales are imperial; the UK's Qt system is "imperial UK"
// but its people read kilometres and kilograms.
TEST(VXUnits, IsMetricUnlessTheLocaleUsesUSCustomaryUnits)
{
    const struct { const char *locale; QLocale::MeasurementSystem system; bool metric; } cases[] = {
        {"de_DE", QLocale::MetricSystem, true},
        {"en_GB", QLocale::ImperialUKSystem, true},
        {"en_US", QLocale::ImperialUSSystem, false},
    };
    for (const auto &c : cases) {
        ScopedLocale locale{QLocale(QString::fromLatin1(c.locale))};
        ASSERT_EQ(QLocale().measurementSystem(), c.system) << c.locale;
        const VXUnits units;
        EXPECT_EQ(units.isMetric(), c.metric) << c.locale;
        EXPECT_EQ(units.kmToMilesFactor(), c.metric ? VXUnits::kMetricKmToMiles : VXUnits::kImperialKmToMiles) << c.locale;
    }
}
