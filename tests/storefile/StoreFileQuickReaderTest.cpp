#include "StoreFileQuickReader.h"
#include "StoreFileTestSupport.h"
#include "StoreFileWriter.h"

#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

QString describe(const QDateTime &date)
{
    if (!date.isValid())
        return QStringLiteral("invalid");
    return QStringLiteral("%1 kind %2 offset %3 zone %4")
        .arg(date.toMSecsSinceEpoch())
        .arg(int(date.timeSpec()))
        .arg(date.offsetFromUtc())
        .arg(QString::fromLatin1(date.timeSpec() == Qt::TimeZone ? date.timeZone().id() : QByteArray()));
}

// Every key of an entity, dates with their kind of time, texts unit by unit.
template <typename Entity>
QString describe(const Entity &entity)
{
    QString text;
    for (const EntityKey<Entity> &key : Entity::keys()) {
        std::visit([&](auto member) {
            const auto &field = entity.*member;
            using Value = typename std::remove_reference_t<decltype(field)>::value_type;
            text += QLatin1String(key.name) + u'=';
            if (!field)
                text += u'-';
            else if constexpr (std::is_same_v<Value, QDateTime>)
                text += describe(*field);
            else if constexpr (std::is_same_v<Value, QString>)
                text += QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(field->utf16()), field->size() * 2).toHex());
            else
                text += QString::number(int(*field));
            text += u' ';
        }, key.member);
    }
    return text + u'\n';
}

QString describe(const StoreContents &contents)
{
    QString text;
    for (auto entry = contents.metadata.cbegin(); entry != contents.metadata.cend(); ++entry) {
        const QVariant &value = entry.value();
        text += entry.key() + u' ' + QString::fromLatin1(value.typeName()) + u' '
            + (value.typeId() == QMetaType::QDateTime ? describe(value.toDateTime()) : value.toString()) + u'\n';
    }
    for (const RunSession &session : contents.sessions) {
        text += describe(session);
        for (const Lap &lap : session.lap)
            text += describe(lap);
        for (const SportZone &zone : session.sportZone)
            text += describe(zone);
        for (const LimitZone &zone : session.limitZone)
            text += describe(zone);
    }
    return text;
}

QByteArray written(const std::vector<RunSession> &sessions, const QVariantMap &metadata)
{
    QList<const RunSession *> list;
    for (const RunSession &session : sessions)
        list.append(&session);
    QString error;
    return StoreFileWriter::write(list, metadata, &error).value_or(QByteArray());
}

// Sessions whose texts and dates try every way of writing them.
std::vector<RunSession> awkwardSessions()
{
    std::vector<RunSession> sessions{everyKeySession(1), everyKeySession(2), RunSession()};
    const QStringList texts{
        QStringLiteral("<tag attr=\"x\">&amp; 'quoted' </tag>"), QStringLiteral("Zürich – Ωμέγα 日本語 😀"),
        QStringLiteral("line\none\r\ntab\there"), QStringLiteral("\x7f\u0085\u009f\ufdd0\ufffd"),
        QString::fromUcs4(U"\U0001FFFF\U0010FFFF"), QString(), QStringLiteral("bell \x07"),
        QString(QChar(0xD800)), QString(QChar(0xFFFE)), QStringLiteral("0041"),
    };
    for (const QString &text : texts) {
        RunSession session;
        session.comment = text;
        session.sportZone.push_back(SportZone{1, text, 1, 2, 3});
        sessions.push_back(session);
    }
    const QList<QDateTime> dates{
        QDateTime::fromSecsSinceEpoch(1224981000, Qt::LocalTime), QDateTime::fromSecsSinceEpoch(1224984600, Qt::LocalTime),
        QDateTime(QDate(1850, 6, 1), QTime(12, 0)), QDateTime(QDate(2008, 7, 3), QTime(18, 5, 33, 250), Qt::UTC),
        QDateTime(QDate(2008, 7, 3), QTime(18, 5, 33), Qt::OffsetFromUTC, -3 * 3600),
        QDateTime(QDate(2008, 11, 2), QTime(1, 30), QTimeZone("America/New_York")), QDateTime(),
    };
    for (const QDateTime &date : dates) {
        RunSession session;
        session.sessionDate = date;
        session.importDate = date;
        sessions.push_back(session);
    }
    return sessions;
}

const QVariantMap kMetadata{
    {QStringLiteral("VXDataVersion"), 2},
    {QStringLiteral("large"), qlonglong(1) << 40},
    {QStringLiteral("real"), 0.1},
    {QStringLiteral("flag"), false},
    {QStringLiteral("text <&>\x01"), QStringLiteral("\"value\"\n\x02")},
    {QStringLiteral("when"), QDateTime(QDate(2008, 7, 3), QTime(18, 5, 33))},
};

