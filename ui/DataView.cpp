#include "DataView.h"

#include "DataTableModel.h"
#include "ObjectContext.h"
#include "RunSession.h"
#include "SessionListController.h"
#include "SessionSplitLayout.h"
#include "SportZoneView.h"
#include "StyledTimeDelegate.h"
#include "VXDefaults.h"
#include "VXDurationText.h"
#include "VXSegmentedControl.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QResizeEvent>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

namespace {

// From this many whole hours on, a duration without its hour would mislead.
constexpr quint64 kHoursShownAsDash = 2;
constexpr int kCurrentPrefsVersion = 1;
constexpr int kSecondPane = 1;
// Space above and below a row's text.
constexpr int kRowPadding = 1;

int roundedPoints(double value)
{
    return static_cast<int>(std::lround(value));
}

} // namespace

DataView::DataView(SessionListController &sessions, ObjectContext &context, QWidget *parent)
    : QWidget(parent),
      m_sessions(sessions),
      m_dataTable(new QTableView(this)),
      m_model(new DataTableModel(this)),
      m_bpmOrPercentControl(new VXSegmentedControl({tr("&bpm"), tr("&%")}, this)),
      m_speedOrPaceControl(new VXSegmentedControl({tr("&Speed"), tr("&Pace")}, this))
{
    QSettings settings = VXDefaults::settings();
    migratePrefsVersion(settings);

    m_dataTable->setModel(m_model);
    m_dataTable->setItemDelegateForColumn(DataTableModel::ValueColumn, new StyledTimeDelegate(m_dataTable));
    m_dataTable->horizontalHeader()->hide();
    m_dataTable->verticalHeader()->hide();
    // Every row is shown in full: the columns fit their texts, and a pane too
    // narrow for them scrolls sideways instead of cutting the times off.
    m_dataTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_dataTable->setAccessibleName(tr("Session details"));
    m_dataTable->setShowGrid(false);
    m_dataTable->setSelectionMode(QAbstractItemView::NoSelection);
    m_dataTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Reachable with Tab, so that a long table scrolls from the keyboard.
    m_dataTable->setFocusPolicy(Qt::TabFocus);
    applyFont();

    m_bpmOrPercentControl->setToolTip(0, tr("Heart rate in beats per minute"));
    m_bpmOrPercentControl->setToolTip(1, tr("Heart rate in percent of the maximum heart rate"));
    m_speedOrPaceControl->setToolTip(0, tr("Speed"));
    m_speedOrPaceControl->setToolTip(1, tr("Pace"));
    m_bpmOrPercentControl->setAccessibleName(tr("Heart rate unit"));
    m_speedOrPaceControl->setAccessibleName(tr("Speed or pace"));

    auto *switches = new QHBoxLayout;
    switches->addWidget(m_bpmOrPercentControl);
    switches->addStretch();
    switches->addWidget(m_speedOrPaceControl);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_dataTable);
    layout->addLayout(switches);

    restoreSwitches();
    connect(m_bpmOrPercentControl, &VXSegmentedControl::segmentClicked, this, &DataView::buttonUpdate);
    connect(m_speedOrPaceControl, &VXSegmentedControl::segmentClicked, this, &DataView::buttonUpdate);
    connect(&sessions, &SessionListController::selectionChanged, this, [this] {
        reloadDataViewTable();
        // Another session starts at its first row.
        m_dataTable->scrollToTop();
    });
    // An edit or its undo changes a selected session without a selection change.
    connect(&context, &ObjectContext::sessionChanged, this,
            [this](const RunSession *session, const QString &) { sessionChanged(session); });
    populateDataRowArray();
}

DataView::~DataView() = default;

StyledTime DataView::timeStringFromSeconds(std::optional<qint64> tenths, bool displayTenths)
{
    if (displayTenths)
        return {VXDurationText::withTenths(tenths), true};
    return {VXDurationText::truncatedToSeconds(tenths), false};
}

QString DataView::displayTimeNoHours(std::optional<qint64> tenths)
{
    if (tenths.value_or(0) >= qint64(kHoursShownAsDash * VXDurationText::kTenthsPerHour))
        return QStringLiteral("-");
    return VXDurationText::minutesAndSecondsTruncated(tenths);
}

