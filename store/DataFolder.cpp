#include "DataFolder.h"

#include "StoreMaintenance.h"

#include <QDir>
#include <QStandardPaths>

namespace DataFolder {

QString path()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return (base.isEmpty() ? QDir::tempPath() : base) + QLatin1String("/Ventrix");
}

QString databasePath()
{
    return path() + u'/' + StoreMaintenance::kDatabaseFileName;
}

QString recordingsPath()
{
    return path() + QLatin1String("/Recordings");
}

} // namespace DataFolder
