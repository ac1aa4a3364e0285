#include "FolderExport.h"

#include "TransferDecoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Names tried for one session before giving up, as many as a folder of
// leftovers from earlier runs could plausibly hold.
constexpr int kMaxNameAttempts = 10000;
constexpr mode_t kNewFileMode = 0666;

} // namespace

FolderExport::FolderExport(QString folder, DataOutput::ExportFormat format, bool tenths, bool fixedDate)
    : m_folder(std::move(folder)), m_format(format), m_tenths(tenths), m_fixedDate(fixedDate)
{
}

QStringList FolderExport::exportSessions(const FileOutcome &outcome)
{
    QStringList failures;
    const QString baseName = QFileInfo(outcome.path).completeBaseName();
    for (const RunSession *session : outcome.sessions) {
        QString path;
        SaveResult result = claimName(baseName, &path);
        if (result.ok) {
            // The export replaces the claimed empty file by renaming over it,
            // which never follows a link put there meanwhile.
            result = m_format == DataOutput::ExportFormat::Tcx
                ? DataOutput::exportSessionAsTcx(session, path)
                : DataOutput::exportSession(session, path, m_tenths,
                                            m_format == DataOutput::ExportFormat::PropertyList, m_fixedDate);
            if (!result.ok)
                QFile::remove(path);
        }
        if (!result.ok)
            failures.append(result.errorMessage);
    }
    return failures;
}

SaveResult FolderExport::claimName(const QString &baseName, QString *path)
{
    int &k = m_lastNumber[baseName];
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        *path = QDir(m_folder).filePath(baseName + u'-' + QString::number(++k) + DataOutput::fileExtension(m_format));
        const int fd = ::open(QFile::encodeName(*path).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kNewFileMode);
        if (fd >= 0) {
            ::close(fd);
            return SaveResult::success();
        }
        if (errno != EEXIST)
            return SaveResult::failure(QStringLiteral("cannot export session to"), *path,
                                       QString::fromLocal8Bit(std::strerror(errno)));
    }
    return SaveResult::failure(QStringLiteral("cannot export session to"), *path,
                               QStringLiteral("every name up to this one is taken"));
}
