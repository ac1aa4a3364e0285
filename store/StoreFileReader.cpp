#include "StoreFileReader.h"

#include "StoreFileFormat.h"
#include "StoreFileQuickReader.h"
#include "StoreValueText.h"

#include <QXmlStreamReader>

#include <cstdint>

namespace {

using namespace StoreFileFormat;

// The last text read for one key, with its value when it is a date.
struct CachedValue
{
    QString text;
    std::optional<QDateTime> date;
};

class Reader
{
public:
    explicit Reader(const QByteArray &data) : m_xml(data)
    {
        // The file declares no namespaces; skipping their processing saves a
        // good part of the parsing time.
        m_xml.setNamespaceProcessing(false);
    }

    std::optional<StoreContents> read(QString *error)
    {
        StoreContents contents;
        if (readRoot(contents))
            return contents;
        *error = QStringLiteral("line %1, column %2: %3")
                     .arg(m_xml.lineNumber())
                     .arg(m_xml.columnNumber())
                     .arg(m_xml.errorString());
        return std::nullopt;
    }

private:
    bool fail(const QString &reason)
    {
        if (!m_xml.hasError())
            m_xml.raiseError(reason);
        return false;
    }

    // Moves to the next child element of the current one: true at its start,
    // false at the end of the current element or on an error. Only white space
    // and comments may stand between elements.
    bool nextChild()
    {
        while (!m_xml.atEnd()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::StartElement:
                return true;
            case QXmlStreamReader::EndElement:
                return false;
            case QXmlStreamReader::Characters:
                if (!m_xml.isWhitespace())
                    return fail(QStringLiteral("unexpected text"));
                break;
            case QXmlStreamReader::Comment:
                break;
            case QXmlStreamReader::ProcessingInstruction:
                return fail(QStringLiteral("unexpected processing instruction"));
            case QXmlStreamReader::Invalid:
                return false;
            default:
                return fail(QStringLiteral("unexpected %1").arg(m_xml.tokenString()));
            }
        }
        return false;
    }

