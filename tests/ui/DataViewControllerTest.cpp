#include "DataView.h"
#include "ExampleSessions.h"
#include "ObjectContext.h"
#include "SessionListController.h"
#include "VXDefaults.h"
#include "VXSegmentedControl.h"

#include <QLocale>
#include <QTableView>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class DataViewControllerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::Ireland));
        VXDefaults::settings().clear();
        m_rs200 = m_context.insertSession(ExampleSessions::rs200());
        m_f6 = m_context.insertSession(ExampleSessions::f6());
    }
    void TearDown() override
    {
        VXDefaults::settings().clear();
        QLocale::setDefault(QLocale::c());
    }

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

    ObjectContext m_context;
    SessionListController m_sessions{m_context};
    const RunSession *m_rs200 = nullptr;
    const RunSession *m_f6 = nullptr;
};

TEST_F(DataViewControllerTest, FollowsTheSelectionAndServesTheTable)
{
    DataView view(m_sessions, m_context);
    EXPECT_EQ(view.dataTable()->model()->rowCount(), 0);
    m_sessions.selectSession(m_f6);
    const QAbstractItemModel *model = view.dataTable()->model();
    ASSERT_EQ(model->rowCount(), 4);
    EXPECT_EQ(model->index(3, 0).data().toString(), "Calories");
    EXPECT_EQ(model->index(3, 1).data().toString(), "650 kcal");
    m_sessions.clearSelection();
    EXPECT_EQ(model->rowCount(), 0);
}

TEST_F(DataViewControllerTest, RefreshesOnEditsOfTheSelectedSessionAndOnRequest)
{
    DataView view(m_sessions, m_context);
    m_sessions.selectSession(m_rs200);
    m_context.setSessionTotalDistance(m_rs200, 10000);
    EXPECT_EQ(valueOf(view, "Total distance"), "10.000 km");
    m_context.undoStack()->undo();
    EXPECT_EQ(valueOf(view, "Total distance"), "5.000 km");
    // The pop-up window's notification is connected to the reload: a switch
    // set without a click shows after it.
    view.bpmOrPercentControl()->setSelectedSegment(1);
    EXPECT_EQ(valueOf(view, "Average HR"), "150");
    view.reloadDataViewTable();
    EXPECT_EQ(valueOf(view, "Average HR"), "79%");
}

TEST_F(DataViewControllerTest, SwitchesChangeTheTableAtOnceAndPersist)
{
    {
        DataView view(m_sessions, m_context);
        m_sessions.selectSession(m_rs200);
        EXPECT_EQ(valueOf(view, "Average HR"), "150");
        click(view.bpmOrPercentControl(), 1);
        click(view.speedOrPaceControl(), 1);
        EXPECT_EQ(valueOf(view, "Average HR"), "79%");
        EXPECT_EQ(VXDefaults::value("BPMOrPercent").toInt(), 1);
    }
    DataView restarted(m_sessions, m_context);
    EXPECT_EQ(restarted.speedOrPaceControl()->selectedSegment(), 1);
    EXPECT_EQ(valueOf(restarted, "Average HR"), "79%");
    click(restarted.speedOrPaceControl(), 0);
    EXPECT_EQ(valueOf(restarted, "Average speed"), "10.0 km/h");
    EXPECT_EQ(VXDefaults::value("SpeedOrPace").toInt(), 0);
}

TEST_F(DataViewControllerTest, OddSwitchSettingsShowTheFirstSegment)
{
    VXDefaults::settings().setValue("BPMOrPercent", 7);
    VXDefaults::settings().setValue("SpeedOrPace", QStringLiteral("fast"));
    DataView view(m_sessions, m_context);
    EXPECT_EQ(view.bpmOrPercentControl()->selectedSegment(), 0);
    EXPECT_EQ(view.speedOrPaceControl()->selectedSegment(), 0);
}

TEST_F(DataViewControllerTest, PrefsVersionClearsTheSessionTableLayoutOnce)
{
    QSettings settings = VXDefaults::settings();
    settings.setValue(DataView::kSessionTableColumnsKey, QStringLiteral("old columns"));
    settings.setValue(DataView::kSessionTableSortKey, QStringLiteral("old order"));
    settings.sync();
    DataView first(m_sessions, m_context);
    settings.sync();
    EXPECT_EQ(settings.value("VXPrefsVersion").toInt(), 1);
    EXPECT_FALSE(settings.contains(DataView::kSessionTableColumnsKey));
    EXPECT_FALSE(settings.contains(DataView::kSessionTableSortKey));
    settings.setValue(DataView::kSessionTableColumnsKey, QStringLiteral("new columns"));
    settings.sync();
    DataView second(m_sessions, m_context);
    EXPECT_EQ(VXDefaults::value(DataView::kSessionTableColumnsKey).toString(), "new columns");
}

} // namespace
