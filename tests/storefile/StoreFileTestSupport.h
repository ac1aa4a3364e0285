#pragma once

#include "AtomicFile.h"
#include "ObjectContext.h"
#include "RunSession.h"
#include "StoreFileReader.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <QtGlobal>

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
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
    session.noisyTransferMargin = index % 2 == 0 ? std::nullopt : std::optional(index - 1000);
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

inline QList<const RunSession *> pointers(const std::vector<RunSession> &sessions)
{
    QList<const RunSession *> list;
    for (const RunSession &session : sessions)
        list.append(&session);
    return list;
}

// Texts that XML reserves, cannot hold or holds only encoded.
inline QStringList awkwardTexts()
{
    return {QStringLiteral("<tag attr=\"x\">&amp; 'quoted' ]]> --> </tag>"), QStringLiteral("Zürich – Ωμέγα 日本語 😀"),
            QStringLiteral("line\none\r\ntwo\rtab\there"), QStringLiteral("  padded  "),
            QStringLiteral("\x7f\u0085\u009f\ufdd0\ufffd"), QString::fromUcs4(U"\U0001FFFF\U0010FFFF"), QString(),
            QStringLiteral("bell \x07"), QString(QChar(0xD800)), QString(QChar(0xFFFE)) + QChar(0xFFFF),
            QString(QChar(0)), QStringLiteral("0041")};
}

// Dates of every kind of time; Berlin (the suite's zone) left winter time at
// 2008-03-30 01:00 UTC and returned at 2008-10-26 01:00 UTC, when 02:30 happened twice.
inline QList<QDateTime> awkwardDates()
{
    return {QDateTime::fromSecsSinceEpoch(1206838799, Qt::LocalTime), QDateTime::fromSecsSinceEpoch(1206838800, Qt::LocalTime),
            QDateTime::fromSecsSinceEpoch(1224981000, Qt::LocalTime), QDateTime::fromSecsSinceEpoch(1224984600, Qt::LocalTime),
            QDateTime(QDate(1850, 6, 1), QTime(12, 0)), // local mean time, an offset with seconds
            QDateTime(QDate(2008, 7, 3), QTime(18, 5, 33, 250), Qt::UTC),
            QDateTime(QDate(2008, 7, 3), QTime(18, 5, 33), Qt::OffsetFromUTC, 5 * 3600 + 1800),
            QDateTime(QDate(2008, 7, 3), QTime(18, 5, 33), Qt::OffsetFromUTC, -3 * 3600),
            QDateTime(QDate(2008, 11, 2), QTime(1, 30), QTimeZone("America/New_York")),
            QDateTime(QDate(-44, 3, 15), QTime(12, 0), Qt::UTC), QDateTime(QDate(12345, 1, 1), QTime(0, 0), Qt::UTC),
            QDateTime()};
}

// One session per awkward text and per awkward date, after two full ones and an empty one.
inline std::vector<RunSession> awkwardSessions()
{
    std::vector<RunSession> sessions{everyKeySession(1), everyKeySession(2), RunSession()};
    for (const QString &text : awkwardTexts()) {
        RunSession &session = sessions.emplace_back();
        session.comment = text;
        session.sessionName = text;
        session.sportZone.push_back(SportZone{1, text, 1, 2, 3});
    }
    for (const QDateTime &date : awkwardDates()) {
        RunSession &session = sessions.emplace_back();
        session.sessionDate = date;
        session.userBirthday = date;
    }
    return sessions;
}

// Metadata of every type the store keeps.
inline QVariantMap typedMetadata()
{
    return {{QStringLiteral("VXDataVersion"), 2}, {QStringLiteral("large"), qlonglong(1) << 40},
            {QStringLiteral("real"), 0.1}, {QStringLiteral("flag"), false},
            {QStringLiteral("text <&>\x01"), QStringLiteral("\"value\"\n\x02")},
            {QStringLiteral("when"), QDateTime(QDate(2008, 7, 3), QTime(18, 5, 33))}};
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

// Fails one step of a save the way a system call would.
class FaultyFile : public AtomicFile
{
public:
    enum class Step { Write, WriteAfterSomeBytes, SyncFile, Rename, SyncFolder };
    FaultyFile(Step step, int error) : m_step(step), m_error(error) {}

protected:
    long writeSome(int fd, const char *data, long size) const override
    {
        if (m_step == Step::Write)
            return fail();
        if (m_step == Step::WriteAfterSomeBytes)
            return m_written > 0 ? fail() : (m_written = AtomicFile::writeSome(fd, data, std::min(size, 10L)));
        return AtomicFile::writeSome(fd, data, size);
    }
    int syncFile(int fd) const override { return m_step == Step::SyncFile ? int(fail()) : AtomicFile::syncFile(fd); }
    int renameFile(const char *from, const char *to) const override
    {
        return m_step == Step::Rename ? int(fail()) : AtomicFile::renameFile(from, to);
    }
    int syncFolder(int fd) const override { return m_step == Step::SyncFolder ? int(fail()) : AtomicFile::syncFolder(fd); }

private:
    long fail() const
    {
        errno = m_error;
        return -1;
    }
    Step m_step;
    int m_error;
    mutable long m_written = 0;
};

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
