#pragma once

#include <QObject>

// The named notifications that the views send one another, as signals of one
// hub object created by the application and handed to each view. None carries
// a payload: a receiver reads the store again. Lives in the GUI thread.
class VXNotifications : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    // The session list's selection changed.
    void sessionTableSelectionDidChange();
    // The pop-up session window finished an edit.
    void VXDataWindowValueHasChanged();
    // The preferences changed "First day of the week".
    void firstDayOfWeekPopUpButtonSelectionDidChange();
    // The preferences changed one of the history colours.
    void historyColorsDidChange();
};