    bool readRoot(StoreContents &contents)
    {
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::StartElement)
                break;
            if (token == QXmlStreamReader::DTD)
                return fail(QStringLiteral("a document type declaration is not allowed"));
            if (token == QXmlStreamReader::ProcessingInstruction)
                return fail(QStringLiteral("unexpected processing instruction"));
        }
        if (m_xml.hasError())
            return false;
        if (!m_xml.isStartElement() || m_xml.qualifiedName() != kRootElement)
            return fail(QStringLiteral("not a Ventrix session database"));
        if (!readFormatVersion())
            return false;

        bool haveMetadata = false;
        while (nextChild()) {
            const QStringView name = m_xml.qualifiedName();
            if (name == kMetadataElement && !haveMetadata) {
                haveMetadata = true;
                if (!readMetadata(contents.metadata))
                    return false;
            } else if (name == kSessionElement) {
                if (contents.sessions.size() >= StoreFileFormat::kMaxSessions)
                    return fail(QStringLiteral("more than %1 sessions").arg(StoreFileFormat::kMaxSessions));
                contents.sessions.emplace_back();
                if (!readSession(contents.sessions.back()))
                    return false;
            } else {
                return fail(QStringLiteral("unexpected element \"%1\"").arg(name));
            }
        }
        if (m_xml.hasError())
            return false;
        // Only comments and white space may follow; the reader itself refuses
        // a second root element and reports a missing end.
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::ProcessingInstruction)
                return fail(QStringLiteral("unexpected processing instruction"));
        }
        return !m_xml.hasError();
    }

    bool readFormatVersion()
    {
        const QXmlStreamAttributes attributes = m_xml.attributes();
        if (attributes.size() != 1 || attributes.front().qualifiedName() != kFormatVersionAttribute)
            return fail(QStringLiteral("the format version is missing"));
        bool ok = false;
        const int version = attributes.front().value().toInt(&ok);
        if (!ok || version < 1)
            return fail(QStringLiteral("invalid format version \"%1\"").arg(attributes.front().value()));
        if (version > kFormatVersion)
            return fail(QStringLiteral("the file was written by a newer version of Ventrix "
                                       "(file format %1; this version reads format %2 and older)")
                            .arg(version)
                            .arg(kFormatVersion));
        return true;
    }

    bool readMetadata(QVariantMap &metadata)
    {
        if (!m_xml.attributes().isEmpty())
            return fail(QStringLiteral("unexpected attribute of metadata"));
        while (nextChild()) {
            if (m_xml.qualifiedName() != kEntryElement)
                return fail(QStringLiteral("unexpected element \"%1\"").arg(m_xml.qualifiedName()));
            if (!readEntry(metadata) || !expectNoChildren())
                return false;
        }
        return !m_xml.hasError();
    }

    bool readEntry(QVariantMap &metadata)
    {
        std::optional<QString> key;
        std::optional<QString> type;
        std::optional<QString> text;
        const QXmlStreamAttributes attributes = m_xml.attributes();
        for (const QXmlStreamAttribute &attribute : attributes) {
            QStringView name = attribute.qualifiedName();
            const bool encoded = name.endsWith(kEncodedSuffix);
            if (encoded)
                name.chop(kEncodedSuffix.size());
            std::optional<QString> *slot = name == kEntryKey ? &key : name == kEntryType ? &type
                                         : name == kEntryValue ? &text : nullptr;
            if (!slot || *slot || (encoded && slot == &type))
                return fail(QStringLiteral("unexpected attribute \"%1\" of a metadata entry").arg(attribute.qualifiedName()));
            *slot = encoded ? StoreValueText::fromUtf16Hex(attribute.value()) : attribute.value().toString();
            if (!*slot)
                return fail(QStringLiteral("invalid encoded text in a metadata entry"));
        }
        if (!key || !type || !text)
            return fail(QStringLiteral("incomplete metadata entry"));
        if (metadata.contains(*key))
            return fail(QStringLiteral("metadata key \"%1\" appears twice").arg(*key));
        const QVariant value = StoreValueText::toMetadataValue(*type, *text);
        if (!value.isValid())
            return fail(QStringLiteral("invalid %1 \"%2\" for metadata key \"%3\"").arg(*type, *text, *key));
        metadata.insert(*key, value);
        return true;
    }

    bool readSession(RunSession &session)
    {
        if (!readKeys(session, m_sessionCache))
            return false;
        m_laps.clear();
        m_sportZones.clear();
        m_limitZones.clear();
        while (nextChild()) {
            const QStringView name = m_xml.qualifiedName();
            bool read = false;
            if (name == kLapElement)
                read = readMember(m_laps, m_lapCache);
            else if (name == kSportZoneElement)
                read = readMember(m_sportZones, m_sportZoneCache);
            else if (name == kLimitZoneElement)
                read = readMember(m_limitZones, m_limitZoneCache);
            else
                return fail(QStringLiteral("unexpected element \"%1\" in a session").arg(name));
            if (!read)
                return false;
        }
        // Gathered in reused buffers, so each relation is allocated once at its size.
        session.lap.assign(m_laps.begin(), m_laps.end());
        session.sportZone.assign(m_sportZones.begin(), m_sportZones.end());
        session.limitZone.assign(m_limitZones.begin(), m_limitZones.end());
        return !m_xml.hasError();
    }

    template <typename Entity>
    bool readMember(std::vector<Entity> &members, std::vector<CachedValue> &cache)
    {
        if (members.size() >= StoreFileFormat::kMaxMembersPerRelation)
            return fail(QStringLiteral("more than %1 members in one relation").arg(StoreFileFormat::kMaxMembersPerRelation));
        members.emplace_back();
        return readKeys(members.back(), cache) && expectNoChildren();
    }

    bool expectNoChildren()
    {
        if (nextChild())
            return fail(QStringLiteral("unexpected element \"%1\"").arg(m_xml.qualifiedName()));
        return !m_xml.hasError();
    }

    template <typename Entity>
    bool readKeys(Entity &entity, std::vector<CachedValue> &cache)
    {
        const auto table = Entity::keys();
        Q_ASSERT(table.size() <= 64); // one bit per key in seen
        std::uint64_t seen = 0;
        size_t cursor = 0;
        // A const copy: iterating the temporary would detach and copy it.
        const QXmlStreamAttributes attributes = m_xml.attributes();
        for (const QXmlStreamAttribute &attribute : attributes) {
            QStringView name = attribute.qualifiedName();
            const bool encoded = name.endsWith(kEncodedSuffix);
            if (encoded)
                name.chop(kEncodedSuffix.size());
            const std::optional<size_t> index = findKey(table, name, cursor);
            if (!index)
                return fail(QStringLiteral("unknown key \"%1\" in %2").arg(attribute.qualifiedName(), m_xml.qualifiedName()));
            if (seen & (std::uint64_t(1) << *index))
                return fail(QStringLiteral("key \"%1\" appears twice").arg(name));
            seen |= std::uint64_t(1) << *index;
            if (cache.size() < table.size())
                cache.resize(table.size());
            if (!setKey(entity, table[*index], attribute.value(), encoded, cache[*index]))
                return fail(QStringLiteral("invalid value \"%1\" for key \"%2\"").arg(attribute.value(), name));
        }
        return true;
    }

    // The writer puts keys in table order, so searching on from the last
    // match finds the next one at once.
    template <typename Table>
    static std::optional<size_t> findKey(const Table &table, QStringView name, size_t &cursor)
    {
        for (size_t step = 0; step < table.size(); ++step) {
            const size_t index = (cursor + step) % table.size();
            if (name == QLatin1StringView(table[index].name)) {
                cursor = index + 1;
                return index;
            }
        }
        return std::nullopt;
    }

    template <typename Entity>
    static bool setKey(Entity &entity, const EntityKey<Entity> &key, QStringView text, bool encoded, CachedValue &cache)
    {
        return std::visit([&](auto member) {
            auto &field = entity.*member;
            using Value = typename std::remove_reference_t<decltype(field)>::value_type;
            if constexpr (std::is_same_v<Value, QString>) {
                if (encoded) {
                    field = StoreValueText::fromUtf16Hex(text);
                } else {
                    // Names and model texts repeat from session to session;
                    // sharing one copy saves memory and time.
                    if (cache.text != text)
                        cache.text = text.toString();
                    field = cache.text;
                }
                return field.has_value();
            } else if constexpr (std::is_same_v<Value, QDateTime>) {
                if (encoded)
                    return false;
                // A birthday is the same in every session; converting it to
                // local time once is enough.
                if (!cache.date || cache.text != text) {
                    cache.text = text.toString();
                    cache.date = StoreValueText::toDate(text);
                }
                field = cache.date;
                return field.has_value();
            } else {
                if (encoded)
                    return false;
                field = parse<Value>(text);
                return field.has_value();
            }
        }, key.member);
    }

    template <typename Value>
    static std::optional<Value> parse(QStringView text)
    {
        if constexpr (std::is_same_v<Value, int>) {
            bool ok = false;
            const int number = text.toInt(&ok);
            return ok ? std::optional<int>(number) : std::nullopt;
        } else if constexpr (std::is_same_v<Value, bool>) {
            if (text == kTrue)
                return true;
            if (text == kFalse)
                return false;
            return std::nullopt;
        } else {
            return StoreValueText::toDate(text);
        }
    }

    QXmlStreamReader m_xml;
    std::vector<Lap> m_laps;
    std::vector<SportZone> m_sportZones;
    std::vector<LimitZone> m_limitZones;
    std::vector<CachedValue> m_sessionCache;
    std::vector<CachedValue> m_lapCache;
    std::vector<CachedValue> m_sportZoneCache;
    std::vector<CachedValue> m_limitZoneCache;
};

