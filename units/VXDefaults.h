#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>
#include <QVariantMap>

// The one table of settings defaults, and reading a setting through it.
// QSettings has no registered defaults, so every reader goes through value().
// Any thread; each call opens the settings of organisation and application "Ventrix".
class VXDefaults
{
public:
    // Every key that has a default, with that default (colours as QColor).
    static QVariantMap table();

    // The user's own settings store (on Linux $XDG_CONFIG_HOME/Ventrix/Ventrix.conf).
    static QSettings settings();

    // The stored value of key, else its default, else an invalid QVariant.
    static QVariant value(const QString &key);
    static QVariant value(const QSettings &settings, const QString &key);
};
