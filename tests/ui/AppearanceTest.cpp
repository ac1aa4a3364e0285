#include "ColorPanelDelegate.h"
#include "DecodeReport.h"
#include "ImageAndTextCell.h"
#include "VXColor.h"
#include "VXViewController.h"
#include "VXWindow.h"

#include <QLabel>
#include <QStandardItemModel>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(VXColor, NamedColoursAreOpaqueAndExact)
{
    EXPECT_EQ(VXColor::VXGreenColor(), QColor(64, 175, 0));
    EXPECT_EQ(VXColor::VXGrayColor(), QColor(101, 84, 84));
    const QColor red = VXColor::VXRedColor();
    EXPECT_EQ(red, red.toHsv()); // made in hue, saturation and value
    EXPECT_FLOAT_EQ(red.hsvHueF(), 0.0f);
    EXPECT_FLOAT_EQ(red.hsvSaturationF(), 1.0f);
    EXPECT_NEAR(red.valueF(), 0.92f, 1e-4);
    EXPECT_EQ(red.alpha(), 255);
}

TEST(VXWindow, ShakeMovesRightLeftTwiceAndLeavesTheWindowWhereItWas)
{
    QWidget window;
    window.move(300, 200);
    std::vector<int> xs;
    int pausedMs = 0;
    VXWindow::VX_shake(window, [&](std::chrono::milliseconds pause) {
        xs.push_back(window.pos().x());
        pausedMs += int(pause.count());
        EXPECT_EQ(window.pos().y(), 200);
    });
    EXPECT_EQ(xs, (std::vector<int>{320, 300, 320, 300}));
    EXPECT_EQ(pausedMs, 200);
    EXPECT_EQ(window.pos(), QPoint(300, 200));
}

class ImageAndTextCellTest : public ::testing::Test
{
protected:
    ImageAndTextCellTest() { image.fill(Qt::red); }

    QPixmap image{16, 16};
    ImageAndTextCell cell;
};

TEST_F(ImageAndTextCellTest, WithoutImageTheRectanglesAreEmptyAndTheStripIsThree)
{
    const QRectF bounds(10, 20, 100, 30);
    EXPECT_EQ(cell.imageRectForBounds(bounds), QRectF());
    EXPECT_EQ(cell.titleRectForBounds(bounds), QRectF());
    EXPECT_EQ(cell.editFrameForBounds(bounds), QRectF(13, 20, 97, 30));
}

TEST_F(ImageAndTextCellTest, ImageSitsThreeFromTheLeftCentredRoundingUp)
{
    cell.setImage(image);
    EXPECT_EQ(cell.imageRectForBounds(QRectF(10, 20, 100, 30)), QRectF(13, 27, 16, 16));
    EXPECT_EQ(cell.imageRectForBounds(QRectF(10, 20, 100, 25)), QRectF(13, 25, 16, 16));
    EXPECT_EQ(cell.titleRectForBounds(QRectF(10, 20, 100, 30)), QRectF(29, 20, 81, 30));
    EXPECT_EQ(cell.editFrameForBounds(QRectF(10, 20, 100, 30)), QRectF(29, 20, 81, 30));
}

TEST_F(ImageAndTextCellTest, SizeGrowsByTheStrip)
{
    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), QStringLiteral("TEMPO"));
    QStyleOptionViewItem option;
    const QSize plain = cell.sizeHint(option, model.index(0, 0));
    cell.setImage(image);
    EXPECT_EQ(cell.sizeHint(option, model.index(0, 0)).width(), plain.width() - 3 + 19);
}

TEST(DecodeReport, NamesWhatWasStoredAndWhatCouldNotBeRead)
{
    DecodeReport one;
    one.addFile(QStringLiteral("/r/Recording-1.wav"), true, 2);
    EXPECT_EQ(one.message(), QStringLiteral("Stored 2 session(s) from Recording-1.wav."));

    DecodeReport nothingNew;
    nothingNew.addFile(QStringLiteral("/r/f6.wav"), true, 0);
    EXPECT_EQ(nothingNew.message(), QStringLiteral("No new sessions."));

    DecodeReport failed;
    failed.addFile(QStringLiteral("/r/x.wav"), false, 0, QStringLiteral("no data chunk"));
    EXPECT_EQ(failed.message(), QStringLiteral("Nothing could be read from x.wav: no data chunk"));
    EXPECT_TRUE(DecodeReport().message().isEmpty());

    DecodeReport rescued;
    rescued.addFile(QStringLiteral("/r/noisy.wav"), true, 1, {}, true);
    EXPECT_EQ(rescued.message(), QStringLiteral("Stored 1 session(s) from noisy.wav. "
                                                "The transfer could only be read after noise correction."));
}

TEST(VXViewController, LoadsItsViewOnceOnFirstUse)
{
    int loads = 0;
    VXViewController controller(QStringLiteral("Summary"), [&loads](VXViewController &owner) {
        ++loads;
        return new QLabel(owner.nibName());
    });
    EXPECT_FALSE(controller.isViewLoaded());
    EXPECT_TRUE(controller.title().isEmpty());
    QWidget *view = controller.view();
    EXPECT_EQ(controller.view(), view);
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(static_cast<QLabel *>(view)->text(), QStringLiteral("Summary"));
}

TEST(ColorPanelDelegate, ClosesTheColourPanelWithItsWindow)
{
    QWidget window;
    QColorDialog panel;
    ColorPanelDelegate delegate;
    delegate.setColorPanel(&panel);
    delegate.watch(&window);
    window.show();
    panel.show();
    window.close();
    EXPECT_FALSE(panel.isVisible());
}

} // namespace
