// The whole application as main() builds it, against the throw-away home.
#include "ExampleRecordings.h"
#include "FakeCaptureSource.h"

#include "AppController.h"
#include "DataOutput.h"
#include "DataView.h"
#include "HistoryView.h"
#include "SportZoneView.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "ObjectContext.h"
#include "RecordingStatus.h"
#include "SessionListController.h"
#include "ScriptedPrompts.h"
#include "VXDefaults.h"
#include "VXSavePanel.h"
#include "VXSegmentedControl.h"
#include "VXToggleSegmentedControl.h"
#include "VentrixApplication.h"
#include "ui_MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ApplicationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Ventrix");
        QDir(dataFolder).removeRecursively();
    }
    void TearDown() override { QDir(dataFolder).removeRecursively(); }

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
    VXDefaults::settings().setValue(QStringLiteral("VXAutoExportPath"), folder.path());
    app->openFiles({recording(QStringLiteral("cs200-ride"))});
    ASSERT_EQ(app->context().sessionCount(), 2);
    // The automatic export names the file it wrote, as the manual one does.
    EXPECT_TRUE(app->mainWindow().statusBar()->currentMessage().contains(QDir::toNativeSeparators(folder.path())));
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
    EXPECT_TRUE(prompts.errors.isEmpty() && prompts.presented.isEmpty()) << prompts.errors.join(u'\n').toStdString();
    again->mainWindow().close();
}

TEST_F(ApplicationTest, LevelBarShowsTheRecordersPeak)
{
    auto app = start();
    AudioFileRecorder *recorder = nullptr;
    app->appController().setRecorderFactory([&recorder] {
        auto made = std::make_unique<AudioFileRecorder>(
            std::make_unique<FakeCaptureSource>(FakeCaptureSource::Options{}, std::vector<float>{}));
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

// At the default size on a 1366 x 768 screen: every column of the list, every
// detail row in full (the HR limits' times too), twelve rows of it, and a
// calendar of at least 180 points; at 1040 x 720 still every column of the
// list. A squeezed calendar comes back.
TEST_F(ApplicationTest, DefaultWindowShowsEverythingAndPanesKeepTheirMinimums)
{
    auto app = start();
    MainWindow &window = app->mainWindow();
    EXPECT_LE(window.frameGeometry().width(), 1366);
    EXPECT_LE(window.frameGeometry().height(), 768 - 48); // the desktop's panels take some
    app->openFiles({recording(QStringLiteral("rs200-run"))});
    QApplication::processEvents();
    QTableView *list = window.sessionTable();
    EXPECT_LE(list->horizontalHeader()->length(), list->viewport()->width());

    QTableView *details = app->dataView().dataTable();
    const QFontMetrics metrics(details->font());
    int limitRows = 0;
    for (int row = 0; row < details->model()->rowCount(); ++row) {
        const QString label = details->model()->index(row, 0).data().toString();
        const QString value = details->model()->index(row, 1).data().toString();
        limitRows += value.contains(QChar(0x2191)) ? 1 : 0;
        EXPECT_LE(metrics.horizontalAdvance(label), details->columnWidth(0)) << label.toStdString();
        EXPECT_LE(metrics.horizontalAdvance(value), details->columnWidth(1)) << value.toStdString();
    }
    EXPECT_GT(limitRows, 0);
    EXPECT_LE(details->horizontalHeader()->length(), details->viewport()->width());
    EXPECT_GE(details->viewport()->height() / details->rowHeight(0), 12);
    QSplitter *split = window.sessionSplitView();
    EXPECT_GE(app->historyView().height(), 180);
    window.resize(1040, 720);
    QApplication::processEvents();
    EXPECT_LE(list->horizontalHeader()->length(), list->viewport()->width());

    window.resize(window.minimumSizeHint());
    QApplication::processEvents();
    EXPECT_GE(split->sizes().value(1), 120);
    window.resize(1200, 700);
    QApplication::processEvents();
    EXPECT_GE(split->sizes().value(1), 120);
}

// Every menu command and switch segment has a keyboard path (a mnemonic, and a
// shortcut where one is usual), and the widgets a screen reader announces carry names.
TEST_F(ApplicationTest, CommandsHaveKeyboardPathsAndWidgetsAccessibleNames)
{
    auto app = start();
    MainWindow &window = app->mainWindow();
    for (QMenu *menu : window.menuBar()->findChildren<QMenu *>()) {
        EXPECT_TRUE(menu->title().contains(u'&')) << menu->title().toStdString();
        for (const QAction *action : menu->actions())
            EXPECT_TRUE(action->isSeparator() || action->text().contains(u'&') || !action->shortcut().isEmpty())
                << action->text().toStdString();
    }
    const QAction *record =
        app->mainWindowController().itemForItemIdentifier(QString(MainWindowController::kStartRecordingIdentifier));
    EXPECT_FALSE(record->shortcut().isEmpty());
    EXPECT_TRUE(record->toolTip().contains(record->shortcut().toString(QKeySequence::NativeText)));
    QWidget *button = app->mainWindowController().toolbar()->widgetForAction(const_cast<QAction *>(record));
    const QList<QWidget *> named{button, &app->sportZoneView(), &app->historyView(), app->dataView().dataTable()};
    for (QWidget *widget : named)
        EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->metaObject()->className();
    const QList<QWidget *> switches{app->dataView().bpmOrPercentControl(), app->dataView().speedOrPaceControl(),
                                    window.findChild<VXToggleSegmentedControl *>()};
    for (QWidget *control : switches)
        for (QToolButton *segment : control->findChildren<QToolButton *>()) {
            EXPECT_FALSE(segment->accessibleName().isEmpty()) << segment->text().toStdString();
            EXPECT_FALSE(QKeySequence::mnemonic(segment->text()).isEmpty()) << segment->text().toStdString();
        }
}

} // namespace
