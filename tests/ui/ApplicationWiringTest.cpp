// What the composition root connects: the TCX export command and the status
// bar's level meter, driven through the whole application.
#include "ExampleRecordings.h"
#include "IdleCaptureSource.h"

#include "AppController.h"
#include "DataOutput.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "ObjectContext.h"
#include "RecordingStatus.h"
#include "SessionListController.h"
#include "UserPrompts.h"
#include "VXDefaults.h"
#include "VXSavePanel.h"
#include "VentrixApplication.h"
#include "ui_MainWindow.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class QuietPrompts : public UserPrompts
{
public:
    void showError(const QString &message) override { errors.append(message); }
    bool presentError(const QString &message) override
    {
        errors.append(message);
        return false;
    }
    bool askQuitAnyway(const QString &, const QString &, const QString &) override { return true; }

    QStringList errors;
};

class ApplicationWiring : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VXDefaults::settings().clear();
        m_dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Ventrix");
        QDir(m_dataFolder).removeRecursively();
        m_app = std::make_unique<VentrixApplication>(&m_prompts);
        m_app->mainWindowController().setShake([] {});
        m_app->appController().setRecordingsFolder(m_folder.filePath(QStringLiteral("Recordings")));
        m_app->show();
    }
    void TearDown() override
    {
        m_app.reset();
        QDir(m_dataFolder).removeRecursively();
        VXDefaults::settings().clear();
    }

    QString m_dataFolder;
    QTemporaryDir m_folder;
    QuietPrompts m_prompts;
    std::unique_ptr<VentrixApplication> m_app;
};

TEST_F(ApplicationWiring, ExportSessionAsTcxProposesTheSessionNameWithTcx)
{
    const QString wav = m_folder.filePath(QStringLiteral("run.wav"));
    ASSERT_TRUE(writeExampleRecording(QStringLiteral("rs200-run"), wav));
    m_app->openFiles({wav});
    const QList<const RunSession *> selected = m_app->sessions().selectedSessions();
    ASSERT_EQ(selected.size(), 1);

    m_app->mainWindow().ui().actionExportSessionTcx->trigger();

    QFileDialog *dialog = m_app->savePanel().fileDialog();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(QFileInfo(dialog->selectedFiles().value(0)).fileName(),
              selected.first()->sessionName.value_or(QString()) + QStringLiteral(".tcx"));
    dialog->reject();
    EXPECT_TRUE(m_prompts.errors.isEmpty()) << m_prompts.errors.join(u'\n').toStdString();
}

TEST_F(ApplicationWiring, LevelBarShowsTheRecordersPeak)
{
    AudioFileRecorder *recorder = nullptr;
    m_app->appController().setRecorderFactory([&recorder] {
        auto made = std::make_unique<AudioFileRecorder>(std::make_unique<IdleCaptureSource>());
        recorder = made.get();
        return made;
    });
    MainWindowController &controller = m_app->mainWindowController();
    controller.itemForItemIdentifier(QString(MainWindowController::kStartRecordingIdentifier))->trigger();
    ASSERT_NE(recorder, nullptr);
    const std::vector<float> buffer{0.1f, -0.5f, 0.25f};

    recorder->renderInput(buffer.data(), std::uint32_t(buffer.size()), 0); // as the audio thread would
    controller.recordingStatus()->refresh();

    const QProgressBar *level = controller.recordingStatus()->levelBar();
    EXPECT_FALSE(level->isHidden());
    EXPECT_EQ(level->value(), 50);
}

} // namespace
