#include "VXDefaults.h"

#include <QColor>

QVariantMap VXDefaults::table()
{
    return {
        {QStringLiteral("VXHistoryTimeIsVisible"), true},
        {QStringLiteral("VXHistoryHRIsVisible"), true},
        {QStringLiteral("VXHistoryDistanceIsVisible"), true},
        {QStringLiteral("VXHistoryCaloriesIsVisible"), false},
        {QStringLiteral("VXHistoryTimeColor"), QColor::fromRgbF(0.0f, 0.5f, 1.0f, 1.0f)},
        {QStringLiteral("VXHistorySelectedTimeColor"),
         QColor::fromRgbF(64.0f / 255.0f, 175.0f / 255.0f, 0.0f, 1.0f)},
        {QStringLiteral("VXHistoryHRColor"), QColor::fromRgbF(1.0f, 0.0f, 0.0f, 1.0f)},
        {QStringLiteral("VXHistoryDistanceColor"), QColor::fromRgbF(0.5f, 0.5f, 0.5f, 1.0f)},
        {QStringLiteral("VXHistoryCaloriesColor"), QColor::fromRgbF(1.0f, 0.5f, 0.0f, 1.0f)},
        {QStringLiteral("First day of the week"), 2},
        {QStringLiteral("VXStopRecordingWhenTransferEnds"), true},
    };
}

QSettings VXDefaults::settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ventrix"),
                     QStringLiteral("Ventrix"));
}

QVariant VXDefaults::value(const QString &key)
{
    return value(settings(), key);
}

QVariant VXDefaults::value(const QSettings &settings, const QString &key)
{
    if (settings.contains(key))
        return settings.value(key);
    return table().value(key);
}
