#pragma once

#include "AtomicFile.h"
#include "SaveDialog.h"

#include <QStringList>

#include <cerrno>

// A save dialog that records what it was asked and lets the test close it.
class FakeSaveDialog : public SaveDialog
{
public:
    void askForPath(const QString &proposedName, Completion done) override
    {
        proposedNames << proposedName;
        completion = std::move(done);
    }
    void showAlert(const QString &message, const QString &button) override { alerts << message + u'|' + button; }

    QStringList proposedNames;
    QStringList alerts;
    Completion completion;
};

// Fails like a full disk halfway through the data.
class FullDisk : public AtomicFile
{
protected:
    long writeSome(int fd, const char *data, long size) const override
    {
        AtomicFile::writeSome(fd, data, size / 2);
        errno = ENOSPC;
        return -1;
    }
};
