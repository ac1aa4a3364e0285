#include "ExportDocument.h"
#include "ExportFixture.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

TEST(ExportDocument, QuotesOnlyValuesThatWouldBreakTheRecord)
{
    const std::vector<std::pair<QString, QString>> cases = {
        {"MYRUN", "MYRUN"},
        {"5,000", "\"5,000\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\r", "\"cr\r\""},
        {"it's; fine", "it's; fine"},
    };
    for (const auto &[value, field] : cases)
        EXPECT_EQ(ExportDocument::csvField(value), field) << value.toStdString();
}

TEST(ExportDocument, XmlTextEscapesMarkupAndDropsWhatXmlCannotHold)
{
    EXPECT_EQ(ExportDocument::xmlText(QStringLiteral("a<b>&c\"d'")), "a&lt;b&gt;&amp;c\"d'");
    EXPECT_EQ(ExportDocument::xmlText(QStringLiteral("x\x01y\x1fz\r\n\t")), "xyz&#13;\n\t");
    const QString pair = QString::fromUcs4(U"\U0001F3C3");
    EXPECT_EQ(ExportDocument::xmlText(pair + QChar(0xD800) + u'a' + QChar(0xFFFE)), pair + u'a');
}

using ExportReadersTest = ExportFixture;

// Python's csv and plistlib modules read back every export, with awkward
// comments too, as the same rows in both forms.
TEST_F(ExportReadersTest, StandardReadersSeeTheSameRowsInBothForms)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        GTEST_SKIP() << "python3 not found";
    RunSession awkward = ExportSessions::rs200WithFootPod();
    awkward.comment = QStringLiteral("two\nlines, \"quoted\"\r\nend & <b>");
    awkward.sessionName = QString::fromUcs4(U"L\u00e4uf\U0001F3C3");
    const std::vector<std::optional<RunSession>> sessions = {
        ExportSessions::f6(), ExportSessions::rs200WithFootPod(), ExportSessions::rs200WithoutFootPod(),
        ExportSessions::cs200(), awkward, std::nullopt};

    QStringList arguments{QStringLiteral(VENTRIX_EXPORT_CHECK_SCRIPT)};
    for (const bool german : {true, false}) {
        german ? German() : UnitedStates();
        for (size_t i = 0; i < sessions.size(); ++i) {
            const RunSession *session = sessions[i] ? context.insertSession(RunSession(*sessions[i])) : nullptr;
            const QString base = path(QStringLiteral("%1-%2").arg(i).arg(german));
            for (const bool xml : {false, true}) {
                const QString file = base + (xml ? ".plist" : ".csv");
                ASSERT_TRUE(DataOutput::exportSession(session, file, german, xml, false).ok);
                arguments << file;
            }
        }
    }

    QProcess process;
    process.start(python, arguments);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

} // namespace
