// The main window: its record button, session list and commands, drops,
// the shared appearance, the preferences and the save panel.
#include "AppController.h"
#include "DecodeReport.h"
#include "TransferImporter.h"
#include "WatchModel.h"
#include "Decoder.h"
#include "FakeCaptureSource.h"
#include "MainWindowFixture.h"
#include "PreferencesWindowController.h"
#include "RecordingStatus.h"
#include "SessionTableAutosave.h"
#include "VXColor.h"
#include "VXDefaults.h"
#include "VXNotifications.h"
#include "VXSavePanel.h"
#include "VXWindow.h"
#include "ui_Preferences.h"
#include "ui_SaveOptions.h"

#include <QAbstractAnimation>
#include <QAction>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QMimeData>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>
#include <QWidget>
#include <vector>

#include <gtest/gtest.h>

namespace {

class RecordButtonTest : public MainWindowFixture
{
protected:
    RecordButtonTest() : appController(nullptr)
    {
        appController.setRecordingsFolder(folder.filePath(QStringLiteral("Recordings")));
        useInput(0);
        controller.setAppController(&appController);
    }

    void useInput(std::int32_t openStatus)
    {
        appController.setRecorderFactory([openStatus] {
            // No samples: a recording through it stays empty.
            return std::make_unique<AudioFileRecorder>(std::make_unique<FakeCaptureSource>(
                FakeCaptureSource::Options{.openStatus = openStatus}, std::vector<float>{}));
        });
    }

    QAction *item() const
    {
        return controller.itemForItemIdentifier(QString(MainWindowController::kStartRecordingIdentifier));
    }

    AppController appController;
};

QImage iconOf(const QAction *item)
{
    return item->icon().pixmap(MainWindowController::kImageSize).toImage().convertToFormat(QImage::Format_ARGB32);
}

// After a stop whose recording does not decode the button is idle (green, inset
// 4) whatever the pulse timer does meanwhile: during the shake, or a late tick.
TEST_F(RecordButtonTest, IdleImageAfterAFailedStopWhateverRunsMeanwhile)
{
    const QImage idle = MainWindowController::toolbarImageWithColor(VXColor::VXGreenColor(), 4.0f)
                            .convertToFormat(QImage::Format_ARGB32);
    controller.setShake([this] {
        ++shakes;
        controller.pulseButton();
        QTest::qWait(MainWindowController::kPulseIntervalMs * 2);
    });
    item()->trigger();
    controller.pulseButton();
    item()->trigger();
    EXPECT_EQ(shakes, 1);
    EXPECT_EQ(iconOf(item()), idle);
    controller.pulseButton();
    QTest::qWait(MainWindowController::kPulseIntervalMs * 2);
    EXPECT_EQ(iconOf(item()), idle);
    EXPECT_EQ(controller.padding(), 4.0f);
}

TEST_F(RecordButtonTest, ClicksSwitchBetweenRecordingAndIdle)
{
    item()->trigger();
    EXPECT_EQ(controller.recordItemTag(), 1);
    EXPECT_TRUE(controller.isPulsing());
    EXPECT_TRUE(appController.isRecording());
    EXPECT_TRUE(controller.recordingStatus()->isRunning());

    item()->trigger();
    EXPECT_EQ(controller.recordItemTag(), 0);
    EXPECT_FALSE(controller.isPulsing());
    EXPECT_FALSE(appController.isRecording());
    EXPECT_FALSE(controller.recordingStatus()->isRunning());
    // Nothing was played into the input: the empty recording shakes the window once.
    EXPECT_EQ(shakes, 1);
    EXPECT_TRUE(statusMessage().startsWith(QStringLiteral("Nothing could be read from Recording-")))
        << statusMessage().toStdString();
}

TEST_F(RecordButtonTest, RecorderThatCannotStartReturnsTheButtonToIdleAtOnce)
{
    useInput(-9986);
    item()->trigger();
    EXPECT_EQ(controller.recordItemTag(), 0);
    EXPECT_FALSE(controller.recordingStatus()->isRunning());
    EXPECT_TRUE(statusMessage().startsWith(QStringLiteral("Could not start recording:"))) << statusMessage().toStdString();
    EXPECT_EQ(shakes, 0);
}

TEST(RecordingStatus, ElapsedTimeComesFromTheFramesCaptured)
{
    EXPECT_EQ(RecordingStatus::elapsedText(44100 * 75 + 44099, 44100.0), QStringLiteral("Recording 0:01:15"));
    EXPECT_EQ(RecordingStatus::elapsedText(1000, 0.0), QStringLiteral("Recording 0:00:00"));
}

class SessionDropTest : public MainWindowFixture
{
protected:
    SessionDropTest()
    {
        controller.setDecoder(&decoder, &importer);
    }

    // Replaces the decoder by one that only notes the paths.
    void recordDecodes()
    {
        controller.setFileDecoder([this](const QString &path) {
            decoded.append(path);
            return true;
        });
    }

