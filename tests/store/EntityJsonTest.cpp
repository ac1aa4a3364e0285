#include "EntityJson.h"
#include "RunSession.h"
#include "StoreTestSupport.h"

#include <QJsonArray>

#include <gtest/gtest.h>

TEST(EntityJson, SessionHoldsItsStoredKeysWithTheirJsonTypesAndRelationsSortedByNumber)
{
    ScopedLocale locale(ScopedLocale::imperial());
    RunSession session = makeSession(QStringLiteral("MYRUN"), day(21));
    session.sessionPaceData = false;
    SportZone f6Zone; // an F6 zone has a name but no number
    f6Zone.name = QStringLiteral("In Zone");
    session.sportZone.push_back(f6Zone);

    const QJsonObject json = toJson(session);

    EXPECT_EQ(json.value("sessionName"), QJsonValue("MYRUN"));
    EXPECT_EQ(json.value("sessionDate"), QJsonValue("2008-07-21T18:05:33"));
    EXPECT_EQ(json.value("sessionPaceData"), QJsonValue(false));
    // The stored metres, not the derived miles; derived and absent keys are left out.
    EXPECT_EQ(json.value("sessionTotalDistance"), QJsonValue(5000));
    EXPECT_FALSE(json.contains("sessionAveragePace"));
    EXPECT_FALSE(json.contains("comment"));
    const QJsonArray laps = json.value("lap").toArray();
    ASSERT_EQ(laps.size(), 2);
    EXPECT_EQ(laps[0].toObject(), (QJsonObject{{"lapNumber", 1}, {"timeInLap", 9000}}));
    const QJsonArray zones = json.value("sportZone").toArray();
    ASSERT_EQ(zones.size(), 6);
    EXPECT_EQ(zones[0].toObject(), (QJsonObject{{"name", "In Zone"}}));
    EXPECT_EQ(zones[5].toObject().value("zoneNumber"), QJsonValue(5));

    EXPECT_EQ(toJson(RunSession()),
              (QJsonObject{{"lap", QJsonArray()}, {"sportZone", QJsonArray()}, {"limitZone", QJsonArray()}}));
}
