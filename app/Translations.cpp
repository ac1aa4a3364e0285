#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace {

// Where the build embeds translations/ventrix_<language>.qm.
const QLatin1StringView kWindowFolder(":/i18n");

bool install(QTranslator &translator, const QLocale &locale, const QString &name, const QString &folder)
{
    return translator.load(locale, name, QStringLiteral("_"), folder) && QCoreApplication::installTranslator(&translator);
}

} // namespace

Translations::Translations(const QLocale &locale)
{
    install(m_qt, locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    m_windowLoaded = install(m_window, locale, QStringLiteral("ventrix"), kWindowFolder);
}
