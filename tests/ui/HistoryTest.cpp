// The history calendar: dates, the pure layout, the view with its pop-up
// window, and the pop-up's bubble. Runs in Europe/Berlin time.
#include "GoldenCases.h"
#include "HistoryColorBinder.h"
#include "HistoryGeometry.h"
#include "HistoryPane.h"
#include "HistoryView.h"
#include "VXUnits.h"
#include "ObjectContext.h"
#include "SessionListController.h"
#include "SportZoneView.h"
#include "VXDataWindow.h"
#include "VXDataWindowController.h"
#include "VXDate.h"
#include "VXDefaults.h"
#include "VXNotifications.h"

#include <QApplication>
#include <QLineEdit>
#include <QMap>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr int kMonday = 2;
// A height whose line span (H − 55) is 200 and bar scale (H − 20) is 235.
constexpr double kHeight = 255.0;

QDateTime local(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::LocalTime);
}

TEST(VXDate, MidnightIsTheStartOfTheLocalCalendarDay)
{
    // Summer and winter days keep their own offset, whatever is in force now.
    EXPECT_EQ(VXDate::midnight(local(2008, 7, 1, 0, 30)), local(2008, 7, 1, 0, 0));
    EXPECT_EQ(VXDate::midnight(local(2008, 12, 1, 23, 59)), local(2008, 12, 1, 0, 0));
    // A UTC time late in the evening belongs to the next local day (+0200 in July).
    EXPECT_EQ(VXDate::midnight(QDateTime(QDate(2008, 7, 1), QTime(22, 30), Qt::UTC)), local(2008, 7, 2, 0, 0));
    EXPECT_FALSE(VXDate::midnight(QDateTime()).isValid());
    // 26 October 2008 is 25 hours long.
    EXPECT_EQ(VXDate::midnight(local(2008, 10, 26, 23, 30)).secsTo(VXDate::midnight(local(2008, 10, 27, 0, 10))),
              25 * 3600);
}

TEST(VXDate, OrderKeysFollowTheInstantAlsoInTheRepeatedHour)
{
    // On 26 October 2008 the clock went from 3:00 back to 2:00: 2:30 summer time
    // comes before 2:15 winter time.
    const QDateTime summer = QDateTime::fromSecsSinceEpoch(1224981000, Qt::LocalTime); // 00:30 UTC
    const QDateTime winter = QDateTime::fromSecsSinceEpoch(1224983700, Qt::LocalTime); // 01:15 UTC
    ASSERT_EQ(summer.time(), QTime(2, 30));
    ASSERT_EQ(winter.time(), QTime(2, 15));
    EXPECT_TRUE(VXDate::OrderKey(summer) < VXDate::OrderKey(winter));
    EXPECT_FALSE(VXDate::OrderKey(winter) < VXDate::OrderKey(summer));

    const QDateTime sameInUtc = summer.toUTC();
    EXPECT_TRUE(VXDate::OrderKey(summer).isSameInstant(VXDate::OrderKey(sameInUtc)));
    EXPECT_FALSE(VXDate::OrderKey(summer).isSameInstant(VXDate::OrderKey(winter)));
}

// A session from a line of data/history-geometry.txt: "2008-03-12 18:30", then
// any of time=, hr=, distance=, calories= ("-": none) and a watch model.
// Otherwise 1 hour, 140 bpm, 5 km, 500 kcal, RS200.
RunSession session(const QString &line)
{
    QMap<QString, std::optional<int>> values{{"time", 36000}, {"hr", 140}, {"distance", 5000}, {"calories", 500}};
    RunSession s;
    s.hrm = QStringLiteral("RS200");
    s.sessionDate = QDateTime::fromString(line.left(16), QStringLiteral("yyyy-MM-dd HH:mm"));
    for (const QString &word : line.mid(16).split(u' ', Qt::SkipEmptyParts)) {
        const QString text = word.section(u'=', 1);
        if (!word.contains(u'='))
            s.hrm = word;
        else
            values[word.section(u'=', 0, 0)] = text == u"-" ? std::nullopt : std::optional<int>(text.toInt());
    }
    s.sessionTotalTime = values["time"];
    s.sessionAverageHR = values["hr"];
    s.setPrimitiveSessionTotalDistance(values["distance"]);
    s.sessionCalories = values["calories"];
    return s;
}

template <typename List, typename Text> QString joined(const List &list, Text text)
{
    QStringList parts;
    for (const auto &item : list)
        parts.append(text(item));
    return parts.isEmpty() ? QStringLiteral("-") : parts.join(QStringLiteral(" | "));
}

QString lineText(const char *name, const HistoryLine &line)
{
    return QStringLiteral("%1 dots %2; segments %3\n")
        .arg(QLatin1StringView(name), joined(line.dots, point),
             joined(line.segments, [](const QLineF &l) { return point(l.p1()) + u' ' + point(l.p2()); }));
}

