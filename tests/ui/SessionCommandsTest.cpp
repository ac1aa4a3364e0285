#include "MainWindowFixture.h"

#include "SessionTableAutosave.h"
#include "VXDefaults.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSettings>
#include <QStyleOptionViewItem>
#include <QUndoStack>

namespace {

class SessionCommandsTest : public MainWindowFixture
{
protected:
    SessionCommandsTest()
    {
        hiddenRun = insert(QStringLiteral("HIDDEN"), true, 1);
        tempo = insert(QStringLiteral("TEMPO"), false, 2);
        easy = insert(QStringLiteral("EASY"), false, 3);
    }

    void select(const QList<const RunSession *> &chosen)
    {
        QList<int> rows;
        for (const RunSession *session : chosen)
            rows.append(model.rowOf(session));
        sessions.setSelectionIndexes(rows);
    }

    const RunSession *hiddenRun;
    const RunSession *tempo;
    const RunSession *easy;
};

TEST_F(SessionCommandsTest, HideAndUnhideChangeOnlyTheSessionsThatNeedItAndUndo)
{
    select({hiddenRun, tempo});
    const int steps = context.undoStack()->count();
    controller.hideSession();
    EXPECT_TRUE(tempo->isHidden());
    EXPECT_TRUE(hiddenRun->isHidden());
    EXPECT_FALSE(easy->isHidden());
    EXPECT_EQ(context.undoStack()->count(), steps + 1);
    controller.undo();
    EXPECT_FALSE(tempo->isHidden());
    EXPECT_TRUE(hiddenRun->isHidden());

    select({hiddenRun, easy});
    controller.unhideSession();
    EXPECT_FALSE(hiddenRun->isHidden());
    EXPECT_FALSE(easy->hidden.has_value());
    controller.undo();
    EXPECT_TRUE(hiddenRun->isHidden());

    // Nothing selected: no command changes anything.
    sessions.clearSelection();
    const int before = context.undoStack()->index();
    controller.deleteSelectedSession();
    controller.hideSession();
    controller.unhideSession();
    EXPECT_EQ(context.sessionCount(), 3);
    EXPECT_EQ(context.undoStack()->index(), before);
}

TEST_F(SessionCommandsTest, DeleteRemovesTheSelectionAndUndoBringsTheSameSessionsBack)
{
    select({hiddenRun, easy});
    controller.deleteSelectedSession();
    EXPECT_EQ(context.sessions(), QList<const RunSession *>{tempo});
    EXPECT_EQ(model.rowCount(), 1);

    controller.undo();
    EXPECT_TRUE(context.contains(hiddenRun));
    EXPECT_TRUE(context.contains(easy));
    EXPECT_EQ(model.rowCount(), 3);
}

TEST_F(SessionCommandsTest, TableAndControllerShareOneSelection)
{
    QItemSelectionModel *selection = window.sessionTable()->selectionModel();
    select({tempo});
    EXPECT_TRUE(selection->isRowSelected(model.rowOf(tempo), {}));

    selection->select(model.index(model.rowOf(easy), 0),
                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(sessions.selectedSessions(), (QList<const RunSession *>{tempo, easy}));

    // Sorting by name moves the rows; the selection stays with the sessions.
    model.sort(SessionTableModel::NameColumn, Qt::DescendingOrder);
    EXPECT_EQ(model.sessionAt(0), tempo);
    EXPECT_TRUE(selection->isRowSelected(0, {}));
    EXPECT_TRUE(selection->isRowSelected(model.rowOf(easy), {}));
    EXPECT_FALSE(selection->isRowSelected(model.rowOf(hiddenRun), {}));
}

TEST_F(SessionCommandsTest, HiddenRowsAreGreyAndSelectedRowsWhite)
{
    const QModelIndex hiddenName = model.index(model.rowOf(hiddenRun), SessionTableModel::NameColumn);
    const QModelIndex tempoName = model.index(model.rowOf(tempo), SessionTableModel::NameColumn);
    EXPECT_EQ(model.data(hiddenName, Qt::ForegroundRole).value<QColor>(), hiddenRun->hiddenColor());
    EXPECT_FALSE(model.data(tempoName, Qt::ForegroundRole).isValid());

    select({tempo});
    QStyleOptionViewItem selected;
    selected.palette.setColor(QPalette::Text, Qt::black);
    controller.tableViewWillDisplayCell(selected, tempoName);
    EXPECT_EQ(selected.palette.color(QPalette::HighlightedText), QColor(Qt::white));
}

TEST_F(SessionCommandsTest, ColumnsAndSortOrderAreKeptUnderTheAutosaveName)
{
    QHeaderView *header = window.sessionTable()->horizontalHeader();
    header->resizeSection(SessionTableModel::NameColumn, 171);
    model.sort(SessionTableModel::CaloriesColumn, Qt::DescendingOrder);
    SessionTableAutosave::saveColumns(*header);
    SessionTableAutosave::saveSortOrdering(sessions);
    EXPECT_TRUE(VXDefaults::settings().contains(QStringLiteral("NSTableView Columns sessionTableAutosaveName")));

    MainWindow other;
    ObjectContext otherContext;
    SessionListController otherSessions(otherContext);
    SessionTableModel otherModel(otherContext, otherSessions);
    other.sessionTable()->setModel(&otherModel);
    SessionTableAutosave::attach(*other.sessionTable()->horizontalHeader(), otherSessions);
    EXPECT_EQ(other.sessionTable()->horizontalHeader()->sectionSize(SessionTableModel::NameColumn), 171);
    EXPECT_EQ(otherSessions.sortOrders(), (QList<SortOrder>{{QStringLiteral("sessionCalories"), false}}));
    VXDefaults::settings().remove(SessionTableAutosave::sortOrderingKey());
    VXDefaults::settings().remove(SessionTableAutosave::columnsKey());
}

} // namespace
