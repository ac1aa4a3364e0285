#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// What a drop, an import or a recording brought: the text the status bar
// shows afterwards, naming what was stored or what could not be read.
// A plain value; any thread.
class DecodeReport
{
    Q_DECLARE_TR_FUNCTIONS(DecodeReport)

public:
    // One file handed to the decoder (or refused before it): whether it
    // decoded, how many sessions the store gained, and why it could not be
    // read when the decoder knows; rescued when only the second demodulation,
    // after noise correction, could read it; how many of its sessions were
    // stored before, and why the save afterwards failed, if it did.
    void addFile(const QString &path, bool decoded, int storedSessions, const QString &reason = {},
                 bool rescued = false, int alreadyStored = 0, const QString &saveError = {});

    // The last file's values rest on decisions that were not all clear.
    void addNoisyTransfer() { ++m_noisyFiles; }
    // A failure beside the decode, such as samples the recording lost; shown
    // like a failed save. An empty problem adds nothing.
    void addProblem(const QString &problem)
    {
        if (!problem.isEmpty())
            m_problems.append(problem);
    }
    // The automatic export wrote path (nothing when path is empty).
    void addExport(const QString &path);

    bool isEmpty() const { return m_files == 0; }
    int storedSessions() const { return m_storedSessions; }
    QStringList unreadFiles() const { return m_unreadFiles; }

    QString message() const;

private:
    int m_files = 0;
    int m_storedSessions = 0;
    QString m_lastFileName;
    QString m_lastReason;
    QStringList m_unreadFiles;
    int m_rescuedFiles = 0;
    int m_alreadyStored = 0;
    QStringList m_problems; // the failed save among them
    int m_noisyFiles = 0;
    QStringList m_exportedFiles;
};
