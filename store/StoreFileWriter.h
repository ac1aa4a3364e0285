#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantMap>

#include <optional>

class RunSession;

// Writes sessions and the metadata dictionary as the text of the store file
// (layout in StoreFileFormat.h). Writes every stored key of every entity that
// has a value, straight from the entities' key tables. Any thread.
class StoreFileWriter
{
public:
    // The file's bytes, or nothing with the reason in error: a metadata value
    // of a type the file cannot keep (integers, reals, booleans, texts and
    // dates can be kept).
    static std::optional<QByteArray> write(const QList<const RunSession *> &sessions,
                                           const QVariantMap &metadata, QString *error);
};
