#pragma once

#include "StoreContents.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Reads the text of a store file (layout in StoreFileFormat.h). Strict: an
// unknown element or key, a value of the wrong type, a newer format version,
// a DTD or a truncated file is an error, because a file we do not fully
// understand must never be taken for a smaller one and saved over.
// Memory stays proportional to the input; nesting is fixed by the layout.
// Files in the writer's own form take a quick tokenizer (StoreFileQuickReader);
// everything else goes through QXmlStreamReader. Both feed one
// StoreContentsBuilder, which assigns the keys. Any thread.
class StoreFileReader
{
public:
    // The contents, or nothing with error set to "line L, column C: <reason>".
    static std::optional<StoreContents> read(const QByteArray &data, QString *error);
    // The same through QXmlStreamReader alone, which the quick path must agree with.
    static std::optional<StoreContents> readGeneral(const QByteArray &data, QString *error);
};
