// The whole application records the example transfer played into the private
// PulseAudio daemon's sink (with-pulseaudio.sh) and stops by itself.
#include "AppController.h"
#include "AudioFileRecorder.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "ObjectContext.h"
#include "ScriptedPrompts.h"
#include "VentrixApplication.h"

#include <QAction>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

TEST(WindowRecording, StopsByItselfAfterThePlayedTransferAndStoresIt)
{
    if (qEnvironmentVariableIsEmpty("VENTRIX_PULSE_SINK"))
        GTEST_SKIP() << "needs the private PulseAudio daemon of with-pulseaudio.sh";
    ScriptedPrompts prompts;
    VentrixApplication app(&prompts);
    app.show();
    AppController &recording = app.appController();
    app.mainWindowController().itemForItemIdentifier(QString(MainWindowController::kStartRecordingIdentifier))->trigger();
    ASSERT_TRUE(recording.isRecording());
    // The device starts delivering some time after the start.
    ASSERT_TRUE(QTest::qWaitFor([&] { return recording.recorder()->framesCaptured() > 22050; }, 10000));

    ASSERT_EQ(QProcess::execute(QStringLiteral("paplay"), {QStringLiteral("--device=") + qEnvironmentVariable("VENTRIX_PULSE_SINK"),
                                                           QStringLiteral(VENTRIX_EXAMPLES_DIR "/rs200-run.wav")}),
              0);
    QElapsedTimer sincePlayback;
    sincePlayback.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !recording.isRecording(); }, 10000));
    // The transfer ends 0.1 s before the file; the sound reaches the recorder a little after paplay is done.
    EXPECT_GE(sincePlayback.elapsed(), 1500);
    EXPECT_LE(sincePlayback.elapsed(), 3500);
    EXPECT_EQ(app.context().sessionCount(), 1);
    EXPECT_FALSE(app.context().hasChanges()); // saved after the import
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(u'\n').toStdString();
}
