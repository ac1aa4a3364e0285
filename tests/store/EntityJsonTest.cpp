#include "EntityJson.h"
#include "StoreTestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

// Compared whole: the stored metres, not the derived miles; no derived or
// absent keys; relations sorted by number, an F6 zone (a name, no number) first.
TEST(EntityJson, SessionHoldsItsStoredKeysWithTheirJsonTypesAndRelationsSortedByNumber)
{
    ScopedLocale locale(ScopedLocale::imperial());
    RunSession session = makeSession(QStringLiteral("MYRUN"), day(21));
    session.sessionPaceData = false;
    session.sportZone.emplace_back().name = QStringLiteral("In Zone");
    QFile golden(QStringLiteral(VENTRIX_STORE_DATA_DIR "/session.json"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(toJson(session), QJsonDocument::fromJson(golden.readAll()).object());
    EXPECT_EQ(toJson(RunSession()),
              (QJsonObject{{"lap", QJsonArray()}, {"sportZone", QJsonArray()}, {"limitZone", QJsonArray()}}));
}
