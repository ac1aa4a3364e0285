// The whole application records the example transfer played into the private
// PulseAudio daemon's sink (with-pulseaudio.sh, at 44,100 and 48,000 Hz), stops
// by itself, decodes and stores: the window, the controller, the recorder, the
// decoder and the importer together.
#include "AppController.h"
#include "AudioFileRecorder.h"
#include "Decoder.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "ObjectContext.h"
#include "ScriptedPrompts.h"
#include "SessionListController.h"
#include "VentrixApplication.h"

#include <QAction>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>

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
    // The list shows, selected, what decoding the example file directly gives (the import date differs), saved.
    const DecodeResult direct = Decoder().decodeFile(QStringLiteral(VENTRIX_EXAMPLES_DIR "/rs200-run.wav"));
    ASSERT_EQ(direct.sessions.size(), 1u);
    const RunSession &expected = direct.sessions.front();
    ASSERT_EQ(app.sessions().selectedSessions().size(), 1);
    const RunSession &stored = *app.sessions().selectedSessions().front();
    EXPECT_EQ(std::tie(stored.hrm, stored.sessionDate, stored.sessionTotalTime, stored.sessionAverageHR, stored.sessionLaps),
              std::tie(expected.hrm, expected.sessionDate, expected.sessionTotalTime, expected.sessionAverageHR,
                       expected.sessionLaps));
    EXPECT_EQ(app.context().sessionCount(), 1);
    EXPECT_FALSE(app.context().hasChanges());
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(u'\n').toStdString();
}
