#include "RunSession.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

RunSession sessionOf(const char *hrm, std::optional<int> storedDistance)
{
    RunSession session;
    session.hrm = QString::fromLatin1(hrm);
    session.setPrimitiveSessionTotalDistance(storedDistance);
    return session;
}

} // namespace

TEST(RunSession, TotalDistanceIsMetresInAMetricLocale)
{
    ScopedLocale locale(ScopedLocale::metric());
    RunSession session = sessionOf("RS200", 10000);
    EXPECT_EQ(session.sessionTotalDistance(), 10000);

    session.setSessionTotalDistance(9998);
    EXPECT_EQ(session.primitiveSessionTotalDistance(), 9998);
}

TEST(RunSession, TotalDistanceTruncatesBothWaysInAnImperialLocale)
{
    ScopedLocale locale(ScopedLocale::imperial());
    RunSession session = sessionOf("RS200", 10000);
    EXPECT_EQ(session.sessionTotalDistance(), 6213);

    session.setSessionTotalDistance(6213);
    EXPECT_EQ(session.primitiveSessionTotalDistance(), 9998);
    EXPECT_EQ(session.sessionTotalDistance(), 6212);
}

TEST(RunSession, CS200DistanceIsNeverConverted)
{
    for (const QLocale &each : {ScopedLocale::metric(), ScopedLocale::imperial()}) {
        ScopedLocale locale(each);
        RunSession session = sessionOf("CS200", 12345);
        EXPECT_EQ(session.sessionTotalDistance(), 12345);
        session.setSessionTotalDistance(777);
        EXPECT_EQ(session.primitiveSessionTotalDistance(), 777);
    }
}

TEST(RunSession, TotalDistanceSetterClearsOnNullAndHoldsNegativeAtZero)
{
    ScopedLocale locale(ScopedLocale::imperial());
    RunSession session = sessionOf("RS200", 10000);
    session.setSessionTotalDistance(-5);
    EXPECT_EQ(session.primitiveSessionTotalDistance(), 0);
    session.setSessionTotalDistance(std::nullopt);
    EXPECT_EQ(session.primitiveSessionTotalDistance(), std::nullopt);

    // Beyond 32 bits once converted back to metres: held at the limit.
    session.setSessionTotalDistance(std::numeric_limits<int>::max());
    EXPECT_EQ(session.primitiveSessionTotalDistance(), std::numeric_limits<int>::max());
}

TEST(RunSession, SessionWithoutFootPodHasNoDistanceAndNoPace)
{
    ScopedLocale locale(ScopedLocale::metric());
    RunSession session = sessionOf("RS200", std::nullopt);
    session.sessionTotalTime = 18000;
    EXPECT_EQ(session.sessionTotalDistance(), std::nullopt);
    EXPECT_FALSE(session.value(u"sessionTotalDistance").isValid());
    EXPECT_EQ(session.sessionAveragePace(), 0);
}

TEST(RunSession, AveragePaceIsTenthsPerKilometreOrMile)
{
    RunSession session = sessionOf("RS200", 5000);
    session.sessionTotalTime = 18000;
    {
        ScopedLocale locale(ScopedLocale::metric());
        EXPECT_EQ(session.sessionAveragePace(), 3600);
    }
    {
        // 1800 s over 3.10685596 miles.
        ScopedLocale locale(ScopedLocale::imperial());
        EXPECT_EQ(session.sessionAveragePace(), 5793);
    }
}

TEST(RunSession, CS200AveragePaceUsesRideTimeAndTheWatchUnit)
{
    ScopedLocale locale(ScopedLocale::imperial());
    RunSession session = sessionOf("CS200", 30000);
    session.sessionTotalTime = 99999;
    session.sessionRideTime = 36000;
    EXPECT_EQ(session.sessionAveragePace(), 1200);
    session.sessionRideTime.reset();
    EXPECT_EQ(session.sessionAveragePace(), 0);
}

