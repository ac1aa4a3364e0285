#pragma once

#include <QWidget>

class HistoryView;
class ObjectContext;
class QScrollArea;
class SessionListController;
class VXNotifications;
class VXToggleSegmentedControl;

// The lower pane of the main window: the history calendar in its horizontal
// scroll area, with the four-segment control of its layers above it. Builds
// and wires its parts; the behaviour is the calendar's. GUI thread.
class HistoryPane : public QWidget
{
    Q_OBJECT

public:
    HistoryPane(ObjectContext &context, SessionListController &sessions, VXNotifications &notifications,
                QWidget *parent = nullptr);

    HistoryView *historyView() const { return m_historyView; }
    QScrollArea *scrollView() const { return m_scrollView; }
    VXToggleSegmentedControl *segmentedDisplayButton() const { return m_segmentedDisplayButton; }

private:
    VXToggleSegmentedControl *m_segmentedDisplayButton;
    QScrollArea *m_scrollView;
    HistoryView *m_historyView;
};
