#pragma once

#include "RunSession.h"

#include <QLocale>

// Sets the default locale (which VXUnits reads) for one test and restores it.
class ScopedLocale
{
public:
    explicit ScopedLocale(const QLocale &locale) { QLocale::setDefault(locale); }
    ~ScopedLocale() { QLocale::setDefault(m_previous); }

    static QLocale metric() { return QLocale(QLocale::German, QLocale::Germany); }
    static QLocale imperial() { return QLocale(QLocale::English, QLocale::UnitedStates); }

private:
    QLocale m_previous;
};

// An RS200-like session with two laps, five sport zones and one limit zone.
inline RunSession makeSession(const QString &name, const QDateTime &date)
{
    RunSession session;
    session.hrm = QStringLiteral("RS200");
    session.sessionName = name;
    session.sessionDate = date;
    session.sessionTotalTime = 18000;
    session.setPrimitiveSessionTotalDistance(5000);
    for (int number : {2, 1})
        session.lap.push_back(Lap{number, 9000, {}, {}, {}, {}, {}, {}, {}, {}});
    for (int number = 1; number <= 5; ++number)
        session.sportZone.push_back(SportZone{number, {}, {}, {}, number * 100});
    session.limitZone = {LimitZone{1, 120, 150, {}, {}, {}}};
    return session;
}

inline QDateTime day(int dayOfMonth)
{
    return QDateTime(QDate(2008, 7, dayOfMonth), QTime(18, 5, 33));
}
