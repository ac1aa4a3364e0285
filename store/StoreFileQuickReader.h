#pragma once

#include "StoreFileReader.h"

#include <QByteArrayView>

#include <optional>

// Reads a store file laid out the way StoreFileWriter lays it out, several
// times quicker than a general XML parser; the keys go through the same
// StoreContentsBuilder as the general reader's. Names and numbers in ASCII,
// double-quoted attribute values with the predefined entities and decimal
// character references, white space between elements and nothing else (no
// comments, no single quotes, no spaces around "="). Anything else, valid or
// not, it leaves to the general reader, which also words the errors: it never
// accepts a file the general reader refuses, and reads every file it accepts
// into the same contents. Any thread.
class StoreFileQuickReader
{
public:
    // The contents, or nothing when data is not in the writer's own form.
    static std::optional<StoreContents> read(QByteArrayView data);
};
