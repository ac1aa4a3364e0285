#pragma once

#include <QString>

// The outcome of a save, export or open: ok, or a message naming the operation
// and its target ("cannot save sessions to <path>: No space left on device").
struct SaveResult
{
    bool ok = true;
    QString errorMessage;

    static SaveResult success() { return {}; }
    static SaveResult failure(const QString &message) { return {false, message}; }
    // "<operation> <target>: <reason>", the one form every failure takes.
    static SaveResult failure(const QString &operation, const QString &target, const QString &reason)
    {
        return failure(operation + u' ' + target + QLatin1String(": ") + reason);
    }
};
