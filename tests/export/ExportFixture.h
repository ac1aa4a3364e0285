#pragma once

#include "DataOutput.h"
#include "ExportSessions.h"
#include "LocaleFixture.h"
#include "ObjectContext.h"
#include "SessionListController.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
