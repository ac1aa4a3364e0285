#pragma once

#include "AtomicFile.h"
#include "DataOutput.h"
#include "ObjectContext.h"
#include "SaveDialog.h"
#include "SessionListController.h"
#include "StoreFileReader.h"
#include "VXDefaults.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

inline QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline QByteArray golden(const QString &name) { return contents(QStringLiteral(VENTRIX_EXPORT_DATA_DIR "/golden/") + name); }

// A session of sessions/, stored as the application stores it. Their members
// are stored out of order on purpose: the export finds laps and zones by number.
inline RunSession fixtureSession(const QString &name)
{
    QString error;
    const std::optional<StoreContents> read =
        StoreFileReader::read(contents(QStringLiteral(VENTRIX_EXPORT_DATA_DIR "/sessions/") + name + QStringLiteral(".xml")), &error);
    if (!read || read->sessions.size() != 1) {
        ADD_FAILURE() << "cannot read session " << name.toStdString() << ": " << error.toStdString();
        return {};
    }
    return read->sessions.front();
}

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

// A session list with an exporter wired to it, a save dialog, the failures
// the exporter announced and a folder of its own. Each
// test starts with no stored settings and in en_US; German() and
// UnitedStates() switch the default locale that every text reads.
class ExportFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VXDefaults::settings().clear();
        UnitedStates();
        ASSERT_TRUE(folder.isValid());
        output.setSessionArrayController(&list);
        output.setSaveDialog(&dialog);
        QObject::connect(&output, &DataOutput::exportFailed, [this](const QString &message) { failures << message; });
    }
    void TearDown() override
    {
        VXDefaults::settings().clear();
        QLocale::setDefault(QLocale::c());
    }

    static void German() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    static void UnitedStates() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    static void setSetting(const QString &key, const QVariant &value) { VXDefaults::settings().setValue(key, value); }

    const RunSession *insertAndSelect(RunSession session)
    {
        const RunSession *inserted = context.insertSession(std::move(session));
        list.selectSession(inserted);
        return inserted;
    }

    QString path(const QString &name) const { return folder.filePath(name); }
    QStringList files() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }
    static void writeFile(const QString &path, const QByteArray &data)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }

    QTemporaryDir folder;
    ObjectContext context;
    SessionListController list{context};
    DataOutput output;
    FakeSaveDialog dialog;
    QStringList failures;
};
