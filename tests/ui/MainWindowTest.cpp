// The whole application as main() builds it, against the throw-away home, and
// its main window: the record button, the session list and its commands,
// drops, the shared appearance, the preferences and the save panel.
#include "AppController.h"
#include "DataOutput.h"
#include "DataView.h"
#include "DecodeReport.h"
#include "FakeCaptureSource.h"
#include "HistoryView.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "ObjectContext.h"
#include "PreferencesWindowController.h"
#include "RecordingStatus.h"
#include "ScriptedPrompts.h"
#include "Translations.h"
#include "SessionListController.h"
#include "SessionTableAutosave.h"
#include "SessionTableModel.h"
#include "SportZoneView.h"
#include "TransferSynth.h"
#include "VentrixApplication.h"
#include "VXColor.h"
#include "VXDefaults.h"
#include "VXNotifications.h"
#include "VXSavePanel.h"
#include "VXSegmentedControl.h"
#include "VXToggleSegmentedControl.h"
#include "VXWindow.h"
#include "WatchModel.h"
#include "ui_MainWindow.h"
#include "ui_Preferences.h"
#include "ui_SaveOptions.h"

#include <QAbstractAnimation>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLocale>
#include <QFileDialog>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QProgressBar>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Synthesizes a recording of one of the example transfers in examples/ as a room
// with some noise would record it, or as room does. False when the example or
// the file cannot be had.
bool writeExampleRecording(const QString &example, const QString &path,
                           const synth::RoomOptions &room = {.snrDb = 30.0, .seed = 7})
{
    QFile hex(QStringLiteral(VENTRIX_SOURCE_DIR "/examples/") + example + QStringLiteral(".hex"));
    const auto cleaned = hex.open(QIODevice::ReadOnly) ? synth::parseHexBytes(hex.readAll()) : std::nullopt;
    return cleaned && synth::writeWav(path, synth::modulate(synth::frameTransfer(*cleaned), room));
}

// Each test starts from an empty data folder; the shake is counted instead of moving the window.
class ApplicationTest : public ::testing::Test
{
protected:
    ApplicationTest() { QDir(dataFolder).removeRecursively(); }
    ~ApplicationTest() override { QDir(dataFolder).removeRecursively(); }

    // Starts the whole application as main() does, without moving windows.
    std::unique_ptr<VentrixApplication> start()
    {
        auto app = std::make_unique<VentrixApplication>(&prompts);
        app->mainWindowController().setShake([this] { ++shakes; });
        app->appController().setRecordingsFolder(folder.filePath(QStringLiteral("Recordings")));
        app->show();
        return app;
    }

    // A recording of one of the example transfers, named after it unless name is given.
    QString recording(const QString &example, const QString &name = {}) const
    {
        const QString path = folder.filePath(name.isEmpty() ? example + QStringLiteral(".wav") : name);
        EXPECT_TRUE(writeExampleRecording(example, path));
        return path;
    }

    QString writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    const QString dataFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Ventrix");
    QTemporaryDir folder;
    ScriptedPrompts prompts;
    int shakes = 0;
};

// One application started for the test, its parts at hand.
class MainWindowTest : public ApplicationTest
{
protected:
    SessionTableModel &model() const { return *controller.sessionTableModel(); }
    QString statusMessage() const { return window.statusBar()->currentMessage(); }

    std::unique_ptr<VentrixApplication> app = start();
    ObjectContext &context = app->context();
    SessionListController &sessions = app->sessions();
    MainWindow &window = app->mainWindow();
    MainWindowController &controller = app->mainWindowController();
};

// In a German locale the window, its status messages and Qt's own dialog buttons speak German.
TEST_F(ApplicationTest, GermanLocaleTranslatesTheWindow)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const Translations german{QLocale()};
    ASSERT_TRUE(german.windowTextsLoaded());
    auto app = start();
    app->openFiles({recording(QStringLiteral("rs200-run"))});
    const QAction *record =
        app->mainWindowController().itemForItemIdentifier(QString(MainWindowController::kStartRecordingIdentifier));
    EXPECT_EQ(record->text(), QStringLiteral("Aufnahme starten"));
    EXPECT_EQ(app->mainWindow().ui().menuFile->title(), QStringLiteral("&Datei"));
    EXPECT_EQ(app->dataView().dataTable()->model()->index(0, 0).data().toString(), QStringLiteral("Gesamtzeit"));
    EXPECT_EQ(app->mainWindow().statusBar()->currentMessage(),
              QStringLiteral("1 Trainingseinheit aus rs200-run.wav gespeichert."));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    app.reset();
    QLocale::setDefault(QLocale::system());
}

