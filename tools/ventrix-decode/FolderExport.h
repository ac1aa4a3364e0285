#pragma once

#include <QString>
#include <QStringList>

struct FileOutcome;

// --export-dir DIR [--xml] [--tenths] [--fixed-date]: every session a file
// inserted, into DIR as "<wav base name>-<k>.csv" (".plist" with --xml), k
// counting from 1 in insertion order. Never creates the folder.
class FolderExport
{
public:
    FolderExport(QString folder, bool xml, bool tenths, bool fixedDate);

    // The messages of the files that could not be written; empty when all were.
    QStringList exportSessions(const FileOutcome &outcome) const;

private:
    QString m_folder;
    bool m_xml;
    bool m_tenths;
    bool m_fixedDate;
};
