#include "StoreFileQuickReader.h"
#include "StoreFileTestSupport.h"
#include "StoreFileWriter.h"

#include <gtest/gtest.h>

namespace {

QByteArray written(const std::vector<RunSession> &sessions, const QVariantMap &metadata)
{
    QString error;
    return StoreFileWriter::write(pointers(sessions), metadata, &error).value_or(QByteArray());
}

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
    // Written out again, every key, date kind and text unit shows.
    if (written(quick->sessions, quick->metadata) != written(general->sessions, general->metadata))
        return testing::AssertionFailure() << "the readers differ on " << bytes.constData();
    return testing::AssertionSuccess();
}

} // namespace

TEST(StoreFileQuickReader, ReadsEverythingTheWriterWritesAsTheGeneralReaderDoes)
{
    const QByteArray bytes = written(awkwardSessions(), typedMetadata());
    QByteArray previousDeclaration = bytes;
    previousDeclaration.replace("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "<?xml version=\"1.0\"?>");
    for (const QByteArray &file : {bytes, previousDeclaration, written({}, {})}) {
        ASSERT_TRUE(StoreFileQuickReader::read(file)) << file.constData();
        EXPECT_TRUE(agree(file));
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