QList<const RunSession *> pointersTo(const std::vector<RunSession> &sessions)
{
    QList<const RunSession *> drawn;
    for (const RunSession &s : sessions)
        drawn.append(&s);
    return drawn;
}

QString calendarText(const HistoryGeometry &g, const std::vector<RunSession> &sessions)
{
    const QList<const RunSession *> drawn = pointersTo(sessions);
    const VXUnits units; // the locale's, as the calendar shows them
    const auto day = [](const QDateTime &date) {
        return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QStringLiteral("-");
    };
    return QStringLiteral("%1 days from %2 to %3, width %4, week lines %5\n")
               .arg(QString::number(g.days), day(g.startDate), day(g.endDate), number(g.width),
                    joined(g.weekLines, number))
           + QStringLiteral("bars %1\n").arg(joined(g.bars, [](const HistoryBar &bar) { return rect(bar.rect); }))
           + QStringLiteral("clicks %1\n").arg(joined(g.rectArray, rect)) + lineText("heart rate", g.heartRate)
           + lineText("distance", g.distance) + lineText("calories", g.calories)
           + QStringLiteral("weeks %1\n").arg(joined(g.weeks, [&](const HistoryWeek &w) {
                 const HistoryWeekTotals totals = HistoryGeometry::totalsOf(w, drawn, units);
                 return QStringLiteral("%1 %2 %3 %4").arg(number(w.x), w.firstDay.toString(Qt::ISODate),
                                                          QString::number(totals.totalTime),
                                                          QString::number(totals.distance));
             }))
           + QStringLiteral("months %1\n").arg(joined(g.months, [](const HistoryMonth &m) {
                 return number(m.x) + u' ' + m.day.toString(Qt::ISODate);
             }));
}

HistoryGeometry compute(const std::vector<RunSession> &sessions, const HistoryGeometry::Input &input)
{
    return HistoryGeometry::compute(pointersTo(sessions), input);
}

class CalendarGeometry : public testing::TestWithParam<GoldenCase>
{
protected:
    void TearDown() override { QLocale::setDefault(m_locale); }

    const QLocale m_locale;
};

TEST_P(CalendarGeometry, MatchesTheGoldenTextWhole)
{
    const QStringList &header = GetParam().header;
    ASSERT_EQ(header.size(), 5);
    QLocale::setDefault(QLocale(header[3]));
    std::vector<RunSession> sessions;
    for (const QString &line : GetParam().input)
        sessions.push_back(session(line));
    const HistoryLayers layers{header[4].contains(u'T'), header[4].contains(u'H'), header[4].contains(u'D'),
                               header[4].contains(u'C')};
    const HistoryGeometry geometry = compute(sessions, {kHeight, header[2].toDouble(), header[1].toInt(), layers, {}});
    expectGolden(GetParam(), calendarText(geometry, sessions));
    for (std::size_t i = 0; layers.time && i < sessions.size(); ++i)
        EXPECT_EQ(geometry.columnStart(sessions[i].sessionDate), geometry.bars[int(i)].rect.x());
}

INSTANTIATE_TEST_SUITE_P(Cases, CalendarGeometry,
                         testing::ValuesIn(goldenCases(QStringLiteral("history-geometry.txt"))), goldenCaseName);

TEST(HistoryGeometry, ClicksHitTheEarliestSessionOfTheirColumnHalfOpen)
{
    const std::vector<RunSession> sessions{session("2008-03-12 08:00 time=1000"), session("2008-03-12 18:00 time=2000"),
                                           session("2008-03-13 08:00 time=0")};
    const HistoryGeometry geometry = compute(sessions, {kHeight, 0, kMonday, {}, {}});
    // The earlier, lower bar wins where both contain the point; above it the later one.
    EXPECT_EQ(geometry.hitTest({14.9, 100}), 0);
    EXPECT_EQ(geometry.hitTest({5, 200}), 1);
    // The right and top edges belong to the next rectangle or to none.
    EXPECT_EQ(geometry.hitTest({15, 2.9}), 2);
    EXPECT_EQ(geometry.hitTest({20, 3}), -1);
}

TEST(HistoryGeometry, ScrollTargets)
{
    // Column left of the visible part: to the left edge; right of it: to the right edge.
    EXPECT_EQ(HistoryGeometry::scrollTarget(100, 300, 50), 50.0);
    EXPECT_EQ(HistoryGeometry::scrollTarget(0, 300, 400), 115.0);
    EXPECT_EQ(HistoryGeometry::scrollTarget(0, 300, 286), 1.0);
    EXPECT_EQ(HistoryGeometry::scrollTarget(0, 300, 285), std::nullopt);
    // Without a selection the first column is the target.
    EXPECT_EQ(HistoryGeometry().columnStart(std::nullopt), 0.0);
}

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

