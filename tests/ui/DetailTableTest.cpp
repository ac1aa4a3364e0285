// The detail table: its rows (whole, against golden text), its controller with
// the switches, and the session split view.
#include "DataRowBuilder.h"
#include "DataView.h"
#include "ExampleSessions.h"
#include "ObjectContext.h"
#include "SessionListController.h"
#include "SessionSplitLayout.h"
#include "VXDefaults.h"
#include "VXSegmentedControl.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLocale>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace {

// One case of data/detail-rows.txt: the selection, the switches and the units it is shown with.
struct RowCase
{
    const char *name;
    std::function<std::vector<RunSession>()> sessions;
    DataSwitches switches{0, 0};
    QLocale locale{QLocale::English, QLocale::Ireland};
    bool metric = true;
};

RunSession withLimits(const QString &type, std::vector<LimitZone> zones)
{
    RunSession s = ExampleSessions::rs200();
    s.sessionLimitType = type;
    s.limitZone = std::move(zones);
    return s;
}

const std::vector<RowCase> &rowCases()
{
    using namespace ExampleSessions;
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    static const std::vector<RowCase> cases{
        {"no selection", [] { return std::vector<RunSession>{}; }},
        {"f6", [] { return std::vector{f6()}; }},
        {"f6 from a noisy transfer", [] { auto s = f6(); s.noisyTransferMargin = 400; return std::vector{s}; }},
        {"rs200", [] { return std::vector{rs200()}; }},
        {"rs200 percent and pace", [] { auto s = rs200(); s.sessionAverageHR = 145; return std::vector{s}; }, {1, 1}},
        {"cs200", [] { return std::vector{cs200()}; }},
        {"f6 and rs200 sums", [] { return std::vector{f6(), rs200()}; }},
        {"cs200 and f6 sums", [] { return std::vector{cs200(), f6()}; }},
        {"rs200 in German", [] { return std::vector{rs200()}; }, {0, 0}, QLocale(QLocale::German, QLocale::Germany)},
        {"rs200 in miles", [] { return std::vector{rs200()}; }, {0, 0}, us, false},
        {"rs200 pace in miles", [] { return std::vector{rs200()}; }, {0, 1}, us, false},
        {"cs200 in its own unit", [] { return std::vector{cs200()}; }, {0, 0}, us, false},
        {"pace limits as speed",
         [] { return std::vector{withLimits("Pace Limits", {limitZone(1, 3000, 2400, 600, 1200, 600),
                                                            limitZone(2, 0, 2400, 600, 1200, 600)})}; }},
        {"pace limits as pace",
         [] { return std::vector{withLimits("Pace Limits", {limitZone(1, 3000, 2400, 600, 1200, 600)})}; }, {0, 1}},
        {"no limits", [] { auto s = withLimits("No Limits", {}); s.sessionLaps = 1; return std::vector{s}; }},
        {"empty limits", [] { auto s = withLimits("HR Limits", {}); s.sessionLaps = 1; return std::vector{s}; }},
        {"absent heart rates", [] { auto s = f6(); s.sessionAverageHR.reset(); s.userMaxHR = 0; return std::vector{s}; },
         {1, 0}},
        {"missing zone and lap",
         [] { auto s = rs200(); s.sessionLaps = 3; s.sportZone[0].zoneNumber = 6; return std::vector{s}; }},
    };
    return cases;
}

// A row as one line: "label | value", the value marked "*" when its last character is set small.
QString rowText(const DataRow &row)
{
    return row.label + QStringLiteral(" | ") + (row.value.smallLastCharacter ? QStringLiteral("*") : QString())
           + row.value.text;
}

QMap<QString, QStringList> goldenRows()
{
    QFile file(QStringLiteral(VENTRIX_TEST_DATA "/detail-rows.txt"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QMap<QString, QStringList> cases;
    QString name;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(QStringLiteral("== ")))
            name = line.mid(3);
        else if (!line.isEmpty())
            cases[name].append(line);
    }
    return cases;
}

class DetailRows : public testing::TestWithParam<RowCase>
{
protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_P(DetailRows, MatchTheGoldenRowsWhole)
{
    const RowCase &c = GetParam();
    QLocale::setDefault(c.locale);
    const std::vector<RunSession> sessions = c.sessions();
    QList<const RunSession *> selected;
    for (const RunSession &s : sessions)
        selected.append(&s);
    const VXUnits units(c.metric);
    QStringList actual;
    for (const DataRow &row : DataRowBuilder(units, c.switches).populateDataRowArray(selected))
        actual.append(rowText(row));
    // VENTRIX_UPDATE_GOLDEN=file writes the rows there, to be read before they replace the golden file.
    if (QFile update(qEnvironmentVariable("VENTRIX_UPDATE_GOLDEN")); update.open(QIODevice::Append | QIODevice::Text))
        update.write(("== " + QString::fromLatin1(c.name) + u'\n' + actual.join(u'\n') + QStringLiteral("\n\n")).toUtf8());
    EXPECT_EQ(actual.join(u'\n').toStdString(), goldenRows().value(QString::fromLatin1(c.name)).join(u'\n').toStdString());
}

INSTANTIATE_TEST_SUITE_P(Cases, DetailRows, testing::ValuesIn(rowCases()), [](const auto &info) {
    return QString::fromLatin1(info.param.name).replace(u' ', u'_').toStdString();
});

TEST(DataRowBuilder, LapCountIsCapped)
{
    RunSession rs200 = ExampleSessions::rs200();
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
        rs200 = context.insertSession(ExampleSessions::rs200());
        f6 = context.insertSession(ExampleSessions::f6());
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    static void click(VXSegmentedControl *control, int segment)
    {
        control->findChildren<QToolButton *>().at(segment)->click();
    }

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

TEST_F(DataViewTest, FollowsTheSelectionAndEditsOfTheSelectedSession)
{
    DataView view(sessions, context);
    sessions.selectSession(f6);
    const QAbstractItemModel *model = view.dataTable()->model();
    ASSERT_EQ(model->rowCount(), 4);
    EXPECT_EQ(model->index(3, 1).data().toString(), "650 kcal");
    sessions.selectSession(rs200);
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
        click(view.bpmOrPercentControl(), 1);
        click(view.speedOrPaceControl(), 1);
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

// Another session starts at the top of the table, whatever the last one was scrolled to.
TEST_F(DataViewTest, NewSelectionStartsAtTheTop)
{
    DataView view(sessions, context);
    view.resize(300, 150);
    view.show();
    sessions.selectSession(rs200);
    QApplication::processEvents();
    QScrollBar *bar = view.dataTable()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum());
    sessions.selectSession(f6);
    sessions.selectSession(rs200);
    EXPECT_EQ(bar->value(), 0);
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

} // namespace
