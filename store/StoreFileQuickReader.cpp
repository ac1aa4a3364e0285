#include "StoreFileQuickReader.h"

#include "StoreContentsBuilder.h"
#include "StoreFileFormat.h"

#include <QUtf8StringView>

#include <algorithm>
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

    // The text of the value: references replaced, UTF-8 decoded.
    std::optional<QString> text() const
    {
        if (plain)
            return QString::fromLatin1(value);
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
    std::optional<int> integer() const { return plain ? canonicalInt(value) : std::nullopt; }
    std::optional<bool> boolean() const
    {
        if (value == bytes(kTrue))
            return true;
        if (value == bytes(kFalse))
            return false;
        return std::nullopt;
    }
    QString shown() const { return QString::fromUtf8(value); }
};

// Feeds a file in the writer's own form to the builder, and gives up at the
// first byte that is not.
class QuickTokenizer
{
public:
    explicit QuickTokenizer(QByteArrayView data) : m_data(data), m_pos(data.data()), m_end(data.data() + data.size()) {}

    std::optional<StoreContents> read()
    {
        for (const QByteArrayView declaration : kDeclarations) {
            if (take(declaration))
                break;
        }
        // An accepted file holds exactly this many sessions ("<" stands
        // nowhere else in it); the cap keeps a file of nothing but session
        // tags from reserving many times its size before it is read.
        const qsizetype sessionTags = countSessionTags();
        m_builder.reserveSessions(size_t(std::min(sessionTags, m_data.size() / kFewestBytesPerSessionReserved)));
        while (true) {
            skipSpace();
            if (m_pos == m_end)
                break;
            if (!take("<") || !readTag())
                return std::nullopt;
        }
        if (!m_builder.complete())
            return std::nullopt;
        return m_builder.take();
    }

private:
    enum class TagEnd { Open, Empty, Bad };

    bool fail()
    {
        m_failed = true;
        return false;
    }

    // A search for "<" skips most of the file at once, quicker than a search for the whole tag.
    qsizetype countSessionTags() const
    {
        const QByteArrayView tag = bytes(kSessionElement);
        qsizetype count = 0;
        for (const char *pos = m_pos; pos < m_end && (pos = static_cast<const char *>(std::memchr(pos, '<', size_t(m_end - pos)))); ++pos) {
            if (m_end - pos > tag.size() && std::memcmp(pos + 1, tag.data(), size_t(tag.size())) == 0)
                ++count;
        }
        return count;
    }

    bool take(QByteArrayView literal)
    {
        if (m_end - m_pos < literal.size() || std::memcmp(m_pos, literal.data(), size_t(literal.size())) != 0)
            return false;
        m_pos += literal.size();
        return true;
    }

    bool skipSpace()
    {
        const char *start = m_pos;
        while (m_pos < m_end && isSpace(*m_pos))
            ++m_pos;
        return m_pos != start;
    }

    QByteArrayView takeName()
    {
        const char *start = m_pos;
        while (m_pos < m_end && isNameByte(*m_pos))
            ++m_pos;
        return QByteArrayView(start, m_pos);
    }

    // A start tag, an empty-element tag or an end tag, after its "<".
    bool readTag()
    {
        if (take("/")) {
            const QByteArrayView name = takeName();
            return take(">") && m_builder.endElement(name);
        }
        const QByteArrayView name = takeName();
        if (name.isEmpty())
            return false;
        m_attributes.clear();
        RawAttribute attribute;
        while (nextAttribute(attribute)) {
            // More than any entity has keys; the builder would refuse them anyway.
            if (m_attributes.size() >= size_t(kMaxAttributesPerElement))
                return false;
            m_attributes.push_back(attribute);
        }
        const TagEnd end = tagEnd();
        return end != TagEnd::Bad && m_builder.startElement(name, m_attributes)
            && (end == TagEnd::Open || m_builder.endElement(name));
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
        attribute.name = takeName();
        if (attribute.name.isEmpty() || !take("=\""))
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
        if (take("/>"))
            return TagEnd::Empty;
        if (take(">"))
            return TagEnd::Open;
        return TagEnd::Bad;
    }

    QByteArrayView m_data;
    const char *m_pos;
    const char *m_end;
    bool m_failed = false;
    StoreContentsBuilder<RawAttribute> m_builder;
    std::vector<RawAttribute> m_attributes;
};

} // namespace

std::optional<StoreContents> StoreFileQuickReader::read(QByteArrayView data)
{
    return QuickTokenizer(data).read();
}
