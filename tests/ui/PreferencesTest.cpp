#include "PreferencesWindowController.h"
#include "VXDefaults.h"
#include "VXNotifications.h"
#include "ui_Preferences.h"

#include <QSettings>

#include <gtest/gtest.h>

namespace {

class PreferencesTest : public ::testing::Test
{
protected:
    void SetUp() override { VXDefaults::settings().clear(); }
    void TearDown() override { VXDefaults::settings().clear(); }

    VXNotifications notifications;
};

TEST_F(PreferencesTest, ShowsTheStoredSettingsAndLoadingStoresNothing)
{
    {
        PreferencesWindowController preferences(notifications);
        EXPECT_EQ(preferences.ui().firstDayOfWeekPopUpButton->currentIndex(), 1); // Monday
        EXPECT_TRUE(VXDefaults::settings().allKeys().isEmpty());
    }
    QSettings settings = VXDefaults::settings();
    settings.setValue(QStringLiteral("First day of the week"), 1);
    settings.setValue(QStringLiteral("SUCheckAtStartup"), true);
    settings.setValue(QStringLiteral("VXAutoExportPath"), QStringLiteral("/data/exports"));
    settings.sync();
    PreferencesWindowController preferences(notifications);
    EXPECT_EQ(preferences.ui().firstDayOfWeekPopUpButton->currentText(), QStringLiteral("Sunday"));
    EXPECT_TRUE(preferences.ui().checkAtStartupButton->isChecked());
    EXPECT_EQ(preferences.ui().autoExportPathField->text(), QStringLiteral("/data/exports"));
}

TEST_F(PreferencesTest, ChoicesAreStoredAtOnce)
{
    PreferencesWindowController preferences(notifications);
    int announced = 0;
    QObject::connect(&notifications, &VXNotifications::firstDayOfWeekPopUpButtonSelectionDidChange,
                     [&announced] { ++announced; });
    QComboBox *popUp = preferences.ui().firstDayOfWeekPopUpButton;
    popUp->setCurrentIndex(6);
    emit popUp->activated(6);
    EXPECT_EQ(VXDefaults::value(QStringLiteral("First day of the week")).toInt(), 7); // Saturday
    EXPECT_EQ(announced, 1);

    preferences.ui().checkAtStartupButton->click();
    EXPECT_EQ(VXDefaults::value(QStringLiteral("SUCheckAtStartup")), QVariant(true));
}

TEST_F(PreferencesTest, ExportFolderIsChosenInAFolderDialogAndCleared)
{
    PreferencesWindowController preferences(notifications);
    preferences.setFolderChooser([](QWidget *, const QString &) { return QStringLiteral("/home/runner/Exports"); });
    preferences.ui().chooseAutoExportFolderButton->click();
    EXPECT_EQ(VXDefaults::value(QStringLiteral("VXAutoExportPath")).toString(), QStringLiteral("/home/runner/Exports"));
    EXPECT_EQ(preferences.ui().autoExportPathField->text(), QStringLiteral("/home/runner/Exports"));

    // A cancelled dialog keeps the folder.
    preferences.setFolderChooser([](QWidget *, const QString &) { return QString(); });
    preferences.ui().chooseAutoExportFolderButton->click();
    EXPECT_EQ(VXDefaults::value(QStringLiteral("VXAutoExportPath")).toString(), QStringLiteral("/home/runner/Exports"));

    preferences.ui().clearAutoExportFolderButton->click();
    EXPECT_FALSE(VXDefaults::settings().contains(QStringLiteral("VXAutoExportPath")));
}

TEST_F(PreferencesTest, ColourPanelChoicesAreStoredAndThePanelClosesWithTheWindow)
{
    PreferencesWindowController preferences(notifications);
    int changed = 0;
    QObject::connect(&notifications, &VXNotifications::historyColorsDidChange, [&changed] { ++changed; });
    preferences.show();
    preferences.ui().hrColorButton->click();
    QColorDialog *panel = preferences.colorPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->currentColor(), QColor::fromRgbF(1.0f, 0.0f, 0.0f));

    panel->setCurrentColor(QColor(10, 20, 30));
    EXPECT_EQ(VXDefaults::value(QStringLiteral("VXHistoryHRColor")).value<QColor>(), QColor(10, 20, 30));
    EXPECT_EQ(changed, 1);

    preferences.close();
    EXPECT_FALSE(panel->isVisible());
}

} // namespace
