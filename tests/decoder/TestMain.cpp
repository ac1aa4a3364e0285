#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

// The decoder touches no settings or data folders; the suite still points
// them at a folder of its own so that nothing reaches the user's.
int main(int argc, char **argv)
{
    QTemporaryDir home;
    const QByteArray root = home.path().toUtf8();
    setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
