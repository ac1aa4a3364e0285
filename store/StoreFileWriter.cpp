#include "StoreFileWriter.h"

#include "RunSession.h"
#include "StoreFileFormat.h"
#include "StoreValueText.h"

#include <QXmlStreamWriter>

#include <limits>

#include <vector>

namespace {

using namespace StoreFileFormat;

// Leaves room for a typical RS200 session with laps and zones, so the buffer
// grows only a few times while writing.
constexpr qsizetype kBytesPerSessionGuess = 3000;

QString typeOfMetadataValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return kTypeBoolean;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return kTypeInteger;
    case QMetaType::ULongLong:
        return value.toULongLong() <= quint64(std::numeric_limits<qint64>::max()) ? QString(kTypeInteger) : QString();
    case QMetaType::Double:
    case QMetaType::Float:
        return kTypeReal;
    case QMetaType::QString:
        return kTypeString;
    case QMetaType::QDateTime:
        return kTypeDate;
    default:
        return {};
    }
}

class Writer
{
public:
    // Writing into a QString and encoding once at the end is far quicker than
    // letting the writer encode every piece into a device.
    explicit Writer(QString *text) : m_xml(text) { m_xml.setAutoFormatting(true); }

    void writeStart()
    {
        m_xml.writeStartDocument();
        m_xml.writeStartElement(kRootElement);
        m_xml.writeAttribute(kFormatVersionAttribute, QString::number(kFormatVersion));
    }

    bool writeMetadata(const QVariantMap &metadata, QString *error)
    {
        m_xml.writeStartElement(kMetadataElement);
        for (auto entry = metadata.cbegin(); entry != metadata.cend(); ++entry) {
            const QString type = typeOfMetadataValue(entry.value());
            if (type.isEmpty()) {
                *error = QStringLiteral("the metadata value of \"%1\" is of type %2, which the file cannot keep")
                             .arg(entry.key(), QString::fromLatin1(entry.value().typeName()));
                return false;
            }
            m_xml.writeEmptyElement(kEntryElement);
            writeText(kEntryKey, entry.key());
            m_xml.writeAttribute(kEntryType, type);
            if (type == kTypeString)
                writeText(kEntryValue, entry.value().toString());
            else if (type == kTypeDate)
                m_xml.writeAttribute(kEntryValue, StoreValueText::fromDate(entry.value().toDateTime()));
            else if (type == kTypeBoolean)
                m_xml.writeAttribute(kEntryValue, entry.value().toBool() ? kTrue : kFalse);
            else if (type == kTypeReal)
                m_xml.writeAttribute(kEntryValue, QString::number(entry.value().toDouble(), 'g', 17));
            else
                m_xml.writeAttribute(kEntryValue, QString::number(entry.value().toLongLong()));
        }
        m_xml.writeEndElement();
        return true;
    }

    void writeSession(const RunSession &session)
    {
        m_xml.writeStartElement(kSessionElement);
        writeKeys(session, m_sessionKeys);
        writeMembers(session.lap, kLapElement, m_lapKeys);
        writeMembers(session.sportZone, kSportZoneElement, m_sportZoneKeys);
        writeMembers(session.limitZone, kLimitZoneElement, m_limitZoneKeys);
        m_xml.writeEndElement();
    }

    void writeEnd()
    {
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
    }

private:
    // The attribute names of one entity, made once per file rather than once
    // per value.
    template <typename Entity>
    struct KeyNames
    {
        std::vector<QString> plain;
        std::vector<QString> encoded;
        KeyNames()
        {
            for (const EntityKey<Entity> &key : Entity::keys()) {
                plain.push_back(QString::fromLatin1(key.name));
                encoded.push_back(plain.back() + kEncodedSuffix);
            }
        }
    };

    template <typename Entity>
    void writeMembers(const std::vector<Entity> &members, QLatin1StringView element, const KeyNames<Entity> &names)
    {
        for (const Entity &member : members) {
            m_xml.writeEmptyElement(element);
            writeKeys(member, names);
        }
    }

    template <typename Entity>
    void writeKeys(const Entity &entity, const KeyNames<Entity> &names)
    {
        const auto table = Entity::keys();
        for (size_t index = 0; index < table.size(); ++index) {
            std::visit([&](auto member) {
                const auto &field = entity.*member;
                if (field)
                    writeValue(names, index, *field);
            }, table[index].member);
        }
    }

    template <typename Names>
    void writeValue(const Names &names, size_t index, int value)
    {
        m_xml.writeAttribute(names.plain[index], QString::number(value));
    }

    template <typename Names>
    void writeValue(const Names &names, size_t index, bool value)
    {
        m_xml.writeAttribute(names.plain[index], value ? kTrue : kFalse);
    }

    template <typename Names>
    void writeValue(const Names &names, size_t index, const QDateTime &value)
    {
        m_xml.writeAttribute(names.plain[index], StoreValueText::fromDate(value));
    }

    template <typename Names>
    void writeValue(const Names &names, size_t index, const QString &value)
    {
        if (StoreValueText::fitsXml(value))
            m_xml.writeAttribute(names.plain[index], value);
        else
            m_xml.writeAttribute(names.encoded[index], StoreValueText::toUtf16Hex(value));
    }

    void writeText(QLatin1StringView name, const QString &value)
    {
        if (StoreValueText::fitsXml(value))
            m_xml.writeAttribute(name, value);
        else
            m_xml.writeAttribute(QString(name) + kEncodedSuffix, StoreValueText::toUtf16Hex(value));
    }

    QXmlStreamWriter m_xml;
    KeyNames<RunSession> m_sessionKeys;
    KeyNames<Lap> m_lapKeys;
    KeyNames<SportZone> m_sportZoneKeys;
    KeyNames<LimitZone> m_limitZoneKeys;
};

} // namespace

std::optional<QByteArray> StoreFileWriter::write(const QList<const RunSession *> &sessions,
                                                 const QVariantMap &metadata, QString *error)
{
    QString text;
    text.reserve(sessions.size() * kBytesPerSessionGuess + 1024);
    Writer writer(&text);
    writer.writeStart();
    if (!writer.writeMetadata(metadata, error))
        return std::nullopt;
    for (const RunSession *session : sessions)
        writer.writeSession(*session);
    writer.writeEnd();
    return text.toUtf8();
}
