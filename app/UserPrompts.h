#pragma once

#include <QString>

// The alerts and questions of the application delegate. The desktop build
// answers them with message boxes, the tests with scripted answers.
// GUI thread only.
class UserPrompts
{
public:
    virtual ~UserPrompts() = default;

    // An error alert showing message (the error the store reported).
    virtual void showError(const QString &message) = 0;
    // Presents an error that the user may be able to deal with; true when
    // it was dealt with (the caller then stops what it was doing).
    virtual bool presentError(const QString &message) = 0;
    // An alert without a title: message with the buttons quitButton (the
    // default) and cancelButton. True when quitButton was chosen.
    virtual bool askQuitAnyway(const QString &message, const QString &quitButton, const QString &cancelButton) = 0;
};