TEST(RunSession, AveragePaceOverATinyDistanceStaysWithin32Bits)
{
    ScopedLocale locale(ScopedLocale::metric());
    RunSession session = sessionOf("RS200", 1);
    session.sessionTotalTime = std::numeric_limits<int>::max();
    EXPECT_EQ(session.sessionAveragePace(), std::numeric_limits<int>::max());
}

TEST(Lap, AverageCS200SpeedIsWatchUnitsPerHour)
{
    Lap lap;
    lap.distance = 1000;
    lap.timeInLap = 2400;
    EXPECT_FLOAT_EQ(lap.averageCS200Speed(), 15.0f);
}

TEST(Lap, AverageCS200SpeedIsZeroWithoutDistanceOrTime)
{
    Lap noTime;
    noTime.distance = 1000;
    Lap zeroTime = noTime;
    zeroTime.timeInLap = 0;
    Lap noDistance;
    noDistance.timeInLap = 2400;
    EXPECT_EQ(noTime.averageCS200Speed(), 0.0f);
    EXPECT_EQ(zeroTime.averageCS200Speed(), 0.0f);
    EXPECT_EQ(noDistance.averageCS200Speed(), 0.0f);
}

TEST(RunSession, HiddenColorIsGreyOnlyWhenHidden)
{
    RunSession session;
    EXPECT_EQ(session.hiddenColor(), QColor(Qt::black));
    session.hidden = false;
    EXPECT_EQ(session.hiddenColor(), QColor(Qt::black));
    session.hidden = true;
    EXPECT_EQ(session.hiddenColor(), QColor::fromRgbF(0.5f, 0.5f, 0.5f));
    EXPECT_EQ(RunSession::hiddenAttributes().foreground, session.hiddenColor());
    EXPECT_EQ(RunSession::hiddenSelectedAttributes().foreground, QColor(Qt::white));
}

TEST(RunSession, MembersAreFoundByNumberNotPosition)
{
    const RunSession session = makeSession(QStringLiteral("RUN"), day(1));
    ASSERT_NE(session.lapWithNumber(1), nullptr);
    EXPECT_EQ(session.lapWithNumber(1)->lapNumber, 1);
    EXPECT_EQ(session.lapWithNumber(3), nullptr);
    EXPECT_EQ(session.sportZoneWithNumber(4)->timeInZone, 400);
    EXPECT_EQ(session.limitZoneWithNumber(1)->limitHigh, 150);
    EXPECT_EQ(session.limitZoneWithNumber(2), nullptr);
}

