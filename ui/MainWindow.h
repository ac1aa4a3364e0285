#pragma once

#include <QList>
#include <QMainWindow>
#include <QRectF>

#include <functional>
#include <memory>

namespace Ui {
class MainWindow;
}

class QSplitter;
class QTableView;

// The main window as laid out in MainWindow.ui: the session list with the
// detail and zone-chart panes above, the history pane below, menus and the
// status bar. Holds no behaviour of its own; the controllers are attached by
// the application. Closing it asks the close handler first. GUI thread.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Answers whether the window may close (and the application quit).
    using CloseHandler = std::function<bool()>;

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    Ui::MainWindow &ui() { return *m_ui; }
    QTableView *sessionTable() const;
    QSplitter *sessionSplitView() const;
    // The frames of the split view's panes, in order.
    QList<QRectF> sessionSplitViewPaneFrames() const;

    // Places the views of the detail table, the zone chart and the history
    // in their panes (the window takes them as children).
    void setDataView(QWidget *view);
    void setSportZoneView(QWidget *view);
    void setHistoryView(QWidget *view);

    void setCloseHandler(CloseHandler handler) { m_closeHandler = std::move(handler); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void useStandardShortcuts();

    std::unique_ptr<Ui::MainWindow> m_ui;
    CloseHandler m_closeHandler;
};
