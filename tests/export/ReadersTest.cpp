#include "ExportFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

#include <iostream>

// Real readers over the exports: Python's csv and plistlib, xmllint, gpsbabel's
// Training Center reader and the training-log library @sports-alliance/sports-lib
// (installed by tcx_readers/install.sh from its pinned package.json). A reader
// that is not installed skips its test with the reason.
namespace {

constexpr int kReaderTimeoutMs = 120000;
constexpr int kInstallTimeoutMs = 600000;
constexpr double kMetresPerMile = 1609.344;

// Runs program to its end; its exit code (-1 after a crash or time-out) and merged output.
std::pair<int, QString> run(const QString &program, const QStringList &arguments, int timeoutMs = kReaderTimeoutMs,
                            const QString &nodePath = QString())
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("NODE_PATH"), nodePath);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(timeoutMs);
    const int code = finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return {code, QString::fromUtf8(process.readAll())};
}

#define FIND_OR_SKIP(variable, program, package)                                          \
    const QString variable = QStandardPaths::findExecutable(QStringLiteral(program));   \
    if (variable.isEmpty())                                                              \
        GTEST_SKIP() << program " not found (Debian package " package ")";

// The fixture sessions, and one with an awkward name and comment.
std::vector<RunSession> sessionsNamed(const QStringList &names, const QString &awkwardComment)
{
    std::vector<RunSession> sessions;
    for (const QString &name : names)
        sessions.push_back(fixtureSession(name));
    RunSession awkward = fixtureSession(QStringLiteral("rs200_footpod"));
    awkward.sessionName = QString::fromUcs4(U"L\u00e4uf\U0001F3C3");
    awkward.comment = awkwardComment;
    sessions.push_back(awkward);
    return sessions;
}

using ReadersTest = ExportFixture;

// Each export in both forms and locales (and with nothing selected) reads back
// as the same rows.
TEST_F(ReadersTest, PythonReadsTheSameRowsFromTheCsvAndThePropertyList)
{
    FIND_OR_SKIP(python, "python3", "python3");
    const std::vector<RunSession> sessions =
        sessionsNamed({"f6", "rs200_footpod", "rs200_nofootpod", "cs200", "cs200_no_limits"},
                      QStringLiteral("two\nlines, \"quoted\"\r\nend & <b> ]]>"));
    QStringList arguments{QStringLiteral(VENTRIX_EXPORT_DATA_DIR "/check_export_pairs.py")};
    for (const bool german : {true, false}) {
        german ? German() : UnitedStates();
        for (size_t i = 0; i <= sessions.size(); ++i) {
            const RunSession *session = i < sessions.size() ? &sessions[i] : nullptr;
            for (const char *extension : {".csv", ".plist"}) {
                arguments << path(QStringLiteral("%1-%2").arg(i).arg(german) + QLatin1String(extension));
                ASSERT_TRUE(DataOutput::exportSession(session, arguments.last(), german, extension[1] == 'p', false).ok);
            }
        }
    }
    const auto [code, output] = run(python, arguments);
    EXPECT_EQ(code, 0) << output.toStdString();
}

class TcxReadersTest : public ExportFixture
{
protected:
    void SetUp() override
    {
        ExportFixture::SetUp();
        // The comment holds what XML cannot: the file must stay well-formed.
        sessions = sessionsNamed({"f6", "rs200_footpod", "rs200_nolaps", "rs200_nofootpod", "cs200", "cs200_nolaps"},
                                 QStringLiteral("]]> <!-- \x01 & \"'\r\n\t") + QChar(0xFFFE));
        for (size_t i = 0; i < sessions.size(); ++i) {
            tcxFiles << path(QStringLiteral("session-%1.tcx").arg(i));
            ASSERT_TRUE(DataOutput::exportSessionAsTcx(&sessions[i], tcxFiles.last()).ok);
        }
    }

