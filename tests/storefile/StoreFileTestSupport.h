#pragma once

#include "RunSession.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <fcntl.h>
#include <sys/stat.h>

#include <climits>
#include <vector>

// An RS200 session with every key of every entity set: five laps, five sport
// zones and three limit zones. index varies every value.
inline RunSession everyKeySession(int index)
{
    RunSession session;
    session.hrm = QStringLiteral("RS200");
    session.importDate = QDateTime(QDate(2009, 1, 2), QTime(10, 0, index % 60));
    session.sessionDate = QDateTime(QDate(2008, 7, 1 + index % 28), QTime(18, 5, 33));
    session.sessionName = QStringLiteral("Run%1").arg(index % 100);
    session.sessionTotalTime = 18000 + index;
    session.sessionRideTime = 17000 + index;
    session.sessionAverageHR = 140;
    session.sessionMaxHR = 181;
    session.sessionMaxSetHR = 190;
    session.sessionCalories = 612;
    session.sessionFat = 31;
    session.setPrimitiveSessionTotalDistance(5000 + index);
    session.sessionMaxPace = 2400;
    session.sessionMaxSpeed = 345;
    session.sessionAverageCadence = 85;
    session.sessionMaxCadence = 110;
    session.sessionLimitType = QStringLiteral("HR Limits");
    session.sessionPaceData = true;
    session.sessionLaps = 5;
    session.userWeight = 1543;
    session.userLength = 181;
    session.userBirthday = QDateTime(QDate(1970, 3, 29), QTime(0, 0));
    session.userMaxHR = 190;
    session.userSittingHR = 52;
    session.userVO2Max = 48;
    session.userSex = QStringLiteral("M");
    session.userActivityLevel = QStringLiteral("High");
    session.hidden = index % 2 == 0;
    session.comment = QStringLiteral("comment %1").arg(index);
    for (int number = 1; number <= 5; ++number) {
        session.lap.push_back({number, 3600 + number, 140 + number, 160 + number, 150 + number, number % 2 == 0,
                               2500 + number, 2600 + number, 1000 + number, 80 + number});
        session.sportZone.push_back({number, QStringLiteral("Zone %1").arg(number), 50 + 10 * number,
                                     59 + 10 * number, 100 * number});
    }
    for (int number = 1; number <= 3; ++number)
        session.limitZone.push_back({number, 120 + number, 150 + number, 10 * number, 20 * number, 30 * number});
    return session;
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Sets a file's modification time to the given moment.
inline bool setModified(const QString &path, const QDateTime &moment)
{
    const qint64 ms = moment.toMSecsSinceEpoch();
    const struct timespec times[2] = {{ms / 1000, (ms % 1000) * 1000000}, {ms / 1000, (ms % 1000) * 1000000}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

// Collects the messages of the store's log category while it lives.
class StoreLogCapture
{
public:
    StoreLogCapture()
    {
        s_active = this;
        m_previous = qInstallMessageHandler(&StoreLogCapture::handle);
    }
    ~StoreLogCapture()
    {
        qInstallMessageHandler(m_previous);
        s_active = nullptr;
    }
    const QStringList &lines() const { return m_lines; }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (s_active && type == QtInfoMsg && context.category && QByteArray(context.category) == "ventrix.store")
            s_active->m_lines.append(message);
    }

    QStringList m_lines;
    QtMessageHandler m_previous = nullptr;
    static inline StoreLogCapture *s_active = nullptr;
};
