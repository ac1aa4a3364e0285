#include "VentrixApplication.h"

#include "AppController.h"
#include "AudioFileRecorder.h"
#include "DataOutput.h"
#include "DataView.h"
#include "Decoder.h"
#include "HistoryColorBinder.h"
#include "HistoryPane.h"
#include "HistoryView.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "MessageBoxPrompts.h"
#include "ObjectContext.h"
#include "PreferencesWindowController.h"
#include "RecordingStatus.h"
#include "SessionListController.h"
#include "SportZoneView.h"
#include "TransferImporter.h"
#include "StoreWatcher.h"
#include "VXNotifications.h"
#include "VXSavePanel.h"
#include "VXSegmentedControl.h"
#include "VXToggleSegmentedControl.h"
#include "Ventrix_AppDelegate.h"
#include "ui_MainWindow.h"

#include <QAction>
#include <QDir>
#include <QStatusBar>
#include <QPointer>

struct VentrixApplication::Parts
{
    explicit Parts(UserPrompts *givenPrompts)
        : prompts(givenPrompts ? *givenPrompts : messageBoxes), delegate(prompts),
          context(*delegate.managedObjectContext()), sessions(context), importer(context, &sessions, &dataOutput), appController(&decoder),
          savePanel(&window), windowController(window, *window.sessionTable(), sessions, context)
    {
    }

    MessageBoxPrompts messageBoxes;
    UserPrompts &prompts;
    Ventrix_AppDelegate delegate;
    ObjectContext &context;
    SessionListController sessions;
    VXNotifications notifications;
    DataOutput dataOutput;
    Decoder decoder;
    TransferImporter importer;
    AppController appController;
    MainWindow window;
    VXSavePanel savePanel;
    MainWindowController windowController;
    HistoryColorBinder colorBinder{notifications};
    // Children of the window.
    DataView *dataView = nullptr;
    SportZoneView *sportZoneView = nullptr;
    HistoryPane *historyPane = nullptr;
    QPointer<PreferencesWindowController> preferences;
};

