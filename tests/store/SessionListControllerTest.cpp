#include "ObjectContext.h"
#include "SessionListController.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Sessions = QList<const RunSession *>;

struct SessionList : testing::Test
{
    SessionList()
    {
        QObject::connect(&list, &SessionListController::selectionChanged, [this] { ++selectionChanges; });
    }

    const RunSession *insert(const char *name, int dayOfMonth)
    {
        return context.insertSession(makeSession(QString::fromLatin1(name), day(dayOfMonth)));
    }

    ObjectContext context;
    SessionListController list{context};
    int selectionChanges = 0;
};

} // namespace

TEST_F(SessionList, InsertedSessionsTakeTheirPlaceByDateAndAreSelectedOnlyWhenAsked)
{
    const RunSession *late = insert("LATE", 9);
    const RunSession *early = insert("EARLY", 1);
    EXPECT_TRUE(list.selectedSessions().isEmpty());

    const RunSession *middle = insert("MIDDLE", 5);
    EXPECT_TRUE(list.selectSession(middle));

    EXPECT_EQ(list.arrangedSessions(), (Sessions{early, middle, late}));
    EXPECT_EQ(list.selectionIndex(), 1);
    EXPECT_EQ(selectionChanges, 1);
    // A list made for sessions already stored arranges them at once, selecting none.
    const SessionListController later(context);
    EXPECT_EQ(later.arrangedSessions(), (Sessions{early, middle, late}));
    EXPECT_EQ(later.selectionIndex(), -1);
}

TEST_F(SessionList, SelectionFollowsItsSessionWhenTheArrangementChanges)
{
    const RunSession *a = insert("A", 1);
    const RunSession *b = insert("B", 5);
    list.selectSession(b);

    insert("BEFORE", 2);
    EXPECT_EQ(list.selectionIndexes(), QList<int>{2});
    context.setValue(b, "sessionDate", day(1).addDays(-1));
    EXPECT_EQ(list.arrangedSessions().first(), b);
    EXPECT_EQ(list.selectionIndexes(), QList<int>{0});
    EXPECT_EQ(selectionChanges, 3);

    list.setSortOrders({{"sessionName", false}});
    EXPECT_EQ(list.arrangedSessions().first()->sessionName, "BEFORE");
    EXPECT_EQ(list.arrangedSessions().last(), a);
}

TEST_F(SessionList, SelectionIndexesOutsideTheListAreLeftOut)
{
    insert("A", 1);
    const RunSession *b = insert("B", 2);

    EXPECT_FALSE(list.setSelectionIndexes({1, 7, -3}));
    EXPECT_EQ(list.selectedSessions(), Sessions{b});
    EXPECT_TRUE(list.setSelectionIndex(-1));
    EXPECT_TRUE(list.selectedSessions().isEmpty());
    EXPECT_TRUE(list.setSelectionIndexes({1, 0, 1}));
    EXPECT_EQ(list.selectionIndexes(), (QList<int>{0, 1}));
    const RunSession foreign;
    EXPECT_FALSE(list.selectSession(&foreign));
    EXPECT_EQ(list.selectionIndexes(), (QList<int>{0, 1}));
}

TEST_F(SessionList, DeletingTheSelectionSelectsTheSessionThatTakesItsRow)
{
    const RunSession *a = insert("A", 1);
    const RunSession *b = insert("B", 2);
    const RunSession *c = insert("C", 3);
    list.selectSession(c);
    context.deleteSession(a); // unselected: the selection stays, its row moves
    EXPECT_EQ(list.selectedSessions(), Sessions{c});
    EXPECT_EQ(list.selectionIndex(), 1);
    context.undoStack()->undo();
    list.selectSession(b);

    context.deleteSession(b);
    EXPECT_EQ(list.selectedSessions(), Sessions{c});
    context.deleteSession(c);
    EXPECT_EQ(list.selectedSessions(), Sessions{a});
    context.deleteSession(a);
    EXPECT_TRUE(list.selectedSessions().isEmpty());

    context.undoStack()->undo();
    context.undoStack()->undo();
    context.undoStack()->undo();
    EXPECT_EQ(list.arrangedSessions(), (Sessions{a, b, c}));
}
