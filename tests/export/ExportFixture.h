#pragma once

#include "AtomicFile.h"
#include "DataOutput.h"
#include "ExportSessions.h"
#include "ObjectContext.h"
#include "SaveDialog.h"
#include "SessionListController.h"
#include "VXDefaults.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

// Each test starts with no stored settings and in en_US; German() and
// UnitedStates() switch the default locale that every text reads.
class LocaleFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VXDefaults::settings().clear();
        UnitedStates();
    }
    void TearDown() override
    {
        VXDefaults::settings().clear();
        QLocale::setDefault(QLocale::c());
    }

    static void German() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    static void UnitedStates() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    static void setSetting(const QString &key, const QVariant &value) { VXDefaults::settings().setValue(key, value); }
};

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

// A session list with an exporter wired to it and a folder of its own.
class ExportFixture : public LocaleFixture
{
protected:
    void SetUp() override
    {
        LocaleFixture::SetUp();
        ASSERT_TRUE(folder.isValid());
        output.setSessionArrayController(&list);
    }

    const RunSession *insertAndSelect(RunSession session)
    {
        const RunSession *inserted = context.insertSession(std::move(session));
        list.selectSession(inserted);
        return inserted;
    }

    QString path(const QString &name) const { return folder.filePath(name); }
    QStringList files() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static QByteArray golden(const QString &name) { return contents(QStringLiteral(VENTRIX_EXPORT_GOLDEN_DIR "/") + name); }
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
};
