// Arbitrary bytes through the session layouts: each layout straight on the
// array, whether or not its model's check would pass, and the whole decode
// into a context with a session list, so that inserting, selecting and saving
// run too. Any read past the end of the array shows. A YES has a model, and a
// second decode into a fresh context answers and stores the same.
#include "CS200SessionLayout.h"
#include "F6SessionLayout.h"
#include "FuzzChecks.h"
#include "ObjectContext.h"
#include "RS200SessionLayout.h"
#include "SessionListController.h"
#include "TransferImporter.h"
#include "TransferImporter.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

struct StoredTransfer
{
    DecodeAnswer answer;
    std::vector<RunSession> sessions;
};

// The whole decode into a context with a session list, then the same transfer
// again: F6 records are now stored ones.
StoredTransfer storeTwice(const ByteArray &bytes, const SessionClock &now)
{
    ObjectContext context;
    SessionListController list(context);
    TransferImporter importer(context, &list);
    Decoder decoder;
    decoder.setClock(now);
    decoder.setByteArray(bytes);
    const DecodeResult result = decoder.decodeExtractedBytes();
    const DecodeAnswer first = answerOf(decoder, result);
    importer.importTransfer(result);
    decoder.setByteArray(bytes);
    importer.importTransfer(decoder.decodeExtractedBytes());
    StoredTransfer stored{first, {}};
    for (const RunSession *session : context.sessions())
        stored.sessions.push_back(*session);
    return stored;
}

} // namespace

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

    const StoredTransfer first = storeTwice(bytes, now);
    const StoredTransfer second = storeTwice(bytes, now);
    checkAnswers(first.answer, second.answer);
    if (first.sessions != second.sessions)
        std::abort();
    return 0;
}