class RecordButtonTest : public MainWindowTest
{
protected:
    RecordButtonTest() { useInput(0); }

    void useInput(std::int32_t openStatus)
    {
        app->appController().setRecorderFactory([this, openStatus] {
            // No samples: a recording through it holds only what a test renders into it.
            auto made = std::make_unique<AudioFileRecorder>(std::make_unique<FakeCaptureSource>(
                FakeCaptureSource::Options{.openStatus = openStatus}, std::vector<float>{}));
            recorder = made.get();
            return made;
        });
    }

    QAction *item() const
    {
        return controller.itemForItemIdentifier(QString(MainWindowController::kStartRecordingIdentifier));
    }

    AudioFileRecorder *recorder = nullptr;
};

TEST_F(MainWindowTest, DecodesADroppedRecordingExportsItThroughTheDialogAndQuitsSaving)
{
    app->openFiles({recording(QStringLiteral("rs200-run"))});
    ASSERT_EQ(context.sessionCount(), 1);
    EXPECT_TRUE(window.close());
    app.reset();
    ASSERT_TRUE(QFile::exists(dataFolder + QStringLiteral("/Ventrix.xml")));

    app = start();
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

    app = start();
    EXPECT_EQ(app->context().sessionCount(), 2);
    EXPECT_TRUE(prompts.errors.isEmpty() && prompts.presented.isEmpty()) << prompts.errors.join(u'\n').toStdString();
    app->mainWindow().close();
}

