#include "DecodeReport.h"

#include "Confidence.h"

#include <QFileInfo>

void DecodeReport::addFile(const QString &path, bool decoded, int storedSessions, const QString &reason,
                           bool rescued)
{
    ++m_files;
    if (rescued)
        ++m_rescuedFiles;
    m_storedSessions += storedSessions;
    m_lastFileName = QFileInfo(path).fileName();
    if (!decoded) {
        m_unreadFiles.append(m_lastFileName);
        m_lastReason = reason;
    }
}

QString DecodeReport::message() const
{
    if (m_files == 0)
        return {};
    QString stored;
    if (m_storedSessions > 0)
        stored = m_files == 1 ? tr("Stored %n session(s) from %1.", nullptr, m_storedSessions).arg(m_lastFileName)
                              : tr("Stored %n session(s).", nullptr, m_storedSessions);
    else if (m_unreadFiles.size() < m_files)
        stored = tr("No new sessions.");

    QString unread;
    if (m_unreadFiles.size() == 1) {
        unread = tr("Nothing could be read from %1").arg(m_unreadFiles.first());
        unread += m_lastReason.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + m_lastReason;
    } else if (m_unreadFiles.size() > 1) {
        unread = tr("Nothing could be read from %n file(s).", nullptr, int(m_unreadFiles.size()));
    }
    if (m_rescuedFiles > 0)
        stored += (stored.isEmpty() ? QString() : QStringLiteral(" "))
                  + tr("The transfer could only be read after noise correction.");
    if (m_noisyFiles > 0)
        stored += (stored.isEmpty() ? QString() : QStringLiteral(" ")) + noisyTransferMessage();
    if (stored.isEmpty())
        return unread;
    return unread.isEmpty() ? stored : stored + u' ' + unread;
}