void DataView::migratePrefsVersion(QSettings &settings)
{
    if (VXDefaults::value(settings, kPrefsVersionKey).toInt() >= kCurrentPrefsVersion)
        return;
    settings.setValue(kPrefsVersionKey, kCurrentPrefsVersion);
    settings.remove(kSessionTableColumnsKey);
    settings.remove(kSessionTableSortKey);
}

void DataView::setSportZoneView(SportZoneView *view)
{
    m_sportZoneView = view;
    if (view)
        view->reload();
}

const QList<DataRow> &DataView::dataRowArray() const
{
    return m_model->rows();
}

DataSwitches DataView::switches() const
{
    return {m_bpmOrPercentControl->selectedSegment(), m_speedOrPaceControl->selectedSegment()};
}

void DataView::setFontSize(int size)
{
    m_fontSize = size;
    applyFont();
}

void DataView::setIsBold(bool bold)
{
    m_isBold = bold;
    applyFont();
}

void DataView::applyFont()
{
    QFont font = m_dataTable->font();
    font.setPointSize(m_fontSize);
    font.setBold(m_isBold);
    m_dataTable->setFont(font);
    // The hidden header's own minimum (its margins) would make rows taller than their text.
    const int rowHeight = QFontMetrics(font).height() + kRowPadding;
    m_dataTable->verticalHeader()->setMinimumSectionSize(rowHeight);
    m_dataTable->verticalHeader()->setDefaultSectionSize(rowHeight);
}

void DataView::reloadDataViewTable()
{
    populateDataRowArray();
    if (m_sportZoneView)
        m_sportZoneView->reload();
}

void DataView::buttonUpdate()
{
    QSettings settings = VXDefaults::settings();
    settings.setValue(kBPMOrPercentKey, m_bpmOrPercentControl->selectedSegment());
    settings.setValue(kSpeedOrPaceKey, m_speedOrPaceControl->selectedSegment());
    populateDataRowArray();
}

void DataView::populateDataRowArray()
{
    const DataRowBuilder builder(m_units, switches());
    m_model->setRows(builder.populateDataRowArray(m_sessions.selectedSessions()));
}

void DataView::restoreSwitches()
{
    m_bpmOrPercentControl->setSelectedSegment(VXDefaults::value(kBPMOrPercentKey).toInt());
    m_speedOrPaceControl->setSelectedSegment(VXDefaults::value(kSpeedOrPaceKey).toInt());
}

void DataView::sessionChanged(const RunSession *session)
{
    if (m_sessions.selectedSessions().contains(session))
        reloadDataViewTable();
}

void DataView::setSessionSplitView(QSplitter *splitter)
{
    if (m_sessionSplitView) {
        m_sessionSplitView->removeEventFilter(this);
        disconnect(m_sessionSplitView, nullptr, this, nullptr);
    }
    m_sessionSplitView = splitter;
    if (!splitter)
        return;
    SessionSplitLayout::restoreFrames(*splitter);
    splitter->installEventFilter(this);
    connect(splitter, &QSplitter::splitterMoved, this, [this](int position, int index) {
        if (index == kSecondPane)
            constrainDivider(position);
    });
}

bool DataView::eventFilter(QObject *watched, QEvent *event)
{
    // The splitter has already taken its new size but not yet laid out its
    // panes, so the panes still hold the old frames the rule starts from. The
    // first resize (no old size) is the initial layout, left to the splitter.
    if (watched == m_sessionSplitView && event->type() == QEvent::Resize) {
        const auto *resize = static_cast<QResizeEvent *>(event);
        if (resize->oldSize().isValid() && m_sessionSplitView->count() == 2)
            resizeSplitView(resize->size().height());
    }
    return QWidget::eventFilter(watched, event);
}

void DataView::resizeSplitView(int newHeight)
{
    const PaneFrames resized = SessionSplitLayout::resizeSubviews(SessionSplitLayout::paneFrames(*m_sessionSplitView),
                                                                  newHeight, m_sessionSplitView->handleWidth());
    m_sessionSplitView->setSizes({roundedPoints(resized.first.height()), roundedPoints(resized.second.height())});
}

void DataView::constrainDivider(int position)
{
    const int height = m_sessionSplitView->height();
    const int allowed = roundedPoints(SessionSplitLayout::constrainedDividerPosition(position, height));
    if (allowed == position)
        return;
    m_sessionSplitView->setSizes({allowed, std::max(height - allowed - m_sessionSplitView->handleWidth(), 0)});
}
