#pragma once

#include <QPixmap>
#include <QRectF>
#include <QStyledItemDelegate>

#include <functional>

// A text cell with an optional image on its left, as the delegate of a
// table's columns. The image sits 3 points from the left edge, centred
// vertically; the text takes the rest, after a gap of 3 points.
// The geometry functions are pure so that painting, editing and tests share them.
// GUI thread.
class ImageAndTextCell : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // Space left of the image, and between the image and the text.
    static constexpr qreal kImageMargin = 3.0;

    // Adjusts a row's look just before it is drawn (the main window paints
    // selected rows' text white through it).
    using WillDisplayCell = std::function<void(QStyleOptionViewItem &option, const QModelIndex &index)>;

    explicit ImageAndTextCell(QObject *parent = nullptr);

    const QPixmap &image() const { return m_image; }
    void setImage(const QPixmap &image) { m_image = image; }
    void setWillDisplayCell(WillDisplayCell hook) { m_willDisplayCell = std::move(hook); }

    // The width cut off the left of a cell: the image's width + 3 (3 without image).
    qreal imageStripWidth() const;
    // Without an image both are the empty rectangle at the origin.
    QRectF imageRectForBounds(const QRectF &bounds) const;
    QRectF titleRectForBounds(const QRectF &bounds) const;
    // The frame left for the text editor: the strip is cut off the left.
    QRectF editFrameForBounds(const QRectF &frame) const;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    QPixmap m_image;
    WillDisplayCell m_willDisplayCell;
};
