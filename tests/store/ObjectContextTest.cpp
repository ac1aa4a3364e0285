#include "ObjectContext.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Records the context's signals as text, e.g. "inserted MYRUN", "changed hidden".
struct SignalLog
{
    explicit SignalLog(ObjectContext &context)
    {
        const auto name = [](const RunSession *session) { return session->sessionName.value_or(QString()); };
        QObject::connect(&context, &ObjectContext::sessionInserted, [=, this](const RunSession *s) { entries << "inserted " + name(s); });
        QObject::connect(&context, &ObjectContext::sessionRemoved, [=, this](const RunSession *s) { entries << "removed " + name(s); });
        QObject::connect(&context, &ObjectContext::sessionChanged,
                         [this](const RunSession *, const QString &key) { entries << "changed " + key; });
    }
    QStringList entries;
};

} // namespace

TEST(ObjectContext, UndoOfAnInsertedTransferRemovesItsSessionsWithLapsAndZones)
{
    ObjectContext context;
    const RunSession original = makeSession(QStringLiteral("MYRUN"), day(21));
    context.beginUndoGroup(QStringLiteral("Import Transfer"));
    const RunSession *session = context.insertSession(RunSession(original));
    context.insertSession(makeSession(QStringLiteral("B"), day(22)));
    context.endUndoGroup();
    SignalLog log(context);

    EXPECT_EQ(context.undoStack()->count(), 1);
    context.undoStack()->undo();
    EXPECT_EQ(context.sessionCount(), 0);
    context.undoStack()->redo();

    EXPECT_EQ(context.sessions().value(0), session);
    EXPECT_EQ(*session, original); // laps and zones included
    EXPECT_EQ(log.entries, (QStringList{"removed B", "removed MYRUN", "inserted MYRUN", "inserted B"}));
}

TEST(ObjectContext, DeleteAndUndoBringTheSameSessionsBackInPlace)
{
    ObjectContext context;
    const RunSession *a = context.insertSession(makeSession(QStringLiteral("A"), day(1)));
    const RunSession *b = context.insertSession(makeSession(QStringLiteral("B"), day(2)));
    const RunSession *c = context.insertSession(makeSession(QStringLiteral("C"), day(3)));
    const RunSession copyOfA = *a;
    const RunSession foreign;
    context.deleteSessions({});
    context.deleteSession(&foreign);
    EXPECT_EQ(context.undoStack()->count(), 3); // deleting nothing pushes nothing

    context.deleteSessions({c, a});
    EXPECT_EQ(context.sessions(), QList<const RunSession *>{b});
    EXPECT_EQ(context.undoStack()->undoText(), "Delete Sessions");
    context.undoStack()->undo();

    EXPECT_EQ(context.sessions(), (QList<const RunSession *>{a, b, c}));
    EXPECT_EQ(*a, copyOfA);
    // Deleted again and left in the undo stack: freed with the context.
    context.deleteSession(b);
    EXPECT_EQ(context.undoStack()->undoText(), "Delete Session");
}

TEST(ObjectContext, SetValueGoesThroughTheDistanceAccessorAndUndoesExactlyButPrimitiveValueDoesNot)
{
    ScopedLocale locale(ScopedLocale::imperial());
    ObjectContext context;
    const RunSession *session = context.insertSession(makeSession(QStringLiteral("RUN"), day(1)));
    SignalLog log(context);

    context.setSessionTotalDistance(session, 6213);
    EXPECT_EQ(session->primitiveSessionTotalDistance(), 9998);
    EXPECT_EQ(log.entries, (QStringList{"changed sessionTotalDistance", "changed sessionAveragePace"}));
    EXPECT_EQ(context.undoStack()->undoText(), "Change Distance");
    context.undoStack()->undo();
    EXPECT_EQ(session->primitiveSessionTotalDistance(), 5000);

    // No accessor, undo step or signal, but a change all the same.
    context.save();
    log.entries.clear();
    EXPECT_TRUE(context.setPrimitiveValue(session, "sessionTotalDistance", 6213));
    EXPECT_EQ(session->primitiveSessionTotalDistance(), 6213);
    EXPECT_TRUE(log.entries.isEmpty());
    EXPECT_EQ(context.undoStack()->index(), 1);
    EXPECT_TRUE(context.hasChanges());
}

