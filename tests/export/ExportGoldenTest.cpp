#include "ExportDocument.h"
#include "ExportFixture.h"
#include "ExportRows.h"
#include "TcxActivity.h"
#include "VXDistanceFormatter.h"
#include "VXNumberText.h"
#include "VXSpeedFormatter.h"

#include <QRegularExpression>

#include <deque>
#include <functional>
#include <map>
#include <memory>

// Whole exports against the files written by hand in golden/, named
// <session>_<locale>.<csv|plist|tcx>; the session is sessions/<session>.xml
// ("none": nothing selected). The locale brings its options:
//   de_DE: durations with tenths, dates as "SaveDateFormat" says (day first),
//          paces without tenths ("SaveDataWithTenths" off);
//   en_US: durations rounded, fixed month-first training date (birthday still
//          day first), paces with tenths ("SaveDataWithTenths" on).
namespace {

class ExportGoldenTest : public ExportFixture, public ::testing::WithParamInterface<std::string>
{
};

TEST_P(ExportGoldenTest, MatchesTheFileWrittenByHand)
{
    const QString name = QString::fromStdString(GetParam());
    const QRegularExpressionMatch form =
        QRegularExpression(QStringLiteral("^(.+)_(de_DE|en_US)\\.(csv|plist|tcx)$")).match(name);
    ASSERT_TRUE(form.hasMatch()) << "golden file of no known form: " << GetParam();
    const bool german = form.captured(2) == u"de_DE";
    german ? German() : UnitedStates();
    setSetting(QStringLiteral("SaveDateFormat"), QStringLiteral("Date DD/MM/YYYY"));
    setSetting(QStringLiteral("SaveDataWithTenths"), !german);
    if (form.captured(1) != u"none")
        insertAndSelect(fixtureSession(form.captured(1)));
    const QString written = path(QStringLiteral("export"));

    const SaveResult result = form.captured(3) == u"tcx"
        ? output.exportTcxFile(written)
        : output.exportDataToCSVFile(written, german, form.captured(3) == u"plist", !german);

    ASSERT_TRUE(result.ok) << result.errorMessage.toStdString();
    EXPECT_EQ(contents(written).toStdString(), golden(name).toStdString());
}

std::vector<std::string> goldenFiles()
{
    std::vector<std::string> names;
    for (const QString &name : QDir(QStringLiteral(VENTRIX_EXPORT_DATA_DIR "/golden")).entryList(QDir::Files))
        names.push_back(name.toStdString());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Files, ExportGoldenTest, ::testing::ValuesIn(goldenFiles()),
                         [](const ::testing::TestParamInfo<std::string> &info) {
                             return QString::fromStdString(info.param).replace(u'.', u'_').toStdString();
                         });

// A damaged store's lap count does not build rows without end.
TEST(ExportRows, LapRowsStopAtTheWatchsLimit)
{
    RunSession session = fixtureSession(QStringLiteral("rs200_nofootpod"));
    session.sessionLaps = 2'000'000'000;
    QSet<QString> groups;
    for (const ExportRow &row : ExportRows(false, false).rowsForSession(&session))
        groups.insert(row.group);
    EXPECT_TRUE(groups.contains(QStringLiteral("Lap 255")));
    EXPECT_FALSE(groups.contains(QStringLiteral("Lap 256")));
}

// The value texts of values.tsv: one function of the export or its formatters
// per row, called with the row's input in the row's locale and settings.

using Input = QStringList; // the row's arguments, split at "|"

std::optional<qint64> number(const QString &text)
{
    return text == u"-" ? std::nullopt : std::optional<qint64>(text.toLongLong());
}

// "-" is no date; a "Z" at the end is UTC, anything else local time.
QDateTime dateTime(const QString &text) { return QDateTime::fromString(text, Qt::ISODate); }

// "text:…" and "date:…" stand for values of those types, "-" for no value.
QVariant variant(const QString &text)
{
    if (text == u"-")
        return {};
    if (text.startsWith(u"text:"))
        return text.mid(5);
    if (text.startsWith(u"date:"))
        return QDate::fromString(text.mid(5), Qt::ISODate);
    return text.contains(u'.') ? QVariant(text.toDouble()) : QVariant(text.toInt());
}

QString orNone(const std::optional<QString> &text) { return text.value_or(QStringLiteral("<none>")); }

template<typename Formatter> QString parsed(const QString &text)
{
    QVariant value = 17;
    QString error;
    if (!Formatter().getObjectValue(text, &value, &error))
        return value == QVariant(17) && !error.isEmpty() ? QStringLiteral("rejected") : QStringLiteral("bad rejection");
    if (!error.isEmpty())
        return QStringLiteral("error set: ") + error;
    return value.isValid() ? value.toString() : QStringLiteral("<none>");
}

QString calories(const Input &in)
{
    QList<qint64> times;
    for (const QString &time : in[1].split(u',', Qt::SkipEmptyParts))
        times << time.toLongLong();
    QStringList shares;
    for (int share : TcxActivity::sharedCalories(in[0].toInt(), times))
        shares << QString::number(share);
    return shares.join(u',');
}

const std::map<QString, std::function<QString(const Input &)>> &functions()
{
    using D = DataOutput;
    static const VXUnits metric(true), imperial(false);
    static const std::map<QString, std::function<QString(const Input &)>> table = {
        {"time", [](const Input &in) { return D::timeStringFromSeconds(number(in[0]), false); }},
        {"time.tenths", [](const Input &in) { return D::timeStringFromSeconds(number(in[0]), true); }},
        {"date", [](const Input &in) { return D::dateStringFromDate(dateTime(in[0]), false); }},
        {"date.fixed", [](const Input &in) { return D::dateStringFromDate(dateTime(in[0]), true); }},
        {"birthday", [](const Input &in) { return D::birthdayStringFromDate(dateTime(in[0])); }},
        {"speed", [](const Input &in) { return D::speedFromData(number(in[0])); }},
        {"speed.metric", [](const Input &in) { return D::speedFromData(number(in[0]), metric); }},
        {"speed.imperial", [](const Input &in) { return D::speedFromData(number(in[0]), imperial); }},
        {"pace", [](const Input &in) { return D::paceFromData(number(in[0])); }},
        {"pace.imperial", [](const Input &in) { return D::paceFromData(number(in[0]), imperial); }},
        {"distance", [](const Input &in) { return D::distanceFromData(number(in[0])); }},
        {"distance.metric", [](const Input &in) { return D::distanceFromData(number(in[0]), metric); }},
        {"distance.imperial", [](const Input &in) { return D::distanceFromData(number(in[0]), imperial); }},
        {"length", [](const Input &in) { return D::lengthFromData(number(in[0])); }},
        {"weight.metric", [](const Input &in) { return D::weightFromData(number(in[0]), metric); }},
        {"weight.imperial", [](const Input &in) { return D::weightFromData(number(in[0]), imperial); }},
        {"distanceFormatter", [](const Input &in) { return orNone(VXDistanceFormatter().stringForObjectValue(variant(in[0]))); }},
        {"speedFormatter", [](const Input &in) { return orNone(VXSpeedFormatter().stringForObjectValue(variant(in[0]))); }},
        {"distanceParse", [](const Input &in) { return parsed<VXDistanceFormatter>(in[0]); }},
        {"number.plain", [](const Input &in) { return VXNumberText::plain(in[0].toDouble(), in[1].toInt()); }},
        {"number.locale", [](const Input &in) { return VXNumberText::localeFormatted(in[0].toDouble(), in[1].toInt()); }},
        {"fill.locale", [](const Input &in) { return VXNumberText::fillFormat(in[0], in[1].toDouble(), VXNumberText::Separator::Locale); }},
        {"fill.plain", [](const Input &in) { return VXNumberText::fillFormat(in[0], in[1].toDouble(), VXNumberText::Separator::Plain); }},
        {"csvField", [](const Input &in) { return ExportDocument::csvField(in[0]); }},
        {"sharedCalories", calories},
    };
    return table;
}

QString unescaped(QString text)
{
    return text.replace(QStringLiteral("\\n"), QStringLiteral("\n")).replace(QStringLiteral("\\r"), QStringLiteral("\r"));
}

using ValuesTest = ExportFixture;

TEST_F(ValuesTest, EveryRowOfTheTableGivesItsText)
{
    const QStringList lines = QString::fromUtf8(contents(QStringLiteral(VENTRIX_EXPORT_DATA_DIR "/values.tsv"))).split(u'\n');
    int cases = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty() || lines[i].startsWith(u'#'))
            continue;
        SCOPED_TRACE("values.tsv:" + std::to_string(i + 1));
        const QStringList field = lines[i].split(u'\t');
        ASSERT_EQ(field.size(), 5);
        ASSERT_TRUE(functions().count(field[0])) << "unknown function " << field[0].toStdString();
        VXDefaults::settings().clear();
        field[1] == u"de_DE" ? German() : UnitedStates();
        for (const QString &setting : field[2].split(u';', Qt::SkipEmptyParts)) {
            const QString value = setting.section(u'=', 1);
            if (setting != u"-")
                setSetting(setting.section(u'=', 0, 0), value == u"true" ? QVariant(true) : QVariant(value));
        }
        EXPECT_EQ(functions().at(field[0])(unescaped(field[3]).split(u'|')).toStdString(), unescaped(field[4]).toStdString());
        ++cases;
    }
    EXPECT_GT(cases, 90);
}