// The line of the first start tag with more attributes than any entity has,
// found in one pass over the text; 0 when there is none.
qsizetype lineOfCrowdedTag(QByteArrayView data)
{
    enum class State { Text, Tag, Quoted, Markup };
    State state = State::Text;
    char quote = 0;
    int attributes = 0;
    qsizetype line = 1;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const char byte = data[i];
        if (byte == '\n')
            ++line;
        switch (state) {
        case State::Text:
            if (byte == '<') {
                const char next = i + 1 < data.size() ? data[i + 1] : 0;
                state = (next == '!' || next == '?' || next == '/') ? State::Markup : State::Tag;
                attributes = 0;
            }
            break;
        case State::Tag:
            if (byte == '"' || byte == '\'') {
                state = State::Quoted;
                quote = byte;
            } else if (byte == '=' && ++attributes > kMaxAttributesPerElement) {
                return line;
            } else if (byte == '>') {
                state = State::Text;
            }
            break;
        case State::Quoted:
            if (byte == quote)
                state = State::Tag;
            break;
        case State::Markup:
            // Comments, declarations and end tags hold no attributes; a ">"
            // inside a comment only ends the skipping early, which costs nothing.
            if (byte == '>')
                state = State::Text;
            break;
        }
    }
    return 0;
}

} // namespace

std::optional<StoreContents> StoreFileReader::read(const QByteArray &data, QString *error)
{
    if (std::optional<StoreContents> contents = StoreFileQuickReader::read(data))
        return contents;
    return readGeneral(data, error);
}

std::optional<StoreContents> StoreFileReader::readGeneral(const QByteArray &data, QString *error)
{
    if (const qsizetype line = lineOfCrowdedTag(data); line > 0) {
        *error = QStringLiteral("line %1: an element with more than %2 attributes").arg(line).arg(kMaxAttributesPerElement);
        return std::nullopt;
    }
    return Reader(data).read(error);
}
