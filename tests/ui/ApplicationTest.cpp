// The whole application as main() builds it, against the throw-away home.
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
#include <QFile>
#include <QFileDialog>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ScriptedPrompts : public UserPrompts
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

class ApplicationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VXDefaults::settings().clear();
        dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Ventrix");
        QDir(dataFolder).removeRecursively();
    }
    void TearDown() override
    {
        QDir(dataFolder).removeRecursively();
        VXDefaults::settings().clear();
    }

    // Starts the whole application as main() does, without moving windows.
    std::unique_ptr<VentrixApplication> start()
    {
        auto app = std::make_unique<VentrixApplication>(&prompts);
        app->mainWindowController().setShake([this] { ++shakes; });
        app->appController().setRecordingsFolder(folder.filePath(QStringLiteral("Recordings")));
        app->show();
        return app;
    }

    QString recording(const QString &example)
    {
        const QString path = folder.filePath(example + QStringLiteral(".wav"));
        EXPECT_TRUE(writeExampleRecording(example, path));
        return path;
    }

    QString dataFolder;
    QTemporaryDir folder;
    ScriptedPrompts prompts;
    int shakes = 0;
};

TEST_F(ApplicationTest, DecodesADroppedRecordingExportsItThroughTheDialogAndQuitsSaving)
{
    {
        auto first = start();
        first->openFiles({recording(QStringLiteral("rs200-run"))});
        ASSERT_EQ(first->context().sessionCount(), 1);
        EXPECT_TRUE(first->mainWindow().close());
    }
    ASSERT_TRUE(QFile::exists(dataFolder + QStringLiteral("/Ventrix.xml")));

    auto app = start();
    ASSERT_EQ(app->context().sessionCount(), 1);
    app->openFiles({recording(QStringLiteral("cs200-ride"))});
    ASSERT_EQ(app->context().sessionCount(), 2);
    const QList<const RunSession *> selected = app->sessions().selectedSessions();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.first()->hrm, QStringLiteral("CS200"));
    EXPECT_EQ(shakes, 0);

    app->dataOutput().saveFile();
    QFileDialog *dialog = app->savePanel().fileDialog();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(QFileInfo(dialog->selectedFiles().value(0)).fileName(),
              selected.first()->sessionName.value_or(QString()) + QStringLiteral(".csv"));
    const QString exported = folder.filePath(QStringLiteral("ride.csv"));
    dialog->setDirectory(folder.path());
    dialog->selectFile(exported);
    static_cast<QDialog *>(dialog)->accept(); // QFileDialog checks the name as its Save button would
    const QString direct = folder.filePath(QStringLiteral("direct.csv"));
    ASSERT_TRUE(DataOutput::exportSession(selected.first(), direct, false, false, false).ok);
    QFile exportedFile(exported), directFile(direct);
    ASSERT_TRUE(exportedFile.open(QIODevice::ReadOnly));
    ASSERT_TRUE(directFile.open(QIODevice::ReadOnly));
    EXPECT_GT(exportedFile.size(), 0);
    EXPECT_EQ(exportedFile.readAll(), directFile.readAll());

    // The TCX command proposes the same name with its own extension.
    app->mainWindow().ui().actionExportSessionTcx->trigger();
    QFileDialog *tcx = app->savePanel().fileDialog();
    ASSERT_TRUE(tcx->isVisible());
    EXPECT_EQ(QFileInfo(tcx->selectedFiles().value(0)).fileName(),
              selected.first()->sessionName.value_or(QString()) + QStringLiteral(".tcx"));
    tcx->reject();

    EXPECT_TRUE(app->mainWindow().close());
    EXPECT_FALSE(app->context().hasChanges());
    app.reset();

    auto again = start();
    EXPECT_EQ(again->context().sessionCount(), 2);
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(u'\n').toStdString();
    again->mainWindow().close();
}

TEST_F(ApplicationTest, LevelBarShowsTheRecordersPeak)
{
    auto app = start();
    AudioFileRecorder *recorder = nullptr;
    app->appController().setRecorderFactory([&recorder] {
        auto made = std::make_unique<AudioFileRecorder>(std::make_unique<IdleCaptureSource>());
        recorder = made.get();
        return made;
    });
    MainWindowController &controller = app->mainWindowController();
    controller.itemForItemIdentifier(QString(MainWindowController::kStartRecordingIdentifier))->trigger();
    ASSERT_NE(recorder, nullptr);
    const std::vector<float> buffer{0.1f, -0.5f, 0.25f};
    recorder->renderInput(buffer.data(), std::uint32_t(buffer.size()), 0); // as the audio thread would
    controller.recordingStatus()->refresh();

    const QProgressBar *level = controller.recordingStatus()->levelBar();
    EXPECT_FALSE(level->isHidden());
    EXPECT_EQ(level->value(), 50);
    app.reset();
}

} // namespace
