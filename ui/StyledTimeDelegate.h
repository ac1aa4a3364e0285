#pragma once

#include <QStyledItemDelegate>

// Draws a detail-table value whose last character (the tenths digit of a time)
// is set at StyledTime::kSmallPointSize points; other cells as usual.
// Lives in the GUI thread.
class StyledTimeDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
