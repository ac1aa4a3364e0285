#pragma once

#include "DataRowBuilder.h"
#include "StyledTime.h"
#include "VXUnits.h"

#include <QPointer>
#include <QWidget>
#include <QtGlobal>

#include <optional>

class DataTableModel;
class ObjectContext;
class QSettings;
class QSplitter;
class QTableView;
class RunSession;
class SessionListController;
class SportZoneView;
class VXSegmentedControl;

// The session detail table: a two-column table describing the selected
// sessions, with the switches for heart rates (bpm or percent) and speeds
// (speed or pace), which persist in the settings "BPMOrPercent" and
// "SpeedOrPace". It asks the sport-zone chart to redraw on every refresh and
// governs the main window's session split view. Keeps no session data: every
// refresh reads the selection again. Lives in the GUI thread, except the
// class-level duration texts, which any thread may call.
class DataView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kDefaultFontSize = 11;
    static inline const QString kBPMOrPercentKey = QStringLiteral("BPMOrPercent");
    static inline const QString kSpeedOrPaceKey = QStringLiteral("SpeedOrPace");
    static inline const QString kPrefsVersionKey = QStringLiteral("VXPrefsVersion");
    static inline const QString kSessionTableColumnsKey =
        QStringLiteral("NSTableView Columns sessionTableAutosaveName");
    static inline const QString kSessionTableSortKey =
        QStringLiteral("NSTableView Sort Ordering sessionTableAutosaveName");

    // Brings the window settings to version 1 (once per user, by "VXPrefsVersion")
    // and restores the switches; refreshes when the selection or a selected
    // session changes. Construct it before the session table restores its columns.
    DataView(SessionListController &sessions, ObjectContext &context, QWidget *parent = nullptr);
    ~DataView() override;

    // "h:mm:ss" with seconds truncated, never rounded; with tenths the locale's
    // decimal separator and the tenths digit follow, styled small.
    static StyledTime timeStringFromSeconds(std::optional<qint64> tenths, bool displayTenths);
    // "mm:ss" within the hour, or "-" from two hours up.
    static QString displayTimeNoHours(std::optional<qint64> tenths);

    // Below version 1: sets "VXPrefsVersion" to 1 and forgets the session
    // table's saved columns and sort order.
    static void migratePrefsVersion(QSettings &settings);

    // The chart redrawn on every refresh (not owned; may be null).
    void setSportZoneView(SportZoneView *view);
    // Governs the split view (not owned; two panes stacked vertically): restores
    // the saved pane frames, keeps the lower pane's height on resizes and holds
    // the divider between its limits.
    void setSessionSplitView(QSplitter *splitter);

    QTableView *dataTable() const { return m_dataTable; }
    VXSegmentedControl *bpmOrPercentControl() const { return m_bpmOrPercentControl; }
    VXSegmentedControl *speedOrPaceControl() const { return m_speedOrPaceControl; }
    const QList<DataRow> &dataRowArray() const;
    DataSwitches switches() const;

    int fontSize() const { return m_fontSize; }
    void setFontSize(int size);
    bool isBold() const { return m_isBold; }
    void setIsBold(bool bold);

public slots:
    // Rebuilds the rows and asks the chart to redraw: on a selection change and
    // on "VXDataWindowValueHasChanged".
    void reloadDataViewTable();
    // Saves both switches and rebuilds the rows: the switches' click action.
    void buttonUpdate();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void populateDataRowArray();
    void restoreSwitches();
    void applyFont();
    void sessionChanged(const RunSession *session);
    void resizeSplitView(int newHeight);
    void constrainDivider(int position);

    SessionListController &m_sessions;
    QTableView *m_dataTable;
    DataTableModel *m_model;
    VXSegmentedControl *m_bpmOrPercentControl;
    VXSegmentedControl *m_speedOrPaceControl;
    QPointer<SportZoneView> m_sportZoneView;
    QPointer<QSplitter> m_sessionSplitView;
    int m_fontSize = kDefaultFontSize;
    bool m_isBold = true;
    VXUnits m_units;
};
