// Mutated database files into the store-file reader. Whatever the reader
// accepts must also survive a write and a second read unchanged, so a file
// that opens can always be saved and opened again, and the same bytes read
// twice give the same answer.
#include "StoreFileReader.h"
#include "StoreFileWriter.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    const std::optional<StoreContents> contents = StoreFileReader::read(input, &error);
    const std::optional<StoreContents> again = StoreFileReader::read(input, &error);
    if (contents.has_value() != again.has_value())
        std::abort();
    if (!contents)
        return 0;
    if (again->sessions != contents->sessions || again->metadata != contents->metadata)
        std::abort();

    QList<const RunSession *> sessions;
    for (const RunSession &session : contents->sessions)
        sessions.append(&session);
    const std::optional<QByteArray> written = StoreFileWriter::write(sessions, contents->metadata, &error);
    if (!written)
        std::abort();
    const std::optional<StoreContents> reread = StoreFileReader::read(*written, &error);
    if (!reread || reread->sessions != contents->sessions || reread->metadata.keys() != contents->metadata.keys())
        std::abort();
    return 0;
}
