#pragma once

#include "DataOutput.h"

#include <QString>
#include <QStringList>

struct FileOutcome;

// --export-dir DIR [--xml | --tcx] [--tenths] [--fixed-date]: every session a
// file inserted, into DIR as "<wav base name>-<k>.csv" (".plist" with --xml,
// ".tcx" with --tcx), k counting from 1 in insertion order. Never creates the folder.
class FolderExport
{
public:
    FolderExport(QString folder, DataOutput::ExportFormat format, bool tenths, bool fixedDate);

    // The messages of the files that could not be written; empty when all were.
    QStringList exportSessions(const FileOutcome &outcome) const;

private:
    QString m_folder;
    DataOutput::ExportFormat m_format;
    bool m_tenths;
    bool m_fixedDate;
};
