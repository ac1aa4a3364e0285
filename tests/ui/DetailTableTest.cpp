// The detail table and the zone chart: both against golden text per case, the
// table's controller with the switches, and the session split view.
#include "DataRowBuilder.h"
#include "DataView.h"
#include "GoldenCases.h"
#include "ObjectContext.h"
#include "SessionListController.h"
#include "SessionSplitLayout.h"
#include "SportZoneGeometry.h"
#include "SportZoneView.h"
#include "StoreFile.h"
#include "VXDefaults.h"
#include "VXSegmentedControl.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLocale>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>

#include <gtest/gtest.h>

#include <climits>

namespace {

// The sessions of data/sessions.xml with these names, in this order.
std::vector<RunSession> fixtureSessions(const QStringList &names)
{
    const StoreLoadResult store = StoreFile(QStringLiteral(VENTRIX_TEST_DATA "/sessions.xml")).load();
    EXPECT_TRUE(store.ok) << store.errorMessage.toStdString();
    std::vector<RunSession> found;
    for (const QString &name : names)
        for (const RunSession &session : store.contents.sessions)
            if (session.sessionName == name)
                found.push_back(session);
    EXPECT_EQ(found.size(), std::size_t(names.size())) << names.join(u',').toStdString();
    return found;
}

// A row as one line: "label | value", the value marked "*" when its last character is set small.
QString rowsText(const QList<DataRow> &rows)
{
    QString text;
    for (const DataRow &row : rows)
        text += row.label + QStringLiteral(" | ") + (row.value.smallLastCharacter ? QStringLiteral("*") : QString())
                + row.value.text + u'\n';
    return text;
}

QString chartText(const SportZoneGeometry &chart)
{
    static const char *const layouts[] = {"none", "F6", "five sport zones", "limit zone"};
    QString text = QStringLiteral("-- zone chart: %1%2\n")
                       .arg(QLatin1StringView(layouts[int(chart.layout)]),
                            chart.drawsSession ? QString() : QStringLiteral(", nothing drawn"));
    for (const SportZoneBar &bar : chart.bars)
        text += QStringLiteral("bar %1 \"%2\" at %3\n").arg(rect(bar.rect), bar.label, point(bar.labelAnchor));
    if (!chart.infoTexts.empty())
        text += QStringLiteral("box %1\n").arg(rect(chart.infoBox));
    for (const SportZoneInfoText &info : chart.infoTexts)
        text += QStringLiteral("text \"%1\" at %2\n").arg(info.text, point(info.centre));
    return text;
}

class SessionViews : public testing::TestWithParam<GoldenCase>
{
protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_P(SessionViews, MatchTheGoldenTextWhole)
{
    const QStringList &header = GetParam().header;
    ASSERT_EQ(header.size(), 5);
    QLocale::setDefault(QLocale(header[3]));
    const std::vector<RunSession> sessions =
        fixtureSessions(header[1] == u"-" ? QStringList() : header[1].split(QStringLiteral(", ")));
    QList<const RunSession *> selected;
    for (const RunSession &s : sessions)
        selected.append(&s);
    const VXUnits units(header[4] == u"metric");
    const DataSwitches switches{header[2].section(u' ', 0, 0).toInt(), header[2].section(u' ', 1, 1).toInt()};
    expectGolden(GetParam(), rowsText(DataRowBuilder(units, switches).populateDataRowArray(selected))
                                 + chartText(SportZoneGeometry::compute(selected, QSizeF(250, 125))));
}

INSTANTIATE_TEST_SUITE_P(Cases, SessionViews, testing::ValuesIn(goldenCases(QStringLiteral("detail-rows.txt"))),
                         goldenCaseName);

TEST(DataRowBuilder, LapCountIsCapped)
{
    RunSession rs200 = fixtureSessions({"TEMPO"}).front();
    rs200.sessionLaps = INT_MAX;
    rs200.sessionPaceData = false;
    const VXUnits units(true);
    const QList<DataRow> rows = DataRowBuilder(units, {0, 0}).populateDataRowArray({&rs200});
    EXPECT_EQ(rows[rows.size() - 4].label, QStringLiteral("Lap %1").arg(DataRowBuilder::kMaxLaps));
}

// Unlike the export's, seconds are truncated: 599 tenths show 0:00:59, not 0:01:00.
TEST(DataView, TimeTextsTruncateSecondsAndSetTheTenthSmall)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::vector<std::tuple<std::optional<qint64>, const char *, const char *>> cases{
        {599, "0:00:59", "0:00:59,9"}, {1000000, "27:46:40", "27:46:40,0"}, {std::nullopt, "0:00:00", "0:00:00,0"}};
    for (const auto &[tenths, plain, styled] : cases) {
        EXPECT_EQ(DataView::timeStringFromSeconds(tenths, false).text, plain);
        EXPECT_EQ(DataView::timeStringFromSeconds(tenths, true).text, styled);
    }
    EXPECT_EQ(DataView::timeStringFromSeconds(1234, true).toHtml(), "0:02:03,<span style=\"font-size:10pt\">4</span>");
    EXPECT_EQ((StyledTime{QStringLiteral("<1>"), false}).toHtml(), "&lt;1&gt;");
    EXPECT_EQ(DataView::displayTimeNoHours(36000 + 3015), "05:01");
    EXPECT_EQ(DataView::displayTimeNoHours(72000), "-");
    QLocale::setDefault(QLocale::c());
}

class DataViewTest : public testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::Ireland));
        std::vector<RunSession> fixtures = fixtureSessions({"TEMPO", "F6"});
        rs200 = context.insertSession(std::move(fixtures[0]));
        f6 = context.insertSession(std::move(fixtures[1]));
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    static QString valueOf(const DataView &view, const QString &label)
    {
        for (const DataRow &row : view.dataRowArray())
            if (row.label == label)
                return row.value.text;
        return QStringLiteral("<no row>");
    }

    ObjectContext context;
    SessionListController sessions{context};
    const RunSession *rs200 = nullptr;
    const RunSession *f6 = nullptr;
};