namespace {

struct ExpectedKey
{
    const char *name;
    ValueType type;
};

template <typename Entity>
void expectKeyTable(const std::vector<ExpectedKey> &expected)
{
    const auto table = Entity::keys();
    ASSERT_EQ(table.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_STREQ(table[i].name, expected[i].name);
        EXPECT_EQ(table[i].type(), expected[i].type) << expected[i].name;
    }
}

// A value of each type and its round trip through the table; absent reads invalid.
template <typename Entity>
void expectEveryKeyRoundTrips()
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

TEST(EntityKeys, CoverEveryKeyOfTheDataModel)
{
    using T = ValueType;
    expectKeyTable<RunSession>({
        {"hrm", T::String}, {"importDate", T::Date}, {"sessionDate", T::Date}, {"sessionName", T::String},
        {"sessionTotalTime", T::Integer}, {"sessionRideTime", T::Integer}, {"sessionAverageHR", T::Integer},
        {"sessionMaxHR", T::Integer}, {"sessionMaxSetHR", T::Integer}, {"sessionCalories", T::Integer},
        {"sessionFat", T::Integer}, {"sessionTotalDistance", T::Integer}, {"sessionMaxPace", T::Integer},
        {"sessionMaxSpeed", T::Integer}, {"sessionAverageCadence", T::Integer}, {"sessionMaxCadence", T::Integer},
        {"sessionLimitType", T::String}, {"sessionPaceData", T::Boolean}, {"sessionLaps", T::Integer},
        {"userWeight", T::Integer}, {"userLength", T::Integer}, {"userBirthday", T::Date},
        {"userMaxHR", T::Integer}, {"userSittingHR", T::Integer}, {"userVO2Max", T::Integer},
        {"userSex", T::String}, {"userActivityLevel", T::String}, {"hidden", T::Boolean}, {"comment", T::String},
    });
    EXPECT_EQ(RunSession::relationKeys(), (QStringList{"lap", "sportZone", "limitZone"}));
    EXPECT_EQ(RunSession::derivedKeys(), QStringList{"sessionAveragePace"});
    expectKeyTable<Lap>({
        {"lapNumber", T::Integer}, {"timeInLap", T::Integer}, {"averageHR", T::Integer}, {"maxHR", T::Integer},
        {"endHR", T::Integer}, {"autoLap", T::Boolean}, {"endPace", T::Integer}, {"averagePace", T::Integer},
        {"distance", T::Integer}, {"cadenceAverage", T::Integer},
    });
    expectKeyTable<SportZone>({
        {"zoneNumber", T::Integer}, {"name", T::String}, {"limitLow", T::Integer}, {"limitHigh", T::Integer},
        {"timeInZone", T::Integer},
    });
    expectKeyTable<LimitZone>({
        {"zoneNumber", T::Integer}, {"limitLow", T::Integer}, {"limitHigh", T::Integer},
        {"timeBelowZone", T::Integer}, {"timeInZone", T::Integer}, {"timeAboveZone", T::Integer},
    });
}

TEST(EntityKeys, EveryKeyStoresAndReadsItsValue)
{
    expectEveryKeyRoundTrips<RunSession>();
    expectEveryKeyRoundTrips<Lap>();
    expectEveryKeyRoundTrips<SportZone>();
    expectEveryKeyRoundTrips<LimitZone>();
}

TEST(EntityKeys, RefuseValuesOfTheWrongKindAndKeepTheOldOne)
{
    RunSession session;
    session.sessionCalories = 560;
    EXPECT_FALSE(session.setPrimitiveValue(u"sessionCalories", QStringLiteral("12abc")));
    EXPECT_FALSE(session.setPrimitiveValue(u"sessionCalories", QVariant(qlonglong(1) << 40)));
    EXPECT_FALSE(session.setPrimitiveValue(u"sessionCalories", QVariant(true)));
    EXPECT_FALSE(session.setPrimitiveValue(u"sessionDate", QStringLiteral("not a date")));
    EXPECT_FALSE(session.setPrimitiveValue(u"hidden", QStringLiteral("maybe")));
    EXPECT_FALSE(session.setPrimitiveValue(u"noSuchKey", 1));
    EXPECT_EQ(session.sessionCalories, 560);
    EXPECT_TRUE(session.setPrimitiveValue(u"sessionCalories", QStringLiteral("561")));
    EXPECT_EQ(session.sessionCalories, 561);
}

TEST(RunSession, AccessByNameGoesThroughTheDerivedAccessors)
{
    ScopedLocale locale(ScopedLocale::imperial());
    RunSession session = sessionOf("RS200", 10000);
    session.sessionTotalTime = 18000;
    EXPECT_EQ(session.value(u"sessionTotalDistance"), QVariant(6213));
    EXPECT_EQ(session.primitiveValue(u"sessionTotalDistance"), QVariant(10000));
    EXPECT_EQ(session.value(u"sessionAveragePace"), QVariant(session.sessionAveragePace()));

    EXPECT_TRUE(session.setValue(u"sessionTotalDistance", 6213));
    EXPECT_EQ(session.primitiveSessionTotalDistance(), 9998);
    EXPECT_TRUE(session.setPrimitiveValue(u"sessionTotalDistance", 6213));
    EXPECT_EQ(session.primitiveSessionTotalDistance(), 6213);
    EXPECT_FALSE(session.setValue(u"sessionAveragePace", 1));
    EXPECT_TRUE(RunSession::keysDependentOn(u"sessionTotalDistance").contains("sessionAveragePace"));
    EXPECT_TRUE(RunSession::keysDependentOn(u"comment").isEmpty());
}
