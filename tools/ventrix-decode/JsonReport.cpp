#include "JsonReport.h"

#include "TransferDecoding.h"

#include "EntityJson.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

void JsonReport::add(const FileOutcome &outcome)
{
    QJsonArray sessions;
    for (const RunSession *session : outcome.sessions)
        sessions.append(toJson(*session));
    QJsonObject entry;
    entry.insert(QStringLiteral("path"), outcome.path);
    entry.insert(QStringLiteral("dataMakesSense"), outcome.decoded);
    entry.insert(QStringLiteral("model"), outcome.model ? QJsonValue(watchModelName(*outcome.model)) : QJsonValue());
    entry.insert(QStringLiteral("method"), decodeMethodName(outcome.method));
    entry.insert(QStringLiteral("confidence"), confidenceName(outcome.confidence));
    entry.insert(QStringLiteral("sessions"), sessions);
    m_files.append(entry);
}

void JsonReport::write(QTextStream &out) const
{
    out << QJsonDocument(QJsonObject{{QStringLiteral("files"), m_files}}).toJson(QJsonDocument::Indented);
}
