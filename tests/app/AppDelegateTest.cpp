#include "StoreFile.h"
#include "ScriptedPrompts.h"
#include "StoreFileTestSupport.h"
#include "Ventrix_AppDelegate.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QDateTime kNow(QDate(2008, 7, 20), QTime(12, 0), Qt::UTC);

class AppDelegateTest : public testing::Test
{
protected:
    AppDelegateTest()
    {
        qputenv("XDG_DATA_HOME", m_home.path().toUtf8());
        m_delegate = std::make_unique<Ventrix_AppDelegate>(m_prompts, [] { return kNow; });
    }

    QString folder() const { return m_home.filePath("Ventrix"); }
    QString database() const { return folder() + "/Ventrix.xml"; }

    void writeDatabase(const QByteArray &contents)
    {
        QDir().mkpath(folder());
        ASSERT_TRUE(writeBytes(database(), contents));
    }

    static RunSession session()
    {
        RunSession session;
        session.hrm = QStringLiteral("RS200");
        session.sessionTotalTime = 18000;
        return session;
    }

    QTemporaryDir m_home;
    ScriptedPrompts m_prompts;
    std::unique_ptr<Ventrix_AppDelegate> m_delegate;
};

} // namespace

TEST_F(AppDelegateTest, ACorruptDatabaseSurvivesAStartAndAQuitUnchanged)
{
    const QByteArray corrupt = "<?xml version=\"1.0\"?>\n<VentrixStore formatVersion=\"1\"><RunSession hrm=\"RS2";
    writeDatabase(corrupt);

    m_delegate->applicationDidFinishLaunching();
    ASSERT_EQ(m_prompts.errors.size(), 1);
    EXPECT_TRUE(m_prompts.errors[0].startsWith("cannot read sessions from " + database() + ": "));
    EXPECT_EQ(m_delegate->persistentStoreCoordinator()->storeCount(), 0);

    m_delegate->managedObjectContext()->insertSession(session());
    m_delegate->saveAction();
    EXPECT_EQ(m_prompts.errors.size(), 2);
    EXPECT_EQ(m_delegate->applicationShouldTerminate(), Ventrix_AppDelegate::TerminateReply::TerminateNow);
    ASSERT_EQ(m_prompts.presented.size(), 1);
    EXPECT_TRUE(m_prompts.presented[0].startsWith("cannot save sessions to " + database() + ": "));
    EXPECT_EQ(fileBytes(database()), corrupt);
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList{"Ventrix.xml"});
}

TEST_F(AppDelegateTest, AFailedSaveOnQuitAsksWhetherToQuitAnyway)
{
    writeDatabase("not a database");
    m_delegate->managedObjectContext()->insertSession(session());

    m_prompts.quitAnyway = false;
    EXPECT_EQ(m_delegate->applicationShouldTerminate(), Ventrix_AppDelegate::TerminateReply::TerminateCancel);
    EXPECT_EQ(m_prompts.questions,
              QStringList{"Could not save changes while quitting. Quit anyway? [Quit anyway] [Cancel]"});

    m_prompts.errorDealtWith = true;
    EXPECT_EQ(m_delegate->applicationShouldTerminate(), Ventrix_AppDelegate::TerminateReply::TerminateCancel);
    EXPECT_EQ(m_prompts.questions.size(), 1); // a dealt-with error asks nothing more
}

TEST_F(AppDelegateTest, QuittingSavesPendingChangesOnly)
{
    EXPECT_EQ(m_delegate->applicationShouldTerminate(), Ventrix_AppDelegate::TerminateReply::TerminateNow);
    EXPECT_FALSE(QFileInfo::exists(folder())); // no context yet: nothing opened, nothing saved

    m_delegate->managedObjectContext();
    EXPECT_EQ(m_delegate->applicationShouldTerminate(), Ventrix_AppDelegate::TerminateReply::TerminateNow);
    EXPECT_FALSE(QFileInfo::exists(database()));

    m_delegate->managedObjectContext()->insertSession(session());
    EXPECT_EQ(m_delegate->applicationShouldTerminate(), Ventrix_AppDelegate::TerminateReply::TerminateNow);
    const StoreLoadResult saved = StoreFile(database()).load();
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.contents.sessions, std::vector<RunSession>{session()});
    EXPECT_TRUE(m_prompts.presented.isEmpty());
}

TEST_F(AppDelegateTest, StartConvertsAVersionOneDatabaseAndMakesTheBackup)
{
    QDir().mkpath(folder());
    RunSession withoutModel = session();
    withoutModel.hrm.reset();
    ASSERT_TRUE(StoreFile(database()).save({&withoutModel}, {}).ok);
    bool coloursBound = false;
    m_delegate->setColorBinder([&] { coloursBound = true; });

    m_delegate->applicationDidFinishLaunching();
    EXPECT_TRUE(coloursBound);
    EXPECT_TRUE(QFileInfo::exists(folder() + "/Ventrix.version1.xml"));
    EXPECT_EQ(fileBytes(folder() + "/Ventrix.backup.xml"), fileBytes(database()));
    const StoreLoadResult converted = StoreFile(database()).load();
    EXPECT_EQ(converted.contents.metadata.value("VXDataVersion"), 2);
    EXPECT_EQ(converted.contents.sessions, std::vector<RunSession>{session()});
}
