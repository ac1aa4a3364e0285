#pragma once

#include <QString>

class QHeaderView;
class SessionListController;

// Keeps the session table's column layout (widths, order) and sort order in
// the settings under its autosave name, as a table's autosave would, and
// brings them back at start. GUI thread.
class SessionTableAutosave
{
public:
    static constexpr QLatin1StringView kAutosaveName{"sessionTableAutosaveName"};

    // "NSTableView Columns <name>" and "NSTableView Sort Ordering <name>".
    static QString columnsKey();
    static QString sortOrderingKey();

    // Restores what is stored, then stores every later change of header or
    // sort order (columns half a second after they settle: call saveColumns()
    // when the window closes).
    static void attach(QHeaderView &header, SessionListController &sessions);

    static void saveColumns(const QHeaderView &header);
    static bool restoreColumns(QHeaderView &header);
    static void saveSortOrdering(const SessionListController &sessions);
    static void restoreSortOrdering(SessionListController &sessions);
};
