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

QByteArray awkwardFile()
{
    return fileBytes(QStringLiteral(VENTRIX_STOREFILE_DATA_DIR "/awkward.xml"));
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

struct MalformedCase
{
    std::string name;
    QString reason;
    QByteArray body;
};

// data/malformed.txt, with "{N x TEXT}" written out.
std::vector<MalformedCase> malformedCases()
{
    const QString table = QString::fromUtf8(fileBytes(QStringLiteral(VENTRIX_STOREFILE_DATA_DIR "/malformed.txt")));
    static const QRegularExpression repeat(QStringLiteral("\\{(\\d+) x (.*?)\\}"));
    std::vector<MalformedCase> cases;
    for (const QString &line : table.split(u'\n', Qt::SkipEmptyParts)) {
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

using StoreFileMalformed = testing::TestWithParam<MalformedCase>;

} // namespace

// data/awkward.xml holds, as the writer writes them, metadata of every type; two
// sessions with every key; texts that XML reserves, cannot hold or holds only
// encoded; dates of every kind of time (either side of Berlin's daylight-saving
// changes of 2008, when 02:30 happened twice; local mean time of 1850; UTC;
// offsets; a named zone; the years -44 and 12345; invalid); zeros and the
// extremes of 32 bits. Read and written again, it comes out byte for byte.
TEST(StoreFile, EveryKeyTextDateAndMetadataSurvivesSaveAndReopen)
{
    QString error;
    const std::optional<StoreContents> contents = StoreFileReader::read(awkwardFile(), &error);
    ASSERT_TRUE(contents) << qPrintable(error);
    EXPECT_EQ(written(contents->sessions, contents->metadata), awkwardFile());
}

TEST(StoreFileReader, TheQuickTokenizerReadsTheWritersFormAndAgreesOnEveryOneByteChange)
{
    // data/sweep.xml: a key of every type, a text of each kind and a member of each relation.
    const QByteArray bytes = fileBytes(QStringLiteral(VENTRIX_STOREFILE_DATA_DIR "/sweep.xml"));
    QByteArray previousDeclaration = awkwardFile();
    previousDeclaration.replace("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "<?xml version=\"1.0\"?>");
    for (const QByteArray &file : {awkwardFile(), previousDeclaration, written({}), bytes}) {
        ASSERT_TRUE(StoreFileQuickReader::read(file)) << file.constData();
        EXPECT_TRUE(agree(file));
    }

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
