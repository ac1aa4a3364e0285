#pragma once

#include "UserPrompts.h"

#include <QPointer>
#include <QWidget>

// The application delegate's alerts and questions as message boxes over the
// main window (or free-standing before it exists). GUI thread.
class MessageBoxPrompts : public UserPrompts
{
public:
    void setWindow(QWidget *window) { m_window = window; }

    void showError(const QString &message) override;
    // Shows the error; there is no recovery to offer, so it is never dealt with.
    bool presentError(const QString &message) override;
    bool askQuitAnyway(const QString &message, const QString &quitButton, const QString &cancelButton) override;

private:
    QPointer<QWidget> m_window;
};
