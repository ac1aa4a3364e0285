#include "StoreFile.h"
#include "StoreFileQuickReader.h"
#include "StoreFileTestSupport.h"
#include "StoreFileWriter.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray written(const std::vector<RunSession> &sessions, const QVariantMap &metadata = {})
{
    QString error;
    return StoreFileWriter::write(pointers(sessions), metadata, &error).value_or(QByteArray());
}

// The quick tokenizer either leaves bytes alone or reads them as the general one does.
testing::AssertionResult agree(const QByteArray &bytes)
{
    const std::optional<StoreContents> quick = StoreFileQuickReader::read(bytes);
    if (!quick)
        return testing::AssertionSuccess();
    QString error;
    const std::optional<StoreContents> general = StoreFileReader::readGeneral(bytes, &error);
    if (!general)
        return testing::AssertionFailure() << "only the quick reader accepts " << bytes.constData() << ": " << qPrintable(error);
    // Written out again, every key, date kind and text unit shows.
    if (written(quick->sessions, quick->metadata) != written(general->sessions, general->metadata))
        return testing::AssertionFailure() << "the readers differ on " << bytes.constData();
    return testing::AssertionSuccess();
}

// QDateTime's == compares instants only; a date must also come back in its own kind of time.
void expectSameDate(const QDateTime &expected, const QDateTime &actual)
{
    ASSERT_EQ(expected.isValid(), actual.isValid());
    EXPECT_EQ(expected, actual);
    EXPECT_EQ(expected.toString(Qt::ISODateWithMs), actual.toString(Qt::ISODateWithMs));
    EXPECT_EQ(expected.timeSpec(), actual.timeSpec());
    EXPECT_EQ(expected.timeZone().id(), actual.timeZone().id());
}

struct MalformedCase
{
    std::string name;
    QString reason;
    QByteArray body;
};

// data/malformed.txt, with "{N x TEXT}" written out.
std::vector<MalformedCase> malformedCases()
{
    QFile file(QStringLiteral(VENTRIX_STOREFILE_DATA_DIR "/malformed.txt"));
    std::vector<MalformedCase> cases;
    if (!file.open(QIODevice::ReadOnly))
        return cases;
    static const QRegularExpression repeat(QStringLiteral("\\{(\\d+) x (.*?)\\}"));
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QStringLiteral(" |"));
        if (line.startsWith(u'#') || fields.size() != 3)
            continue;
        QString body = fields[2].mid(1).replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        for (QRegularExpressionMatch match = repeat.match(body); match.hasMatch(); match = repeat.match(body))
            body.replace(match.capturedStart(), match.capturedLength(), match.captured(2).repeated(match.captured(1).toInt()));
        cases.push_back({fields[0].toStdString(), fields[1].trimmed(), body.toUtf8()});
    }
    return cases;
}

class StoreFileMalformed : public testing::TestWithParam<MalformedCase>
{
};

} // namespace

TEST(StoreFile, EveryKeyTextDateAndMetadataSurvivesSaveAndReopen)
{
    std::vector<RunSession> sessions = awkwardSessions();
    // Zeros and extremes that must not turn into absent or other values.
    RunSession &zeros = sessions.emplace_back();
    zeros.sessionTotalTime = 0;
    zeros.hidden = false;
    zeros.lap.emplace_back();
    zeros.lap.push_back(Lap{0, 0, 0, 0, 0, false, 0, 0, 0, 0});
    RunSession &extremes = sessions.emplace_back();
    extremes.sessionTotalTime = INT_MAX;
    extremes.sessionAverageHR = INT_MIN;
    extremes.lap.push_back(Lap{-7, INT_MIN, INT_MAX, std::nullopt, -0, std::nullopt, 1, std::nullopt, -2147483647, 0});

    QTemporaryDir folder;
    const StoreFile file(folder.filePath("Ventrix.xml"));
    ASSERT_TRUE(file.save(pointers(sessions), typedMetadata()).ok);
    const StoreLoadResult loaded = file.load();
    ASSERT_TRUE(loaded.ok) << qPrintable(loaded.errorMessage);
    ASSERT_EQ(loaded.contents.sessions, sessions);
    EXPECT_EQ(loaded.contents.metadata, typedMetadata());
    EXPECT_EQ(loaded.contents.metadata.value("flag").typeId(), QMetaType::Bool);
    for (size_t i = 0; i < sessions.size(); ++i) {
        if (sessions[i].sessionDate)
            expectSameDate(*sessions[i].sessionDate, *loaded.contents.sessions[i].sessionDate);
    }
}

TEST(StoreFileReader, TheQuickTokenizerReadsTheWritersFormAndAgreesOnEveryOneByteChange)
{
    const QByteArray awkward = written(awkwardSessions(), typedMetadata());
    QByteArray previousDeclaration = awkward;
    previousDeclaration.replace("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "<?xml version=\"1.0\"?>");
    for (const QByteArray &file : {awkward, previousDeclaration, written({})}) {
        ASSERT_TRUE(StoreFileQuickReader::read(file)) << file.constData();
        EXPECT_TRUE(agree(file));
    }

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
    const QByteArray bytes = written({session, RunSession()}, {{"VXDataVersion", 2}, {"name", "x&y"}});
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

TEST_P(StoreFileMalformed, IsReportedAndNeverOverwritten)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("Ventrix.xml");
    ASSERT_TRUE(writeBytes(path, GetParam().body));
    ObjectContext context;
    const SaveResult opened = StoreFile(path).openInto(context);
    EXPECT_TRUE(opened.errorMessage.startsWith("cannot read sessions from " + path + ": ")) << qPrintable(opened.errorMessage);
    EXPECT_TRUE(opened.errorMessage.contains(GetParam().reason)) << qPrintable(opened.errorMessage);
    context.insertSession(everyKeySession(1));
    EXPECT_TRUE(context.save().errorMessage.startsWith("cannot save sessions to " + path + ": "));
    EXPECT_EQ(fileBytes(path), GetParam().body);
}

INSTANTIATE_TEST_SUITE_P(Inputs, StoreFileMalformed, testing::ValuesIn(malformedCases()),
                         [](const testing::TestParamInfo<MalformedCase> &info) { return info.param.name; });

TEST(StoreFileMalformed, EveryTruncationOfAValidFileIsAnError)
{
    const RunSession session = everyKeySession(4);
    const QByteArray bytes = written({session}, {{QStringLiteral("VXDataVersion"), 2}});
    const qsizetype end = bytes.lastIndexOf("</VentrixStore>") + qsizetype(qstrlen("</VentrixStore>"));
    for (qsizetype length = 0; length < bytes.size(); ++length) {
        QString error;
        const std::optional<StoreContents> contents = StoreFileReader::read(bytes.left(length), &error);
        if (length < end)
            EXPECT_FALSE(contents) << "prefix of " << length << " bytes read as a database";
        else
            EXPECT_TRUE(contents && contents->sessions == std::vector<RunSession>{session});
    }
}
