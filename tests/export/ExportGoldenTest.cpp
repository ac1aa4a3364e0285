#include "ExportFixture.h"
#include "ExportRows.h"

#include <QRegularExpression>

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

} // namespace
