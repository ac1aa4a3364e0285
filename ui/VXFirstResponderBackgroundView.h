#pragma once

#include <QWidget>

// The pop-up window's background: a plain view that can take the keyboard
// focus, so that keys reach the window when no field is being edited.
// Lives in the GUI thread.
class VXFirstResponderBackgroundView : public QWidget
{
    Q_OBJECT

public:
    // Takes the focus on a click or Tab (Qt::StrongFocus).
    explicit VXFirstResponderBackgroundView(QWidget *parent = nullptr);
};
