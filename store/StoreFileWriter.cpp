#include "StoreFileWriter.h"

#include "RunSession.h"
#include "StoreFileFormat.h"
#include "StoreValueText.h"

#include <QTimeZone>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <vector>

namespace {

using namespace StoreFileFormat;

// Leaves room for a typical RS200 session with laps and zones, so the buffer
// grows only a few times while writing.
constexpr qsizetype kBytesPerSessionGuess = 2300;
constexpr QByteArrayView kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
// One level of indentation, so the file reads well in an editor.
constexpr QByteArrayView kIndent = "    ";
constexpr int kSessionDepth = 1;
constexpr int kMemberDepth = 2;

QLatin1StringView typeOfMetadataValue(const QVariant &value)
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
        return value.toULongLong() <= quint64(std::numeric_limits<qint64>::max()) ? kTypeInteger : QLatin1StringView();
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

// The last date written for one key and its text: a birthday is the same in
// every session, and its text costs a time-zone conversion.
struct CachedDate
{
    std::optional<QDateTime> date;
    QByteArray text;
};

bool sameKindOfTime(const QDateTime &a, const QDateTime &b)
{
    if (a.timeSpec() != b.timeSpec())
        return false;
    if (a.timeSpec() == Qt::OffsetFromUTC)
        return a.offsetFromUtc() == b.offsetFromUtc();
    if (a.timeSpec() == Qt::TimeZone)
        return a.timeZone() == b.timeZone();
    return true;
}

// A byte array grown by the writer's millions of small pieces without a
// library call for each.
class ByteSink
{
public:
    explicit ByteSink(qsizetype capacity) { grow(capacity); }

    void append(const char *data, qsizetype size)
    {
        if (size > m_capacity - m_size)
            grow(size);
        std::memcpy(m_data + m_size, data, size_t(size));
        m_size += size;
    }
    ByteSink &operator+=(char byte)
    {
        if (m_size == m_capacity)
            grow(1);
        m_data[m_size++] = byte;
        return *this;
    }
    template <size_t N>
    ByteSink &operator+=(const char (&literal)[N])
    {
        append(literal, N - 1);
        return *this;
    }
    ByteSink &operator+=(QByteArrayView bytes)
    {
        append(bytes.data(), bytes.size());
        return *this;
    }
    ByteSink &operator+=(QLatin1StringView text)
    {
        append(text.data(), text.size());
        return *this;
    }

    QByteArray take()
    {
        m_bytes.resize(m_size);
        m_data = nullptr;
        m_size = m_capacity = 0;
        return std::move(m_bytes);
    }

private:
    void grow(qsizetype needed)
    {
        m_capacity = std::max(m_capacity * 2, m_size + needed);
        m_bytes.resize(m_capacity);
        m_data = m_bytes.data();
    }

    QByteArray m_bytes;
    char *m_data = nullptr;
    qsizetype m_size = 0;
    qsizetype m_capacity = 0;
};

// Writes the file's bytes straight into one buffer, in the layout a
// QXmlStreamWriter with automatic formatting gives, without its cost per value.
// Attribute values are escaped so that any reader gets them back exactly.
class Writer
{
public:
    explicit Writer(ByteSink &out) : m_out(out) {}

    void writeStart()
    {
        m_out += kDeclaration;
        m_out += "\n<";
        m_out += kRootElement;
        writeAttribute(kFormatVersionAttribute, kFormatVersion);
        m_out += '>';
    }

