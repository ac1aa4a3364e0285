// Renders the screenshots of the history calendar and the pop-up session
// window offscreen: ventrix_history_screenshots <output folder>.
#include "HistoryPane.h"
#include "HistorySessions.h"
#include "HistoryView.h"
#include "ObjectContext.h"
#include "SessionListController.h"
#include "VXDataWindow.h"
#include "VXDataWindowController.h"
#include "VXDefaults.h"
#include "VXNotifications.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// Four months of training, three or four sessions a week, with a few longer runs.
void addExampleSessions(ObjectContext &context)
{
    QRandomGenerator random(7);
    const QDate first(2008, 3, 3);
    const QStringList names{QStringLiteral("EASY"), QStringLiteral("TEMPO"), QStringLiteral("HILLS"),
                            QStringLiteral("LONG")};
    for (QDate day = first; day < first.addMonths(4); day = day.addDays(1)) {
        const int weekday = day.dayOfWeek();
        if (weekday != 2 && weekday != 4 && weekday != 6 && !(weekday == 7 && random.bounded(2) == 0))
            continue;
        const bool longRun = weekday == 6;
        HistorySessions::Values values;
        values.totalTime = longRun ? random.bounded(54000, 72000) : random.bounded(18000, 36000);
        values.averageHR = random.bounded(132, 162);
        values.distance = random.bounded(10) == 0 ? 0 : *values.totalTime * random.bounded(28, 34) / 100;
        values.calories = *values.totalTime / 50 + random.bounded(-40, 40);
        RunSession session = HistorySessions::session(
            QDateTime(day, QTime(7 + random.bounded(12), random.bounded(60)), Qt::LocalTime), values);
        session.sessionName = names[longRun ? 3 : random.bounded(3)];
        session.sessionMaxHR = *values.averageHR + random.bounded(10, 25);
        context.insertSession(std::move(session));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    if (argc != 2 || !home.isValid()) {
        QTextStream(stderr) << "usage: ventrix_history_screenshots <output folder>\n";
        return 2;
    }
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::Australia));
    QApplication app(argc, argv);
    const QDir output(QString::fromLocal8Bit(argv[1]));
    {
        QSettings settings = VXDefaults::settings();
        settings.setValue(QStringLiteral("VXHistoryCaloriesIsVisible"), true);
    }

    ObjectContext context;
    SessionListController sessions(context);
    VXNotifications hub;
    addExampleSessions(context);
    const RunSession *selected = sessions.arrangedSessions().at(20);
    QWidget window;
    HistoryPane pane(context, sessions, hub, &window);
    window.resize(900, 280);
    pane.resize(window.size());
    window.show();
    QApplication::processEvents();
    sessions.selectSession(selected);
    pane.scrollView()->horizontalScrollBar()->setValue(0);
    QApplication::processEvents();
    const QImage calendar = pane.grab().toImage();
    if (!calendar.save(output.filePath(QStringLiteral("history-calendar.png"))))
        return 1;

    // The pop-up over the calendar, its tip 40 points above the selected bar.
    HistoryView &view = *pane.historyView();
    VXDataWindowController &controller = view.dataWindowController();
    controller.setSession(selected);
    VXDataWindow *popUp = controller.window();
    popUp->show();
    QApplication::processEvents();
    const QImage bubble = popUp->grab().toImage();
    const int index = int(view.sessionArray().indexOf(selected));
    const QRectF bar = view.rectArray().at(index);
    const QPoint pointer = view.mapTo(&pane, QPoint(int(bar.center().x()), view.height() - int(bar.height()) + 20));
    QImage composed(calendar.width(), calendar.height() + bubble.height(), QImage::Format_ARGB32_Premultiplied);
    composed.fill(Qt::white);
    QPainter painter(&composed);
    painter.drawImage(0, bubble.height(), calendar);
    // The calendar sits bubble.height() lower in the composed image than in the pane.
    const int top = int(pointer.y() - HistoryView::kPopUpDistance - bubble.height()) + bubble.height();
    painter.drawImage(pointer.x() - bubble.width() / 2, top, bubble);
    painter.end();
    return composed.save(output.filePath(QStringLiteral("history-popup.png"))) ? 0 : 1;
}