TEST(ExportDocument, XmlTextEscapesMarkupAndDropsWhatXmlCannotHold)
{
    EXPECT_EQ(ExportDocument::xmlText(QStringLiteral("a<b>&c\"d'")), "a&lt;b&gt;&amp;c\"d'");
    EXPECT_EQ(ExportDocument::xmlText(QStringLiteral("x\x01y\x1fz\r\n\t")), "xyz&#13;\n\t");
    const QString pair = QString::fromUcs4(U"\U0001F3C3");
    EXPECT_EQ(ExportDocument::xmlText(pair + QChar(0xD800) + u'a' + QChar(0xFFFE)), pair + u'a');
}

class DataOutputExportTest : public ExportFixture
{
protected:
    // Automatic export names drawn from a fixed list.
    void drawNames(std::deque<quint32> names)
    {
        output.setRandomSource([names]() mutable {
            const quint32 next = names.front();
            if (names.size() > 1)
                names.pop_front();
            return next;
        });
    }
};

TEST_F(DataOutputExportTest, SavingAlertsUnlessExactlyOneSessionIsSelected)
{
    output.saveFile();
    output.saveTcxFile();
    context.insertSession(fixtureSession(QStringLiteral("f6")));
    context.insertSession(fixtureSession(QStringLiteral("cs200")));
    list.setSelectionIndexes({0, 1});
    output.saveFile();
    output.saveTcxFile();

    EXPECT_EQ(dialog.alerts, QStringList(4, QStringLiteral("Please only select one session|Ok")));
    EXPECT_TRUE(dialog.proposedNames.isEmpty());
}

