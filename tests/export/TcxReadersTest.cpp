#include "ExportFixture.h"
#include "TcxSessions.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

#include <iostream>

// Real readers over the TCX files of every model: xmllint, gpsbabel's Training
// Center reader and the training-log library @sports-alliance/sports-lib. A
// reader that is not installed skips its test with the reason;
// tests/export/tcx_readers/install.sh fetches the last one.
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
    if (!nodePath.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("NODE_PATH"), nodePath);
        process.setProcessEnvironment(environment);
    }
    process.start(program, arguments);
    const bool finished = process.waitForFinished(timeoutMs);
    const int code = finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return {code, QString::fromUtf8(process.readAll())};
}

class TcxReadersTest : public ExportFixture
{
protected:
    // The golden sessions and a few more, written in en_US (CS200 in miles).
    void SetUp() override
    {
        ExportFixture::SetUp();
        RunSession awkward = TcxSessions::rs200WithFootPodAndLaps();
        awkward.sessionName = QString::fromUcs4(U"L\u00e4uf\U0001F3C3");
        awkward.comment = QStringLiteral("]]> <!-- \x01 & \"'\r\n\t") + QChar(0xFFFE);
        sessions = {ExportSessions::f6(), TcxSessions::rs200WithFootPodAndLaps(), TcxSessions::rs200WithoutLaps(),
                    ExportSessions::rs200WithoutFootPod(), TcxSessions::cs200WithCadence(),
                    TcxSessions::cs200WithoutLaps(), awkward};
        for (size_t i = 0; i < sessions.size(); ++i) {
            tcxFiles << path(QStringLiteral("session-%1.tcx").arg(i));
            ASSERT_TRUE(DataOutput::exportSessionAsTcx(&sessions[i], tcxFiles.last()).ok);
        }
    }

    // What a training log should read back of the i-th session.
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
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (xmllint.isEmpty())
        GTEST_SKIP() << "xmllint not found (Debian package libxml2-utils)";

    const auto [code, output] = run(xmllint, QStringList{QStringLiteral("--noout")} + tcxFiles);

    EXPECT_EQ(code, 0) << output.toStdString();
    EXPECT_TRUE(output.isEmpty()) << output.toStdString();
}

TEST_F(TcxReadersTest, GpsbabelReadsEveryFileWithoutAnError)
{
    const QString gpsbabel = QStandardPaths::findExecutable(QStringLiteral("gpsbabel"));
    if (gpsbabel.isEmpty())
        GTEST_SKIP() << "gpsbabel not found (Debian package gpsbabel)";

    for (const QString &file : tcxFiles) {
        const auto [code, output] = run(gpsbabel, {"-i", "gtrnctr", "-f", file, "-o", "unicsv", "-F", file + ".csv"});
        EXPECT_EQ(code, 0) << file.toStdString() << ": " << output.toStdString();
        EXPECT_TRUE(output.isEmpty()) << file.toStdString() << ": " << output.toStdString();
    }
}

TEST_F(TcxReadersTest, SportsLibReadsBackTheSessionsLapsTimesDistancesHeartRatesAndCalories)
{
    const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    if (node.isEmpty())
        GTEST_SKIP() << "node not found (Debian package nodejs)";
    const QString installLog = run(QStringLiteral("bash"),
                                   {QStringLiteral(VENTRIX_TCX_READERS_SOURCE "/install.sh"),
                                    QStringLiteral(VENTRIX_TCX_READERS_DIR)},
                                   kInstallTimeoutMs).second;
    std::cerr << installLog.toStdString();
    const QString modules = QStringLiteral(VENTRIX_TCX_READERS_DIR "/node_modules");
    if (!QFileInfo::exists(modules + QStringLiteral("/@sports-alliance/sports-lib/package.json")))
        GTEST_SKIP() << "@sports-alliance/sports-lib could not be installed from the npm registry (see "
                     VENTRIX_TCX_READERS_DIR "/npm.log)";
    QJsonArray expectations;
    for (size_t i = 0; i < sessions.size(); ++i)
        expectations.append(expectation(i));
    const QString expectationsFile = path(QStringLiteral("expectations.json"));
    writeFile(expectationsFile, QJsonDocument(expectations).toJson());

    const auto [code, output] = run(node, {QStringLiteral(VENTRIX_TCX_READERS_SOURCE "/read_tcx.js"), expectationsFile},
                                    kReaderTimeoutMs, modules);

    EXPECT_EQ(code, 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("%1 files read, 0 mismatches").arg(sessions.size())))
        << output.toStdString();
}

} // namespace
