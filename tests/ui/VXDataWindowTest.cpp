#include "VXDataWindow.h"

#include <QImage>
#include <QPainterPath>

#include <gtest/gtest.h>

namespace {

bool hasLineTo(const QPainterPath &path, const QPointF &point)
{
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isLineTo() && QPointF(e) == point)
            return true;
    }
    return false;
}

} // namespace

TEST(VXDataWindow, OutlineIsABubbleWithItsTipAtTheBottomCentre)
{
    // 200 x 100: in Qt's coordinates the body spans y = 0 to 88, the tip is at (100, 100).
    const QPainterPath path = VXDataWindow::windowPath(QSizeF(200, 100));
    EXPECT_EQ(path.boundingRect(), QRectF(0, 0, 200, 100));
    EXPECT_TRUE(hasLineTo(path, {112, 88}));
    EXPECT_TRUE(hasLineTo(path, {100, 100}));
    EXPECT_TRUE(hasLineTo(path, {88, 88}));
    EXPECT_TRUE(path.contains(QPointF(100, 97)));
    EXPECT_FALSE(path.contains(QPointF(80, 95)));
    // Rounded corners: the very corner stays outside, a point near the corner's centre inside.
    EXPECT_FALSE(path.contains(QPointF(0.5, 0.5)));
    EXPECT_TRUE(path.contains(QPointF(8, 8)));
}

TEST(VXDataWindow, BackgroundFillsOnlyTheOutline)
{
    const QImage image = VXDataWindow::windowBackground(QSize(200, 100));
    const QColor inside = image.pixelColor(100, 50);
    EXPECT_NEAR(inside.alphaF(), 0.9, 0.01);
    EXPECT_NEAR(inside.redF(), 0.9, 0.01);
    EXPECT_EQ(image.pixelColor(10, 95).alpha(), 0);
}
