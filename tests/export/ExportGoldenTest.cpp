#include "ExportFixture.h"

#include <functional>
#include <optional>

// Whole exports against files written by hand in golden/. The two option sets:
//   de_DE: durations with tenths, dates as "SaveDateFormat" says (day first),
//          paces without tenths ("SaveDataWithTenths" off);
//   en_US: durations rounded, fixed month-first training date (birthday still
//          day first), paces with tenths ("SaveDataWithTenths" on).
namespace {

struct GoldenCase
{
    const char *name;
    std::function<std::optional<RunSession>()> session;
    bool german;
    bool xml;
};

std::optional<RunSession> nothingSelected() { return std::nullopt; }

class ExportGoldenTest : public ExportFixture, public ::testing::WithParamInterface<GoldenCase>
{
};

TEST_P(ExportGoldenTest, MatchesTheFileWrittenByHand)
{
    const GoldenCase &c = GetParam();
    c.german ? German() : UnitedStates();
    setSetting(QStringLiteral("SaveDateFormat"), QStringLiteral("Date DD/MM/YYYY"));
    setSetting(QStringLiteral("SaveDataWithTenths"), !c.german);
    if (std::optional<RunSession> session = c.session())
        insertAndSelect(std::move(*session));
    const QString expected = QStringLiteral("%1_%2.%3").arg(QLatin1String(c.name), c.german ? u"de_DE" : u"en_US",
                                                            c.xml ? u"plist" : u"csv");
    const QString written = path(QStringLiteral("export"));

    const SaveResult result = output.exportDataToCSVFile(written, c.german, c.xml, !c.german);

    ASSERT_TRUE(result.ok) << result.errorMessage.toStdString();
    EXPECT_EQ(contents(written).toStdString(), golden(expected).toStdString());
}

// Every session as CSV in both locales; each as plist in one of them.
std::vector<GoldenCase> goldenCases()
{
    using namespace ExportSessions;
    std::vector<GoldenCase> cases;
    const GoldenCase sessions[] = {{"f6", f6, true, true},         {"rs200_footpod", rs200WithFootPod, false, true},
                                   {"rs200_nofootpod", rs200WithoutFootPod, true, true},
                                   {"cs200", cs200, false, true}, {"none", nothingSelected, true, true}};
    for (const GoldenCase &plist : sessions) {
        cases.push_back(plist);
        for (const bool german : {true, false})
            cases.push_back({plist.name, plist.session, german, false});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Sessions, ExportGoldenTest, ::testing::ValuesIn(goldenCases()),
                         [](const ::testing::TestParamInfo<GoldenCase> &info) {
                             return std::string(info.param.name) + (info.param.german ? "_de" : "_en")
                                    + (info.param.xml ? "_plist" : "_csv");
                         });

} // namespace
