#include "StoreFileQuickReader.h"

#include "StoreFileFormat.h"
#include "StoreValueText.h"

#include <QUtf8StringView>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

using namespace StoreFileFormat;

// The declarations the writer has written.
constexpr QByteArrayView kDeclarations[] = {
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
    "<?xml version=\"1.0\"?>",
};
// More digits than any int has; a longer number is not the writer's.
constexpr qsizetype kMaxIntDigits = 10;
// Real sessions take a kilobyte or more; only a file of nearly empty sessions
// grows its list while being read.
constexpr qsizetype kFewestBytesPerSessionReserved = 256;
// "&quot;" and "&#1114111;" are the longest references the reader takes.
constexpr qsizetype kMaxReferenceLength = 8;

QByteArrayView bytes(QLatin1StringView text)
{
    return QByteArrayView(text.data(), text.size());
}

bool isSpace(char byte)
{
    return byte == ' ' || byte == '\n' || byte == '\t' || byte == '\r';
}

bool isNameByte(char byte)
{
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9')
        || byte == '_' || byte == '.' || byte == '-';
}

bool isDigit(char byte)
{
    return byte >= '0' && byte <= '9';
}

// A character XML 1.0 allows, written as a reference or not.
bool isXmlCharacter(char32_t code)
{
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF)
        || (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

void appendUtf8(QByteArray &bytes, char32_t code)
{
    if (code < 0x80) {
        bytes += char(code);
    } else if (code < 0x800) {
        bytes += char(0xC0 | (code >> 6));
        bytes += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        bytes += char(0xE0 | (code >> 12));
        bytes += char(0x80 | ((code >> 6) & 0x3F));
        bytes += char(0x80 | (code & 0x3F));
    } else {
        bytes += char(0xF0 | (code >> 18));
        bytes += char(0x80 | ((code >> 12) & 0x3F));
        bytes += char(0x80 | ((code >> 6) & 0x3F));
        bytes += char(0x80 | (code & 0x3F));
    }
}

// A decimal int as the writer writes it: no sign but "-", no leading zeros.
std::optional<int> canonicalInt(QByteArrayView text)
{
    const bool negative = text.startsWith('-');
    const QByteArrayView digits = negative ? text.sliced(1) : text;
    if (digits.isEmpty() || digits.size() > kMaxIntDigits || (digits.front() == '0' && (negative || digits.size() > 1)))
        return std::nullopt;
    qint64 value = 0;
    for (const char digit : digits) {
        if (!isDigit(digit))
            return std::nullopt;
        value = value * 10 + (digit - '0');
    }
    value = negative ? -value : value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

// The character an entity or a decimal character reference stands for.
std::optional<char32_t> referencedCharacter(QByteArrayView name)
{
    if (name == "lt")
        return U'<';
    if (name == "gt")
        return U'>';
    if (name == "amp")
        return U'&';
    if (name == "quot")
        return U'"';
    if (name == "apos")
        return U'\'';
    if (name.size() < 2 || name.front() != '#' || name.at(1) == '0')
        return std::nullopt;
    char32_t code = 0;
    for (const char digit : name.sliced(1)) {
        if (!isDigit(digit))
            return std::nullopt;
        code = code * 10 + char32_t(digit - '0');
    }
    return isXmlCharacter(code) ? std::optional(code) : std::nullopt;
}

// An attribute as it stands in the file.
struct RawAttribute
{
    QByteArrayView name;
    QByteArrayView value;
    // Printable ASCII without references: the value is its own text.
    bool plain = true;
};

// The last value read for one key, so that texts and dates repeated from
// session to session are converted once and shared.
struct CachedValue
{
    QByteArray raw;
    bool encoded = false;
    std::optional<QString> text;
    std::optional<QDateTime> date;
};

// The attribute names of one entity and the cache of each key.
template <typename Entity>
struct KeyTable
{
    std::span<const EntityKey<Entity>> keys = Entity::keys();
    std::vector<QByteArrayView> names;
    std::vector<CachedValue> cache;

    KeyTable()
    {
        for (const EntityKey<Entity> &key : keys)
            names.emplace_back(key.name);
        cache.resize(keys.size());
    }

    // The writer puts keys in table order, so searching on from the last
    // match finds the next one at once.
    std::optional<size_t> find(QByteArrayView name, size_t &cursor) const
    {
        for (size_t step = 0; step < names.size(); ++step) {
            const size_t index = (cursor + step) % names.size();
            if (names[index] == name) {
                cursor = index + 1;
                return index;
            }
        }
        return std::nullopt;
    }
};

class QuickReader
{
public:
    explicit QuickReader(QByteArrayView data) : m_data(data), m_pos(data.data()), m_end(data.data() + data.size()) {}

    std::optional<StoreContents> read()
    {
        for (const QByteArrayView declaration : kDeclarations) {
            if (take(declaration))
                break;
        }
        skipSpace();
        if (!takeStartTag(kRootElement) || !readFormatVersion() || tagEnd() != TagEnd::Open)
            return std::nullopt;

        StoreContents contents;
        // An accepted file holds exactly this many sessions ("<" stands
        // nowhere else in it); the cap keeps a file of nothing but session
        // tags from reserving many times its size before it is read.
        const qsizetype sessionTags = m_data.count(QByteArrayView("<RunSession"));
        contents.sessions.reserve(size_t(std::min(sessionTags, m_data.size() / kFewestBytesPerSessionReserved)));
        bool haveMetadata = false;
        while (true) {
            skipSpace();
            if (takeEndTag(kRootElement))
                break;
            if (takeStartTag(kSessionElement)) {
                // The general reader names the error.
                if (contents.sessions.size() >= StoreFileFormat::kMaxSessions)
                    return std::nullopt;
                if (!readSession(contents.sessions.emplace_back()))
                    return std::nullopt;
            } else if (!haveMetadata && takeStartTag(kMetadataElement)) {
                haveMetadata = true;
                if (!readMetadata(contents.metadata))
                    return std::nullopt;
            } else {
                return std::nullopt;
            }
        }
        skipSpace();
        if (m_pos != m_end)
            return std::nullopt;
        return contents;
    }

private:
    enum class TagEnd { Open, Empty, Bad };

    bool fail()
    {
        m_failed = true;
        return false;
    }

    bool take(QByteArrayView literal)
    {
        if (m_end - m_pos < literal.size() || std::memcmp(m_pos, literal.data(), size_t(literal.size())) != 0)
            return false;
        m_pos += literal.size();
        return true;
    }

    bool take(QLatin1StringView literal) { return take(bytes(literal)); }

    // "<name", leaving the position where it was when it is not there.
    bool takeStartTag(QLatin1StringView name)
    {
        const char *start = m_pos;
        if (take(QByteArrayView("<")) && take(name))
            return true;
        m_pos = start;
        return false;
    }

    bool takeEndTag(QLatin1StringView name)
    {
        const char *start = m_pos;
        if (take(QByteArrayView("</")) && take(name) && take(QByteArrayView(">")))
            return true;
        m_pos = start;
        return false;
    }

    bool skipSpace()
    {
        const char *start = m_pos;
        while (m_pos < m_end && isSpace(*m_pos))
            ++m_pos;
        return m_pos != start;
    }

    // The next attribute of the start tag being read; false at the end of
    // the tag (then tagEnd() reads it) or on a deviation (then m_failed).
    bool nextAttribute(RawAttribute &attribute)
    {
        const bool spaced = skipSpace();
        if (m_pos == m_end)
            return fail();
        if (*m_pos == '>' || *m_pos == '/')
            return false;
        if (!spaced)
            return fail();
        const char *nameStart = m_pos;
        while (m_pos < m_end && isNameByte(*m_pos))
            ++m_pos;
        attribute.name = QByteArrayView(nameStart, m_pos);
        if (attribute.name.isEmpty() || !take(QByteArrayView("=\"")))
            return fail();
        const auto *close = static_cast<const char *>(std::memchr(m_pos, '"', size_t(m_end - m_pos)));
        if (!close)
            return fail();
        attribute.value = QByteArrayView(m_pos, close);
        m_pos = close + 1;
        attribute.plain = true;
        for (const char byte : attribute.value) {
            const auto unit = static_cast<unsigned char>(byte);
            // Raw tabs and line breaks would be normalised to spaces, and
            // "<" and other control characters are not allowed at all.
            if (unit < 0x20 || byte == '<')
                return fail();
            if (byte == '&' || unit >= 0x80)
                attribute.plain = false;
        }
        return true;
    }

    TagEnd tagEnd()
    {
        if (m_failed)
            return TagEnd::Bad;
        if (take(QByteArrayView("/>")))
            return TagEnd::Empty;
        if (take(QByteArrayView(">")))
            return TagEnd::Open;
        return TagEnd::Bad;
    }

    bool readFormatVersion()
    {
        RawAttribute attribute;
        if (!nextAttribute(attribute) || attribute.name != bytes(kFormatVersionAttribute))
            return false;
        const std::optional<int> version = canonicalInt(attribute.value);
        return version && *version >= 1 && *version <= kFormatVersion;
    }

    bool readMetadata(QVariantMap &metadata)
    {
        RawAttribute attribute;
        if (nextAttribute(attribute))
            return false;
        const TagEnd end = tagEnd();
        if (end != TagEnd::Open)
            return end == TagEnd::Empty;
        while (true) {
            skipSpace();
            if (takeEndTag(kMetadataElement))
                return true;
            if (!takeStartTag(kEntryElement) || !readEntry(metadata) || tagEnd() != TagEnd::Empty)
                return false;
        }
    }

    bool readEntry(QVariantMap &metadata)
    {
        std::optional<QString> key;
        std::optional<QString> type;
        std::optional<QString> text;
        RawAttribute attribute;
        while (nextAttribute(attribute)) {
            QByteArrayView name = attribute.name;
            const bool encoded = name.endsWith(bytes(kEncodedSuffix));
            if (encoded)
                name.chop(kEncodedSuffix.size());
            std::optional<QString> *slot = name == bytes(kEntryKey) ? &key : name == bytes(kEntryType) ? &type
                                         : name == bytes(kEntryValue) ? &text : nullptr;
            if (!slot || *slot || (encoded && slot == &type))
                return false;
            *slot = encoded ? encodedText(attribute) : decodedText(attribute);
            if (!*slot)
                return false;
        }
        if (m_failed || !key || !type || !text || metadata.contains(*key))
            return false;
        const QVariant value = StoreValueText::toMetadataValue(*type, *text);
        if (!value.isValid())
            return false;
        metadata.insert(*key, value);
        return true;
    }

    bool readSession(RunSession &session)
    {
        if (!readKeys(session, m_sessionKeys))
            return false;
        const TagEnd end = tagEnd();
        if (end != TagEnd::Open)
            return end == TagEnd::Empty;
        m_laps.clear();
        m_sportZones.clear();
        m_limitZones.clear();
        while (true) {
            skipSpace();
            if (takeEndTag(kSessionElement))
                break;
            bool read = false;
            if (takeStartTag(kLapElement))
                read = readMember(m_laps, m_lapKeys);
            else if (takeStartTag(kSportZoneElement))
                read = readMember(m_sportZones, m_sportZoneKeys);
            else if (takeStartTag(kLimitZoneElement))
                read = readMember(m_limitZones, m_limitZoneKeys);
            if (!read)
                return false;
        }
        // Gathered in reused buffers, so each relation is allocated once at its size.
        session.lap.assign(m_laps.begin(), m_laps.end());
        session.sportZone.assign(m_sportZones.begin(), m_sportZones.end());
        session.limitZone.assign(m_limitZones.begin(), m_limitZones.end());
        return true;
    }

    template <typename Entity>
    bool readMember(std::vector<Entity> &members, KeyTable<Entity> &table)
    {
        if (members.size() >= StoreFileFormat::kMaxMembersPerRelation)
            return fail();
        return readKeys(members.emplace_back(), table) && tagEnd() == TagEnd::Empty;
    }

    template <typename Entity>
    bool readKeys(Entity &entity, KeyTable<Entity> &table)
    {
        Q_ASSERT(table.keys.size() <= 64); // one bit per key in seen
        std::uint64_t seen = 0;
        size_t cursor = 0;
        RawAttribute attribute;
        while (nextAttribute(attribute)) {
            QByteArrayView name = attribute.name;
            const bool encoded = name.endsWith(bytes(kEncodedSuffix));
            if (encoded)
                name.chop(kEncodedSuffix.size());
            const std::optional<size_t> index = table.find(name, cursor);
            if (!index || (seen & (std::uint64_t(1) << *index)))
                return fail();
            seen |= std::uint64_t(1) << *index;
            if (!setKey(entity, table.keys[*index], attribute, encoded, table.cache[*index]))
                return fail();
        }
        return !m_failed;
    }

    template <typename Entity>
    bool setKey(Entity &entity, const EntityKey<Entity> &key, const RawAttribute &attribute, bool encoded,
                CachedValue &cache)
    {
        return std::visit([&](auto member) {
            auto &field = entity.*member;
            using Value = typename std::remove_reference_t<decltype(field)>::value_type;
            if constexpr (std::is_same_v<Value, QString>) {
                if (!cache.text || cache.encoded != encoded || cache.raw != attribute.value) {
                    cache.text = encoded ? encodedText(attribute) : decodedText(attribute);
                    cache.raw = attribute.value.toByteArray();
                    cache.encoded = encoded;
                }
                field = cache.text;
                return field.has_value();
            } else if constexpr (std::is_same_v<Value, QDateTime>) {
                if (encoded || !attribute.plain)
                    return false;
                if (!cache.date || cache.raw != attribute.value) {
                    cache.raw = attribute.value.toByteArray();
                    cache.date = StoreValueText::toDate(QString::fromLatin1(attribute.value));
                }
                field = cache.date;
                return field.has_value();
            } else if constexpr (std::is_same_v<Value, int>) {
                field = (encoded || !attribute.plain) ? std::nullopt : canonicalInt(attribute.value);
                return field.has_value();
            } else {
                if (encoded || (attribute.value != bytes(kTrue) && attribute.value != bytes(kFalse)))
                    return false;
                field = attribute.value == bytes(kTrue);
                return true;
            }
        }, key.member);
    }

    static std::optional<QString> encodedText(const RawAttribute &attribute)
    {
        if (!attribute.plain)
            return std::nullopt;
        return StoreValueText::fromUtf16Hex(QString::fromLatin1(attribute.value));
    }

    // The text of a value: references replaced, UTF-8 decoded.
    static std::optional<QString> decodedText(const RawAttribute &attribute)
    {
        if (attribute.plain)
            return QString::fromLatin1(attribute.value);
        const QByteArrayView value = attribute.value;
        QByteArray utf8;
        utf8.reserve(value.size());
        for (qsizetype pos = 0; pos < value.size(); ++pos) {
            if (value[pos] != '&') {
                utf8 += value[pos];
                continue;
            }
            const qsizetype semicolon = value.indexOf(';', pos + 1);
            if (semicolon < 0 || semicolon - pos - 1 > kMaxReferenceLength)
                return std::nullopt;
            const std::optional<char32_t> character = referencedCharacter(value.sliced(pos + 1, semicolon - pos - 1));
            if (!character)
                return std::nullopt;
            appendUtf8(utf8, *character);
            pos = semicolon;
        }
        if (!QUtf8StringView(utf8).isValidUtf8())
            return std::nullopt;
        QString text = QString::fromUtf8(utf8);
        // Valid UTF-8 for characters XML does not allow.
        if (text.contains(QChar(0xFFFE)) || text.contains(QChar(0xFFFF)))
            return std::nullopt;
        return text;
    }

    QByteArrayView m_data;
    const char *m_pos;
    const char *m_end;
    bool m_failed = false;
    KeyTable<RunSession> m_sessionKeys;
    KeyTable<Lap> m_lapKeys;
    KeyTable<SportZone> m_sportZoneKeys;
    KeyTable<LimitZone> m_limitZoneKeys;
    std::vector<Lap> m_laps;
    std::vector<SportZone> m_sportZones;
    std::vector<LimitZone> m_limitZones;
};

} // namespace

std::optional<StoreContents> StoreFileQuickReader::read(QByteArrayView data)
{
    return QuickReader(data).read();
}
