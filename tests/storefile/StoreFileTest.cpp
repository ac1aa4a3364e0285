#include "StoreFile.h"
#include "StoreFileTestSupport.h"

#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

QList<const RunSession *> pointers(const std::vector<RunSession> &sessions)
{
    QList<const RunSession *> list;
    for (const RunSession &session : sessions)
        list.append(&session);
    return list;
}

// Saves sessions and metadata, reads them back.
StoreLoadResult roundTrip(const std::vector<RunSession> &sessions, const QVariantMap &metadata = {})
{
    QTemporaryDir folder;
    const StoreFile file(folder.filePath("Ventrix.xml"));
    const SaveResult saved = file.save(pointers(sessions), metadata);
    EXPECT_TRUE(saved.ok) << qPrintable(saved.errorMessage);
    StoreLoadResult loaded = file.load();
    EXPECT_TRUE(loaded.ok) << qPrintable(loaded.errorMessage);
    return loaded;
}

// QDateTime's == compares instants only; a date must also come back in its
// own kind of time.
void expectSameDate(const QDateTime &expected, const QDateTime &actual)
{
    ASSERT_EQ(expected.isValid(), actual.isValid());
    EXPECT_EQ(expected, actual);
    EXPECT_EQ(expected.toMSecsSinceEpoch(), actual.toMSecsSinceEpoch());
    EXPECT_EQ(expected.timeSpec(), actual.timeSpec());
    EXPECT_EQ(expected.offsetFromUtc(), actual.offsetFromUtc());
    EXPECT_EQ(expected.date(), actual.date());
    EXPECT_EQ(expected.time(), actual.time());
    if (expected.timeSpec() == Qt::TimeZone) {
        EXPECT_EQ(expected.timeZone().id(), actual.timeZone().id());
    }
}

QDateTime berlinLocal(qint64 secondsSinceEpoch)
{
    return QDateTime::fromSecsSinceEpoch(secondsSinceEpoch, Qt::LocalTime);
}

} // namespace

TEST(StoreFile, EveryKeyOfEveryEntitySurvivesSaveAndReopen)
{
    std::vector<RunSession> sessions{everyKeySession(1), everyKeySession(2), RunSession()};
    // Members without any key, and zeros that must not turn into absent values.
    RunSession zeros;
    zeros.lap.emplace_back();
    zeros.sportZone.emplace_back();
    zeros.limitZone.emplace_back();
    zeros.sessionTotalTime = 0;
    zeros.setPrimitiveSessionTotalDistance(0);
    zeros.hidden = false;
    zeros.sessionName = QString();
    zeros.lap.push_back(Lap{0, 0, 0, 0, 0, false, 0, 0, 0, 0});
    sessions.push_back(zeros);

    const StoreLoadResult loaded = roundTrip(sessions);
    EXPECT_EQ(loaded.contents.sessions, sessions);
    const RunSession &reread = loaded.contents.sessions.back();
    EXPECT_EQ(reread.primitiveSessionTotalDistance(), 0);
    EXPECT_FALSE(reread.sessionAverageHR.has_value());
    EXPECT_EQ(reread.sessionName, QString());
}

TEST(StoreFile, KeepsExtremeIntegers)
{
    RunSession session;
    session.sessionTotalTime = INT_MAX;
    session.sessionAverageHR = INT_MIN;
    session.sessionCalories = -1;
    session.setPrimitiveSessionTotalDistance(6553500);
    session.lap.push_back(Lap{-7, INT_MIN, INT_MAX, std::nullopt, -0, std::nullopt, 1, std::nullopt, -2147483647, 0});
    const std::vector<RunSession> sessions{session};
    EXPECT_EQ(roundTrip(sessions).contents.sessions, sessions);
}

TEST(StoreFile, KeepsTextsWithReservedAndNonAsciiCharacters)
{
    const QStringList texts{
        QStringLiteral("<tag attr=\"x\">&amp; 'quoted' </tag>"),
        QStringLiteral("Zürich – Ωμέγα 日本語 😀"),
        QStringLiteral("line one\nline two\r\nline three\rtab\there"),
        QStringLiteral("  leading and trailing  "),
        QStringLiteral("]]> --> <!-- &#x41;"),
        QString(),
        QStringLiteral("bell \x07 and escape \x1b"),
        QString(QChar(0xD800)) + QStringLiteral(" lone surrogate"),
        QString(QChar(0xFFFE)) + QChar(0xFFFF),
        QString(QChar(0)),
    };
    std::vector<RunSession> sessions;
    for (const QString &text : texts) {
        RunSession session;
        session.comment = text;
        session.sessionName = text;
        session.sportZone.push_back(SportZone{1, text, 1, 2, 3});
        sessions.push_back(session);
    }
    EXPECT_EQ(roundTrip(sessions).contents.sessions, sessions);
}

