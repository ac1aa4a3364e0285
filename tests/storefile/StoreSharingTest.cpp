#include "EntityJson.h"
#include "StoreFile.h"
#include "StoreFileFormat.h"
#include "StoreFileTestSupport.h"
#include "StoreWatcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/file.h>

namespace {

// A writer as ventrix-decode is one: lock, read, insert, save, unlock.
void addElsewhere(const QString &path, std::vector<RunSession> sessions)
{
    auto lock = std::make_shared<StoreLock>(path);
    ASSERT_TRUE(lock->acquire(0).ok);
    const StoreFile file(path);
    file.holdLock(lock);
    ObjectContext context;
    ASSERT_TRUE(file.openInto(context).ok);
    for (RunSession &session : sessions)
        context.insertSession(std::move(session));
    ASSERT_TRUE(context.save().ok);
}

QStringList commentsIn(const QString &path)
{
    QStringList comments;
    for (const RunSession &session : StoreFile(path).load().contents.sessions)
        comments.append(session.comment.value_or(QString()));
    return comments;
}

// Each test has a folder of its own with a database path in it.
class StoreSharing : public testing::Test
{
protected:
    QTemporaryDir folder;
    const QString path = folder.filePath("Ventrix.xml");
};

} // namespace

// The window loaded five sessions; the command line then stored two and
// changed two; the window, meanwhile, inserted, deleted, hid and edited. Its
// save keeps everything, the later save winning for a key both changed.
TEST_F(StoreSharing, AWindowsSaveKeepsWhatTheCommandLineStoredMeanwhile)
{
    std::vector<RunSession> five;
    for (int index = 1; index <= 5; ++index)
        five.push_back(everyKeySession(index));
    ASSERT_TRUE(StoreFile(path).save(pointers(five), {}).ok);
    ObjectContext window;
    ASSERT_TRUE(StoreFile(path).openInto(window).ok);
    const QList<const RunSession *> loaded = window.sessions();

    addElsewhere(path, {everyKeySession(6), everyKeySession(7)});
    {
        ObjectContext other;
        ASSERT_TRUE(StoreFile(path).openInto(other).ok);
        other.setComment(other.sessions()[1], QStringLiteral("other on 2"));
        other.setSessionName(other.sessions()[2], QStringLiteral("renamed elsewhere"));
        ASSERT_TRUE(other.save().ok);
    }
    window.setComment(loaded[1], QStringLiteral("window on 2"));
    window.setComment(loaded[2], QStringLiteral("window on 3"));
    window.setHidden(loaded[3], !loaded[3]->isHidden());
    window.deleteSession(loaded[4]);
    const RunSession *inserted = window.insertSession(everyKeySession(8));
    ASSERT_TRUE(window.save().ok);

    const StoreLoadResult disk = StoreFile(path).load();
    ASSERT_TRUE(disk.ok);
    EXPECT_EQ(commentsIn(path), (QStringList{"comment 1", "window on 2", "window on 3", "comment 4", "comment 6",
                                             "comment 7", "comment 8"}));
    EXPECT_EQ(disk.contents.sessions[2].sessionName, "renamed elsewhere");
    EXPECT_EQ(disk.contents.sessions[3].hidden, !everyKeySession(4).hidden.value());
    // The window shows the other writer's sessions, and undo still takes back its own insertion.
    EXPECT_EQ(window.sessionCount(), 7);
    EXPECT_EQ(window.sessions()[2]->sessionName, "renamed elsewhere");
    window.undoStack()->undo();
    EXPECT_FALSE(window.contains(inserted));
    window.undoStack()->undo();
    EXPECT_EQ(window.sessionCount(), 7); // the deleted session is back
}

TEST_F(StoreSharing, TheWatcherShowsSessionsStoredElsewhereAfterEveryAtomicReplace)
{
    ObjectContext window;
    const StoreFile file(path);
    ASSERT_TRUE(file.openInto(window).ok);
    StoreWatcher watcher(file, window);
    for (int round = 1; round <= 2; ++round) {
        QEventLoop loop;
        QObject::connect(&watcher, &StoreWatcher::reloaded, &loop, &QEventLoop::quit);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        addElsewhere(path, {everyKeySession(round)});
        loop.exec();
        EXPECT_EQ(window.sessionCount(), round);
    }
    EXPECT_FALSE(window.hasChanges());
}