VentrixApplication::VentrixApplication(UserPrompts *prompts) : m(std::make_unique<Parts>(prompts))
{
    m->messageBoxes.setWindow(&m->window);

    // The exporter and the importer share the session list and the context;
    // the recorder and the window store what they decode through the importer.
    m->dataOutput.setSessionArrayController(&m->sessions);
    m->dataOutput.setSaveDialog(&m->savePanel);
    m->appController.setImporter(&m->importer);
    QObject::connect(&m->dataOutput, &DataOutput::exportFailed, &m->window,
                     [this](const QString &message) { m->prompts.showError(message); });
    QObject::connect(&m->dataOutput, &DataOutput::exported, &m->window, [this](const QString &path) {
        m->window.statusBar()->showMessage(QObject::tr("Exported %1").arg(QDir::toNativeSeparators(path)),
                                           MainWindowController::kStatusMessageTimeoutMs);
    });

    // The detail table first: it brings the saved window settings up to date
    // before the session table restores its columns.
    m->dataView = new DataView(m->sessions, m->context);
    m->sportZoneView = new SportZoneView;
    m->sportZoneView->setSessions(&m->sessions);
    m->window.setDataView(m->dataView);
    m->window.setSportZoneView(m->sportZoneView);
    m->dataView->setSportZoneView(m->sportZoneView);
    m->dataView->setSessionSplitView(m->window.sessionSplitView());
    QObject::connect(&m->notifications, &VXNotifications::VXDataWindowValueHasChanged, m->dataView,
                     &DataView::reloadDataViewTable);
    QObject::connect(&m->notifications, &VXNotifications::historyColorsDidChange, m->sportZoneView,
                     &SportZoneView::reloadZoneColor);

    // The history calendar in the lower pane; its colours and the zone chart's
    // are bound to the settings when launching has finished.
    m->historyPane = new HistoryPane(m->context, m->sessions, m->notifications);
    m->window.setHistoryView(m->historyPane);
    m->delegate.setColorBinder(
        [this] { m->colorBinder.bindHistoryColors(m->historyPane->historyView(), m->sportZoneView); });

    QObject::connect(&m->sessions, &SessionListController::selectionChanged, &m->notifications,
                     &VXNotifications::sessionTableSelectionDidChange);

    // Sessions that ventrix-decode or another window stores appear without a restart.
    if (const StoreFile *file = m->delegate.persistentStoreCoordinator()->storeFile()) {
        auto *watcher = new StoreWatcher(*file, m->context, &m->window);
        QObject::connect(watcher, &StoreWatcher::reloadFailed, &m->window,
                         [this](const QString &message) { m->window.statusBar()->showMessage(message); });
    }

    // The main window's controller and its commands.
    m->windowController.setAppController(&m->appController);
    m->windowController.setDecoder(&m->decoder, &m->importer);
    m->windowController.setSportZoneView(m->sportZoneView);
    m->windowController.setHistoryView(m->historyPane->historyView());
    m->windowController.setUpWindow();
    // The status bar's level meter reads the recorder's peak, published by the audio callback.
    m->windowController.recordingStatus()->setLevelSource(
        [](const AudioFileRecorder &recorder) { return std::optional<float>(recorder.peakLevel()); });

    Ui::MainWindow &ui = m->window.ui();
    MainWindowController *controller = &m->windowController;
    QObject::connect(ui.actionImportRecording, &QAction::triggered, controller, &MainWindowController::importRecordings);
    QObject::connect(ui.actionExportSession, &QAction::triggered, &m->dataOutput, &DataOutput::saveFile);
    QObject::connect(ui.actionExportSessionTcx, &QAction::triggered, &m->dataOutput, &DataOutput::saveTcxFile);
    QObject::connect(ui.actionSave, &QAction::triggered, &m->window, [this] { m->delegate.saveAction(); });
    QObject::connect(ui.actionPreferences, &QAction::triggered, &m->appController,
                     &AppController::showPreferencesWindow);
    QObject::connect(ui.actionQuit, &QAction::triggered, &m->window, &QWidget::close);
    QObject::connect(ui.actionHide, &QAction::triggered, controller, &MainWindowController::hideSession);
    QObject::connect(ui.actionUnhide, &QAction::triggered, controller, &MainWindowController::unhideSession);
    QObject::connect(ui.actionDelete, &QAction::triggered, controller, &MainWindowController::deleteSelectedSession);
    ui.menuEdit->insertAction(ui.actionDelete, controller->markAsCheckedAction());

    m->window.setUndoStack(m->delegate.undoStack());
    // The record button's command is in the File menu too, for the keyboard.
    QAction *record = controller->itemForItemIdentifier(QString(MainWindowController::kStartRecordingIdentifier));
    ui.menuFile->insertAction(ui.actionImportRecording, record);
    ui.menuFile->insertSeparator(ui.actionImportRecording);

    // Tab runs list, detail table, its switches, the calendar's switches, the calendar.
    QWidget *tabOrder[] = {m->window.sessionTable(), m->dataView->dataTable(), m->dataView->bpmOrPercentControl(),
                           m->dataView->speedOrPaceControl(), m->historyPane->segmentedDisplayButton(),
                           m->historyPane->historyView()};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);

    m->appController.setPreferencesWindowOpener([this] {
        if (!m->preferences)
            m->preferences = new PreferencesWindowController(m->notifications, &m->window);
        m->preferences->show();
        m->preferences->raise();
        m->preferences->activateWindow();
    });

    // Closing the main window quits once the delegate has saved (or the user agreed).
    m->window.setCloseHandler([this] {
        return m->delegate.applicationShouldTerminate() == Ventrix_AppDelegate::TerminateReply::TerminateNow;
    });
}

VentrixApplication::~VentrixApplication() = default;

void VentrixApplication::show()
{
    m->window.show();
    m->delegate.applicationDidFinishLaunching();
}

void VentrixApplication::openFiles(const QStringList &paths)
{
    if (!paths.isEmpty())
        m->windowController.acceptDrop(paths);
}

Ventrix_AppDelegate &VentrixApplication::appDelegate() { return m->delegate; }
ObjectContext &VentrixApplication::context() { return m->context; }
SessionListController &VentrixApplication::sessions() { return m->sessions; }
Decoder &VentrixApplication::decoder() { return m->decoder; }
DataOutput &VentrixApplication::dataOutput() { return m->dataOutput; }
AppController &VentrixApplication::appController() { return m->appController; }
MainWindow &VentrixApplication::mainWindow() { return m->window; }
MainWindowController &VentrixApplication::mainWindowController() { return m->windowController; }
VXSavePanel &VentrixApplication::savePanel() { return m->savePanel; }
DataView &VentrixApplication::dataView() { return *m->dataView; }
SportZoneView &VentrixApplication::sportZoneView() { return *m->sportZoneView; }
HistoryView &VentrixApplication::historyView() { return *m->historyPane->historyView(); }
PreferencesWindowController *VentrixApplication::preferencesWindowController() { return m->preferences; }