TEST_F(DataOutputExportTest, SavingProposesTheNameAndExportsOnlyWhenTheDialogSaysOK)
{
    insertAndSelect(fixtureSession(QStringLiteral("rs200_nolaps")));
    setSetting(QStringLiteral("SaveTimeWithTenths"), true);
    setSetting(QStringLiteral("SaveDateFormat"), QStringLiteral("Date DD/MM/YYYY"));

    output.saveFile();
    dialog.completion(SaveDialog::kCancelCode, path(QStringLiteral("no.csv")));
    EXPECT_TRUE(files().isEmpty());
    output.saveFile();
    dialog.completion(SaveDialog::kOKCode, path(QStringLiteral("mine.txt")));
    output.saveTcxFile();
    dialog.completion(SaveDialog::kOKCode, path(QStringLiteral("chosen.tcx")));

    EXPECT_EQ(dialog.proposedNames, QStringList({"TEMPO.csv", "TEMPO.csv", "TEMPO.tcx"}));
    const QByteArray csv = contents(path(QStringLiteral("mine.txt")));
    EXPECT_TRUE(csv.startsWith("Session Name,TEMPO\nSession Training Date,01/01/2008 01:30:00\n"));
    EXPECT_TRUE(csv.contains("\nSession Total Time,0:30:00.0\n"));
    EXPECT_EQ(contents(path(QStringLiteral("chosen.tcx"))), golden(QStringLiteral("rs200_nolaps_en_US.tcx")));
}

TEST_F(DataOutputExportTest, ADialogThatOutlivesItsExporterWritesNothing)
{
    insertAndSelect(fixtureSession(QStringLiteral("f6")));
    auto exporter = std::make_unique<DataOutput>();
    exporter->setSessionArrayController(&list);
    exporter->setSaveDialog(&dialog);
    exporter->saveFile();
    exporter.reset();

    dialog.completion(SaveDialog::kOKCode, path(QStringLiteral("c.csv")));
    EXPECT_TRUE(files().isEmpty());
}

// With nothing selected (an F6 transfer that added no session) the file is
// the de_DE golden one: its dates are empty, its durations carry tenths.
TEST_F(DataOutputExportTest, AutoExportDrawsAgainRatherThanReplaceAFile)
{
    EXPECT_FALSE(output.autoExport()); // off without a folder
    German();
    setSetting(QStringLiteral("VXAutoExportPath"), folder.path() + "//");
    writeFile(path(QStringLiteral("42")), "earlier export");
    drawNames({0x80000000u + 42, 2147483647u});

    const std::optional<SaveResult> result = output.autoExport();
    ASSERT_TRUE(result && result->ok) << result->errorMessage.toStdString();
    EXPECT_EQ(contents(path(QStringLiteral("42"))), "earlier export");
    EXPECT_EQ(contents(path(QStringLiteral("2147483647"))).toStdString(),
              golden(QStringLiteral("none_de_DE.plist")).toStdString());

    drawNames({42}); // every name drawn is taken: give up
    EXPECT_FALSE(output.autoExport()->ok);
    EXPECT_EQ(files().size(), 2);
}

