#pragma once

#include "UserPrompts.h"

#include <QStringList>

// Records every alert and answers the questions as scripted.
class ScriptedPrompts : public UserPrompts
{
public:
    void showError(const QString &message) override { errors.append(message); }
    bool presentError(const QString &message) override
    {
        presented.append(message);
        return errorDealtWith;
    }
    bool askQuitAnyway(const QString &message, const QString &quitButton, const QString &cancelButton) override
    {
        questions.append(message + " [" + quitButton + "] [" + cancelButton + "]");
        return quitAnyway;
    }

    QStringList errors;
    QStringList presented;
    QStringList questions;
    bool errorDealtWith = false;
    bool quitAnyway = true;
};