// The quick reader either leaves bytes alone or reads them as the general one does.
testing::AssertionResult agree(const QByteArray &bytes)
{
    const std::optional<StoreContents> quick = StoreFileQuickReader::read(bytes);
    if (!quick)
        return testing::AssertionSuccess();
    QString error;
    const std::optional<StoreContents> general = StoreFileReader::readGeneral(bytes, &error);
    if (!general)
        return testing::AssertionFailure() << "only the quick reader accepts " << bytes.constData() << ": " << qPrintable(error);
    if (describe(*quick) != describe(*general))
        return testing::AssertionFailure() << "the readers differ on " << bytes.constData();
    return testing::AssertionSuccess();
}

} // namespace

TEST(StoreFileQuickReader, ReadsEverythingTheWriterWritesAsTheGeneralReaderDoes)
{
    QByteArray bytes = written(awkwardSessions(), kMetadata);
    QByteArray previousDeclaration = bytes;
    previousDeclaration.replace("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "<?xml version=\"1.0\"?>");
    for (const QByteArray &file : {bytes, previousDeclaration, written({}, {})}) {
        const std::optional<StoreContents> quick = StoreFileQuickReader::read(file);
        ASSERT_TRUE(quick) << file.constData();
        QString error;
        const std::optional<StoreContents> general = StoreFileReader::readGeneral(file, &error);
        ASSERT_TRUE(general) << qPrintable(error);
        EXPECT_EQ(describe(*quick), describe(*general));
    }
}

TEST(StoreFileQuickReader, LeavesOtherValidFormsToTheGeneralReader)
{
    const QByteArray header = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><VentrixStore formatVersion=\"1\">";
    const QByteArray forms[] = {
        "<!-- a comment --><RunSession comment=\"A\" sessionMaxHR=\"7\"/>",
        "<RunSession comment='A' sessionMaxHR='7'/>",
        "<RunSession comment = \"A\" sessionMaxHR=\"7\"/>",
        "<RunSession comment=\"&#x41;\" sessionMaxHR=\"7\"/>",
        "<RunSession comment=\"&#065;\" sessionMaxHR=\"+7\"/>",
        "<RunSession comment=\"A\" sessionMaxHR=\"007\"><lap></lap></RunSession>",
    };
    for (const QByteArray &form : forms) {
        const QByteArray file = header + form + "</VentrixStore>";
        EXPECT_FALSE(StoreFileQuickReader::read(file)) << form.constData();
        QString error;
        const std::optional<StoreContents> contents = StoreFileReader::read(file, &error);
        ASSERT_TRUE(contents) << form.constData() << ": " << qPrintable(error);
        ASSERT_EQ(contents->sessions.size(), 1u);
        EXPECT_EQ(contents->sessions.front().comment, QStringLiteral("A"));
        EXPECT_EQ(contents->sessions.front().sessionMaxHR, 7);
    }
}

TEST(StoreFileQuickReader, AgreesWithTheGeneralReaderOnEveryOneByteChange)
{
    // A key of every type, a text of each kind and a member of each relation.
    RunSession session;
    session.hrm = QStringLiteral("RS200");
    session.sessionDate = QDateTime(QDate(2008, 7, 3), QTime(18, 5, 33));
    session.sessionMaxHR = -12;
    session.hidden = true;
    session.comment = QStringLiteral("a&b \"c\" <d> é\t😀");
    session.sessionName = QStringLiteral("\x01");
    session.lap.emplace_back().autoLap = false;
    session.sportZone.emplace_back().name = QStringLiteral("In Zone");
    session.limitZone.emplace_back().zoneNumber = 1;
    const QByteArray bytes = written({session, RunSession()},
                                     {{QStringLiteral("VXDataVersion"), 2}, {QStringLiteral("name"), QStringLiteral("x&y")}});
    ASSERT_TRUE(StoreFileQuickReader::read(bytes));

    static const char replacements[] = "<>&\"' \n\t\r/=;#:x0-9.\x01\x80\xbf\xef\xff";
    int accepted = 0;
    for (qsizetype pos = 0; pos < bytes.size(); ++pos) {
        QList<QByteArray> variants{QByteArray(bytes).remove(pos, 1), QByteArray(bytes).insert(pos, bytes[pos])};
        for (const char replacement : std::string_view(replacements))
            variants.append(QByteArray(bytes).replace(pos, 1, QByteArray(1, replacement)));
        for (const QByteArray &variant : variants) {
            ASSERT_TRUE(agree(variant)) << "at byte " << pos;
            accepted += StoreFileQuickReader::read(variant) ? 1 : 0;
        }
    }
    // Changes to values and white space stay in the quick form; the sweep
    // must have compared readings, not only refusals.
    EXPECT_GT(accepted, 500);
}
