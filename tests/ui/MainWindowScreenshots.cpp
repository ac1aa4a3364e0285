// Not a test: renders the main window with the example recordings decoded,
// one PNG per watch model with its session selected:
//   ventrix_mainwindow_screenshots OUTPUT_FOLDER
// writes main-window-rs200.png, main-window-cs200.png and main-window-f6.png.
// Runs against a throw-away home folder on the offscreen platform.
#include "MainWindow.h"
#include "MainWindowController.h"
#include "ObjectContext.h"
#include "SessionListController.h"
#include "UserPrompts.h"
#include "VentrixApplication.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QPixmap>
#include <QSplitter>
#include <QTemporaryDir>

#include <cstdio>

namespace {

class SilentPrompts : public UserPrompts
{
public:
    void showError(const QString &message) override { std::fprintf(stderr, "%s\n", qPrintable(message)); }
    bool presentError(const QString &message) override
    {
        showError(message);
        return false;
    }
    bool askQuitAnyway(const QString &, const QString &, const QString &) override { return true; }
};

const RunSession *lastSessionOf(const SessionListController &sessions, const QString &model)
{
    const RunSession *found = nullptr;
    for (const RunSession *session : sessions.arrangedSessions()) {
        if (session->hrm == model)
            found = session;
    }
    return found;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ventrix_mainwindow_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::Ireland));
    const QDir output(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(output.path());

    SilentPrompts prompts;
    VentrixApplication ventrix(&prompts);
    ventrix.mainWindowController().setShake([] { std::fprintf(stderr, "a recording could not be read\n"); });
    ventrix.mainWindow().resize(1180, 720);
    ventrix.show();
    const QDir examples(QStringLiteral(VENTRIX_SOURCE_DIR "/examples"));
    ventrix.openFiles({examples.filePath(QStringLiteral("f6-memory.wav")), examples.filePath(QStringLiteral("rs200-run.wav")),
                       examples.filePath(QStringLiteral("cs200-ride.wav"))});
    ventrix.mainWindow().sessionSplitView()->setSizes({560, 90});

    const struct
    {
        const char *model;
        const char *file;
    } shots[] = {{"RS200", "main-window-rs200.png"}, {"CS200", "main-window-cs200.png"}, {"F6", "main-window-f6.png"}};
    int status = 0;
    for (const auto &shot : shots) {
        const RunSession *session = lastSessionOf(ventrix.sessions(), QString::fromLatin1(shot.model));
        if (!session || !ventrix.sessions().selectSession(session)) {
            std::fprintf(stderr, "no %s session was decoded\n", shot.model);
            status = 1;
            continue;
        }
        QApplication::processEvents();
        const QString path = output.filePath(QString::fromLatin1(shot.file));
        if (!ventrix.mainWindow().grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            status = 1;
        }
    }
    // Leave the throw-away database unsaved: nothing here is worth keeping.
    ventrix.context().undoStack()->clear();
    return status;
}
