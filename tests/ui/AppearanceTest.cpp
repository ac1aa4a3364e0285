#include "DecodeReport.h"
#include "ImageAndTextCell.h"
#include "VXWindow.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

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

TEST(ImageAndTextCell, ImageSitsThreeFromTheLeftCentredRoundingUp)
{
    ImageAndTextCell cell;
    const QRectF bounds(10, 20, 100, 30);
    EXPECT_EQ(cell.imageRectForBounds(bounds), QRectF());
    EXPECT_EQ(cell.editFrameForBounds(bounds), QRectF(13, 20, 97, 30));
    QPixmap image(16, 16);
    image.fill(Qt::red);
    cell.setImage(image);
    EXPECT_EQ(cell.imageRectForBounds(bounds), QRectF(13, 27, 16, 16));
    EXPECT_EQ(cell.imageRectForBounds(QRectF(10, 20, 100, 25)), QRectF(13, 25, 16, 16));
    EXPECT_EQ(cell.titleRectForBounds(bounds), QRectF(29, 20, 81, 30));
}

TEST(DecodeReport, NamesWhatWasStoredAndWhatCouldNotBeRead)
{
    DecodeReport one;
    one.addFile(QStringLiteral("/r/Recording-1.wav"), true, 2);
    EXPECT_EQ(one.message(), QStringLiteral("Stored 2 sessions from Recording-1.wav."));
    DecodeReport nothingNew;
    nothingNew.addFile(QStringLiteral("/r/f6.wav"), true, 0);
    EXPECT_EQ(nothingNew.message(), QStringLiteral("No new sessions."));
    DecodeReport rescued;
    rescued.addFile(QStringLiteral("/r/noisy.wav"), true, 1, {}, true);
    EXPECT_EQ(rescued.message(), QStringLiteral("Stored 1 session from noisy.wav. "
                                                "The transfer could only be read after noise correction."));
    DecodeReport again;
    again.addFile(QStringLiteral("/r/f6.wav"), true, 1, {}, false, 2, QStringLiteral("cannot save sessions to /x: full"));
    EXPECT_EQ(again.message(), QStringLiteral("Stored 1 session from f6.wav. 2 sessions already stored. "
                                              "cannot save sessions to /x: full."));
}

} // namespace