// At the default size on a 1366 x 768 screen: every column of the list, every
// detail row in full (the HR limits' times too), twelve rows of it, and a
// calendar of at least 180 points; at 1040 x 720 still every column of the
// list. A squeezed calendar comes back.
TEST_F(MainWindowTest, DefaultWindowShowsEverythingAndPanesKeepTheirMinimums)
{
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
TEST_F(MainWindowTest, CommandsHaveKeyboardPathsAndWidgetsAccessibleNames)
{
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

QImage iconOf(const QAction *item)
{
    return item->icon().pixmap(MainWindowController::kImageSize).toImage().convertToFormat(QImage::Format_ARGB32);
}

// A click records (the level bar shows the peak) and a second stops. What was
// played into the input is no transfer: it shakes the window once, and the button
// is idle (green, inset 4) whatever the pulse timer does meanwhile: during the
// shake, or a late tick.
TEST_F(RecordButtonTest, ClicksRecordAndStopAndAFailedStopLeavesTheButtonIdle)
{
    const QImage idle = MainWindowController::toolbarImageWithColor(VXColor::VXGreenColor(), 4.0f)
                            .convertToFormat(QImage::Format_ARGB32);
    controller.setShake([this] {
        ++shakes;
        controller.pulseButton();
        QTest::qWait(MainWindowController::kPulseIntervalMs * 2);
    });
    item()->trigger();
    EXPECT_EQ(controller.recordItemTag(), 1);
    EXPECT_TRUE(controller.isPulsing());
    EXPECT_TRUE(app->appController().isRecording());
    EXPECT_TRUE(controller.recordingStatus()->isRunning());
    ASSERT_NE(recorder, nullptr);
    const std::vector<float> buffer{0.1f, -0.5f, 0.25f};
    recorder->renderInput(buffer.data(), std::uint32_t(buffer.size()), 0); // as the audio thread would
    controller.recordingStatus()->refresh();
    EXPECT_FALSE(controller.recordingStatus()->levelBar()->isHidden());
    EXPECT_EQ(controller.recordingStatus()->levelBar()->value(), 50);
    controller.pulseButton();

    item()->trigger();
    EXPECT_EQ(controller.recordItemTag(), 0);
    EXPECT_FALSE(controller.isPulsing());
    EXPECT_FALSE(app->appController().isRecording());
    EXPECT_FALSE(controller.recordingStatus()->isRunning());
    EXPECT_EQ(shakes, 1);
    EXPECT_TRUE(statusMessage().startsWith(QStringLiteral("Nothing could be read from Recording-")))
        << statusMessage().toStdString();
    EXPECT_EQ(iconOf(item()), idle);
    controller.pulseButton();
    QTest::qWait(MainWindowController::kPulseIntervalMs * 2);
    EXPECT_EQ(iconOf(item()), idle);
    EXPECT_EQ(controller.padding(), 4.0f);
}

TEST_F(RecordButtonTest, RecorderThatCannotStartReturnsTheButtonToIdleAtOnce)
{
    useInput(-9986);
    item()->trigger();
    EXPECT_EQ(controller.recordItemTag(), 0);
    EXPECT_FALSE(controller.recordingStatus()->isRunning());
    EXPECT_TRUE(statusMessage().startsWith(QStringLiteral("Cannot record from the default audio input:"))) << statusMessage().toStdString();
    EXPECT_EQ(shakes, 0);
}

TEST(RecordingStatus, ElapsedTimeComesFromTheFramesCaptured)
{
    EXPECT_EQ(RecordingStatus::elapsedText(44100 * 75 + 44099, 44100.0), QStringLiteral("Recording 0:01:15"));
    EXPECT_EQ(RecordingStatus::elapsedText(1000, 0.0), QStringLiteral("Recording 0:00:00"));
}

class SessionDropTest : public MainWindowTest
{
protected:
    // Replaces the decoder by one that only notes the paths.
    void recordDecodes()
    {
        controller.setFileDecoder([this](const QString &path) {
            decoded.append(path);
            return true;
        });
    }

    QStringList decoded;
};

TEST_F(SessionDropTest, ThreeFilesOfWhichTwoFailShakeOnceAndStoreTheGoodOne)
{
    const QString noise = writeFile(QStringLiteral("noise.wav"), QByteArray(2000, 'x'));
    const QString good = recording(QStringLiteral("rs200-run"), QStringLiteral("run.wav"));
    const QString text = writeFile(QStringLiteral("notes.txt"), "not a recording");

    EXPECT_TRUE(controller.acceptDrop({noise, good, text}));

    EXPECT_EQ(shakes, 1);
    ASSERT_EQ(context.sessionCount(), 1);
    EXPECT_EQ(context.sessions().first()->hrm, watchModelName(WatchModel::RS200));
    EXPECT_EQ(sessions.selectedSessions(), context.sessions());
    EXPECT_EQ(statusMessage(), QStringLiteral("Stored 1 session. Nothing could be read from 2 files."));
}

TEST_F(SessionDropTest, ExtensionInCapitalsShakesAndDecodesNothing)
{
    const QString good = recording(QStringLiteral("rs200-run"), QStringLiteral("RUN.WAV"));
    recordDecodes();
    controller.acceptDrop({good});
    EXPECT_EQ(shakes, 1);
    EXPECT_TRUE(decoded.isEmpty());
    EXPECT_EQ(context.sessionCount(), 0);
    EXPECT_EQ(statusMessage(), QStringLiteral("Nothing could be read from RUN.WAV: not a .wav file"));
}

// Each example dropped a second time adds nothing and says so.
TEST_F(SessionDropTest, ExamplesDroppedTwiceAreStoredOnce)
{
    QStringList paths;
    for (const QString example : {"cs200-ride", "f6-memory", "rs200-run"})
        paths.append(recording(example));
    controller.acceptDrop(paths);
    EXPECT_EQ(statusMessage(), QStringLiteral("Stored 4 sessions."));
    controller.acceptDrop(paths);
    EXPECT_EQ(context.sessionCount(), 4);
    EXPECT_EQ(statusMessage(), QStringLiteral("4 sessions already stored."));
    controller.acceptDrop({paths.back()});
    EXPECT_EQ(statusMessage(), QStringLiteral("1 session already stored."));
    EXPECT_EQ(shakes, 0);
}

// A noisy transfer says so in the status bar, and its session is marked in
// the list until Mark as Checked, which undo takes back.
TEST_F(SessionDropTest, NoisyTransferIsMarkedUntilChecked)
{
    const QString path = folder.filePath(QStringLiteral("noisy.wav"));
    ASSERT_TRUE(writeExampleRecording(QStringLiteral("rs200-run"), path, {.snrDb = 13.0, .seed = 6}));
    controller.acceptDrop({path});
    EXPECT_TRUE(statusMessage().endsWith(noisyTransferMessage())) << qPrintable(statusMessage());
    const QModelIndex date = model().index(0, SessionTableModel::DateColumn);
    for (const bool marked : {true, false, true}) {
        EXPECT_EQ(date.data(Qt::ToolTipRole).toString().endsWith(SessionTableModel::noisyTransferNote()), marked);
        EXPECT_EQ(date.data(Qt::DecorationRole).isValid(), marked);
        EXPECT_EQ(controller.markAsCheckedAction()->isEnabled(), marked);
        marked ? controller.markAsCheckedAction()->trigger() : context.undoStack()->undo();
    }
}

TEST_F(SessionDropTest, FilesDroppedOnTheListAreDecodedAfterTheDropEnds)
{
    recordDecodes();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.wav")), QUrl::fromLocalFile(QStringLiteral("/tmp/b.wav"))});
    QWidget *viewport = window.sessionTable()->viewport();

    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_TRUE(decoded.isEmpty());

    QCoreApplication::processEvents();
    EXPECT_EQ(decoded, (QStringList{QStringLiteral("/tmp/a.wav"), QStringLiteral("/tmp/b.wav")}));
    EXPECT_EQ(shakes, 0);
}

class SessionCommandsTest : public MainWindowTest
{
protected:
    const RunSession *insert(const QString &name, bool hidden, int day)
    {
        RunSession session;
        session.hrm = QStringLiteral("RS200");
        session.sessionName = name;
        session.sessionDate = QDateTime(QDate(2009, 2, day), QTime(18, 30));
        session.sessionTotalTime = 18000;
        if (hidden)
            session.hidden = true;
        return context.insertSession(std::move(session));
    }

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
            rows.append(model().rowOf(session));
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
    context.undoStack()->undo();
    EXPECT_FALSE(tempo->isHidden());
    EXPECT_TRUE(hiddenRun->isHidden());

    select({hiddenRun, easy});
    controller.unhideSession();
    EXPECT_FALSE(hiddenRun->isHidden());
    EXPECT_FALSE(easy->hidden.has_value());
    context.undoStack()->undo();
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
    EXPECT_EQ(model().rowCount(), 1);

    context.undoStack()->undo();
    EXPECT_TRUE(context.contains(hiddenRun));
    EXPECT_TRUE(context.contains(easy));
    EXPECT_EQ(model().rowCount(), 3);
}

TEST_F(SessionCommandsTest, TableAndControllerShareOneSelection)
{
    QItemSelectionModel *selection = window.sessionTable()->selectionModel();
    select({tempo});
    EXPECT_TRUE(selection->isRowSelected(model().rowOf(tempo), {}));

    selection->select(model().index(model().rowOf(easy), 0),
                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(sessions.selectedSessions(), (QList<const RunSession *>{tempo, easy}));

    // Sorting by name moves the rows; the selection stays with the sessions.
    model().sort(SessionTableModel::NameColumn, Qt::DescendingOrder);
    EXPECT_EQ(model().sessionAt(0), tempo);
    EXPECT_TRUE(selection->isRowSelected(0, {}));
    EXPECT_TRUE(selection->isRowSelected(model().rowOf(easy), {}));
    EXPECT_FALSE(selection->isRowSelected(model().rowOf(hiddenRun), {}));
}

TEST_F(SessionCommandsTest, ColumnsAndSortOrderAreKeptUnderTheAutosaveName)
{
    QHeaderView *header = window.sessionTable()->horizontalHeader();
    header->resizeSection(SessionTableModel::NameColumn, 171);
    model().sort(SessionTableModel::CaloriesColumn, Qt::DescendingOrder);
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
}

// The shake is animated: it returns at once and the event loop runs while the window moves.
TEST(VXWindow, ShakeMovesRightAndBackTwiceWithoutBlockingAndEndsWhereItWas)
{
    QWidget window;
    window.move(300, 200);
    QAbstractAnimation *shake = VXWindow::VX_shake(window);
    ASSERT_EQ(shake->state(), QAbstractAnimation::Running);
    bool timerRan = false;
    QTimer::singleShot(0, [&timerRan] { timerRan = true; });
    QPointer<QAbstractAnimation> running(shake);
    EXPECT_TRUE(QTest::qWaitFor([&running] { return running.isNull(); }, 2000));
    EXPECT_TRUE(timerRan);
    EXPECT_EQ(window.pos(), QPoint(300, 200));
}

TEST(DecodeReport, NamesWhatWasStoredAndWhatCouldNotBeRead)
{
    const auto message = [](const auto &...file) {
        DecodeReport report;
        report.addFile(file...);
        return report.message();
    };
    EXPECT_EQ(message(QStringLiteral("/r/Recording-1.wav"), true, 2), "Stored 2 sessions from Recording-1.wav.");
    EXPECT_EQ(message(QStringLiteral("/r/f6.wav"), true, 0), "No new sessions.");
    EXPECT_EQ(message(QStringLiteral("/r/noisy.wav"), true, 1, QString(), true),
              "Stored 1 session from noisy.wav. The transfer could only be read after noise correction.");
    EXPECT_EQ(message(QStringLiteral("/r/f6.wav"), true, 1, QString(), false, 2, QStringLiteral("cannot save sessions to /x: full")),
              "Stored 1 session from f6.wav. 2 sessions already stored. cannot save sessions to /x: full.");
    DecodeReport exported;
    exported.addFile(QStringLiteral("/r/Recording-1.wav"), true, 2);
    exported.addExport(QStringLiteral("/e/42.plist"));
    EXPECT_EQ(exported.message(), "Stored 2 sessions from Recording-1.wav. Exported /e/42.plist.");
}

TEST(PreferencesWindowController, ShowTheStoredSettingsAndStoreChoicesAtOnce)
{
    VXNotifications notifications;
    {
        PreferencesWindowController preferences(notifications);
        EXPECT_EQ(preferences.ui().firstDayOfWeekPopUpButton->currentIndex(), 1); // Monday
        EXPECT_TRUE(VXDefaults::settings().allKeys().isEmpty()); // loading stores nothing
    }
    QSettings settings = VXDefaults::settings();
    settings.setValue(QStringLiteral("First day of the week"), 1);
    settings.setValue(QStringLiteral("SUCheckAtStartup"), true);
    settings.setValue(QStringLiteral("VXAutoExportPath"), QStringLiteral("/data/exports"));
    settings.sync();
    PreferencesWindowController preferences(notifications);
    EXPECT_EQ(preferences.ui().firstDayOfWeekPopUpButton->currentText(), QStringLiteral("Sunday"));
    EXPECT_TRUE(preferences.ui().checkAtStartupButton->isChecked());
    EXPECT_EQ(preferences.ui().autoExportPathField->text(), QStringLiteral("/data/exports"));

    int announced = 0;
    QObject::connect(&notifications, &VXNotifications::firstDayOfWeekPopUpButtonSelectionDidChange,
                     [&announced] { ++announced; });
    QComboBox *popUp = preferences.ui().firstDayOfWeekPopUpButton;
    popUp->setCurrentIndex(6);
    emit popUp->activated(6);
    EXPECT_EQ(VXDefaults::value(QStringLiteral("First day of the week")).toInt(), 7); // Saturday
    EXPECT_EQ(announced, 1);
    preferences.ui().checkAtStartupButton->click();
    EXPECT_EQ(VXDefaults::value(QStringLiteral("SUCheckAtStartup")), QVariant(false));
    EXPECT_TRUE(preferences.ui().stopRecordingButton->isChecked());
    preferences.ui().stopRecordingButton->click();
    EXPECT_EQ(VXDefaults::value(QStringLiteral("VXStopRecordingWhenTransferEnds")), QVariant(false));
}

TEST(PreferencesWindowController, ExportFolderIsChosenInAFolderDialogAndCleared)
{
    VXNotifications notifications;
    PreferencesWindowController preferences(notifications);
    preferences.setFolderChooser([](QWidget *, const QString &) { return QStringLiteral("/home/runner/Exports"); });
    preferences.ui().chooseAutoExportFolderButton->click();
    EXPECT_EQ(VXDefaults::value(QStringLiteral("VXAutoExportPath")).toString(), QStringLiteral("/home/runner/Exports"));
    EXPECT_EQ(preferences.ui().autoExportPathField->text(), QStringLiteral("/home/runner/Exports"));

    // A cancelled dialog keeps the folder.
    preferences.setFolderChooser([](QWidget *, const QString &) { return QString(); });
    preferences.ui().chooseAutoExportFolderButton->click();
    EXPECT_EQ(VXDefaults::value(QStringLiteral("VXAutoExportPath")).toString(), QStringLiteral("/home/runner/Exports"));

    preferences.ui().clearAutoExportFolderButton->click();
    EXPECT_FALSE(VXDefaults::settings().contains(QStringLiteral("VXAutoExportPath")));
}

TEST(PreferencesWindowController, ColourPanelChoicesAreStoredAndThePanelClosesWithTheWindow)
{
    VXNotifications notifications;
    PreferencesWindowController preferences(notifications);
    int changed = 0;
    QObject::connect(&notifications, &VXNotifications::historyColorsDidChange, [&changed] { ++changed; });
    preferences.show();
    preferences.ui().hrColorButton->click();
    QColorDialog *panel = preferences.colorPanel();
    ASSERT_NE(panel, nullptr);

    panel->setCurrentColor(QColor(10, 20, 30));
    EXPECT_EQ(VXDefaults::value(QStringLiteral("VXHistoryHRColor")).value<QColor>(), QColor(10, 20, 30));
    EXPECT_EQ(changed, 1);

    // Reset Colours brings back the defaults of all but the calories colour, and the swatches follow.
    preferences.setHistoryColor(QLatin1StringView("VXHistoryCaloriesColor"), QColor(1, 2, 3));
    preferences.ui().resetColorsButton->click();
    EXPECT_FALSE(VXDefaults::settings().contains(QStringLiteral("VXHistoryHRColor")));
    EXPECT_EQ(VXDefaults::value(QStringLiteral("VXHistoryCaloriesColor")).value<QColor>(), QColor(1, 2, 3));

    preferences.close();
    EXPECT_FALSE(panel->isVisible());
}

// Window-modal, answering once per question; the options (the CSV export's, not
// shown for a TCX file) are tied to their settings.
TEST(VXSavePanel, AnswersCancelOrOKWithThePathOnceAndTiesTheOptionsToTheirSettings)
{
    QSettings settings = VXDefaults::settings();
    settings.setValue(QStringLiteral("SaveDateFormat"), QStringLiteral("Date DD/MM/YYYY"));
    settings.setValue(QStringLiteral("SaveTimeWithTenths"), true);
    settings.sync();
    QMainWindow window;
    window.show();
    VXSavePanel panel(&window);
    QTemporaryDir folder;
    int calls = 0;
    int code = -1;
    QString path;
    const auto ask = [&](const QString &name) {
        panel.askForPath(name, [&](int returnCode, const QString &chosen) {
            ++calls;
            code = returnCode;
            path = chosen;
        });
        return panel.fileDialog();
    };
    QFileDialog *dialog = ask(QStringLiteral("RUN1.csv"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(panel.customSaveView()->isVisibleTo(dialog));
    Ui::SaveOptions &options = panel.options();
    EXPECT_EQ(options.dateFormatPopUp->currentIndex(), 1);
    EXPECT_TRUE(options.tenthsOfSecondsCheckBox->isChecked());
    EXPECT_FALSE(options.dataTenthsCheckBox->isChecked());
    options.dateFormatPopUp->setCurrentIndex(0);
    emit options.dateFormatPopUp->activated(0);
    options.tenthsOfSecondsCheckBox->click();
    options.dataTenthsCheckBox->click();
    EXPECT_NE(VXDefaults::value(QStringLiteral("SaveDateFormat")).toString(), QStringLiteral("Date DD/MM/YYYY"));
    EXPECT_EQ(VXDefaults::value(QStringLiteral("SaveTimeWithTenths")).toBool(), false);
    EXPECT_EQ(VXDefaults::value(QStringLiteral("SaveDataWithTenths")).toBool(), true);
    dialog->reject();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(code, SaveDialog::kCancelCode);
    EXPECT_TRUE(path.isEmpty());

    dialog = ask(QStringLiteral("a.tcx"));
    EXPECT_FALSE(panel.customSaveView()->isVisibleTo(dialog));
    dialog->setDirectory(folder.path());
    dialog->selectFile(folder.filePath(QStringLiteral("tempo.txt")));
    static_cast<QDialog *>(dialog)->accept(); // QFileDialog checks the name as its Save button would
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(code, SaveDialog::kOKCode);
    EXPECT_EQ(path, folder.filePath(QStringLiteral("tempo.txt")));
}

} // namespace
