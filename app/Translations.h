#pragma once

#include <QTranslator>

class QLocale;

// The window's texts and Qt's own (standard dialogs, context menus) in the
// language of a locale, installed while this object lives. English, the
// language of the sources, needs no file; a language without one stays English.
class Translations
{
public:
    explicit Translations(const QLocale &locale);

    // Whether the window's own texts were found for the locale.
    bool windowTextsLoaded() const { return m_windowLoaded; }

private:
    QTranslator m_qt;
    QTranslator m_window;
    bool m_windowLoaded = false;
};