    bool writeMetadata(const QVariantMap &metadata, QString *error)
    {
        startElement(kSessionDepth, kMetadataElement);
        if (metadata.isEmpty()) {
            m_out += "/>";
            return true;
        }
        m_out += '>';
        for (auto entry = metadata.cbegin(); entry != metadata.cend(); ++entry) {
            const QLatin1StringView type = typeOfMetadataValue(entry.value());
            if (type.isEmpty()) {
                *error = QStringLiteral("the metadata value of \"%1\" is of type %2, which the file cannot keep")
                             .arg(entry.key(), QString::fromLatin1(entry.value().typeName()));
                return false;
            }
            startElement(kMemberDepth, kEntryElement);
            writeText(kEntryKey, entry.key());
            writeAttribute(kEntryType, type);
            if (type == kTypeString)
                writeText(kEntryValue, entry.value().toString());
            else if (type == kTypeDate)
                writeAttribute(kEntryValue, StoreValueText::fromDate(entry.value().toDateTime()));
            else if (type == kTypeBoolean)
                writeAttribute(kEntryValue, entry.value().toBool() ? kTrue : kFalse);
            else if (type == kTypeReal)
                writeAttribute(kEntryValue, QString::number(entry.value().toDouble(), 'g', 17));
            else
                writeAttribute(kEntryValue, entry.value().toLongLong());
            m_out += "/>";
        }
        endElement(kSessionDepth, kMetadataElement);
        return true;
    }

    void writeSession(const RunSession &session)
    {
        startElement(kSessionDepth, kSessionElement);
        writeKeys(session, m_sessionKeys);
        if (session.lap.empty() && session.sportZone.empty() && session.limitZone.empty()) {
            m_out += "/>";
            return;
        }
        m_out += '>';
        writeMembers(session.lap, kLapElement, m_lapKeys);
        writeMembers(session.sportZone, kSportZoneElement, m_sportZoneKeys);
        writeMembers(session.limitZone, kLimitZoneElement, m_limitZoneKeys);
        endElement(kSessionDepth, kSessionElement);
    }

    void writeEnd()
    {
        endElement(0, kRootElement);
        m_out += '\n';
    }

private:
    // The attribute names of one entity and the last date of each key.
    template <typename Entity>
    struct KeyNames
    {
        std::vector<QByteArray> plain;
        std::vector<QByteArray> encoded;
        std::vector<CachedDate> dates;
        KeyNames()
        {
            for (const EntityKey<Entity> &key : Entity::keys()) {
                plain.emplace_back(key.name);
                encoded.push_back(plain.back());
                encoded.back().append(kEncodedSuffix.data(), kEncodedSuffix.size());
            }
            dates.resize(plain.size());
        }
    };

    void startElement(int depth, QLatin1StringView name)
    {
        m_out += '\n';
        for (int level = 0; level < depth; ++level)
            m_out += kIndent;
        m_out += '<';
        m_out += name;
    }

    void endElement(int depth, QLatin1StringView name)
    {
        m_out += '\n';
        for (int level = 0; level < depth; ++level)
            m_out += kIndent;
        m_out += "</";
        m_out += name;
        m_out += '>';
    }

    template <typename Entity>
    void writeMembers(const std::vector<Entity> &members, QLatin1StringView element, KeyNames<Entity> &names)
    {
        for (const Entity &member : members) {
            startElement(kMemberDepth, element);
            writeKeys(member, names);
            m_out += "/>";
        }
    }

    template <typename Entity>
    void writeKeys(const Entity &entity, KeyNames<Entity> &names)
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
        writeAttribute(names.plain[index], value);
    }

    template <typename Names>
    void writeValue(const Names &names, size_t index, bool value)
    {
        writeAttribute(names.plain[index], value ? kTrue : kFalse);
    }

    template <typename Names>
    void writeValue(Names &names, size_t index, const QDateTime &value)
    {
        CachedDate &cache = names.dates[index];
        if (!cache.date || !value.isValid() || *cache.date != value || !sameKindOfTime(*cache.date, value)) {
            cache.date = value;
            cache.text.clear();
            appendEscaped(cache.text, StoreValueText::fromDate(value));
        }
        startAttribute(names.plain[index]);
        m_out += cache.text;
        m_out += '"';
    }

    template <typename Names>
    void writeValue(const Names &names, size_t index, const QString &value)
    {
        if (StoreValueText::fitsXml(value)) {
            startAttribute(names.plain[index]);
            appendEscaped(value);
            m_out += '"';
        } else {
            writeAttribute(names.encoded[index], StoreValueText::toUtf16Hex(value));
        }
    }

