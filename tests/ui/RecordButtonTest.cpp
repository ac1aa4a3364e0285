#include "IdleCaptureSource.h"
#include "MainWindowFixture.h"

#include "AppController.h"
#include "RecordingStatus.h"
#include "VXColor.h"

#include <QAction>
#include <QToolBar>

#include <vector>

namespace {

// The painter rounds colours to 8 bits per channel.
bool sameColor(const QColor &pixel, const QColor &expected)
{
    const QColor e = expected.toRgb();
    return pixel.alpha() == 255 && std::abs(pixel.red() - e.red()) <= 1 && std::abs(pixel.green() - e.green()) <= 1
           && std::abs(pixel.blue() - e.blue()) <= 1;
}

class RecordButtonTest : public MainWindowFixture
{
protected:
    RecordButtonTest() : appController(nullptr)
    {
        appController.setRecordingsFolder(folder.filePath(QStringLiteral("Recordings")));
        useInput(0);
        controller.setAppController(&appController);
    }

    void useInput(std::int32_t openStatus)
    {
        appController.setRecorderFactory([openStatus] {
            return std::make_unique<AudioFileRecorder>(std::make_unique<IdleCaptureSource>(openStatus));
        });
    }

    QAction *item() const
    {
        return controller.itemForItemIdentifier(QString(MainWindowController::kStartRecordingIdentifier));
    }

    AppController appController;
};

TEST_F(RecordButtonTest, StartsIdleWithTheToolbarOfOneItem)
{
    EXPECT_EQ(controller.toolbar()->objectName(), QStringLiteral("VentrixMainToolbar"));
    EXPECT_EQ(controller.toolbar()->actions(), QList<QAction *>{item()});
    EXPECT_EQ(item()->objectName(), QStringLiteral("StartRecording"));
    EXPECT_EQ(item()->text(), QStringLiteral("Start Recording"));
    EXPECT_EQ(item()->toolTip(), QStringLiteral("Click here to record the data from your Polar.\nClick again to stop."));
    EXPECT_EQ(controller.recordItemTag(), 0);
    EXPECT_FALSE(controller.isPulsing());
}

TEST_F(RecordButtonTest, ImageIsAGrayFrameAroundTheColourInsetByPadding)
{
    const QImage idle = MainWindowController::toolbarImageWithColor(VXColor::VXGreenColor(), 4.0f);
    ASSERT_EQ(idle.size(), QSize(32, 32));
    EXPECT_EQ(idle.pixelColor(3, 3).alpha(), 0);
    EXPECT_TRUE(sameColor(idle.pixelColor(4, 4), VXColor::VXGrayColor()));
    EXPECT_TRUE(sameColor(idle.pixelColor(6, 6), VXColor::VXGreenColor()));
    const QImage pulsed = MainWindowController::toolbarImageWithColor(VXColor::VXRedColor(), 2.0f);
    EXPECT_TRUE(sameColor(pulsed.pixelColor(2, 2), VXColor::VXGrayColor()));
}

TEST_F(RecordButtonTest, ClicksSwitchBetweenRecordingAndIdle)
{
    item()->trigger();
    EXPECT_EQ(controller.recordItemTag(), 1);
    EXPECT_EQ(item()->text(), QStringLiteral("Stop Recording"));
    EXPECT_TRUE(controller.isPulsing());
    EXPECT_TRUE(appController.isRecording());
    EXPECT_TRUE(controller.recordingStatus()->isRunning());

    item()->trigger();
    EXPECT_EQ(controller.recordItemTag(), 0);
    EXPECT_EQ(item()->text(), QStringLiteral("Start Recording"));
    EXPECT_FALSE(controller.isPulsing());
    EXPECT_FALSE(appController.isRecording());
    EXPECT_FALSE(controller.recordingStatus()->isRunning());
    // Nothing was played into the input: the empty recording shakes the window once.
    EXPECT_EQ(shakes, 1);
    EXPECT_TRUE(statusMessage().startsWith(QStringLiteral("Nothing could be read from Recording-")))
        << statusMessage().toStdString();
}

TEST_F(RecordButtonTest, PulseRunsThroughElevenInsetsAndStartsAgain)
{
    item()->trigger();
    std::vector<float> insets;
    for (int tick = 0; tick < 12; ++tick) {
        controller.pulseButton();
        insets.push_back(controller.padding());
    }
    EXPECT_EQ(insets[0], 2.0f);
    EXPECT_EQ(insets[1], 2.2f);
    for (int tick = 0; tick < 10; ++tick)
        EXPECT_LT(insets[tick], 4.0f) << tick;
    EXPECT_GE(insets[10], 4.0f);
    EXPECT_LT(insets[10], 4.00001f);
    EXPECT_EQ(insets[11], 2.0f);
    item()->trigger();
    EXPECT_EQ(controller.padding(), 4.0f);
}

TEST_F(RecordButtonTest, RecorderThatCannotStartReturnsTheButtonToIdleAtOnce)
{
    useInput(-9986);
    item()->trigger();
    EXPECT_EQ(controller.recordItemTag(), 0);
    EXPECT_EQ(item()->text(), QStringLiteral("Start Recording"));
    EXPECT_FALSE(controller.recordingStatus()->isRunning());
    EXPECT_TRUE(statusMessage().startsWith(QStringLiteral("Could not start recording:"))) << statusMessage().toStdString();
    EXPECT_EQ(shakes, 0);
}

TEST(RecordingStatus, ElapsedTimeComesFromTheFramesCaptured)
{
    EXPECT_EQ(RecordingStatus::elapsedText(44100 * 75 + 44099, 44100.0), QStringLiteral("Recording 0:01:15"));
    EXPECT_EQ(RecordingStatus::elapsedText(1000, 0.0), QStringLiteral("Recording 0:00:00"));
}

} // namespace
