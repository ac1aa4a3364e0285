#pragma once

#include "VXUnits.h"

#include <QList>
#include <QString>

class RunSession;

// One row of an export file: a group ("Session", "User", "Limits",
// "SportZone 1", "LimitZone 1", "Lap 1", ...), a fixed English label and the
// formatted value (empty when the key has no value).
struct ExportRow
{
    QString group;
    QString label;
    QString value;

    bool operator==(const ExportRow &) const = default;
};

// Builds the complete row list of one session's export, in file order, from
// the session's keys and the text forms of DataOutput. Which rows appear
// depends on the watch model (hrm) and on what the session holds.
// One VXUnits per builder, made from the locale when the builder is made.
// Reads the settings "SaveDateFormat" and "SaveDataWithTenths"; GUI thread.
class ExportRows
{
public:
    ExportRows(bool withTenths, bool withFixedDateFormat);

    // The rows of session; without one (nothing selected), those of a session
    // whose every key is absent.
    QList<ExportRow> rowsForSession(const RunSession *session) const;

private:
    class Builder;

    bool m_withTenths;
    bool m_withFixedDateFormat;
    VXUnits m_units;
};
