#include "DataView.h"
#include "HistoryColorBinder.h"
#include "HistoryPane.h"
#include "HistorySessions.h"
#include "HistoryView.h"
#include "ObjectContext.h"
#include "SessionListController.h"
#include "SportZoneView.h"
#include "VXDataWindow.h"
#include "VXDataWindowController.h"
#include "VXDefaults.h"
#include "VXNotifications.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using HistorySessions::local;
using HistorySessions::Values;

namespace {

// Pixels of anti-aliased drawing may differ by a step or two.
void expectColor(const QImage &image, int x, int y, const QColor &expected)
{
    const QColor actual = image.pixelColor(x, y);
    EXPECT_NEAR(actual.red(), expected.red(), 3) << "at " << x << ", " << y;
    EXPECT_NEAR(actual.green(), expected.green(), 3) << "at " << x << ", " << y;
    EXPECT_NEAR(actual.blue(), expected.blue(), 3) << "at " << x << ", " << y;
}

QColor setting(const char *key)
{
    return VXDefaults::value(QString::fromLatin1(key)).value<QColor>();
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
    HistoryViewTest() { VXDefaults::settings().clear(); }

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

    // A bare calendar of height 255, laid out and rendered.
    QImage render(HistoryView &view)
    {
        view.resize(view.width(), 255);
        view.layoutSessions();
        return view.grab().toImage();
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

} // namespace

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

TEST_F(HistoryViewTest, RendersBarsAndWeekLines)
{
    setLayers(true, false, false, false);
    add(local(2008, 3, 14), {.totalTime = 3600});                   // Friday, column 0
    const RunSession *selected = add(local(2008, 3, 15), {.totalTime = 1800});
    add(local(2008, 3, 17), {.totalTime = 0});                      // Monday, column 45
    m_sessions.selectSession(selected);
    HistoryView view(m_context, m_hub);
    view.setSessionArrayController(&m_sessions);
    const QImage image = render(view);

    ASSERT_EQ(image.width(), 60);
    expectColor(image, 7, 155, setting("VXHistoryTimeColor"));
    expectColor(image, 22, 230, setting("VXHistorySelectedTimeColor"));
    expectColor(image, 0, 150, QColor(128, 128, 128)); // the bar's outline
    expectColor(image, 37, 150, Qt::white);            // Sunday: no session
    expectColor(image, 45, 50, QColor(179, 179, 179)); // Monday's week line
    expectColor(image, 37, 254, QColor(179, 179, 179)); // baseline
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
    EXPECT_EQ(popUp->pos(), QPoint(pointer.x() - popUp->width() / 2, pointer.y() - 40 - popUp->height()));
    EXPECT_EQ(popUp->fadeIn().duration(), 200);

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

TEST_F(HistoryViewTest, ScrollsToTheSelectedSessionsDay)
{
    add(local(2008, 3, 1));
    const RunSession *last = add(local(2008, 4, 29)); // day 60, column 885
    HistoryView &view = showPane(400);
    QScrollArea *scroll = m_pane->scrollView();
    ASSERT_EQ(view.width(), 900);

    m_sessions.selectSession(last);
    const int visible = scroll->viewport()->width();
    EXPECT_EQ(scroll->horizontalScrollBar()->value(), 885 - visible + 15);
    m_sessions.clearSelection();
    EXPECT_EQ(scroll->horizontalScrollBar()->value(), 0);
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

    view.resetColors();
    EXPECT_EQ(view.historyTimeColor(), VXDefaults::table().value(QStringLiteral("VXHistoryTimeColor")).value<QColor>());
    EXPECT_EQ(zones.zoneColor(), view.historyTimeColor());
    EXPECT_EQ(view.historyCaloriesColor(), QColor(Qt::black));
}
