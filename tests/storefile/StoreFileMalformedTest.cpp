#include "StoreFile.h"
#include "StoreFileTestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<VentrixStore formatVersion=\"1\">";

// Opens a database holding bytes into a context and tries to save over it.
struct OpenedBadFile
{
    QTemporaryDir folder;
    QString path = folder.filePath("Ventrix.xml");
    SaveResult opened;
    SaveResult saved;
    QByteArray after;

    explicit OpenedBadFile(const QByteArray &bytes)
    {
        writeBytes(path, bytes);
        ObjectContext context;
        opened = StoreFile(path).openInto(context);
        context.insertSession(everyKeySession(1));
        saved = context.save();
        after = fileBytes(path);
    }
};

struct MalformedCase
{
    const char *name;
    QByteArray body;
    const char *reason;
};

class StoreFileMalformed : public testing::TestWithParam<MalformedCase>
{
};

} // namespace

TEST_P(StoreFileMalformed, IsReportedAndNeverOverwritten)
{
    const MalformedCase &malformed = GetParam();
    const OpenedBadFile file(malformed.body);
    EXPECT_FALSE(file.opened.ok);
    EXPECT_TRUE(file.opened.errorMessage.startsWith("cannot read sessions from " + file.path + ": "))
        << qPrintable(file.opened.errorMessage);
    EXPECT_TRUE(file.opened.errorMessage.contains(QLatin1String(malformed.reason)))
        << qPrintable(file.opened.errorMessage);
    EXPECT_FALSE(file.saved.ok);
    EXPECT_TRUE(file.saved.errorMessage.startsWith("cannot save sessions to " + file.path + ": "));
    EXPECT_EQ(file.after, malformed.body);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, StoreFileMalformed,
    testing::Values(
        MalformedCase{"Empty", "", "Premature end"},
        MalformedCase{"OtherXml", "<plist version=\"1.0\"><dict/></plist>", "not a Ventrix session database"},
        MalformedCase{"NoVersion", "<VentrixStore></VentrixStore>", "format version is missing"},
        MalformedCase{"BadVersion", "<VentrixStore formatVersion=\"one\"/>", "invalid format version"},
        MalformedCase{"FutureVersion", "<VentrixStore formatVersion=\"2\"/>", "newer version of Ventrix"},
        MalformedCase{"UnknownKey", kHeader + "<RunSession heartRate=\"1\"/></VentrixStore>", "unknown key \"heartRate\""},
        MalformedCase{"UnknownElement", kHeader + "<Session/></VentrixStore>", "unexpected element"},
        MalformedCase{"Text", kHeader + "<RunSession>42</RunSession></VentrixStore>", "unexpected text"},
        MalformedCase{"NotANumber", kHeader + "<RunSession sessionMaxHR=\"12a\"/></VentrixStore>", "invalid value"},
        MalformedCase{"Beyond32Bits", kHeader + "<RunSession sessionMaxHR=\"2147483648\"/></VentrixStore>", "invalid value"},
        MalformedCase{"BadDate", kHeader + "<RunSession sessionDate=\"2008-02-30T10:00:00Z\"/></VentrixStore>", "invalid value"},
        MalformedCase{"KeyTwice", kHeader + "<RunSession comment=\"a\" comment.utf16=\"0062\"/></VentrixStore>", "appears twice"},
        MalformedCase{"MetadataType", kHeader + "<metadata><entry key=\"a\" type=\"blob\" value=\"\"/></metadata></VentrixStore>", "invalid blob"},
        MalformedCase{"Instruction", kHeader + "<?evil?></VentrixStore>", "processing instruction"},
        MalformedCase{"EntityExpansion", "<!DOCTYPE VentrixStore [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]>"
                                         "<VentrixStore formatVersion=\"1\"><RunSession comment=\"&b;\"/></VentrixStore>",
                      "document type declaration"},
        // Within the size limit, but a file of empty tags would otherwise ask for gigabytes.
        MalformedCase{"TooManySessions", kHeader + QByteArray("<RunSession/>").repeated(200001) + "</VentrixStore>",
                      "more than 200000 sessions"},
        MalformedCase{"TooManyLaps", kHeader + "<RunSession>" + QByteArray("<lap/>").repeated(1001) + "</RunSession></VentrixStore>",
                      "more than 1000 members"}),
    [](const testing::TestParamInfo<MalformedCase> &info) { return std::string(info.param.name); });

TEST(StoreFileMalformed, EveryTruncationOfAValidFileIsAnError)
{
    QTemporaryDir folder;
    const StoreFile valid(folder.filePath("valid.xml"));
    const RunSession session = everyKeySession(4);
    ASSERT_TRUE(valid.save({&session}, {{QStringLiteral("VXDataVersion"), 2}}).ok);
    const QByteArray bytes = fileBytes(valid.path());
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
