#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>

namespace Ui {
class MainWindow;
}

class QSplitter;
class QTableView;
class QUndoStack;

// The main window as laid out in MainWindow.ui: the session list beside the
// detail and zone-chart panes, the history pane below, menus and the status
// bar. It remembers its own layout: size and position, the split positions
// and the session list's columns, restored when it is built and stored when
// it closes. The controllers are attached by the application. GUI thread.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Answers whether the window may close (and the application quit).
    using CloseHandler = std::function<bool()>;

    static inline const QString kGeometryKey = QStringLiteral("VXMainWindowGeometry");
    static inline const QString kListDetailKey = QStringLiteral("VXListDetailSplitterState");
    // Fits a 1366 x 768 screen with the desktop's panels and a title bar.
    static constexpr QSize kDefaultSize{1280, 700};
    // The calendar's pane before the user moves the divider.
    static constexpr int kHistoryPaneHeight = 230;

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    Ui::MainWindow &ui() { return *m_ui; }
    QTableView *sessionTable() const;
    QSplitter *sessionSplitView() const;
    QSplitter *listDetailSplitter() const;

    // Places the views of the detail table, the zone chart and the history
    // in their panes (the window takes them as children).
    void setDataView(QWidget *view);
    void setSportZoneView(QWidget *view);
    void setHistoryView(QWidget *view);
    // Undo and Redo at the top of the Edit menu, named after what they undo.
    void setUndoStack(QUndoStack *stack);

    void setCloseHandler(CloseHandler handler) { m_closeHandler = std::move(handler); }
    // Stores the window's size and position, its split positions and the
    // session list's columns; closing does this once the handler agreed.
    void saveLayout() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void useStandardShortcuts();
    void restoreLayout();

    std::unique_ptr<Ui::MainWindow> m_ui;
    CloseHandler m_closeHandler;
};
