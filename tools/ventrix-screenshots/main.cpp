// ventrix-screenshots: renders the main window with the example recordings
// decoded, on the offscreen platform against a throw-away home:
//   ventrix-screenshots OUTPUT_FOLDER NAME WIDTH HEIGHT [dark]
// writes NAME.png (the RS200 run selected, its pop-up open over its bar) and,
// for the light default, NAME-cs200.png and NAME-f6.png.
#include "HistoryView.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "ObjectContext.h"
#include "SessionListController.h"
#include "UserPrompts.h"
#include "VXDataWindow.h"
#include "VXDataWindowController.h"
#include "VentrixApplication.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kFadeInMs = 400; // the pop-up's fade-in

// Nobody is there to answer: alerts go to standard error, quitting never waits.
class StderrPrompts : public UserPrompts
{
public:
    void showError(const QString &message) override { std::fprintf(stderr, "%s\n", qPrintable(message)); }
    bool presentError(const QString &message) override
    {
        showError(message);
        return false;
    }
    bool askQuitAnyway(const QString &message, const QString &, const QString &) override
    {
        showError(message);
        return true;
    }
};

void pressKey(QWidget &widget, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QApplication::sendEvent(&widget, &release);
}

void wait(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

const RunSession *lastSessionOf(const SessionListController &sessions, const QString &model)
{
    const RunSession *found = nullptr;
    for (const RunSession *session : sessions.arrangedSessions())
        found = session->hrm == model ? session : found;
    return found;
}

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 30, 32));
    dark.setColor(QPalette::AlternateBase, QColor(40, 40, 44));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(55, 55, 60));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Mid, QColor(90, 90, 96));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::ToolTipBase, QColor(60, 60, 64));
    dark.setColor(QPalette::ToolTipText, QColor(230, 230, 230));
    return dark;
}

// The window and the pop-up over it, as the screen shows them.
QImage windowWithPopUp(VentrixApplication &ventrix)
{
    QImage shot = ventrix.mainWindow().grab().toImage();
    VXDataWindow *popUp = ventrix.historyView().dataWindowController().window();
    if (popUp->isVisible()) {
        QPainter painter(&shot);
        painter.drawImage(popUp->pos() - ventrix.mainWindow().pos(), popUp->grab().toImage());
    }
    return shot;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: ventrix-screenshots OUTPUT_FOLDER NAME WIDTH HEIGHT [dark]\n");
        return 2;
    }
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool dark = argc > 5 && QByteArray(argv[5]) == "dark";
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (dark)
        QApplication::setPalette(darkPalette());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::Ireland));
    const QDir output(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(output.path());

    StderrPrompts prompts;
    VentrixApplication ventrix(&prompts);
    ventrix.mainWindowController().setShake([] { std::fprintf(stderr, "a recording could not be read\n"); });
    ventrix.mainWindow().move(0, 0);
    ventrix.mainWindow().resize(QString::fromLatin1(argv[3]).toInt(), QString::fromLatin1(argv[4]).toInt());
    ventrix.show();
    const QDir examples(QStringLiteral(VENTRIX_SOURCE_DIR "/examples"));
    ventrix.openFiles({examples.filePath(QStringLiteral("f6-memory.wav")), examples.filePath(QStringLiteral("rs200-run.wav")),
                       examples.filePath(QStringLiteral("cs200-ride.wav"))});

    const struct
    {
        const char *model;
        QString file;
        bool popUp;
    } shots[] = {{"RS200", name, true}, {"CS200", name + QStringLiteral("-cs200"), false},
                 {"F6", name + QStringLiteral("-f6"), false}};
    int status = 0;
    for (const auto &shot : shots) {
        if (shot.file != name && dark)
            break;
        const RunSession *session = lastSessionOf(ventrix.sessions(), QString::fromLatin1(shot.model));
        if (!session || !ventrix.sessions().selectSession(session)) {
            std::fprintf(stderr, "no %s session was decoded\n", shot.model);
            status = 1;
            continue;
        }
        HistoryView &calendar = ventrix.historyView();
        calendar.setFocus();
        if (shot.popUp)
            pressKey(calendar, Qt::Key_Return);
        wait(kFadeInMs);
        const QString path = output.filePath(shot.file + QStringLiteral(".png"));
        if (!windowWithPopUp(ventrix).save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            status = 1;
        }
        pressKey(calendar, Qt::Key_Escape);
    }
    // Leave the throw-away database unsaved: nothing here is worth keeping.
    ventrix.context().undoStack()->clear();
    return status;
}
