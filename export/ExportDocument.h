#pragma once

#include "ExportRows.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The two file forms of an export's row list, as UTF-8 without a byte-order mark.
// Pure functions; any thread.
class ExportDocument
{
public:
    // One line per row, "<group> <label>,<value>\n", no header line. A value
    // holding a comma, a double quote, CR or LF is enclosed in double quotes
    // with its double quotes doubled, so every line stays one record.
    static QByteArray commaSeparatedText(const QList<ExportRow> &rows);

    // An XML property list (version 1.0): one array holding one array of three
    // strings (group, label, value) per row, laid out as the common
    // property-list writers do (tab indentation, "<string></string>" when empty).
    static QByteArray propertyList(const QList<ExportRow> &rows);

    // value as one comma-separated field.
    static QString csvField(const QString &value);
    // value as the text of an XML element: &, < and > escaped, and the
    // characters XML 1.0 cannot carry at all left out.
    static QString xmlText(const QString &value);
};
