#include "DecodeReport.h"

#include "Confidence.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Plain English without a translation's plural forms: "1 session", "2 sessions".
QString sessions(int count)
{
    return count == 1 ? DecodeReport::tr("1 session") : DecodeReport::tr("%1 sessions").arg(count);
}

} // namespace

void DecodeReport::addFile(const QString &path, bool decoded, int storedSessions, const QString &reason,
                           bool rescued, int alreadyStored, const QString &saveError)
{
    ++m_files;
    m_alreadyStored += alreadyStored;
    addProblem(saveError);
    if (rescued)
        ++m_rescuedFiles;
    m_storedSessions += storedSessions;
    m_lastFileName = QFileInfo(path).fileName();
    if (!decoded) {
        m_unreadFiles.append(m_lastFileName);
        m_lastReason = reason;
    }
}

void DecodeReport::addExport(const QString &path)
{
    if (!path.isEmpty())
        m_exportedFiles.append(QDir::toNativeSeparators(path));
}

QString DecodeReport::message() const
{
    if (m_files == 0)
        return {};
    QString stored;
    if (m_storedSessions > 0)
        stored = m_files == 1 ? tr("Stored %1 from %2.").arg(sessions(m_storedSessions), m_lastFileName)
                              : tr("Stored %1.").arg(sessions(m_storedSessions));
    if (m_alreadyStored > 0)
        stored += (stored.isEmpty() ? QString() : QStringLiteral(" "))
                  + tr("%1 already stored.").arg(sessions(m_alreadyStored));
    if (stored.isEmpty() && m_unreadFiles.size() < m_files)
        stored = tr("No new sessions.");
    for (const QString &problem : m_problems)
        stored += (stored.isEmpty() ? QString() : QStringLiteral(" ")) + problem + u'.';

    QString unread;
    if (m_unreadFiles.size() == 1) {
        unread = tr("Nothing could be read from %1").arg(m_unreadFiles.first());
        unread += m_lastReason.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + m_lastReason;
    } else if (m_unreadFiles.size() > 1) {
        unread = tr("Nothing could be read from %1 files.").arg(m_unreadFiles.size());
    }
    if (m_rescuedFiles > 0)
        stored += (stored.isEmpty() ? QString() : QStringLiteral(" "))
                  + tr("The transfer could only be read after noise correction.");
    if (m_noisyFiles > 0)
        stored += (stored.isEmpty() ? QString() : QStringLiteral(" ")) + noisyTransferMessage();
    // Last, as a manual export's message would be: the file the export wrote.
    if (!m_exportedFiles.isEmpty())
        stored += (stored.isEmpty() ? QString() : QStringLiteral(" "))
                  + tr("Exported %1.").arg(m_exportedFiles.join(QStringLiteral(", ")));
    if (stored.isEmpty())
        return unread;
    return unread.isEmpty() ? stored : stored + u' ' + unread;
}
