#include "FolderExport.h"

#include "FileName.h"
#include "TransferDecoding.h"

#include <QFile>

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
    while (m_folder.size() > 1 && m_folder.endsWith(u'/'))
        m_folder.chop(1);
}

QStringList FolderExport::exportSessions(const FileOutcome &outcome)
{
    QStringList failures;
    // Worked out on the text: QFileInfo would lose the bytes of a name that is not UTF-8.
    const QString fileName = FileName::nameIn(outcome.path);
    const QString baseName = fileName.left(fileName.lastIndexOf(u'.'));
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
                ::unlink(FileName::encode(path).constData());
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
        *path = (m_folder.isEmpty() ? QString() : m_folder + u'/') + baseName + u'-' + QString::number(++k)
                + DataOutput::fileExtension(m_format);
        const int fd = ::open(FileName::encode(*path).constData(),
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
