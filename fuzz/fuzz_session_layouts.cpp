// Arbitrary bytes through the session layouts: each layout straight on the
// array, whether or not its model's check would pass, and the whole decode
// and the import into a context with a session list, so that inserting,
// selecting and saving run too. Any read past the end of the array shows.
#include "CS200SessionLayout.h"
#include "Decoder.h"
#include "F6SessionLayout.h"
#include "ObjectContext.h"
#include "RS200SessionLayout.h"
#include "SessionListController.h"
#include "TransferImporter.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const ByteArray bytes(data, data + size);
    const SessionClock now = [] { return QDateTime(QDate(2020, 1, 1), QTime(12, 0)); };
    bool dataMakesSense = true;

    const RS200SessionLayout rs200(bytes, dataMakesSense);
    rs200.session(now);
    for (const QString &type : {RS200SessionLayout::kNoLimits, RS200SessionLayout::kHRLimits,
                                RS200SessionLayout::kPaceLimits})
        rs200.decodeRS200LimitZones(type);
    CS200SessionLayout(bytes, dataMakesSense).session(now);
    F6SessionLayout(bytes, dataMakesSense).sessions(now);

    ObjectContext context;
    SessionListController list(context);
    TransferImporter importer(context, &list);
    Decoder decoder;
    decoder.setClock(now);
    decoder.setByteArray(bytes);
    importer.importTransfer(decoder.decodeExtractedBytes());
    // The same transfer again: its sessions are now stored ones.
    decoder.setByteArray(bytes);
    importer.importTransfer(decoder.decodeExtractedBytes());
    return 0;
}