TEST_F(DataOutputExportTest, AutoExportIntoAMissingFolderWritesNothing)
{
    const QString missing = path(QStringLiteral("gone"));
    setSetting(QStringLiteral("VXAutoExportPath"), missing);
    drawNames({7});

    const SaveResult result = output.autoExport().value();

    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.errorMessage.startsWith("cannot export session to " + missing + "/7: "));
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(failures.size(), 1);
}

TEST_F(DataOutputExportTest, AFailedWriteLeavesTheEarlierFileAsItWasAndIsAnnounced)
{
    insertAndSelect(fixtureSession(QStringLiteral("cs200")));
    const FullDisk fullDisk;
    output.setFileWriter(&fullDisk);
    writeFile(path(QStringLiteral("ride.csv")), "good old export\n");
    writeFile(path(QStringLiteral("ride.tcx")), "earlier");

    const SaveResult csv = output.exportDataToCSVFile(path(QStringLiteral("ride.csv")), false, false, false);
    const SaveResult tcx = output.exportTcxFile(path(QStringLiteral("ride.tcx")));
    setSetting(QStringLiteral("VXAutoExportPath"), folder.path());
    EXPECT_FALSE(output.autoExport()->ok);

    EXPECT_FALSE(csv.ok || tcx.ok);
    EXPECT_TRUE(csv.errorMessage.contains(path(QStringLiteral("ride.csv"))));
    EXPECT_EQ(contents(path(QStringLiteral("ride.csv"))), "good old export\n");
    EXPECT_EQ(contents(path(QStringLiteral("ride.tcx"))), "earlier");
    EXPECT_EQ(files(), QStringList({"ride.csv", "ride.tcx"})); // no temporary file, no empty claim
    EXPECT_EQ(failures.size(), 3);
    EXPECT_EQ(failures[1], tcx.errorMessage);
}

TEST_F(DataOutputExportTest, TcxNeedsASessionWithAStartDate)
{
    RunSession undated = fixtureSession(QStringLiteral("f6"));
    undated.sessionDate.reset();
    const QString target = path(QStringLiteral("undated.tcx"));
    const QString cannot = QStringLiteral("cannot export session to ") + target;

    EXPECT_EQ(DataOutput::exportSessionAsTcx(&undated, target).errorMessage,
              cannot + QStringLiteral(": the session has no start date"));
    EXPECT_EQ(output.exportTcxFile(target).errorMessage, cannot + QStringLiteral(": no session selected"));
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(DataOutputExportTest, FolderExportNamesFilesAfterTheRecordingInOrder)
{
    const RunSession *first = context.insertSession(fixtureSession(QStringLiteral("f6")));
    const RunSession *second = context.insertSession(fixtureSession(QStringLiteral("cs200")));
    using F = DataOutput::ExportFormat;
    const QString recording = QStringLiteral("/rec/Recording-080721.v2.wav");

    const QList<SaveResult> csv = DataOutput::exportSessionsToFolder({first, second}, recording, folder.path(),
                                                                     false, false, false);
    const QList<SaveResult> plist =
        DataOutput::exportSessionsToFolder({second}, QStringLiteral("x.wav"), folder.path(), true, true, true);
    const QList<SaveResult> tcx =
        DataOutput::exportSessionsToFolder({first}, QStringLiteral("t.wav"), folder.path(), F::Tcx, true, true);
    const QList<SaveResult> missing = DataOutput::exportSessionsToFolder(
        {first}, QStringLiteral("x.wav"), path(QStringLiteral("gone")), false, false, false);

    EXPECT_TRUE(csv.size() == 2 && csv[0].ok && csv[1].ok && plist.size() == 1 && plist[0].ok);
    EXPECT_TRUE(tcx.size() == 1 && tcx[0].ok);
    EXPECT_EQ(files(), QStringList({"Recording-080721.v2-1.csv", "Recording-080721.v2-2.csv", "t-1.tcx", "x-1.plist"}));
    EXPECT_TRUE(contents(path(QStringLiteral("Recording-080721.v2-2.csv"))).startsWith("Session Name,CS200\n"));
    EXPECT_EQ(contents(path(QStringLiteral("t-1.tcx"))), golden(QStringLiteral("f6_en_US.tcx")));
    ASSERT_EQ(missing.size(), 1);
    EXPECT_FALSE(missing[0].ok);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("gone"))));
}

} // namespace
