#include "ExportFixture.h"
#include "TcxSessions.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

#include <iostream>

// Real readers over the TCX files of every model: xmllint,
// gpsbabel's Training Center reader and the training-log library
// @sports-alliance/sports-lib. A reader that is not installed skips its test
// with the reason; tests/export/tcx_readers/install.sh fetches the last one.
namespace {

constexpr int kReaderTimeoutMs = 120000;
constexpr int kInstallTimeoutMs = 600000;
constexpr double kMetresPerMile = 1609.344;

struct Written
{
    QString file;
    RunSession session;
};

struct ProcessRun
{
    bool finished = false;
    int exitCode = -1;
    QString output;
};

ProcessRun run(const QString &program, const QStringList &arguments, int timeoutMs = kReaderTimeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    ProcessRun result;
    result.finished = process.waitForFinished(timeoutMs);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromUtf8(process.readAll());
    return result;
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
        const std::vector<RunSession> sessions = {
            ExportSessions::f6(), TcxSessions::rs200WithFootPodAndLaps(), TcxSessions::rs200WithoutLaps(),
            ExportSessions::rs200WithoutFootPod(), TcxSessions::cs200WithCadence(),
            TcxSessions::cs200WithoutLaps(), awkward};
        for (size_t i = 0; i < sessions.size(); ++i) {
            const QString file = path(QStringLiteral("session-%1.tcx").arg(i));
            ASSERT_TRUE(DataOutput::exportSessionAsTcx(&sessions[i], file).ok);
            written.push_back({file, sessions[i]});
        }
    }

    QStringList tcxFiles() const
    {
        QStringList all;
        for (const Written &w : written)
            all << w.file;
        return all;
    }

    // Fetches the npm readers into the build tree unless there.
    static void install()
    {
        const QStringList arguments = {QStringLiteral(VENTRIX_TCX_READERS_SOURCE "/install.sh"),
                                       QStringLiteral(VENTRIX_TCX_READERS_DIR)};
        const ProcessRun installed = run(QStringLiteral("bash"), arguments, kInstallTimeoutMs);
        if (!installed.output.isEmpty())
            std::cerr << installed.output.toStdString();
    }

    // What a training log should read back of session.
    static QJsonObject expectation(const Written &w)
    {
        const RunSession &s = w.session;
        const bool cs200 = s.isCS200();
        const double stored = s.primitiveSessionTotalDistance().value_or(0);
        auto orNull = [](std::optional<int> value) { return value ? QJsonValue(*value) : QJsonValue(); };
        return QJsonObject{{"file", w.file},
                           {"laps", qMax<qsizetype>(1, qsizetype(s.lap.size()))},
                           {"duration", s.sessionTotalTime.value_or(0) / 10.0},
                           {"distance", cs200 ? stored / 1000.0 * kMetresPerMile : stored},
                           {"averageHR", orNull(s.sessionAverageHR)},
                           {"maxHR", orNull(s.sessionMaxHR)},
                           {"calories", orNull(s.sessionCalories)}};
    }

    std::vector<Written> written;
};

TEST_F(TcxReadersTest, XmllintFindsEveryFileWellFormed)
{
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (xmllint.isEmpty())
        GTEST_SKIP() << "xmllint not found (Debian package libxml2-utils)";

    const ProcessRun checked = run(xmllint, QStringList{QStringLiteral("--noout")} + tcxFiles());

    EXPECT_EQ(checked.exitCode, 0) << checked.output.toStdString();
    EXPECT_TRUE(checked.output.isEmpty()) << checked.output.toStdString();
}

TEST_F(TcxReadersTest, GpsbabelReadsEveryFileWithoutAnError)
{
    const QString gpsbabel = QStandardPaths::findExecutable(QStringLiteral("gpsbabel"));
    if (gpsbabel.isEmpty())
        GTEST_SKIP() << "gpsbabel not found (Debian package gpsbabel)";

    for (const QString &file : tcxFiles()) {
        const QStringList arguments = {QStringLiteral("-i"), QStringLiteral("gtrnctr"), QStringLiteral("-f"), file,
                                       QStringLiteral("-o"), QStringLiteral("unicsv"), QStringLiteral("-F"),
                                       file + QStringLiteral(".csv")};
        const ProcessRun read = run(gpsbabel, arguments);
        EXPECT_EQ(read.exitCode, 0) << file.toStdString() << ": " << read.output.toStdString();
        EXPECT_TRUE(read.output.isEmpty()) << file.toStdString() << ": " << read.output.toStdString();
    }
}

TEST_F(TcxReadersTest, SportsLibReadsBackTheSessionsLapsTimesDistancesHeartRatesAndCalories)
{
    const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    if (node.isEmpty())
        GTEST_SKIP() << "node not found (Debian package nodejs)";
    install();
    const QString modules = QStringLiteral(VENTRIX_TCX_READERS_DIR "/node_modules");
    if (!QFileInfo::exists(modules + QStringLiteral("/@sports-alliance/sports-lib/package.json")))
        GTEST_SKIP() << "@sports-alliance/sports-lib could not be installed from the npm registry (see "
                     VENTRIX_TCX_READERS_DIR "/npm.log)";
    QJsonArray expectations;
    for (const Written &w : written)
        expectations.append(expectation(w));
    const QString expectationsFile = path(QStringLiteral("expectations.json"));
    writeFile(expectationsFile, QJsonDocument(expectations).toJson());

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("NODE_PATH"), modules);
    process.setProcessEnvironment(environment);
    process.start(node, {QStringLiteral(VENTRIX_TCX_READERS_SOURCE "/read_tcx.js"), expectationsFile});
    ASSERT_TRUE(process.waitForFinished(kReaderTimeoutMs));

    const QString output = QString::fromUtf8(process.readAll());
    EXPECT_EQ(process.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("%1 files read, 0 mismatches").arg(written.size())))
        << output.toStdString();
}

} // namespace
