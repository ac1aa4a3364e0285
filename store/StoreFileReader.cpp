#include "StoreFileReader.h"

#include "StoreContentsBuilder.h"
#include "StoreFileFormat.h"
#include "StoreFileQuickReader.h"

#include <QXmlStreamReader>

namespace {

using namespace StoreFileFormat;

// One attribute as QXmlStreamReader hands it over: references resolved, white space normalised.
struct XmlAttribute
{
    QStringView name;
    QStringView value;

    std::optional<QString> text() const { return value.toString(); }
    std::optional<int> integer() const
    {
        bool ok = false;
        const int number = value.toInt(&ok);
        return ok ? std::optional<int>(number) : std::nullopt;
    }
    std::optional<bool> boolean() const
    {
        if (value == kTrue)
            return true;
        if (value == kFalse)
            return false;
        return std::nullopt;
    }
    QString shown() const { return value.toString(); }
};

// Feeds any XML to the builder, through QXmlStreamReader; only white space
// and comments may stand between elements.
class XmlTokenizer
{
public:
    explicit XmlTokenizer(const QByteArray &data) : m_xml(data)
    {
        // The file declares no namespaces; skipping their processing saves a
        // good part of the parsing time.
        m_xml.setNamespaceProcessing(false);
    }

    std::optional<StoreContents> read(QString *error)
    {
        if (readAll())
            return m_builder.take();
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

    bool readAll()
    {
        while (!m_xml.atEnd()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::StartElement:
                if (!startElement())
                    return fail(m_builder.error());
                break;
            case QXmlStreamReader::EndElement:
                if (!m_builder.endElement(m_xml.qualifiedName()))
                    return fail(m_builder.error());
                break;
            case QXmlStreamReader::Characters:
                if (m_builder.insideRoot() && !m_xml.isWhitespace())
                    return fail(QStringLiteral("unexpected text"));
                break;
            case QXmlStreamReader::StartDocument:
            case QXmlStreamReader::EndDocument:
            case QXmlStreamReader::Comment:
                break;
            case QXmlStreamReader::DTD:
                return fail(QStringLiteral("a document type declaration is not allowed"));
            case QXmlStreamReader::ProcessingInstruction:
                return fail(QStringLiteral("unexpected processing instruction"));
            case QXmlStreamReader::Invalid:
                return false;
            default:
                if (m_builder.insideRoot())
                    return fail(QStringLiteral("unexpected %1").arg(m_xml.tokenString()));
                break;
            }
        }
        if (m_xml.hasError())
            return false;
        // The reader itself refuses a file without a root element; this is only a guard.
        return m_builder.complete() || fail(QStringLiteral("not a Ventrix session database"));
    }

    bool startElement()
    {
        // A const copy: iterating the temporary would detach and copy it.
        const QXmlStreamAttributes attributes = m_xml.attributes();
        m_attributes.clear();
        for (const QXmlStreamAttribute &attribute : attributes)
            m_attributes.push_back({attribute.qualifiedName(), attribute.value()});
        return m_builder.startElement(m_xml.qualifiedName(), m_attributes);
    }

    QXmlStreamReader m_xml;
    StoreContentsBuilder<XmlAttribute> m_builder;
    std::vector<XmlAttribute> m_attributes;
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
    return XmlTokenizer(data).read(error);
}
