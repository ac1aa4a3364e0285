#include "MainWindow.h"

#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QKeySequence>

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), m_ui(std::make_unique<Ui::MainWindow>())
{
    m_ui->setupUi(this);
    m_ui->sessionSplitView->setStretchFactor(0, 1);
    m_ui->sessionSplitView->setStretchFactor(1, 0);
    useStandardShortcuts();
}

MainWindow::~MainWindow() = default;

void MainWindow::useStandardShortcuts()
{
    m_ui->actionImportRecording->setShortcuts(QKeySequence::Open);
    m_ui->actionSave->setShortcuts(QKeySequence::Save);
    m_ui->actionQuit->setShortcuts(QKeySequence::Quit);
    m_ui->actionUndo->setShortcuts(QKeySequence::Undo);
    m_ui->actionRedo->setShortcuts(QKeySequence::Redo);
    m_ui->actionDelete->setShortcuts(QKeySequence::Delete);
    // Many Linux desktops have no standard key for the preferences.
    const QList<QKeySequence> preferences = QKeySequence::keyBindings(QKeySequence::Preferences);
    m_ui->actionPreferences->setShortcuts(preferences.isEmpty() ? QList<QKeySequence>{QKeySequence(tr("Ctrl+,"))}
                                                                : preferences);
}

QTableView *MainWindow::sessionTable() const
{
    return m_ui->sessionTable;
}

QSplitter *MainWindow::sessionSplitView() const
{
    return m_ui->sessionSplitView;
}

QList<QRectF> MainWindow::sessionSplitViewPaneFrames() const
{
    QList<QRectF> frames;
    for (int pane = 0; pane < m_ui->sessionSplitView->count(); ++pane)
        frames.append(QRectF(m_ui->sessionSplitView->widget(pane)->geometry()));
    return frames;
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

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_closeHandler && !m_closeHandler()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}