TEST(StoreFile, KeepsDatesWithTheirTimeZoneAcrossDaylightSavingChanges)
{
    // Berlin left winter time at 2008-03-30 01:00 UTC and returned at
    // 2008-10-26 01:00 UTC, when 02:30 local happened twice.
    const QList<QDateTime> dates{
        berlinLocal(1206838799),                 // 01:59:59 winter time, just before the gap
        berlinLocal(1206838800),                 // 03:00:00 summer time, just after it
        berlinLocal(1224981000),                 // 02:30 summer time, the first of the two
        berlinLocal(1224984600),                 // 02:30 winter time, the second
        QDateTime(QDate(1850, 6, 1), QTime(12, 0)), // local mean time, an offset with seconds
        QDateTime(QDate(2008, 7, 3), QTime(18, 5, 33, 250)),
        QDateTime(QDate(2008, 7, 3), QTime(18, 5, 33), Qt::UTC),
        QDateTime(QDate(2008, 7, 3), QTime(18, 5, 33), Qt::OffsetFromUTC, 5 * 3600 + 1800),
        QDateTime(QDate(2008, 7, 3), QTime(18, 5, 33), Qt::OffsetFromUTC, -3 * 3600),
        QDateTime(QDate(2008, 11, 2), QTime(1, 30), QTimeZone("America/New_York")),
        QDateTime(QDate(-44, 3, 15), QTime(12, 0), Qt::UTC),
        QDateTime(QDate(12345, 1, 1), QTime(0, 0), Qt::UTC),
        QDateTime(),
    };
    std::vector<RunSession> sessions;
    for (const QDateTime &date : dates) {
        RunSession session;
        session.sessionDate = date;
        session.userBirthday = date;
        sessions.push_back(session);
    }
    const StoreLoadResult loaded = roundTrip(sessions);
    ASSERT_EQ(loaded.contents.sessions.size(), sessions.size());
    for (size_t i = 0; i < sessions.size(); ++i) {
        SCOPED_TRACE(qPrintable(dates[int(i)].toString(Qt::ISODateWithMs)));
        expectSameDate(*sessions[i].sessionDate, *loaded.contents.sessions[i].sessionDate);
        expectSameDate(*sessions[i].userBirthday, *loaded.contents.sessions[i].userBirthday);
    }
}

TEST(StoreFile, KeepsTypedMetadata)
{
    const QVariantMap metadata{
        {QStringLiteral("VXDataVersion"), 2},
        {QStringLiteral("large"), qlonglong(1) << 40},
        {QStringLiteral("real"), 0.1},
        {QStringLiteral("flag"), false},
        {QStringLiteral("text <&>\x01"), QStringLiteral("\"value\"\n\x02")},
        {QStringLiteral("when"), QDateTime(QDate(2008, 7, 3), QTime(18, 5, 33))},
    };
    const QVariantMap reread = roundTrip({everyKeySession(3)}, metadata).contents.metadata;
    EXPECT_EQ(reread, metadata);
    EXPECT_EQ(reread.value("VXDataVersion").typeId(), QMetaType::Int);
    EXPECT_EQ(reread.value("flag").typeId(), QMetaType::Bool);
    EXPECT_EQ(reread.value("when").typeId(), QMetaType::QDateTime);
}

TEST(StoreFile, RefusesMetadataItCannotKeepAndLeavesTheOldFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("Ventrix.xml");
    const StoreFile file(path);
    ASSERT_TRUE(file.save({}, {}).ok);
    const QByteArray before = fileBytes(path);

    const SaveResult saved = file.save({}, {{QStringLiteral("picture"), QByteArray("raw")}});
    EXPECT_FALSE(saved.ok);
    EXPECT_TRUE(saved.errorMessage.startsWith("cannot save sessions to " + path + ": ")) << qPrintable(saved.errorMessage);
    EXPECT_TRUE(saved.errorMessage.contains("picture"));
    EXPECT_EQ(fileBytes(path), before);
}

TEST(StoreFile, WritesAbsentKeysAsNoAttributeAndZeroAsZero)
{
    QTemporaryDir folder;
    const StoreFile file(folder.filePath("Ventrix.xml"));
    RunSession session;
    session.sessionCalories = 0;
    ASSERT_TRUE(file.save({&session}, {{QStringLiteral("VXDataVersion"), 2}}).ok);
    const QByteArray text = fileBytes(file.path());
    EXPECT_TRUE(text.contains("<RunSession sessionCalories=\"0\"/>")) << text.constData();
    EXPECT_TRUE(text.contains("formatVersion=\"1\""));
    EXPECT_TRUE(text.contains("<entry key=\"VXDataVersion\" type=\"integer\" value=\"2\"/>"));
}

TEST(StoreFile, OpenIntoLoadsTheDatabaseAndSavesBackToIt)
{
    QTemporaryDir folder;
    const StoreFile file(folder.filePath("Ventrix.xml"));
    ObjectContext first;
    ASSERT_TRUE(file.openInto(first).ok); // a missing file is a new store
    first.insertSession(everyKeySession(1));
    ASSERT_TRUE(first.save().ok);

    ObjectContext second;
    ASSERT_TRUE(file.openInto(second).ok);
    ASSERT_EQ(second.sessionCount(), 1);
    EXPECT_EQ(*second.sessions().front(), everyKeySession(1));
    EXPECT_FALSE(second.hasChanges());
}