    // What a training log should read back of the i-th session (CS200 in miles in en_US).
    QJsonObject expectation(size_t i) const
    {
        const RunSession &s = sessions[i];
        const double stored = s.primitiveSessionTotalDistance().value_or(0);
        auto orNull = [](std::optional<int> value) { return value ? QJsonValue(*value) : QJsonValue(); };
        return QJsonObject{{"file", tcxFiles[i]},
                           {"laps", qMax<qsizetype>(1, qsizetype(s.lap.size()))},
                           {"duration", s.sessionTotalTime.value_or(0) / 10.0},
                           {"distance", s.isCS200() ? stored / 1000.0 * kMetresPerMile : stored},
                           {"averageHR", orNull(s.sessionAverageHR)},
                           {"maxHR", orNull(s.sessionMaxHR)},
                           {"calories", orNull(s.sessionCalories)}};
    }

    std::vector<RunSession> sessions;
    QStringList tcxFiles;
};

TEST_F(TcxReadersTest, XmllintFindsEveryFileWellFormed)
{
    FIND_OR_SKIP(xmllint, "xmllint", "libxml2-utils");
    const auto [code, output] = run(xmllint, QStringList{QStringLiteral("--noout")} + tcxFiles);
    EXPECT_EQ(code, 0) << output.toStdString();
    EXPECT_TRUE(output.isEmpty()) << output.toStdString();
}

// gpsbabel keeps no point without a position and no lap figure, so what it can
// give back of these files is one track per activity, named by its start.
TEST_F(TcxReadersTest, GpsbabelReadsOneActivityPerFileStartingAtTheSessionsStart)
{
    FIND_OR_SKIP(gpsbabel, "gpsbabel", "gpsbabel");
    for (size_t i = 0; i < sessions.size(); ++i) {
        const QString gpx = tcxFiles[i] + QStringLiteral(".gpx");
        const auto [code, output] = run(gpsbabel, {"-i", "gtrnctr", "-f", tcxFiles[i], "-o", "gpx", "-F", gpx});
        ASSERT_EQ(code, 0) << output.toStdString();
        EXPECT_TRUE(output.isEmpty()) << output.toStdString();
        const QString read = QString::fromUtf8(contents(gpx));
        const QString start = sessions[i].sessionDate->toUTC().toString(Qt::ISODate);
        EXPECT_EQ(read.count(QStringLiteral("<trk>")), 1) << read.toStdString();
        EXPECT_TRUE(read.contains(QStringLiteral("<trk>\n    <name>") + start + QStringLiteral("</name>"))) << start.toStdString() << read.toStdString();
    }
}

TEST_F(TcxReadersTest, SportsLibReadsBackTheSessionsLapsTimesDistancesHeartRatesAndCalories)
{
    FIND_OR_SKIP(node, "node", "nodejs");
    std::cerr << run(QStringLiteral("bash"),
                     {QStringLiteral(VENTRIX_EXPORT_DATA_DIR "/tcx_readers/install.sh"),
                      QStringLiteral(VENTRIX_TCX_READERS_DIR)},
                     kInstallTimeoutMs).second.toStdString();
    const QString modules = QStringLiteral(VENTRIX_TCX_READERS_DIR "/node_modules");
    if (!QFileInfo::exists(modules + QStringLiteral("/@sports-alliance/sports-lib/package.json")))
        GTEST_SKIP() << "@sports-alliance/sports-lib could not be installed from the npm registry (see "
                     VENTRIX_TCX_READERS_DIR "/npm.log)";
    QJsonArray expectations;
    for (size_t i = 0; i < sessions.size(); ++i)
        expectations.append(expectation(i));
    const QString expectationsFile = path(QStringLiteral("expectations.json"));
    writeFile(expectationsFile, QJsonDocument(expectations).toJson());

    const auto [code, output] =
        run(node, {QStringLiteral(VENTRIX_EXPORT_DATA_DIR "/tcx_readers/read_tcx.js"), expectationsFile},
            kReaderTimeoutMs, modules);

    EXPECT_EQ(code, 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("%1 files read, 0 mismatches").arg(sessions.size())))
        << output.toStdString();
}

} // namespace
