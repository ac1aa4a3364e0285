#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

// Shared by the decoder, layout and rescue suites. The layouts save and export
// through the user's settings, so every suite points the settings and data
// folders at a folder of its own. The application object is there for QProcess.
int main(int argc, char **argv)
{
    QTemporaryDir home;
    const QByteArray root = home.path().toUtf8();
    setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
