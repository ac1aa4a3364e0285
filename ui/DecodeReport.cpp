#include "DecodeReport.h"

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

namespace {

// Whole English sentences: "1 session", "3 sessions" (the texts are translated whole).
QString storedText(int sessions)
{
    return sessions == 1 ? DecodeReport::tr("Stored 1 session") : DecodeReport::tr("Stored %1 sessions").arg(sessions);
}

QString filesText(int files)
{
    return files == 1 ? DecodeReport::tr("1 file") : DecodeReport::tr("%1 files").arg(files);
}

} // namespace

QString DecodeReport::message() const
{
    if (m_files == 0)
        return {};
    QString stored;
    if (m_storedSessions > 0)
        stored = m_files == 1 ? tr("%1 from %2.").arg(storedText(m_storedSessions), m_lastFileName)
                              : storedText(m_storedSessions) + u'.';
    else if (m_unreadFiles.size() < m_files)
        stored = tr("No new sessions.");

    QString unread;
    if (m_unreadFiles.size() == 1) {
        unread = tr("Nothing could be read from %1").arg(m_unreadFiles.first());
        unread += m_lastReason.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + m_lastReason;
    } else if (m_unreadFiles.size() > 1) {
        unread = tr("Nothing could be read from %1.").arg(filesText(int(m_unreadFiles.size())));
    }
    if (m_rescuedFiles > 0)
        stored += (stored.isEmpty() ? QString() : QStringLiteral(" "))
                  + tr("The transfer could only be read after noise correction.");
    if (stored.isEmpty())
        return unread;
    return unread.isEmpty() ? stored : stored + u' ' + unread;
}
