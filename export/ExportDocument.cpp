#include "ExportDocument.h"

namespace {

const QLatin1StringView kPropertyListHead(
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
    "<plist version=\"1.0\">\n"
    "<array>\n");
const QLatin1StringView kPropertyListTail("</array>\n</plist>\n");

bool needsQuotes(const QString &value)
{
    for (const QChar c : value) {
        if (c == u',' || c == u'"' || c == u'\r' || c == u'\n')
            return true;
    }
    return false;
}

// The characters XML 1.0 allows besides the surrogate pairs handled by the caller.
bool isXmlCharacter(char16_t c)
{
    return c == u'\t' || c == u'\n' || c == u'\r' || (c >= 0x20 && c <= 0xD7FF)
           || (c >= 0xE000 && c <= 0xFFFD);
}

void appendString(QString &xml, const QString &value)
{
    xml += QLatin1String("\t\t<string>");
    xml += ExportDocument::xmlText(value);
    xml += QLatin1String("</string>\n");
}

} // namespace

QString ExportDocument::csvField(const QString &value)
{
    if (!needsQuotes(value))
        return value;
    QString quoted = value;
    quoted.replace(u'"', QLatin1String("\"\""));
    return u'"' + quoted + u'"';
}

QByteArray ExportDocument::commaSeparatedText(const QList<ExportRow> &rows)
{
    QString text;
    for (const ExportRow &row : rows)
        text += row.group + u' ' + row.label + u',' + csvField(row.value) + u'\n';
    return text.toUtf8();
}

QString ExportDocument::xmlText(const QString &value)
{
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c.isHighSurrogate() && i + 1 < value.size() && value.at(i + 1).isLowSurrogate()) {
            text += c;
            text += value.at(++i);
        } else if (c == u'&') {
            text += QLatin1String("&amp;");
        } else if (c == u'<') {
            text += QLatin1String("&lt;");
        } else if (c == u'>') {
            text += QLatin1String("&gt;");
        } else if (c == u'\r') {
            // A reader turns a bare CR into LF; the reference keeps it.
            text += QLatin1String("&#13;");
        } else if (isXmlCharacter(c.unicode())) {
            text += c;
        }
    }
    return text;
}

QByteArray ExportDocument::propertyList(const QList<ExportRow> &rows)
{
    QString xml = kPropertyListHead;
    for (const ExportRow &row : rows) {
        xml += QLatin1String("\t<array>\n");
        appendString(xml, row.group);
        appendString(xml, row.label);
        appendString(xml, row.value);
        xml += QLatin1String("\t</array>\n");
    }
    xml += kPropertyListTail;
    return xml.toUtf8();
}
