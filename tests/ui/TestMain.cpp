#include "VXDefaults.h"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ctime>

namespace {
// Every test starts from the default settings, whatever the one before stored.
class FreshSettings : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo &) override { VXDefaults::settings().clear(); }
};
} // namespace

int main(int argc, char **argv)
{
    // Before any QSettings or data folder is used: everything goes to a throw-away home.
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef VENTRIX_TEST_BERLIN
    // Calendar days are checked across both daylight-saving changes of this zone.
    qputenv("TZ", "Europe/Berlin");
    tzset();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::Australia));
#endif
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshSettings);
    return RUN_ALL_TESTS();
}