// The table follows the selection and the selected session's edits; another
// session starts at the top, whatever the last one was scrolled to.
TEST_F(DataViewTest, FollowsTheSelectionAndEditsAndShowsEachSessionFromTheTop)
{
    DataView view(sessions, context);
    view.resize(300, 150);
    view.show();
    sessions.selectSession(f6);
    const QAbstractItemModel *model = view.dataTable()->model();
    ASSERT_EQ(model->rowCount(), 4);
    EXPECT_EQ(model->index(3, 1).data().toString(), "650 kcal");
    sessions.selectSession(rs200);
    QApplication::processEvents();
    QScrollBar *bar = view.dataTable()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum());
    sessions.selectSession(f6);
    sessions.selectSession(rs200);
    EXPECT_EQ(bar->value(), 0);

    context.setSessionTotalDistance(rs200, 10000);
    EXPECT_EQ(valueOf(view, "Total distance"), "10.000 km");
    context.undoStack()->undo();
    EXPECT_EQ(valueOf(view, "Total distance"), "5.000 km");
    sessions.clearSelection();
    EXPECT_EQ(model->rowCount(), 0);
}

TEST_F(DataViewTest, SwitchesChangeTheTableAtOncePersistAndOddSettingsShowTheFirst)
{
    {
        DataView view(sessions, context);
        sessions.selectSession(rs200);
        view.bpmOrPercentControl()->findChildren<QToolButton *>().at(1)->click();
        view.speedOrPaceControl()->findChildren<QToolButton *>().at(1)->click();
        EXPECT_EQ(valueOf(view, "Average HR"), "79%");
        EXPECT_EQ(valueOf(view, "Average pace"), "0:06:00 min/km");
    }
    DataView restarted(sessions, context);
    EXPECT_EQ(restarted.speedOrPaceControl()->selectedSegment(), 1);
    EXPECT_EQ(valueOf(restarted, "Average HR"), "79%");
    VXDefaults::settings().setValue("BPMOrPercent", 7);
    VXDefaults::settings().setValue("SpeedOrPace", QStringLiteral("fast"));
    DataView odd(sessions, context);
    EXPECT_EQ(odd.bpmOrPercentControl()->selectedSegment(), 0);
    EXPECT_EQ(odd.speedOrPaceControl()->selectedSegment(), 0);
}

TEST_F(DataViewTest, PrefsVersionClearsTheSessionTableLayoutOnce)
{
    QSettings settings = VXDefaults::settings();
    settings.setValue(DataView::kSessionTableColumnsKey, QStringLiteral("old columns"));
    settings.setValue(DataView::kSessionTableSortKey, QStringLiteral("old order"));
    settings.sync();
    DataView first(sessions, context);
    settings.sync();
    EXPECT_EQ(settings.value("VXPrefsVersion").toInt(), 1);
    EXPECT_FALSE(settings.contains(DataView::kSessionTableColumnsKey));
    EXPECT_FALSE(settings.contains(DataView::kSessionTableSortKey));
    settings.setValue(DataView::kSessionTableColumnsKey, QStringLiteral("new columns"));
    settings.sync();
    DataView second(sessions, context);
    EXPECT_EQ(VXDefaults::value(DataView::kSessionTableColumnsKey).toString(), "new columns");
}

