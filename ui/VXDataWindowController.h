#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include <memory>

namespace Ui {
class DataWindow;
}

class ObjectContext;
class QLabel;
class QLineEdit;
class RunSession;
class VXDataWindow;
class VXNotifications;

// Runs the pop-up session window: shows the date, name, comment, distance,
// total time, heart rates and calories of one session and stores the edits of
// name, comment and total distance through the context, each one undo step.
// Every finished edit posts "VXDataWindowValueHasChanged" and moves the focus
// on to the next field. The window is loaded from DataWindow.ui when first
// needed and then kept. Lives in the GUI thread.
class VXDataWindowController : public QObject
{
    Q_OBJECT

public:
    VXDataWindowController(ObjectContext &context, VXNotifications &notifications, QObject *parent = nullptr);
    ~VXDataWindowController() override;

    VXDataWindow *window();
    bool isWindowLoaded() const { return !m_window.isNull(); }

    const RunSession *session() const { return m_session; }
    // Shows session (null shows nothing); the same session again changes nothing.
    void setSession(const RunSession *session);

    // Focus to the window's first field, ready for typing. Called whenever the
    // window becomes active (its didBecomeKey signal).
    void windowDidBecomeKey();
    // After the user changed the field: stores its text, posts the
    // notification and moves the focus on. Nothing when the text was not
    // edited. Called when a field finishes editing (editingFinished).
    void controlTextDidEndEditing(QLineEdit *field);
    // Stores what the field being edited holds; the calendar calls it before
    // it hides the window.
    void commitEditing();

    // The editable fields in focus order: name, comment, distance.
    QList<QLineEdit *> fields();
    QLineEdit *nameField();
    QLineEdit *commentField();
    QLineEdit *distanceField();
    QLabel *dateLabel();
    QLabel *totalTimeLabel();
    QLabel *heartRateLabel();
    QLabel *caloriesLabel();

private:
    void loadWindow();
    // False (field reverted, focus kept) when the text is no distance.
    bool store(QLineEdit *field);
    void showSession();
    void sessionChanged(const RunSession *session);
    void sessionRemoved(const RunSession *session);

    ObjectContext &m_context;
    VXNotifications &m_notifications;
    // The main window may take the window down with it while it is attached.
    QPointer<VXDataWindow> m_window;
    std::unique_ptr<Ui::DataWindow> m_ui;
    const RunSession *m_session = nullptr;
};
