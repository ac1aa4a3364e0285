#include "MainWindow.h"

#include "SessionSplitLayout.h"
#include "SessionTableAutosave.h"
#include "VXDefaults.h"
#include "ui_MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeySequence>
#include <QUndoStack>

namespace {

// The detail pane's share of the upper pane's width before the user moves the
// divider; both panes keep their share as the window's width changes.
constexpr int kListWidth = 815;
constexpr int kDetailWidth = 455;

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), m_ui(std::make_unique<Ui::MainWindow>())
{
    m_ui->setupUi(this);
    m_ui->sessionSplitView->setStretchFactor(0, 1);
    m_ui->sessionSplitView->setStretchFactor(1, 0);
    m_ui->listDetailSplitter->setStretchFactor(0, 1);
    m_ui->listDetailSplitter->setStretchFactor(1, 1);
    m_ui->listDetailSplitter->setSizes({kListWidth, kDetailWidth});
    resize(kDefaultSize);
    m_ui->sessionSplitView->setSizes({kDefaultSize.height() - kHistoryPaneHeight, kHistoryPaneHeight});
    useStandardShortcuts();
    restoreLayout();
}

MainWindow::~MainWindow() = default;

void MainWindow::useStandardShortcuts()
{
    m_ui->actionImportRecording->setShortcuts(QKeySequence::Open);
    m_ui->actionSave->setShortcuts(QKeySequence::Save);
    m_ui->actionQuit->setShortcuts(QKeySequence::Quit);
    m_ui->actionDelete->setShortcuts(QKeySequence::Delete);
    // Many Linux desktops have no standard key for the preferences.
    const QList<QKeySequence> preferences = QKeySequence::keyBindings(QKeySequence::Preferences);
    m_ui->actionPreferences->setShortcuts(preferences.isEmpty() ? QList<QKeySequence>{QKeySequence(tr("Ctrl+,"))}
                                                                : preferences);
}

void MainWindow::setUndoStack(QUndoStack *stack)
{
    QAction *undo = stack->createUndoAction(this, tr("&Undo"));
    QAction *redo = stack->createRedoAction(this, tr("&Redo"));
    undo->setShortcuts(QKeySequence::Undo);
    redo->setShortcuts(QKeySequence::Redo);
    QAction *first = m_ui->menuEdit->actions().value(0);
    m_ui->menuEdit->insertActions(first, {undo, redo});
    m_ui->menuEdit->insertSeparator(first);
}

QTableView *MainWindow::sessionTable() const
{
    return m_ui->sessionTable;
}

QSplitter *MainWindow::sessionSplitView() const
{
    return m_ui->sessionSplitView;
}

QSplitter *MainWindow::listDetailSplitter() const
{
    return m_ui->listDetailSplitter;
}

void MainWindow::setDataView(QWidget *view)
{
    m_ui->dataViewLayout->addWidget(view);
}

void MainWindow::setSportZoneView(QWidget *view)
{
    m_ui->sportZoneViewLayout->addWidget(view);
}

void MainWindow::setHistoryView(QWidget *view)
{
    m_ui->historyLayout->addWidget(view);
}

void MainWindow::restoreLayout()
{
    const QSettings settings = VXDefaults::settings();
    restoreGeometry(settings.value(kGeometryKey).toByteArray());
    m_ui->listDetailSplitter->restoreState(settings.value(kListDetailKey).toByteArray());
}

void MainWindow::saveLayout() const
{
    SessionSplitLayout::saveFrames(*m_ui->sessionSplitView);
    SessionTableAutosave::saveColumns(*m_ui->sessionTable->horizontalHeader());
    QSettings settings = VXDefaults::settings();
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kListDetailKey, m_ui->listDetailSplitter->saveState());
    settings.sync();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_closeHandler && !m_closeHandler()) {
        event->ignore();
        return;
    }
    saveLayout();
    QMainWindow::closeEvent(event);
}
