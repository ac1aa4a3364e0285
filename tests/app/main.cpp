#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Settings and the data folder live in a temporary folder; each test points
// XDG_DATA_HOME at a folder of its own.
int main(int argc, char **argv)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
