#include "StoreFile.h"
#include "StoreFileTestSupport.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Fault
{
    FaultyFile::Step step;
    int error;
    const char *message;
    bool replaced = false; // the new file is in place, only the folder's sync failed
};

using AtomicFileFault = testing::TestWithParam<Fault>;

QStringList folderEntries(const QString &path)
{
    return QDir(path).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST_P(AtomicFileFault, FailsTheSaveAndLeavesTheOldFile)
{
    const Fault &fault = GetParam();
    QTemporaryDir folder;
    const QString path = folder.filePath("Ventrix.xml");
    ASSERT_TRUE(writeBytes(path, "old contents"));

    const SaveResult saved = StoreFile(path, std::make_shared<FaultyFile>(fault.step, fault.error)).save({}, {});
    EXPECT_FALSE(saved.ok);
    EXPECT_EQ(saved.errorMessage, "cannot save sessions to " + path + ": " + fault.message);
    EXPECT_EQ(fileBytes(path) == "old contents", !fault.replaced);
    EXPECT_EQ(folderEntries(folder.path()), QStringList{"Ventrix.xml"}); // no temporary file left behind
}

INSTANTIATE_TEST_SUITE_P(
    Steps, AtomicFileFault,
    testing::Values(Fault{FaultyFile::Step::Write, ENOSPC, "No space left on device"},
                    Fault{FaultyFile::Step::WriteAfterSomeBytes, EIO, "Input/output error"},
                    Fault{FaultyFile::Step::SyncFile, EIO, "flushing to disk failed: Input/output error"},
                    Fault{FaultyFile::Step::Rename, EXDEV, "renaming the new file failed: Invalid cross-device link"},
                    Fault{FaultyFile::Step::SyncFolder, EIO, "syncing the folder failed: Input/output error", true}));

// The backup is a copy made the same safe way: a missing source leaves the old backup.
TEST(AtomicFile, CopyKeepsTheModificationTimeAndNeedsASource)
{
    QTemporaryDir folder;
    const QString source = folder.filePath("Ventrix.xml"), target = folder.filePath("Ventrix.backup.xml");
    const QDateTime stamp(QDate(2008, 7, 3), QTime(18, 5, 33), Qt::UTC);
    ASSERT_TRUE(writeBytes(source, "database") && writeBytes(target, "old backup") && setModified(source, stamp));

    ASSERT_TRUE(AtomicFile().copy(source, target).ok);
    EXPECT_EQ(fileBytes(target), "database");
    EXPECT_EQ(QFileInfo(target).lastModified(), stamp);
    EXPECT_FALSE(AtomicFile().copy(folder.filePath("missing.xml"), target).ok);
    EXPECT_EQ(fileBytes(target), "database");
}

// A child process saves a database that grows by one session per save and is
// killed at a random moment; the file must then hold exactly one of the saved
// states, never a mix or a broken file.
TEST(AtomicFile, AKilledSaveLeavesTheOldOrTheNewDatabase)
{
    constexpr int kTrials = 200;
    constexpr int kMaxSessions = 12;
    std::vector<std::vector<RunSession>> states{{}}; // states[n] holds n sessions
    for (int count = 1; count <= kMaxSessions; ++count) {
        states.push_back(states.back());
        states.back().push_back(everyKeySession(count));
    }
    QRandomGenerator random(20080703);
    QTemporaryDir folder;
    const StoreFile file(folder.filePath("Ventrix.xml"));
    int killedMidway = 0;

    for (int trial = 0; trial < kTrials; ++trial) {
        ASSERT_TRUE(file.save(pointers(states[1]), {}).ok);
        int reports[2];
        ASSERT_EQ(::pipe(reports), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(reports[0]);
            for (int count = 2; count <= kMaxSessions; ++count) {
                StoreLock lock(file.path());
                if (!lock.acquire(0).ok || !file.save(pointers(states[count]), {}).ok)
                    ::_exit(2);
                if (::write(reports[1], &count, sizeof count) != sizeof count)
                    ::_exit(3);
            }
            ::_exit(0);
        }
        ::close(reports[1]);
        int lastSaved = 1;
        const int waitForReports = int(random.bounded(3));
        for (int read = 0; read < waitForReports; ++read) {
            if (::read(reports[0], &lastSaved, sizeof lastSaved) != sizeof lastSaved)
                break;
        }
        // Spin a random while, so the kill lands anywhere inside a save.
        volatile quint64 spin = 0;
        for (quint32 i = random.bounded(2000000u); i > 0; --i)
            spin = spin + i;
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        int count = 0;
        while (::read(reports[0], &count, sizeof count) == sizeof count)
            lastSaved = count;
        ::close(reports[0]);

        // The killed holder's lock is gone with it, and under the lock its leftovers go too.
        StoreLock next(file.path());
        ASSERT_TRUE(next.acquire(0).ok) << "trial " << trial;
        AtomicFile().removeLeftTemporaries(file.path());
        ASSERT_EQ(folderEntries(folder.path()), (QStringList{"Ventrix.xml", "Ventrix.xml.lock"})) << "trial " << trial;
        next.release();
        const StoreLoadResult loaded = file.load();
        ASSERT_TRUE(loaded.ok) << "trial " << trial << ": " << qPrintable(loaded.errorMessage);
        const size_t found = loaded.contents.sessions.size();
        ASSERT_TRUE(found == size_t(lastSaved) || found == size_t(lastSaved) + 1)
            << "trial " << trial << ": " << found << " sessions after save " << lastSaved;
        ASSERT_EQ(loaded.contents.sessions, states[found]) << "trial " << trial;
        if (WIFSIGNALED(status) && lastSaved > 1 && lastSaved < kMaxSessions)
            ++killedMidway;
    }
    EXPECT_GT(killedMidway, kTrials / 4); // the kills really hit running saves
}