class HistoryViewTest : public ::testing::Test
{
protected:
    const RunSession *add(const QString &line) { return m_context.insertSession(session(line)); }

    // The calendar in its pane in a shown window.
    HistoryView &showPane(int width = 500)
    {
        m_window = std::make_unique<QWidget>();
        m_pane = new HistoryPane(m_context, m_sessions, m_hub, m_window.get());
        m_window->resize(width, 300);
        m_pane->resize(m_window->size());
        m_window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        m_pane->historyView()->layoutSessions();
        return *m_pane->historyView();
    }

    // Clicks the middle of session i's bar and lets the pop-up become the active window.
    QPoint openPopUp(HistoryView &view, int i)
    {
        const QRectF bar = view.rectArray().at(i);
        const QPoint point(int(bar.center().x()), view.height() - int(bar.center().y()));
        QTest::mouseClick(&view, Qt::LeftButton, {}, point);
        VXDataWindow *popUp = view.dataWindowController().window();
        EXPECT_TRUE(QTest::qWaitFor([popUp] { return popUp->isActiveWindow(); }));
        return point;
    }

    ObjectContext m_context;
    SessionListController m_sessions{m_context};
    VXNotifications m_hub;
    std::unique_ptr<QWidget> m_window;
    HistoryPane *m_pane = nullptr;
};

TEST_F(HistoryViewTest, FetchesVisibleDatedSessionsInDateOrder)
{
    const RunSession *hidden = add("2008-03-01 12:00");
    m_context.setHidden(hidden, true);
    const RunSession *later = add("2008-03-14 12:00");
    const RunSession *first = add("2008-03-12 12:00");
    const RunSession *sameDate = add("2008-03-14 12:00");
    RunSession undated = session("2008-03-15 12:00");
    undated.sessionDate.reset();
    m_context.insertSession(std::move(undated));
    add("1969-12-31 12:00");

    EXPECT_EQ(HistoryView::fetchSessionArray(m_context), (QList<const RunSession *>{first, later, sameDate}));
    HistoryView view(m_context, m_hub);
    view.layoutSessions();
    EXPECT_EQ(view.rectArray().size(), 3);
}

TEST_F(HistoryViewTest, ClickOrReturnOpensThePopUpAboveThePointerAndEscapeOrFocusLossCloseIt)
{
    const RunSession *first = add("2008-03-12 12:00 time=3600");
    const RunSession *second = add("2008-03-13 12:00 time=1800");
    HistoryView &view = showPane();

    const QPoint point = openPopUp(view, 1);
    EXPECT_EQ(m_sessions.selectedSessions(), QList<const RunSession *>{second});
    ASSERT_TRUE(view.isDataWindowOpen());
    VXDataWindow *popUp = view.dataWindowController().window();
    const QPoint pointer = view.mapToGlobal(point);
    EXPECT_EQ(popUp->pos(),
              VXDataWindow::placement(popUp->size(), pointer, view.screen()->availableGeometry(), 40).topLeft);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(view.isDataWindowOpen());
    EXPECT_FALSE(popUp->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->isActiveWindow(); }));
    // A click beside the bars does nothing.
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_FALSE(view.isDataWindowOpen());

    openPopUp(view, 0);
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->isActiveWindow(); }));
    EXPECT_FALSE(view.isDataWindowOpen());
    EXPECT_FALSE(popUp->isVisible());

    // The arrows choose the neighbouring session, Return opens its pop-up, Escape closes it.
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(m_sessions.selectedSessions(), QList<const RunSession *>{second});
    QTest::keyClick(&view, Qt::Key_Left);
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(view.dataWindowController().session(), first);
    EXPECT_TRUE(view.isDataWindowOpen());
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_FALSE(view.isDataWindowOpen());
}

TEST_F(HistoryViewTest, DistanceEditIsStoredAnnouncedRedrawnAndUndoable)
{
    add("2008-03-12 12:00 distance=5000");
    const RunSession *session = add("2008-03-13 12:00 distance=10000");
    HistoryView &view = showPane();
    QSignalSpy announced(&m_hub, &VXNotifications::VXDataWindowValueHasChanged);
    openPopUp(view, 1);
    VXDataWindowController &controller = view.dataWindowController();
    QLineEdit *field = controller.distanceField();
    EXPECT_TRUE(controller.nameField()->hasFocus());
    PaintCounter paints;
    view.installEventFilter(&paints);
    const auto type = [field](const QString &text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
        QCoreApplication::processEvents();
    };

    type(QStringLiteral("7.5"));
    EXPECT_EQ(session->sessionTotalDistance(), 7500);
    EXPECT_EQ(announced.count(), 1);
    EXPECT_GE(paints.paints, 1);
    EXPECT_TRUE(controller.nameField()->hasFocus()); // on to the next field, round to the first

    m_context.undoStack()->undo();
    EXPECT_EQ(session->sessionTotalDistance(), 10000);
    EXPECT_EQ(field->text(), QStringLiteral("10.000 km"));

    // Text that is no distance is refused and the field shows the stored value again.
    type(QStringLiteral("far"));
    EXPECT_EQ(session->sessionTotalDistance(), 10000);
    EXPECT_EQ(field->text(), QStringLiteral("10.000 km"));
    EXPECT_EQ(announced.count(), 1);
}

