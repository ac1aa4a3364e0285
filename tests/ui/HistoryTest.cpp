// The history calendar: dates, the pure layout, the view with its pop-up
// window, and the pop-up's bubble. Runs in Europe/Berlin time.
#include "DataView.h"
#include "HistoryColorBinder.h"
#include "HistoryGeometry.h"
#include "HistoryPane.h"
#include "HistorySessions.h"
#include "HistoryView.h"
#include "ObjectContext.h"
#include "SessionListController.h"
#include "SportZoneView.h"
#include "VXDataWindow.h"
#include "VXDataWindowController.h"
#include "VXDate.h"
#include "VXDefaults.h"
#include "VXNotifications.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using HistorySessions::local;
using HistorySessions::Values;

namespace {

constexpr unsigned kSunday = 1;
constexpr unsigned kMonday = 2;
constexpr unsigned kSaturday = 7;
// A height whose line span (H − 55) is 200 and bar scale (H − 20) is 235.
constexpr double kHeight = 255.0;

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

TEST(VXDate, FirstDayOfNextWeek)
{
    // Wednesday 12 March 2008.
    EXPECT_EQ(VXDate::firstDayOfNextWeekWithFirstDayOfTheWeek(local(2008, 3, 12, 18, 30), kMonday),
              local(2008, 3, 17, 0, 0));
    // Already on the first day: midnight of the same day.
    EXPECT_EQ(VXDate::firstDayOfNextWeekWithFirstDayOfTheWeek(local(2008, 3, 17, 9, 0), kMonday),
              local(2008, 3, 17, 0, 0));
    // Saturday with Sunday first: the next day; Sunday with Saturday first: six days on.
    EXPECT_EQ(VXDate::firstDayOfNextWeekWithFirstDayOfTheWeek(local(2008, 3, 15, 23, 59), kSunday),
              local(2008, 3, 16, 0, 0));
    EXPECT_EQ(VXDate::firstDayOfNextWeekWithFirstDayOfTheWeek(local(2008, 3, 16, 0, 0), kSaturday),
              local(2008, 3, 22, 0, 0));
    // Late on Wednesday before the autumn change.
    EXPECT_EQ(VXDate::firstDayOfNextWeekWithFirstDayOfTheWeek(local(2008, 10, 22, 23, 30), kMonday),
              local(2008, 10, 27, 0, 0));
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

class HistoryGeometryTest : public ::testing::Test
{
protected:
    void add(const QDateTime &date, const Values &values = {})
    {
        m_sessions.push_back(HistorySessions::session(date, values));
    }

    HistoryGeometry compute(HistoryLayers layers = {true, true, true, true})
    {
        m_input.layers = layers;
        QList<const RunSession *> sessions;
        for (const RunSession &session : m_sessions)
            sessions.append(&session);
        return HistoryGeometry::compute(sessions, m_input);
    }

    QList<double> columns(const HistoryGeometry &geometry) const
    {
        QList<double> x;
        for (const HistoryBar &bar : geometry.bars)
            x.append(bar.rect.x());
        return x;
    }

    std::vector<RunSession> m_sessions;
    HistoryGeometry::Input m_input{kHeight, 0, kMonday, {}, {}};
};

TEST_F(HistoryGeometryTest, NoSessionLeavesTheViewOnePointWide)
{
    const HistoryGeometry geometry = compute();
    EXPECT_EQ(geometry.width, 1.0);
    EXPECT_TRUE(geometry.weekLines.isEmpty());
}

QList<double> numbersOf(const QString &text)
{
    QList<double> numbers;
    for (const QString &number : text.split(u' ', Qt::SkipEmptyParts))
        numbers.append(number.toDouble());
    return numbers;
}

// Each case of data/history-days.txt: the sessions' columns, the width and the week lines.
TEST_F(HistoryGeometryTest, SessionsLandInTheColumnOfTheirCalendarDay)
{
    QFile file(QStringLiteral(VENTRIX_TEST_DATA "/history-days.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    int cases = 0;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const QStringList field = line.split(u'|');
        if (line.startsWith(u'#') || field.size() != 5)
            continue;
        m_sessions.clear();
        m_input.firstDayOfWeek = field[0].toInt();
        for (const QString &time : field[1].split(u','))
            add(QDateTime::fromString(time.trimmed(), QStringLiteral("yyyy-MM-dd HH:mm")));
        const HistoryGeometry geometry = compute();
        EXPECT_EQ(columns(geometry), numbersOf(field[2])) << line.toStdString();
        EXPECT_EQ(geometry.columnStart(VXDate::midnight(m_sessions.back().sessionDate.value())), columns(geometry).last());
        if (field[3].trimmed() != u"-")
            EXPECT_EQ(geometry.width, field[3].toDouble()) << line.toStdString();
        if (field[4].trimmed() != u"-")
            EXPECT_EQ(geometry.weekLines, numbersOf(field[4])) << line.toStdString();
        ++cases;
    }
    EXPECT_EQ(cases, 7);
}

TEST_F(HistoryGeometryTest, ViewFillsTheScrollViewWithWeekLines)
{
    EXPECT_EQ(HistoryGeometry::numberOfDaysFrom(local(2008, 3, 12, 0, 0), local(2008, 3, 24, 0, 0)), 13);
    add(local(2008, 3, 12, 18, 30));
    const HistoryGeometry geometry = compute();
    EXPECT_EQ(geometry.startDate, local(2008, 3, 12, 0, 0));
    EXPECT_EQ(geometry.endDate, local(2008, 3, 17, 0, 0));
    EXPECT_EQ(geometry.days, 6);
    m_input.scrollViewWidth = 302;
    const HistoryGeometry wide = compute();
    EXPECT_EQ(wide.width, 300.0);
    EXPECT_EQ(wide.weekLines, (QList<double>{75.0, 180.0, 285.0}));
}

TEST_F(HistoryGeometryTest, BarHeightsAndClickRectangles)
{
    add(local(2008, 3, 12), {.totalTime = 3600});
    add(local(2008, 3, 13), {.totalTime = 1800});
    add(local(2008, 3, 14), {.totalTime = 0});
    add(local(2008, 3, 15), {.totalTime = std::nullopt});
    const HistoryGeometry geometry = compute();
    ASSERT_EQ(geometry.bars.size(), 4);
    EXPECT_EQ(geometry.bars[0].rect, QRectF(0, 0, 15, 235));
    EXPECT_EQ(geometry.bars[1].rect, QRectF(15, 0, 15, 117.5));
    EXPECT_EQ(geometry.bars[2].rect, QRectF(30, 0, 15, 0));
    EXPECT_EQ(geometry.rectArray,
              (QList<QRectF>{{0, 0, 15, 238}, {15, 0, 15, 120.5}, {30, 0, 15, 3}, {45, 0, 15, 3}}));

    // When every time is 0 the bars lie flat instead of dividing by zero.
    m_sessions.erase(m_sessions.begin(), m_sessions.begin() + 2);
    const HistoryGeometry flat = compute();
    EXPECT_EQ(flat.bars[0].rect, QRectF(0, 0, 15, 0));
    EXPECT_EQ(flat.rectArray[0], QRectF(0, 0, 15, 3));
}

TEST_F(HistoryGeometryTest, ClicksHitTheEarliestSessionOfTheirColumnHalfOpen)
{
    add(local(2008, 3, 12, 8, 0), {.totalTime = 1000});
    add(local(2008, 3, 12, 18, 0), {.totalTime = 2000});
    add(local(2008, 3, 13, 8, 0), {.totalTime = 0});
    const HistoryGeometry geometry = compute();
    EXPECT_EQ(columns(geometry), (QList<double>{0, 0, 15}));
    // The earlier, lower bar wins where both contain the point; above it the later one.
    EXPECT_EQ(geometry.hitTest({14.9, 100}), 0);
    EXPECT_EQ(geometry.hitTest({5, 200}), 1);
    // The right and top edges belong to the next rectangle or to none.
    EXPECT_EQ(geometry.hitTest({15, 2.9}), 2);
    EXPECT_EQ(geometry.hitTest({20, 3}), -1);

    EXPECT_TRUE(compute({false, true, true, true}).rectArray.isEmpty());
}

QList<QPointF> pointsOf(const QString &text)
{
    QList<QPointF> points;
    for (const QString &pair : text.split(u' ', Qt::SkipEmptyParts))
        points.append({pair.section(u',', 0, 0).toDouble(), pair.section(u',', 1, 1).toDouble()});
    return points;
}

// Each case of data/history-lines.txt: the values of one layer, the dots and segments drawn.
TEST_F(HistoryGeometryTest, LinesMatchTheCaseTable)
{
    QFile file(QStringLiteral(VENTRIX_TEST_DATA "/history-lines.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    int cases = 0;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const QStringList field = line.split(u'|');
        if (line.startsWith(u'#') || field.size() != 4)
            continue;
        const QString layer = field[0].trimmed();
        m_sessions.clear();
        QDateTime day = local(2008, 3, 12);
        for (const QString &text : field[1].split(u' ', Qt::SkipEmptyParts)) {
            const std::optional<int> value = text == u"-" ? std::nullopt : std::optional<int>(text.toInt());
            add(day, layer == u"heartRate" ? Values{.averageHR = value}
                     : layer == u"distance" ? Values{.distance = value} : Values{.calories = value});
            day = day.addDays(1);
        }
        const HistoryGeometry geometry = compute();
        const HistoryLine &drawn = layer == u"heartRate" ? geometry.heartRate
                                   : layer == u"distance" ? geometry.distance : geometry.calories;
        QList<QLineF> segments;
        const QList<QPointF> ends = pointsOf(field[3]);
        for (int i = 0; i + 1 < ends.size(); i += 2)
            segments.append({ends[i], ends[i + 1]});
        EXPECT_EQ(drawn.dots, pointsOf(field[2])) << line.toStdString();
        EXPECT_EQ(drawn.segments, segments) << line.toStdString();
        ++cases;
    }
    EXPECT_EQ(cases, 4);
    EXPECT_TRUE(compute({true, true, true, false}).calories.dots.isEmpty());
}

TEST_F(HistoryGeometryTest, DistancesAreReadInTheUsersUnit)
{
    // In miles an RS200's 10 km is 6.213 mi; a CS200's distance is never converted.
    const QLocale metric;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    add(local(2008, 3, 12), {.distance = 10000});
    add(local(2008, 3, 13), {.distance = 6213});
    m_sessions.back().hrm = QStringLiteral("CS200");
    add(local(2008, 3, 14), {.distance = 3107}); // 1.930 mi
    const HistoryLine line = compute().distance;
    QLocale::setDefault(metric);
    EXPECT_EQ(line.dots, (QList<QPointF>{{7.5, 235}, {22.5, 235}, {37.5, 35 + 1930.0 / 6213 * 200}}));
}

TEST_F(HistoryGeometryTest, WeeksTotalTheirSessionsAndMonthsStartOnTheFirst)
{
    add(local(2008, 4, 29), {.totalTime = 36000, .distance = 5000}); // Tuesday
    add(local(2008, 4, 30), {.totalTime = 18000, .distance = std::nullopt});
    add(local(2008, 5, 5), {.totalTime = 600, .distance = 1500});    // Monday, a week line
    const HistoryGeometry geometry = compute();
    const QList<const RunSession *> sessions{&m_sessions[0], &m_sessions[1], &m_sessions[2]};
    const VXUnits metric(true);
    const auto totals = [&](int week) { return HistoryGeometry::totalsOf(geometry.weeks[week], sessions, metric); };
    ASSERT_EQ(geometry.weeks.size(), 2);
    EXPECT_EQ(geometry.weeks[0].firstDay, QDate(2008, 4, 29));
    EXPECT_EQ(totals(0).totalTime, 54000);
    EXPECT_EQ(totals(0).distance, 5000);
    EXPECT_EQ(geometry.weeks[1].x, 90.0);
    EXPECT_EQ(geometry.weeks[1].firstDay, QDate(2008, 5, 5));
    EXPECT_EQ(totals(1).distance, 1500);
    ASSERT_EQ(geometry.months.size(), 2);
    EXPECT_EQ(geometry.months[1].x, 30.0);
    EXPECT_EQ(geometry.months[1].day, QDate(2008, 5, 1));
}

TEST(HistoryGeometry, ScrollTargets)
{
    // Column left of the visible part: to the left edge; right of it: to the right edge.
    EXPECT_EQ(HistoryGeometry::scrollTarget(100, 300, 50), 50.0);
    EXPECT_EQ(HistoryGeometry::scrollTarget(0, 300, 400), 115.0);
    EXPECT_EQ(HistoryGeometry::scrollTarget(0, 300, 286), 1.0);
    EXPECT_EQ(HistoryGeometry::scrollTarget(0, 300, 285), std::nullopt);
    // Without a selection the first column is the target.
    const HistoryGeometry none;
    EXPECT_EQ(none.columnStart(std::nullopt), 0.0);
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
    const RunSession *add(const QDateTime &date, const Values &values = {})
    {
        return m_context.insertSession(HistorySessions::session(date, values));
    }

    void setLayers(bool time, bool heartRate, bool distance, bool calories)
    {
        QSettings settings = VXDefaults::settings();
        const QList<bool> shown{time, heartRate, distance, calories};
        for (int i = 0; i < shown.size(); ++i)
            settings.setValue(HistoryView::visibilityKeys()[i], shown[i]);
    }

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
    const RunSession *hidden = add(local(2008, 3, 1));
    m_context.setHidden(hidden, true);
    const RunSession *later = add(local(2008, 3, 14));
    const RunSession *first = add(local(2008, 3, 12));
    const RunSession *sameDate = add(local(2008, 3, 14));
    RunSession undated = HistorySessions::session(QDateTime());
    undated.sessionDate.reset();
    m_context.insertSession(std::move(undated));
    add(local(1969, 12, 31));

    EXPECT_EQ(HistoryView::fetchSessionArray(m_context), (QList<const RunSession *>{first, later, sameDate}));
    HistoryView view(m_context, m_hub);
    view.layoutSessions();
    EXPECT_EQ(view.rectArray().size(), 3);
}

TEST_F(HistoryViewTest, ClickOpensThePopUpAboveThePointerAndEscapeOrFocusLossCloseIt)
{
    add(local(2008, 3, 12), {.totalTime = 3600});
    const RunSession *second = add(local(2008, 3, 13), {.totalTime = 1800});
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
}

TEST_F(HistoryViewTest, DistanceEditIsStoredAnnouncedRedrawnAndUndoable)
{
    add(local(2008, 3, 12), {.distance = 5000});
    const RunSession *session = add(local(2008, 3, 13), {.distance = 10000});
    HistoryView &view = showPane();
    DataView dataView(m_sessions, m_context);
    // As the application wires it.
    QObject::connect(&m_hub, &VXNotifications::VXDataWindowValueHasChanged, &dataView,
                     &DataView::reloadDataViewTable);
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
    bool tableShowsIt = false;
    for (const DataRow &row : dataView.dataRowArray())
        tableShowsIt |= row.value.text.contains(QStringLiteral("7.500"));
    EXPECT_TRUE(tableShowsIt);

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
    const RunSession *first = add(local(2008, 3, 1));
    const RunSession *last = add(local(2008, 4, 29)); // day 60, column 885
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

// The arrows choose the neighbouring session, Return opens its pop-up, Escape closes it.
TEST_F(HistoryViewTest, KeyboardMovesTheSelectionAndOpensThePopUp)
{
    const RunSession *first = add(local(2008, 3, 12), {.totalTime = 3600});
    const RunSession *second = add(local(2008, 3, 13), {.totalTime = 1800});
    HistoryView &view = showPane();
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(m_sessions.selectedSessions(), QList<const RunSession *>{second});
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(m_sessions.selectedSessions(), QList<const RunSession *>{first});
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_TRUE(view.isDataWindowOpen());
    EXPECT_EQ(view.dataWindowController().session(), first);
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_FALSE(view.isDataWindowOpen());
}

TEST_F(HistoryViewTest, FirstDayOfTheWeekFollowsThePreferences)
{
    add(local(2008, 3, 12)); // Wednesday
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

TEST_F(HistoryViewTest, ColoursFollowTheirSettingsAndResetLeavesCalories)
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

    HistoryView::resetColors(m_hub);
    EXPECT_EQ(view.historyTimeColor(), VXDefaults::table().value(QStringLiteral("VXHistoryTimeColor")).value<QColor>());
    EXPECT_EQ(zones.zoneColor(), view.historyTimeColor());
    EXPECT_EQ(view.historyCaloriesColor(), QColor(Qt::black));
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
