#pragma once

#include "DataOutput.h"

#include <QHash>
#include <QString>
#include <QStringList>

struct FileOutcome;

// --export-dir DIR [--xml | --tcx] [--tenths] [--fixed-date]: every session a
// file inserted, into DIR as "<wav base name>-<k>.csv" (".plist" with --xml,
// ".tcx" with --tcx), k counting from 1 in insertion order. Each name is
// claimed by creating it exclusively, so a name already taken (by an earlier
// export, another recording of the same base name, or a symbolic link) draws
// the next k instead of being written over or through. Never creates the folder.
class FolderExport
{
public:
    FolderExport(QString folder, DataOutput::ExportFormat format, bool tenths, bool fixedDate);

    // The messages of the files that could not be written; empty when all were.
    QStringList exportSessions(const FileOutcome &outcome);

private:
    // "<folder>/<base>-<k><extension>" for the first k whose name could be
    // created; the message when none could.
    SaveResult claimName(const QString &baseName, QString *path);

    QString m_folder;
    DataOutput::ExportFormat m_format;
    bool m_tenths;
    bool m_fixedDate;
    // The last k used for each base name in this run.
    QHash<QString, int> m_lastNumber;
};
