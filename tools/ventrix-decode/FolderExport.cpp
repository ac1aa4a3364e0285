#include "FolderExport.h"

#include "TransferDecoding.h"


FolderExport::FolderExport(QString folder, DataOutput::ExportFormat format, bool tenths, bool fixedDate)
    : m_folder(std::move(folder)), m_format(format), m_tenths(tenths), m_fixedDate(fixedDate)
{
}

QStringList FolderExport::exportSessions(const FileOutcome &outcome) const
{
    QStringList failures;
    const QList<SaveResult> results = DataOutput::exportSessionsToFolder(outcome.sessions, outcome.path, m_folder,
                                                                         m_format, m_tenths, m_fixedDate);
    for (const SaveResult &result : results)
        if (!result.ok)
            failures.append(result.errorMessage);
    return failures;
}
