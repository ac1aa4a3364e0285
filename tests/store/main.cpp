#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ctime>

// Dates are checked across the daylight-saving changes of one fixed zone, and
// no test may see the user's own folders. Shared by the store suites.
int main(int argc, char **argv)
{
    qputenv("TZ", "Europe/Berlin");
    tzset();
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
