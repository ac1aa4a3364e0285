#include "TransferDecoding.h"

TransferDecoding::TransferDecoding() : m_list(m_context)
{
    m_decoder.setManagedObjectContext(&m_context);
    m_decoder.setSessionArrayController(&m_list);
}

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

    const QMetaObject::Connection collect = QObject::connect(
        &m_context, &ObjectContext::sessionInserted,
        [&outcome](const RunSession *session) { outcome.sessions.append(session); });
    outcome.decoded = m_decoder.decodeExtractedBytes();
    QObject::disconnect(collect);
    outcome.model = m_decoder.recognisedModel();
    outcome.method = m_decoder.decodeMethod();
    outcome.confidence = m_decoder.confidence();
    return outcome;
}