    Decoder decoder;
    TransferImporter importer{context, &sessions};
    QStringList decoded;
};

TEST_F(SessionDropTest, ThreeFilesOfWhichTwoFailShakeOnceAndStoreTheGoodOne)
{
    const QString noise = writeFile(QStringLiteral("noise.wav"), QByteArray(2000, 'x'));
    const QString good = writeRS200Recording(QStringLiteral("run.wav"));
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
    const QString good = writeRS200Recording(QStringLiteral("RUN.WAV"));
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
    for (const QString example : {"cs200-ride", "f6-memory", "rs200-run"}) {
        paths.append(folder.filePath(example + QStringLiteral(".wav")));
        ASSERT_TRUE(writeExampleRecording(example, paths.back()));
    }
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

class SessionCommandsTest : public MainWindowFixture
{
protected:
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

TEST_F(SessionCommandsTest, OnlyHiddenRowsAreGrey)
{
    const QModelIndex hiddenName = model().index(model().rowOf(hiddenRun), SessionTableModel::NameColumn);
    const QModelIndex tempoName = model().index(model().rowOf(tempo), SessionTableModel::NameColumn);
    EXPECT_EQ(model().data(hiddenName, Qt::ForegroundRole).value<QColor>(), hiddenRun->hiddenColor());
    EXPECT_FALSE(model().data(tempoName, Qt::ForegroundRole).isValid());
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
    DecodeReport one;
    one.addFile(QStringLiteral("/r/Recording-1.wav"), true, 2);
    EXPECT_EQ(one.message(), QStringLiteral("Stored 2 sessions from Recording-1.wav."));
    DecodeReport nothingNew;
    nothingNew.addFile(QStringLiteral("/r/f6.wav"), true, 0);
    EXPECT_EQ(nothingNew.message(), QStringLiteral("No new sessions."));
    DecodeReport rescued;
    rescued.addFile(QStringLiteral("/r/noisy.wav"), true, 1, {}, true);
    EXPECT_EQ(rescued.message(), QStringLiteral("Stored 1 session from noisy.wav. "
                                                "The transfer could only be read after noise correction."));
    DecodeReport again;
    again.addFile(QStringLiteral("/r/f6.wav"), true, 1, {}, false, 2, QStringLiteral("cannot save sessions to /x: full"));
    EXPECT_EQ(again.message(), QStringLiteral("Stored 1 session from f6.wav. 2 sessions already stored. "
                                              "cannot save sessions to /x: full."));
}

class PreferencesTest : public ::testing::Test
{
protected:
    VXNotifications notifications;
};

TEST_F(PreferencesTest, ShowsTheStoredSettingsAndLoadingStoresNothing)
{
    {
        PreferencesWindowController preferences(notifications);
        EXPECT_EQ(preferences.ui().firstDayOfWeekPopUpButton->currentIndex(), 1); // Monday
        EXPECT_TRUE(VXDefaults::settings().allKeys().isEmpty());
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
}

TEST_F(PreferencesTest, ChoicesAreStoredAtOnce)
{
    PreferencesWindowController preferences(notifications);
    int announced = 0;
    QObject::connect(&notifications, &VXNotifications::firstDayOfWeekPopUpButtonSelectionDidChange,
                     [&announced] { ++announced; });
    QComboBox *popUp = preferences.ui().firstDayOfWeekPopUpButton;
    popUp->setCurrentIndex(6);
    emit popUp->activated(6);
    EXPECT_EQ(VXDefaults::value(QStringLiteral("First day of the week")).toInt(), 7); // Saturday
    EXPECT_EQ(announced, 1);

    preferences.ui().checkAtStartupButton->click();
    EXPECT_EQ(VXDefaults::value(QStringLiteral("SUCheckAtStartup")), QVariant(true));
    EXPECT_TRUE(preferences.ui().stopRecordingButton->isChecked());
    preferences.ui().stopRecordingButton->click();
    EXPECT_EQ(VXDefaults::value(QStringLiteral("VXStopRecordingWhenTransferEnds")), QVariant(false));
}

TEST_F(PreferencesTest, ExportFolderIsChosenInAFolderDialogAndCleared)
{
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

TEST_F(PreferencesTest, ColourPanelChoicesAreStoredAndThePanelClosesWithTheWindow)
{
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

class SavePanelTest : public ::testing::Test
{
protected:
    void SetUp() override { window.show(); }

    SaveDialog::Completion completion()
    {
        return [this](int returnCode, const QString &chosen) {
            ++calls;
            code = returnCode;
            path = chosen;
        };
    }

    QMainWindow window;
    VXSavePanel panel{&window};
    QTemporaryDir folder;
    int calls = 0;
    int code = -1;
    QString path;
};

TEST_F(SavePanelTest, WindowModalQtDialogAnswersCancelOrOKWithThePathOnce)
{
    panel.askForPath(QStringLiteral("RUN1.csv"), completion());
    QFileDialog *dialog = panel.fileDialog();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(panel.customSaveView()->isVisibleTo(dialog));
    dialog->reject();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(code, SaveDialog::kCancelCode);
    EXPECT_TRUE(path.isEmpty());

    panel.askForPath(QStringLiteral("RUN1.csv"), completion());
    dialog = panel.fileDialog();
    dialog->setDirectory(folder.path());
    dialog->selectFile(folder.filePath(QStringLiteral("tempo.txt")));
    static_cast<QDialog *>(dialog)->accept(); // QFileDialog checks the name as its Save button would
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(code, SaveDialog::kOKCode);
    EXPECT_EQ(path, folder.filePath(QStringLiteral("tempo.txt")));
}

TEST_F(SavePanelTest, OptionsAreTiedToTheirSettings)
{
    QSettings settings = VXDefaults::settings();
    settings.setValue(QStringLiteral("SaveDateFormat"), QStringLiteral("Date DD/MM/YYYY"));
    settings.setValue(QStringLiteral("SaveTimeWithTenths"), true);
    settings.sync();
    panel.askForPath(QStringLiteral("a.csv"), completion());
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
    panel.fileDialog()->reject();
    // The options are the CSV export's: a TCX file is saved without them.
    panel.askForPath(QStringLiteral("a.tcx"), completion());
    EXPECT_FALSE(panel.customSaveView()->isVisibleTo(panel.fileDialog()));
    panel.fileDialog()->reject();
}

} // namespace
