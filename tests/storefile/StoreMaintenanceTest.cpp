#include "StoreFile.h"
#include "StoreFileTestSupport.h"
#include "StoreMaintenance.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QDateTime kNow(QDate(2008, 7, 20), QTime(12, 0), Qt::UTC);
constexpr qint64 kDay = 86400;
constexpr qint64 kWeek = 604800;

const QStringList kConversionLines{"Making backup copy...", "Backup done.", "Retrieving data...", "Data retrieved",
                                   "Converting to version 2..."};

// A database folder with the context opened on it, as the application has it at start.
class StoreMaintenanceTest : public testing::Test
{
protected:
    QString path(const char *name) const { return m_folder.filePath(QLatin1String(name)); }

    void writeDatabase(const std::vector<RunSession> &sessions, const QVariantMap &metadata)
    {
        ASSERT_TRUE(StoreFile(path("Ventrix.xml")).save(pointers(sessions), metadata).ok);
    }

    void open(std::shared_ptr<const AtomicFile> files = {})
    {
        m_files = files;
        ASSERT_TRUE(StoreFile(path("Ventrix.xml"), files).openInto(m_context).ok);
    }

    QStringList runAtStart()
    {
        QStringList lines;
        StoreMaintenance(m_folder.path(), m_context, [] { return kNow; }, m_files, [&](const QString &line) {
            lines.append(line);
        }).runAtStart(true);
        return lines;
    }

    void age(const char *name, qint64 seconds) { ASSERT_TRUE(setModified(path(name), kNow.addSecs(-seconds))); }

    QTemporaryDir m_folder;
    ObjectContext m_context;
    std::shared_ptr<const AtomicFile> m_files;
};

RunSession sessionOfModel(const std::optional<QString> &hrm)
{
    RunSession session = everyKeySession(7);
    session.hrm = hrm;
    return session;
}

} // namespace

TEST_F(StoreMaintenanceTest, FirstStartFailsTheCopyAndMakesNoBackup)
{
    open();
    EXPECT_EQ(runAtStart(), (QStringList{"Database version: 1", "Making backup copy...", "Backup copy failed."}));
    EXPECT_TRUE(QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(StoreMaintenanceTest, VersionOneWithEveryModelNameSavesNothing)
{
    writeDatabase({sessionOfModel(QStringLiteral("F6"))}, {});
    const QByteArray before = fileBytes(path("Ventrix.xml"));
    open();

    EXPECT_EQ(runAtStart(), (QStringList{"Database version: 1"} + kConversionLines
                                + QStringList{"No existing backup found.", "New backup created."}));
    EXPECT_EQ(fileBytes(path("Ventrix.xml")), before);
    EXPECT_EQ(fileBytes(path("Ventrix.version1.xml")), before);
    EXPECT_EQ(fileBytes(path("Ventrix.backup.xml")), before);
    // Written with the next save, not before.
    EXPECT_EQ(m_context.metadata(), (QVariantMap{{"VXDataVersion", 2}}));
    EXPECT_FALSE(m_context.hasChanges());
}

TEST_F(StoreMaintenanceTest, ConvertsSessionsWithoutModelToRS200AndSaves)
{
    writeDatabase({sessionOfModel(std::nullopt), sessionOfModel(QStringLiteral("CS200"))}, {{"other", 5}});
    const QByteArray version1 = fileBytes(path("Ventrix.xml"));
    ASSERT_TRUE(writeBytes(path("Ventrix.version1.xml"), "an older copy"));
    open();

    EXPECT_EQ(runAtStart(), (QStringList{"Database version: 1"} + kConversionLines
                                + QStringList{"Saving updated database...", "Done.", "No existing backup found.",
                                              "New backup created."}));
    EXPECT_EQ(fileBytes(path("Ventrix.version1.xml")), version1);
    const StoreLoadResult converted = StoreFile(path("Ventrix.xml")).load();
    ASSERT_TRUE(converted.ok);
    EXPECT_EQ(converted.contents.metadata, (QVariantMap{{"VXDataVersion", 2}}));
    ASSERT_EQ(converted.contents.sessions.size(), 2u);
    EXPECT_EQ(converted.contents.sessions[0], sessionOfModel(QStringLiteral("RS200")));
    EXPECT_EQ(converted.contents.sessions[1], sessionOfModel(QStringLiteral("CS200")));
    EXPECT_TRUE(m_context.undoStack()->count() == 0); // the conversion is not an edit to undo
}

struct BackupAges
{
    const char *name;
    qint64 backupAge;
    qint64 databaseAge;
    bool replaced;
};

class StoreMaintenanceBackup : public StoreMaintenanceTest, public testing::WithParamInterface<BackupAges>
{
};

TEST_P(StoreMaintenanceBackup, RenewsOnlyAnOldBackupOfARecentlyChangedDatabase)
{
    writeDatabase({everyKeySession(1)}, {{"VXDataVersion", 2}});
    ASSERT_TRUE(writeBytes(path("Ventrix.backup.xml"), "old backup"));
    age("Ventrix.backup.xml", GetParam().backupAge);
    age("Ventrix.xml", GetParam().databaseAge);
    open();

    const bool replaced = GetParam().replaced;
    EXPECT_EQ(runAtStart(), (QStringList{"Database version: 2", replaced ? "Replaced existing backup with new backup."
                                         : "Existing backup file is less than a week old. Leave it untouched."}));
    EXPECT_EQ(fileBytes(path("Ventrix.backup.xml")), replaced ? fileBytes(path("Ventrix.xml")) : QByteArray("old backup"));
}

INSTANTIATE_TEST_SUITE_P(
    Ages, StoreMaintenanceBackup,
    testing::Values(BackupAges{"EightDayBackupNineDayDatabase", 8 * kDay, 9 * kDay, false},
                    BackupAges{"EightDayBackupDatabaseOfYesterday", 8 * kDay, kDay, true},
                    BackupAges{"BackupExactlyAWeek", kWeek, kDay, false},
                    BackupAges{"BackupASecondOverAWeek", kWeek + 1, kDay, true},
                    BackupAges{"DatabaseExactlyAWeek", 8 * kDay, kWeek, false}),
    [](const testing::TestParamInfo<BackupAges> &info) { return std::string(info.param.name); });

TEST_F(StoreMaintenanceTest, AFailedBackupCopyKeepsTheOldBackupSilently)
{
    writeDatabase({}, {{"VXDataVersion", 2}});
    ASSERT_TRUE(writeBytes(path("Ventrix.backup.xml"), "old backup"));
    age("Ventrix.backup.xml", 8 * kDay);
    age("Ventrix.xml", kDay);
    open(std::make_shared<FaultyFile>(FaultyFile::Step::Write, ENOSPC));

    EXPECT_EQ(runAtStart(), QStringList{"Database version: 2"});
    EXPECT_EQ(fileBytes(path("Ventrix.backup.xml")), "old backup");
}