TEST(ObjectContext, HidingChangesOnlyVisibleSessionsInOneStepAndUndoLeavesHiddenAbsent)
{
    ObjectContext context;
    const RunSession *visible = context.insertSession(makeSession(QStringLiteral("A"), day(1)));
    const RunSession *hidden = context.insertSession(makeSession(QStringLiteral("B"), day(2)));
    context.setHidden(hidden, true);
    const int steps = context.undoStack()->count();
    SignalLog log(context);

    context.setHidden({visible, hidden}, true);
    EXPECT_EQ(log.entries, QStringList{"changed hidden"});
    EXPECT_EQ(context.undoStack()->count(), steps + 1);

    context.undoStack()->undo();
    EXPECT_EQ(visible->hidden, std::nullopt);
    EXPECT_TRUE(hidden->isHidden());
}

TEST(ObjectContext, SetValueRefusesWhatItCannotStoreWithoutAnUndoStep)
{
    ObjectContext context;
    const RunSession *session = context.insertSession(makeSession(QStringLiteral("A"), day(1)));
    const RunSession foreign;
    const int steps = context.undoStack()->count();

    EXPECT_FALSE(context.setValue(&foreign, "comment", QStringLiteral("x")));
    for (const char *key : {"noSuchKey", "sessionAveragePace", "sessionCalories"})
        EXPECT_FALSE(context.setValue(session, key, QStringLiteral("many"))) << key;
    EXPECT_TRUE(context.setValue(session, "sessionName", QStringLiteral("A"))); // unchanged
    EXPECT_EQ(context.undoStack()->count(), steps);

    EXPECT_TRUE(context.setValue(session, "comment", QStringLiteral("fast, hilly")));
    EXPECT_EQ(session->comment, "fast, hilly");
}

TEST(ObjectContext, HasChangesFollowsSavesAndUndoToTheSavedState)
{
    ObjectContext context;
    int announcements = 0;
    QObject::connect(&context, &ObjectContext::hasChangesChanged, [&] { ++announcements; });
    context.loadSessions({makeSession(QStringLiteral("OLD"), day(1))});
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(context.undoStack()->count(), 0);

    const RunSession *session = context.insertSession(makeSession(QStringLiteral("NEW"), day(2)));
    EXPECT_TRUE(context.hasChanges());
    EXPECT_TRUE(context.save().ok);
    EXPECT_FALSE(context.hasChanges());

    context.setComment(session, QStringLiteral("easy"));
    context.undoStack()->undo();
    EXPECT_FALSE(context.hasChanges());
    context.undoStack()->undo();
    EXPECT_TRUE(context.hasChanges());
    EXPECT_EQ(announcements, 5);

    // Metadata alone is no change: it is written with the next save.
    context.undoStack()->redo();
    context.setMetadata({{"VXDataVersion", 2}});
    EXPECT_FALSE(context.hasChanges());

    // A failed save keeps the changes and reports the handler's message.
    context.setComment(session, QStringLiteral("hard"));
    int sessionsSeen = -1;
    context.setSaveHandler([&sessionsSeen](const ObjectContext &saved) {
        sessionsSeen = saved.sessionCount();
        return SaveResult::failure(QStringLiteral("cannot save sessions to /x/Ventrix.xml: No space left on device"));
    });
    EXPECT_EQ(context.save().errorMessage, "cannot save sessions to /x/Ventrix.xml: No space left on device");
    EXPECT_EQ(sessionsSeen, 2);
    EXPECT_TRUE(context.hasChanges());
}

TEST(ObjectContext, FetchFiltersAndSortsByKey)
{
    ObjectContext context;
    const RunSession *late = context.insertSession(makeSession(QStringLiteral("LATE"), day(9)));
    const RunSession *undated = context.insertSession(makeSession(QStringLiteral("UNDATED"), QDateTime()));
    const RunSession *early = context.insertSession(makeSession(QStringLiteral("EARLY"), day(2)));
    const RunSession *hidden = context.insertSession(makeSession(QStringLiteral("HIDDEN"), day(5)));
    context.setPrimitiveValue(undated, "sessionDate", QVariant());
    context.setHidden(hidden, true);

    const auto visible = [](const RunSession &session) { return !session.isHidden(); };
    EXPECT_EQ(context.fetchSessions(visible, {{"sessionDate", true}}),
              (QList<const RunSession *>{undated, early, late}));
    EXPECT_EQ(context.fetchSessions({}, {{"sessionDate", false}}),
              (QList<const RunSession *>{late, hidden, early, undated}));
    EXPECT_EQ(context.fetchSessions(), (QList<const RunSession *>{late, undated, early, hidden}));
}
