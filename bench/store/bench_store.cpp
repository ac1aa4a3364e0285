// Opening and saving "Ventrix.xml" with 10,000 RS200 sessions of 5 laps,
// 5 sport zones and 3 limit zones each. Targets: open at most 300 ms, save at
// most 300 ms (including the flush to disk), peak memory at most 150 MB.
// The counters report the file size and the process's peak resident memory,
// which covers the sessions held in memory, one save and one open (the
// general reader's benchmark runs after them).
// "bench_store --write-database PATH" only writes the database, and
// "bench_store --open-database PATH" only opens it once and prints the time
// and peak memory of that alone.
#include "ObjectContext.h"
#include "SessionListController.h"
#include "StoreFile.h"
#include "StoreFileReader.h"
#include "StoreFileWriter.h"
#include "StoreLock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <sys/resource.h>

namespace {

constexpr int kSessions = 10000;

RunSession rs200Session(int index)
{
    RunSession session;
    const QDateTime start = QDateTime(QDate(2006, 1, 1), QTime(7, 30)).addSecs(qint64(index) * 86400 / 2);
    session.hrm = QStringLiteral("RS200");
    session.importDate = start.addDays(3);
    session.sessionDate = start;
    session.sessionName = QStringLiteral("RUN%1").arg(index % 1000);
    session.sessionTotalTime = 30000 + index % 9000;
    session.sessionAverageHR = 140 + index % 20;
    session.sessionMaxHR = 175 + index % 15;
    session.sessionMaxSetHR = 190;
    session.sessionCalories = 600 + index % 300;
    session.setPrimitiveSessionTotalDistance(8000 + index % 5000);
    session.sessionMaxPace = 2400 + index % 400;
    session.sessionLimitType = QStringLiteral("HR Limits");
    session.sessionPaceData = true;
    session.sessionLaps = 5;
    session.userWeight = 1543;
    session.userLength = 181;
    session.userBirthday = QDateTime(QDate(1970, 3, 29), QTime(0, 0));
    session.userMaxHR = 190;
    session.userSittingHR = 52;
    session.userVO2Max = 48;
    session.userSex = QStringLiteral("M");
    session.userActivityLevel = QStringLiteral("High");
    for (int number = 1; number <= 5; ++number) {
        session.lap.push_back(Lap{number, 6000 + index % 600, 140 + number, 160 + number, 150 + number, number == 5,
                                  2500 + number, 2600 + number, 1600 + number, std::nullopt});
        session.sportZone.push_back(SportZone{number, std::nullopt, 50 + 10 * number, 59 + 10 * number, 3000 * number});
    }
    for (int number = 1; number <= 3; ++number)
        session.limitZone.push_back(LimitZone{number, 120 + number, 150 + number, 300, 20000, 600});
    return session;
}

const std::vector<RunSession> &sessions()
{
    static const std::vector<RunSession> all = [] {
        std::vector<RunSession> made;
        made.reserve(kSessions);
        for (int index = 0; index < kSessions; ++index)
            made.push_back(rs200Session(index));
        return made;
    }();
    return all;
}

QList<const RunSession *> sessionPointers()
{
    QList<const RunSession *> list;
    for (const RunSession &session : sessions())
        list.append(&session);
    return list;
}

void reportMemory(benchmark::State &state, const QString &path)
{
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
    state.counters["file_MB"] = double(QFileInfo(path).size()) / (1024.0 * 1024.0);
}

void BM_SaveDatabase(benchmark::State &state)
{
    QTemporaryDir folder;
    const StoreFile file(folder.filePath("Ventrix.xml"));
    const QList<const RunSession *> list = sessionPointers();
    const QVariantMap metadata{{QStringLiteral("VXDataVersion"), 2}};
    for (auto _ : state) {
        // Every writer saves under the store lock.
        StoreLock lock(file.path());
        if (!lock.acquire().ok || !file.save(list, metadata).ok)
            state.SkipWithError("save failed");
        file.files().removeLeftTemporaries(file.path());
    }
    reportMemory(state, file.path());
}
BENCHMARK(BM_SaveDatabase)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenDatabase(benchmark::State &state)
{
    QTemporaryDir folder;
    const StoreFile file(folder.filePath("Ventrix.xml"));
    if (!file.save(sessionPointers(), {{QStringLiteral("VXDataVersion"), 2}}).ok)
        state.SkipWithError("save failed");
    for (auto _ : state) {
        ObjectContext context;
        if (!file.openInto(context).ok || context.sessionCount() != kSessions)
            state.SkipWithError("open failed");
    }
    reportMemory(state, file.path());
}
BENCHMARK(BM_OpenDatabase)->Unit(benchmark::kMillisecond)->UseRealTime();

// 10,000 and 40,000 sessions that share one start date, opened into a context
// with a session list sorted by date, as ventrix-decode and the window open it:
// ties are ordered by the context's order, which must not cost a search each,
// so four times the sessions take four times as long.
void BM_OpenSameStartDate(benchmark::State &state)
{
    const int kSameDate = int(state.range(0));
    QTemporaryDir folder;
    const StoreFile file(folder.filePath("Ventrix.xml"));
    std::vector<RunSession> same(size_t(kSameDate), rs200Session(0));
    QList<const RunSession *> list;
    for (const RunSession &session : same)
        list.append(&session);
    if (!file.save(list, {}).ok)
        state.SkipWithError("save failed");
    for (auto _ : state) {
        ObjectContext context;
        SessionListController sessionList(context);
        if (!file.openInto(context).ok || sessionList.arrangedSessions().size() != kSameDate)
            state.SkipWithError("open failed");
    }
}
BENCHMARK(BM_OpenSameStartDate)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same file through the general XML reader alone, which reads every file
// not in the writer's own form (one edited by hand, say). No target; it shows
// what the quick path saves.
void BM_ReadDatabaseGeneral(benchmark::State &state)
{
    QString error;
    const std::optional<QByteArray> data = StoreFileWriter::write(sessionPointers(), {{QStringLiteral("VXDataVersion"), 2}}, &error);
    for (auto _ : state) {
        if (!data || !StoreFileReader::readGeneral(*data, &error))
            state.SkipWithError("read failed");
    }
}
BENCHMARK(BM_ReadDatabaseGeneral)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

namespace {

int writeDatabase(const QString &path)
{
    return StoreFile(path).save(sessionPointers(), {{QStringLiteral("VXDataVersion"), 2}}).ok ? 0 : 1;
}

int openDatabase(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    ObjectContext context;
    const SaveResult opened = StoreFile(path).openInto(context);
    const qint64 elapsed = timer.elapsed();
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s: %d sessions in %lld ms, peak memory %.1f MB\n", opened.ok ? "opened" : "failed",
                context.sessionCount(), static_cast<long long>(elapsed), double(usage.ru_maxrss) / 1024.0);
    return opened.ok ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--write-database") == 0)
        return writeDatabase(QString::fromLocal8Bit(argv[2]));
    if (argc == 3 && std::strcmp(argv[1], "--open-database") == 0)
        return openDatabase(QString::fromLocal8Bit(argv[2]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