PaneFrames stacked(double firstHeight, double secondHeight)
{
    return {QRectF(0, 0, 640, firstHeight), QRectF(0, firstHeight + 9, 640, secondHeight)};
}

TEST(SessionSplitLayout, SecondPaneKeepsItsHeightAndComesBackToItsMinimum)
{
    // 500 high, 9-point divider, second pane 300: the first pane is 191.
    EXPECT_EQ(SessionSplitLayout::resizeSubviews(stacked(191, 300), 400, 9), stacked(102, 289));
    EXPECT_EQ(SessionSplitLayout::resizeSubviews(stacked(191, 300), 600, 9), stacked(291, 300));
    // Too small even for the first pane: the second pane ends at nothing, not below.
    EXPECT_EQ(SessionSplitLayout::resizeSubviews(stacked(191, 300), 100, 9), stacked(102, 0));
    // A squeezed calendar grows back to its minimum when space returns.
    EXPECT_EQ(SessionSplitLayout::resizeSubviews(stacked(102, 0), 600, 9), stacked(471, 120));
}

TEST(SessionSplitLayout, SavedFramesNeedExactlyTwoTextsOfFourNumbers)
{
    const QStringList saved = SessionSplitLayout::settingFromFrames(stacked(191, 300));
    EXPECT_EQ(saved, QStringList({"0.000000, 0.000000, 640.000000, 191.000000, NO",
                                  "0.000000, 200.000000, 640.000000, 300.000000, NO"}));
    EXPECT_EQ(SessionSplitLayout::framesFromSetting(saved), stacked(191, 300));
    EXPECT_EQ(SessionSplitLayout::framesFromSetting(QStringList({"1, 2, 3, 4", "5,6,7,8,extra"})),
              (PaneFrames{QRectF(1, 2, 3, 4), QRectF(5, 6, 7, 8)}));
    for (const QStringList &bad : {QStringList{saved[0]}, saved + saved, QStringList{},
                                   QStringList{"1, 2, 3", saved[1]}, QStringList{"a, b, c, d", saved[1]}})
        EXPECT_FALSE(SessionSplitLayout::framesFromSetting(bad)) << bad.join(u'/').toStdString();
}

TEST_F(DataViewTest, SplitViewKeepsItsLimitsAndRestoresSavedFrames)
{
    QSplitter splitter(Qt::Vertical);
    splitter.setHandleWidth(9);
    splitter.addWidget(new QWidget);
    splitter.addWidget(new QWidget);
    const auto resize = [&splitter](int height) {
        splitter.resize(640, height);
        QApplication::processEvents();
    };
    {
        DataView view(sessions, context);
        view.setSessionSplitView(&splitter);
        resize(500);
        splitter.show();
        QApplication::processEvents();
        splitter.setSizes({191, 300});
        resize(400);
        EXPECT_EQ(splitter.sizes(), QList<int>({102, 289}));
        resize(500);
        splitter.setSizes({50, 441});
        emit splitter.splitterMoved(50, 1);
        EXPECT_EQ(splitter.sizes(), QList<int>({102, 389}));
        splitter.setSizes({485, 6});
        emit splitter.splitterMoved(485, 1);
        EXPECT_EQ(splitter.sizes(), QList<int>({380, 111}));
        splitter.setSizes({240, 251});
        SessionSplitLayout::saveFrames(splitter);
    }
    splitter.setSizes({300, 191});
    DataView restarted(sessions, context);
    restarted.setSessionSplitView(&splitter);
    EXPECT_EQ(splitter.sizes(), QList<int>({240, 251}));
}

TEST_F(DataViewTest, ZoneChartInformationBoxStaysThroughPaintingUntilTheNextReload)
{
    SportZoneView view;
    view.setSessions(&sessions);
    view.resize(250, 125);
    sessions.selectSession(rs200);
    const auto enter = [&view] {
        QEnterEvent event(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
        QApplication::sendEvent(&view, &event);
    };
    enter();
    EXPECT_TRUE(view.needsDrawInfo());
    view.grab();
    // Painting changes nothing: the box stays until new data is shown.
    EXPECT_TRUE(view.needsDrawInfo());
    view.reload();
    EXPECT_FALSE(view.needsDrawInfo());

    enter();
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&view, &leave);
    EXPECT_FALSE(view.needsDrawInfo());
}

} // namespace
