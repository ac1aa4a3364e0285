#include "AppController.h"
#include "VXDefaults.h"

#include <QColor>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// The defaults every reader falls back to, written out again by hand.
const QVariantMap kExpectedDefaults{
    {QStringLiteral("VXHistoryTimeIsVisible"), true},
    {QStringLiteral("VXHistoryHRIsVisible"), true},
    {QStringLiteral("VXHistoryDistanceIsVisible"), true},
    {QStringLiteral("VXHistoryCaloriesIsVisible"), false},
    {QStringLiteral("VXHistoryTimeColor"), QColor::fromRgbF(0.0f, 0.5f, 1.0f, 1.0f)},
    {QStringLiteral("VXHistorySelectedTimeColor"), QColor::fromRgbF(0.2509804f, 0.6862745f, 0.0f, 1.0f)},
    {QStringLiteral("VXHistoryHRColor"), QColor::fromRgbF(1.0f, 0.0f, 0.0f, 1.0f)},
    {QStringLiteral("VXHistoryDistanceColor"), QColor::fromRgbF(0.5f, 0.5f, 0.5f, 1.0f)},
    {QStringLiteral("VXHistoryCaloriesColor"), QColor::fromRgbF(1.0f, 0.5f, 0.0f, 1.0f)},
    {QStringLiteral("First day of the week"), 2},
};

class Defaults : public testing::Test
{
protected:
    void SetUp() override { VXDefaults::settings().clear(); }
    void TearDown() override { VXDefaults::settings().clear(); }
};

TEST_F(Defaults, UnsetKeysReadAsTheTableIncludingTheColours)
{
    const QVariantMap table = AppController::registerDefaults();
    EXPECT_EQ(table.keys(), kExpectedDefaults.keys());
    for (auto it = kExpectedDefaults.cbegin(); it != kExpectedDefaults.cend(); ++it) {
        const QVariant value = VXDefaults::value(it.key());
        EXPECT_EQ(value.metaType(), it.value().metaType()) << it.key().toStdString();
        if (it.value().metaType().id() == QMetaType::QColor) {
            const QColor colour = value.value<QColor>();
            const QColor expected = it.value().value<QColor>();
            EXPECT_NEAR(colour.redF(), expected.redF(), 1e-4) << it.key().toStdString();
            EXPECT_NEAR(colour.greenF(), expected.greenF(), 1e-4) << it.key().toStdString();
            EXPECT_NEAR(colour.blueF(), expected.blueF(), 1e-4) << it.key().toStdString();
            EXPECT_EQ(colour.alphaF(), 1.0f) << it.key().toStdString();
        } else {
            EXPECT_EQ(value, it.value()) << it.key().toStdString();
        }
    }
}

TEST_F(Defaults, RegisteringWritesNothingAndAStoredColourWins)
{
    AppController::registerDefaults();
    EXPECT_TRUE(VXDefaults::settings().allKeys().isEmpty());

    const QColor chosen = QColor::fromRgbF(0.1f, 0.2f, 0.3f, 1.0f);
    VXDefaults::settings().setValue(QStringLiteral("VXHistoryHRColor"), chosen);
    EXPECT_EQ(VXDefaults::value(QStringLiteral("VXHistoryHRColor")).value<QColor>(), chosen);
    EXPECT_EQ(VXDefaults::value(QStringLiteral("VXHistoryTimeColor")).value<QColor>(),
              QColor::fromRgbF(0.0f, 0.5f, 1.0f, 1.0f));
}

} // namespace
