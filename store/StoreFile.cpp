#include "StoreFile.h"

#include "StoreFileFormat.h"
#include "StoreFileWriter.h"

#include <QFile>
#include <QFileInfo>

StoreFile::StoreFile(QString path, std::shared_ptr<const AtomicFile> files)
    : m_path(std::move(path)), m_files(files ? std::move(files) : std::make_shared<AtomicFile>())
{
}

StoreLoadResult StoreFile::load() const
{
    const auto failed = [this](const QString &reason) {
        return StoreLoadResult{false, QLatin1String("cannot read sessions from ") + m_path + QLatin1String(": ") + reason, {}};
    };
    const QFileInfo info(m_path);
    if (!info.exists() && !info.isSymLink())
        return {};
    if (!info.isFile())
        return failed(QStringLiteral("not a regular file"));
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(file.errorString());
    if (file.size() > StoreFileFormat::kMaxFileSize)
        return failed(QStringLiteral("the file is too large (%1 bytes)").arg(file.size()));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failed(file.errorString());
    if (data.size() > StoreFileFormat::kMaxFileSize)
        return failed(QStringLiteral("the file is too large"));

    QString error;
    std::optional<StoreContents> contents = StoreFileReader::read(data, &error);
    if (!contents)
        return failed(error);
    return {true, {}, std::move(*contents)};
}

SaveResult StoreFile::save(const QList<const RunSession *> &sessions, const QVariantMap &metadata) const
{
    const QString description = QStringLiteral("cannot save sessions to");
    QString error;
    const std::optional<QByteArray> data = StoreFileWriter::write(sessions, metadata, &error);
    if (!data)
        return SaveResult::failure(description + u' ' + m_path + QLatin1String(": ") + error);
    return m_files->write(m_path, *data, description);
}

SaveResult StoreFile::save(const ObjectContext &context) const
{
    return save(context.sessions(), context.metadata());
}

SaveResult StoreFile::openInto(ObjectContext &context) const
{
    StoreLoadResult loaded = load();
    if (!loaded.ok) {
        refuseSaves(context, loaded.errorMessage);
        return SaveResult::failure(loaded.errorMessage);
    }
    attach(context, std::move(loaded.contents));
    return SaveResult::success();
}

void StoreFile::attach(ObjectContext &context, StoreContents &&contents) const
{
    context.setMetadata(contents.metadata);
    context.loadSessions(std::move(contents.sessions));
    context.setSaveHandler([file = *this](const ObjectContext &saved) { return file.save(saved); });
}

void StoreFile::refuseSaves(ObjectContext &context, const QString &reason) const
{
    const QString message = QLatin1String("cannot save sessions to ") + m_path
        + QLatin1String(": the database could not be read, so it is left as it was (") + reason + u')';
    context.setSaveHandler([message](const ObjectContext &) { return SaveResult::failure(message); });
}