TEST_F(StoreSharing, AWriterWaitsForTheHolderAndIsToldWhoItIs)
{
    StoreLock holder(path), waiter(path);
    ASSERT_TRUE(holder.acquire(0).ok);
    QString told;
    const SaveResult refused = waiter.acquire(100, [&](const QString &who) { told = who; });
    const QString expectedHolder = QCoreApplication::applicationName() + ", pid " + QString::number(::getpid());
    EXPECT_EQ(told, expectedHolder);
    EXPECT_EQ(refused.errorMessage, "cannot lock " + path + ": " + expectedHolder + " has held it for 0 seconds");
    holder.release();
    EXPECT_TRUE(waiter.acquire(0).ok);
}

// Leftovers of a crashed save go; a save still writing (holding its file) stays.
TEST_F(StoreSharing, RemovesOnlyTemporariesThatNoSaveHolds)
{
    const QString crashed = folder.filePath(".Ventrix.xml.saving-1a2b"), running = folder.filePath(".Ventrix.xml.saving-3c4d");
    ASSERT_TRUE(writeBytes(crashed, "x") && writeBytes(running, "y"));
    QFile held(running);
    ASSERT_TRUE(held.open(QIODevice::ReadOnly) && ::flock(held.handle(), LOCK_EX) == 0);
    AtomicFile().removeLeftTemporaries(path);
    EXPECT_FALSE(QFile::exists(crashed));
    EXPECT_TRUE(QFile::exists(running));
}

TEST_F(StoreSharing, SavesThroughAChainOfLinksIntoItsFinalFile)
{
    const QString a = folder.filePath("A.xml"), b = folder.filePath("B.xml"), c = folder.filePath("sub/C.xml");
    ASSERT_TRUE(QDir(folder.path()).mkdir("sub") && QFile::link("sub/C.xml", b) && QFile::link("B.xml", a));
    const std::vector<RunSession> one{everyKeySession(1)};
    ASSERT_TRUE(StoreFile(a).save(pointers(one), {}).ok);
    EXPECT_TRUE(QFileInfo(a).isSymLink());
    EXPECT_TRUE(QFileInfo(b).isSymLink());
    EXPECT_EQ(StoreFile(c).load().contents.sessions, one);
}

// The writer keeps the reader's limits, so it never writes a file that every later start refuses.
TEST_F(StoreSharing, RefusesToWriteWhatTheReaderWouldRefuse)
{
    ASSERT_TRUE(writeBytes(path, "old"));
    RunSession crowded = everyKeySession(1);
    crowded.lap.resize(StoreFileFormat::kMaxMembersPerRelation + 1);
    const SaveResult saved = StoreFile(path).save({&crowded}, {});
    EXPECT_EQ(saved.errorMessage, "cannot save sessions to " + path + ": a session with 1001 laps or zones is more "
                                  "than a database may hold (1000)");
    EXPECT_EQ(fileBytes(path), "old");
}

// 31 March 2013, 02:30 does not exist in Berlin (TZ is set by main()); it is kept as 03:30 CEST.
TEST_F(StoreSharing, KeepsAStartInADaylightSavingGapAsTheTimeAfterTheJump)
{
    ObjectContext context;
    ASSERT_TRUE(StoreFile(path).openInto(context).ok);
    RunSession session;
    session.sessionDate = QDateTime(QDate(2013, 3, 31), QTime(2, 30));
    EXPECT_EQ(toJson(session).value("sessionDate").toString(), "2013-03-31T03:30:00");
    context.insertSession(std::move(session));
    ASSERT_TRUE(context.save().ok);
    EXPECT_TRUE(fileBytes(path).contains("sessionDate=\"2013-03-31T03:30:00+02:00[local]\""));
}
