#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The store suites touch no settings, but keep every folder a library might
// look up inside a temporary one all the same.
int main(int argc, char **argv)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