TEST_F(HistoryViewTest, OpensAtTheNewestSessionAndScrollsToTheSelectedSessionsDay)
{
    const RunSession *first = add("2008-03-01 12:00");
    const RunSession *last = add("2008-04-29 12:00"); // day 60, column 885
    HistoryView &view = showPane(400);
    QScrollArea *scroll = m_pane->scrollView();
    ASSERT_EQ(view.width(), 900);
    const int newest = 885 - scroll->viewport()->width() + 15;
    EXPECT_EQ(scroll->horizontalScrollBar()->value(), newest);

    m_sessions.selectSession(first);
    EXPECT_EQ(scroll->horizontalScrollBar()->value(), 0);
    m_sessions.selectSession(last);
    EXPECT_EQ(scroll->horizontalScrollBar()->value(), newest);
}

TEST_F(HistoryViewTest, FirstDayOfTheWeekFollowsThePreferences)
{
    add("2008-03-12 12:00"); // Wednesday
    HistoryView view(m_context, m_hub);
    EXPECT_EQ(view.firstDayOfWeek(), 2);
    VXDefaults::settings().setValue(HistoryView::kFirstDayOfWeekKey, 1);
    emit m_hub.firstDayOfWeekPopUpButtonSelectionDidChange();
    view.layoutSessions();
    EXPECT_EQ(view.endDate(), local(2008, 3, 16, 0, 0));
    // An odd stored value falls back to Monday.
    VXDefaults::settings().setValue(HistoryView::kFirstDayOfWeekKey, QStringLiteral("Someday"));
    emit m_hub.firstDayOfWeekPopUpButtonSelectionDidChange();
    EXPECT_EQ(view.firstDayOfWeek(), 2);
}

// Reset Colours is checked with the preferences, where its button is.
TEST_F(HistoryViewTest, ColoursFollowTheirSettingsAndAnUnreadableOneIsTheDefault)
{
    HistoryView view(m_context, m_hub);
    SportZoneView zones;
    HistoryColorBinder binder(m_hub);
    binder.bindHistoryColors(&view, &zones);
    QSettings settings = VXDefaults::settings();
    settings.setValue(QStringLiteral("VXHistoryTimeColor"), QColor(Qt::darkGreen));
    settings.setValue(QStringLiteral("VXHistoryCaloriesColor"), QColor(Qt::black));
    settings.setValue(QStringLiteral("VXHistoryHRColor"), QStringLiteral("not a colour"));
    settings.sync();
    emit m_hub.historyColorsDidChange();
    EXPECT_EQ(zones.zoneColor(), QColor(Qt::darkGreen));
    EXPECT_EQ(view.historyCaloriesColor(), QColor(Qt::black));
    EXPECT_EQ(view.historyHRColor(), VXDefaults::table().value(QStringLiteral("VXHistoryHRColor")).value<QColor>());
}

// The bubble stays on the pointer's screen: flipped below the bar when there
// is no room above, shifted sideways with its tip still at the pointer.
TEST(VXDataWindow, PlacementKeepsTheWholeBubbleOnTheScreen)
{
    const QRect screen(0, 0, 800, 600);
    const QSize size(280, 214);
    EXPECT_EQ(VXDataWindow::placement(size, {400, 400}, screen, 40), (BubblePlacement{{260, 146}, false, 140}));
    // 4 May 2009 at the left edge: shifted right, the tip moved left.
    EXPECT_EQ(VXDataWindow::placement(size, {16, 400}, screen, 40), (BubblePlacement{{0, 146}, false, 20}));
    // The newest session at the right edge, near the top: below the bar, shifted left.
    EXPECT_EQ(VXDataWindow::placement(size, {795, 100}, screen, 40), (BubblePlacement{{520, 140}, true, 260}));
    const BubblePlacement onSecondScreen = VXDataWindow::placement(size, {1700, 300}, QRect(1600, 0, 800, 600), 40);
    EXPECT_TRUE(QRect(1600, 0, 800, 600).contains(QRect(onSecondScreen.topLeft, size)));
}

} // namespace
