#include "SessionTableModel.h"

#include "ObjectContext.h"
#include "RunSession.h"
#include "SessionListController.h"
#include "VXDurationText.h"
#include "VXNumberText.h"

#include <QApplication>
#include <QLocale>
#include <QStyle>

namespace {

const char *const kSortKeys[SessionTableModel::ColumnCount] = {
    "sessionDate", "sessionName", "hrm", "sessionTotalTime", "sessionTotalDistance", "sessionAverageHR",
    "sessionCalories"};

constexpr double kThousandths = 1000.0;

QString numberText(const std::optional<int> &value)
{
    return value ? QLocale().toString(*value) : QString();
}

} // namespace

SessionTableModel::SessionTableModel(ObjectContext &context, SessionListController &sessions, QObject *parent)
    : QAbstractTableModel(parent), m_sessions(sessions)
{
    // The controller rearranges on its own; every change of order or
    // membership is a new arrangement, so the rows are simply read again.
    connect(&m_sessions, &SessionListController::arrangementChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(&context, &ObjectContext::sessionChanged, this,
            [this](const RunSession *session, const QString &) { sessionChanged(session); });
}

QString SessionTableModel::sortKey(int column)
{
    if (column < 0 || column >= ColumnCount)
        return {};
    return QString::fromLatin1(kSortKeys[column]);
}

int SessionTableModel::columnOfSortKey(const QString &key)
{
    for (int column = 0; column < ColumnCount; ++column) {
        if (key == QLatin1String(kSortKeys[column]))
            return column;
    }
    return -1;
}

QString SessionTableModel::noisyTransferNote()
{
    return tr("Noisy transfer: check the values");
}

const RunSession *SessionTableModel::sessionAt(int row) const
{
    const QList<const RunSession *> &arranged = m_sessions.arrangedSessions();
    return row >= 0 && row < arranged.size() ? arranged[row] : nullptr;
}

int SessionTableModel::rowOf(const RunSession *session) const
{
    return int(m_sessions.arrangedSessions().indexOf(session));
}

int SessionTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_sessions.arrangedSessions().size());
}

int SessionTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SessionTableModel::data(const QModelIndex &index, int role) const
{
    const RunSession *session = sessionAt(index.row());
    if (!session || index.column() < 0 || index.column() >= ColumnCount)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return displayText(*session, index.column());
    case Qt::ToolTipRole: {
        const QString text = displayText(*session, index.column());
        if (!session->isFromNoisyTransfer())
            return text;
        return text.isEmpty() ? noisyTransferNote() : text + u'\n' + noisyTransferNote();
    }
    case Qt::DecorationRole:
        if (session->isFromNoisyTransfer() && index.column() == DateColumn)
            return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        return {};
    case Qt::ForegroundRole:
        // Visible rows keep the palette's text colour, so dark themes work.
        return session->isHidden() ? QVariant(session->hiddenColor()) : QVariant();
    case Qt::TextAlignmentRole:
        if (index.column() >= TotalTimeColumn)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QString SessionTableModel::displayText(const RunSession &session, int column) const
{
    switch (column) {
    case DateColumn:
        return session.sessionDate ? QLocale().toString(*session.sessionDate, QLocale::ShortFormat) : QString();
    case NameColumn:
        return session.sessionName.value_or(QString());
    case ModelColumn:
        return session.hrm.value_or(QString());
    case TotalTimeColumn:
        return session.sessionTotalTime ? VXDurationText::truncatedToSeconds(session.sessionTotalTime) : QString();
    case DistanceColumn: {
        const std::optional<int> distance = session.sessionTotalDistance();
        if (!distance)
            return {};
        return VXNumberText::fillFormat(m_units.distanceString(), double(*distance) / kThousandths,
                                        VXNumberText::Separator::Locale);
    }
    case AverageHRColumn:
        return numberText(session.sessionAverageHR);
    case CaloriesColumn:
        return numberText(session.sessionCalories);
    default:
        return {};
    }
}

QVariant SessionTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
        return QVariant((section >= TotalTimeColumn ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case DateColumn:
        return tr("Date");
    case NameColumn:
        return tr("Name");
    case ModelColumn:
        return tr("Model");
    case TotalTimeColumn:
        return tr("Total time");
    case DistanceColumn:
        return tr("Distance");
    case AverageHRColumn:
        return tr("Average HR");
    case CaloriesColumn:
        return tr("Calories");
    default:
        return {};
    }
}

void SessionTableModel::sort(int column, Qt::SortOrder order)
{
    const QString key = sortKey(column);
    if (!key.isEmpty())
        m_sessions.setSortOrders({SortOrder{key, order == Qt::AscendingOrder}});
}

void SessionTableModel::sessionChanged(const RunSession *session)
{
    const int row = rowOf(session);
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}