    void writeText(QLatin1StringView name, const QString &value)
    {
        if (StoreValueText::fitsXml(value)) {
            startAttribute(name);
            appendEscaped(value);
            m_out += '"';
        } else {
            QByteArray encodedName(name.data(), name.size());
            encodedName.append(kEncodedSuffix.data(), kEncodedSuffix.size());
            writeAttribute(encodedName, StoreValueText::toUtf16Hex(value));
        }
    }

    template <typename Name>
    void startAttribute(const Name &name)
    {
        m_out += ' ';
        m_out += name;
        m_out += "=\"";
    }

    template <typename Name>
    void writeAttribute(const Name &name, qint64 value)
    {
        char digits[24];
        const std::to_chars_result end = std::to_chars(std::begin(digits), std::end(digits), value);
        startAttribute(name);
        m_out.append(digits, end.ptr - digits);
        m_out += '"';
    }

    // Only for texts that need no escaping: names, numbers, dates, hex.
    template <typename Name>
    void writeAttribute(const Name &name, QLatin1StringView value)
    {
        startAttribute(name);
        m_out += value;
        m_out += '"';
    }

    template <typename Name>
    void writeAttribute(const Name &name, const QString &value)
    {
        startAttribute(name);
        appendEscaped(value);
        m_out += '"';
    }

    // The text as UTF-8, with the characters XML reserves as entities and
    // tab, line feed and carriage return as character references, which a
    // reader's attribute-value normalisation would otherwise turn into spaces.
    template <typename Out>
    static void appendEscaped(Out &out, const QString &text)
    {
        for (const QChar character : text) {
            if (character.unicode() >= 0x80) {
                // The bytes of a multi-byte UTF-8 sequence are never ASCII,
                // so they pass through unchanged.
                for (const char byte : text.toUtf8())
                    appendEscaped(out, byte);
                return;
            }
        }
        for (const QChar character : text)
            appendEscaped(out, char(character.unicode()));
    }

    template <typename Out>
    static void appendEscaped(Out &out, char byte)
    {
        switch (byte) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\t':
            out += "&#9;";
            break;
        case '\n':
            out += "&#10;";
            break;
        case '\r':
            out += "&#13;";
            break;
        default:
            out += byte;
        }
    }

    void appendEscaped(const QString &text) { appendEscaped(m_out, text); }

    ByteSink &m_out;
    KeyNames<RunSession> m_sessionKeys;
    KeyNames<Lap> m_lapKeys;
    KeyNames<SportZone> m_sportZoneKeys;
    KeyNames<LimitZone> m_limitZoneKeys;
};

} // namespace

std::optional<QByteArray> StoreFileWriter::write(const QList<const RunSession *> &sessions,
                                                 const QVariantMap &metadata, QString *error)
{
    // The reader's limits, so that no file is written that it would refuse.
    if (size_t(sessions.size()) > kMaxSessions) {
        *error = QStringLiteral("%1 sessions are more than a database may hold (%2)").arg(sessions.size()).arg(kMaxSessions);
        return std::nullopt;
    }
    for (const RunSession *session : sessions) {
        const size_t members = std::max({session->lap.size(), session->sportZone.size(), session->limitZone.size()});
        if (members > kMaxMembersPerRelation) {
            *error = QStringLiteral("a session with %1 laps or zones is more than a database may hold (%2)")
                         .arg(members).arg(kMaxMembersPerRelation);
            return std::nullopt;
        }
    }
    ByteSink data(sessions.size() * kBytesPerSessionGuess + 1024);
    Writer writer(data);
    writer.writeStart();
    if (!writer.writeMetadata(metadata, error))
        return std::nullopt;
    for (const RunSession *session : sessions)
        writer.writeSession(*session);
    writer.writeEnd();
    QByteArray bytes = data.take();
    if (bytes.size() > kMaxFileSize) {
        *error = QStringLiteral("the database would grow to %1 bytes, more than it may (%2)").arg(bytes.size()).arg(kMaxFileSize);
        return std::nullopt;
    }
    return bytes;
}
