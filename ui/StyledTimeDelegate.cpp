#include "StyledTimeDelegate.h"

#include "DataTableModel.h"
#include "StyledTime.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>

void StyledTimeDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    if (!index.data(DataTableModel::SmallLastCharacterRole).toBool()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QString text = cell.text;
    cell.text.clear();
    const QWidget *widget = cell.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

    const QRectF area = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, widget)
                            .adjusted(2, 0, -2, 0);
    QFont small = cell.font;
    small.setPointSize(StyledTime::kSmallPointSize);
    const QString head = text.chopped(1);
    const QFontMetricsF headMetrics(cell.font);

    painter->save();
    painter->setPen(cell.palette.color(cell.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                          : QPalette::Text));
    painter->setFont(cell.font);
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, head);
    painter->setFont(small);
    const qreal tailX = area.left() + headMetrics.horizontalAdvance(head);
    // Both runs share the baseline of the table's font.
    const qreal baseline = area.center().y() + (headMetrics.ascent() - headMetrics.descent()) / 2;
    painter->drawText(QPointF(tailX, baseline), text.right(1));
    painter->restore();
}
