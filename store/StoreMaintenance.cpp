#include "StoreMaintenance.h"

#include "StoreLog.h"
#include "WatchModel.h"

#include <QFileInfo>

namespace {

const QLatin1StringView kHrmKey("hrm");
// Version 1 knew only the RS200.
constexpr WatchModel kModelBeforeVersion2 = WatchModel::RS200;
constexpr double kMillisecondsPerSecond = 1000.0;

// Seconds from then to now; absent when either moment is unknown.
std::optional<double> secondsBetween(const QDateTime &then, const QDateTime &now)
{
    if (!then.isValid() || !now.isValid())
        return std::nullopt;
    return then.msecsTo(now) / kMillisecondsPerSecond;
}

} // namespace

StoreMaintenance::StoreMaintenance(QString folder, ObjectContext &context, Clock now,
                                   std::shared_ptr<const AtomicFile> files, Log log)
    : m_folder(std::move(folder)), m_context(context), m_now(std::move(now)),
      m_files(files ? std::move(files) : std::make_shared<AtomicFile>()), m_log(std::move(log))
{
}

void StoreMaintenance::runAtStart(bool storeIsOpen)
{
    if (!storeIsOpen)
        return;
    const QVariant version = dataVersion();
    log(QStringLiteral("Database version: %1").arg(version.toString()));
    if (version.toInt() == 1 && !convertToVersion2())
        return;
    renewWeeklyBackup();
}

QVariant StoreMaintenance::dataVersion() const
{
    return m_context.metadata().value(kDataVersionKey, 1);
}

bool StoreMaintenance::convertToVersion2()
{
    log(QStringLiteral("Making backup copy..."));
    // The copy replaces an older "Ventrix.version1.xml" in one step, so there
    // is no moment without a copy, and a failed copy keeps the old one.
    if (!m_files->copy(filePath(kDatabaseFileName), filePath(kVersion1FileName)).ok) {
        log(QStringLiteral("Backup copy failed."));
        return false;
    }
    log(QStringLiteral("Backup done."));
    log(QStringLiteral("Retrieving data..."));
    const QList<const RunSession *> sessions = m_context.fetchSessions();
    log(QStringLiteral("Data retrieved"));
    log(QStringLiteral("Converting to version 2..."));

    m_context.setMetadata({{QString(kDataVersionKey), kCurrentDataVersion}});
    for (const RunSession *session : sessions) {
        if (!session->hrm)
            m_context.setPrimitiveValue(session, kHrmKey, watchModelName(kModelBeforeVersion2));
    }
    // Without changed sessions the new version is written with the next save.
    if (m_context.hasChanges()) {
        log(QStringLiteral("Saving updated database..."));
        const SaveResult saved = m_context.save();
        if (saved.ok)
            log(QStringLiteral("Done."));
        else
            log(QStringLiteral("Failed with error: %1").arg(saved.errorMessage));
    }
    return true;
}

void StoreMaintenance::renewWeeklyBackup()
{
    if (!QFileInfo(m_folder).isWritable()) {
        log(QStringLiteral("Can't write to %1. No backup created.").arg(m_folder));
        return;
    }
    const QString database = filePath(kDatabaseFileName);
    const QString backup = filePath(kBackupFileName);
    const QFileInfo backupInfo(backup);
    if (!backupInfo.exists()) {
        log(QStringLiteral("No existing backup found."));
        if (m_files->copy(database, backup).ok)
            log(QStringLiteral("New backup created."));
        return;
    }

    const QDateTime now = m_now();
    const std::optional<double> backupAge = secondsBetween(backupInfo.lastModified(), now);
    const std::optional<double> databaseAge = secondsBetween(QFileInfo(database).lastModified(), now);
    if (backupAge && databaseAge && *backupAge > kOneWeekSeconds && *databaseAge < kOneWeekSeconds) {
        if (m_files->copy(database, backup).ok)
            log(QStringLiteral("Replaced existing backup with new backup."));
        return;
    }
    log(QStringLiteral("Existing backup file is less than a week old. Leave it untouched."));
}

QString StoreMaintenance::filePath(QLatin1StringView name) const
{
    return m_folder + u'/' + name;
}

void StoreMaintenance::log(const QString &line) const
{
    if (m_log)
        m_log(line);
    else
        qCInfo(lcVentrixStore, "%s", qUtf8Printable(line));
}
