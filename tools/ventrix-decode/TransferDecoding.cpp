#include "TransferDecoding.h"

TransferDecoding::TransferDecoding() : m_list(m_context), m_importer(m_context, &m_list) {}

FileOutcome TransferDecoding::decode(const QString &path, const BytesHook &beforeCleanUp)
{
    FileOutcome outcome;
    outcome.path = path;
    // Extraction and decode are taken apart so that the bytes can be shown before clean-up.
    m_decoder.extractBytesFromFile(path);
    outcome.readError = m_decoder.readError();
    if (!outcome.readError.isEmpty())
        return outcome;
    if (beforeCleanUp)
        beforeCleanUp(m_decoder);

    const DecodeResult decoded = m_decoder.decodeExtractedBytes();
    outcome.decoded = decoded.dataMakesSense;
    outcome.model = decoded.model;
    outcome.method = decoded.method;
    outcome.confidence = decoded.confidence;
    const ImportResult imported = m_importer.importTransfer(decoded);
    outcome.sessions = imported.storedSessions;
    outcome.alreadyStored = imported.alreadyStored;
    if (!imported.saved.ok)
        outcome.saveError = imported.saved.errorMessage;
    return outcome;
}
