#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

// Nothing here stores sessions; the suite still points the settings and data
// folders at a folder of its own so that nothing reaches the user's.
int main(int argc, char **argv)
{
    QTemporaryDir home;
    const QByteArray root = home.path().toUtf8();
    setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
