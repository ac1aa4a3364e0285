#pragma once

#include "AtomicFile.h"
#include "ObjectContext.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>

// The start-up work on the database folder: converts a database of data
// version 1 to version 2 (keeping a copy "Ventrix.version1.xml") and renews
// the weekly backup "Ventrix.backup.xml". Progress goes to the log category
// "ventrix.store", one line per message, unless a log of its own is given.
// Copies are made atomically, so a failed copy leaves the previous copy as it
// was. The clock is injected so that file ages can be tested. Lives in the GUI thread.
class StoreMaintenance
{
public:
    using Clock = std::function<QDateTime()>;
    using Log = std::function<void(const QString &line)>;

    static constexpr QLatin1StringView kDatabaseFileName{"Ventrix.xml"};
    static constexpr QLatin1StringView kVersion1FileName{"Ventrix.version1.xml"};
    static constexpr QLatin1StringView kBackupFileName{"Ventrix.backup.xml"};
    static constexpr QLatin1StringView kDataVersionKey{"VXDataVersion"};
    static constexpr int kCurrentDataVersion = 2;
    static constexpr qint64 kOneWeekSeconds = 604800;

    StoreMaintenance(QString folder, ObjectContext &context, Clock now,
                     std::shared_ptr<const AtomicFile> files = {}, Log log = {});

    // Everything start-up does, in order: the version check and conversion,
    // then the weekly backup. storeIsOpen false (the database could not be
    // read) skips all of it, so an unreadable file is never copied over a
    // good backup.
    void runAtStart(bool storeIsOpen);

    // The "VXDataVersion" of the store's metadata; 1 when it has none.
    QVariant dataVersion() const;
    // False when the start-up work ends here (the copy before converting failed).
    bool convertToVersion2();
    void renewWeeklyBackup();

private:
    QString filePath(QLatin1StringView name) const;
    void log(const QString &line) const;

    QString m_folder;
    ObjectContext &m_context;
    Clock m_now;
    std::shared_ptr<const AtomicFile> m_files;
    Log m_log;
};
