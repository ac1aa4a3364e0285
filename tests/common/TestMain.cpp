#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The one main of the suites below the window. Before any QSettings exists,
// every test's settings and data land in a folder of this run, never the
// user's, and local time is a fixed UTC+2 without daylight saving. The
// application object is there for QProcess and queued signals.
int main(int argc, char **argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    for (const char *variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        const QString path = home.filePath(QString::fromLatin1(variable));
        QDir().mkpath(path);
        qputenv(variable, QFile::encodeName(path));
    }
    qputenv("TZ", "VXT-2");
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
