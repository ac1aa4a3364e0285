#include "ImageAndTextCell.h"

#include <QPainter>

#include <cmath>

ImageAndTextCell::ImageAndTextCell(QObject *parent) : QStyledItemDelegate(parent)
{
}

qreal ImageAndTextCell::imageStripWidth() const
{
    if (m_image.isNull())
        return kImageMargin;
    return m_image.deviceIndependentSize().width() + kImageMargin;
}

QRectF ImageAndTextCell::imageRectForBounds(const QRectF &bounds) const
{
    if (m_image.isNull())
        return QRectF();
    const QSizeF size = m_image.deviceIndependentSize();
    return QRectF(bounds.x() + kImageMargin, bounds.y() + std::ceil((bounds.height() - size.height()) / 2.0),
                  size.width(), size.height());
}

QRectF ImageAndTextCell::titleRectForBounds(const QRectF &bounds) const
{
    if (m_image.isNull())
        return QRectF();
    const qreal strip = imageStripWidth();
    return QRectF(bounds.x() + strip, bounds.y(), bounds.width() - strip, bounds.height());
}

QRectF ImageAndTextCell::editFrameForBounds(const QRectF &frame) const
{
    return frame.adjusted(imageStripWidth(), 0, 0, 0);
}

void ImageAndTextCell::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (m_willDisplayCell)
        m_willDisplayCell(*option, index);
}

void ImageAndTextCell::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (m_image.isNull()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QRectF frame = option.rect;
    const QRectF strip(frame.x(), frame.y(), imageStripWidth(), frame.height());
    if (option.backgroundBrush.style() != Qt::NoBrush)
        painter->fillRect(strip, option.backgroundBrush);
    // Top-left origin: the image's top is the same ceil((H - h) / 2) below
    // the frame's top as its bottom is above the frame's bottom.
    painter->drawPixmap(imageRectForBounds(frame), m_image, QRectF(QPointF(0, 0), m_image.size()));

    QStyleOptionViewItem textOption(option);
    textOption.rect = titleRectForBounds(frame).toAlignedRect();
    QStyledItemDelegate::paint(painter, textOption, index);
}

QSize ImageAndTextCell::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QSize text = QStyledItemDelegate::sizeHint(option, index);
    return QSize(text.width() + int(std::ceil(imageStripWidth())), text.height());
}

void ImageAndTextCell::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                            const QModelIndex &index) const
{
    QStyleOptionViewItem cut(option);
    cut.rect = editFrameForBounds(option.rect).toAlignedRect();
    QStyledItemDelegate::updateEditorGeometry(editor, cut, index);
}
