// ventrix-decode --record through a fake input: what it records is decoded
// into the JSON report and the store, Ctrl-C ends it early, and an input that
// cannot start is an error that writes nothing.
#include "AppController.h"
#include "DecodeCommand.h"
#include "FakeCaptureSource.h"
#include "StoreFile.h"
#include "TransferSynth.h"

#include "DecoderTestData.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace {

struct CommandRun
{
    int status;
    QString out;
    QString err;
};

// A microphone at 44,100 Hz hearing the RS200 transfer, then half a second of silence.
std::vector<float> heardTransfer()
{
    const std::vector<std::int16_t> sound = synth::modulate(synth::frameTransfer(testdata::rs200Transfer()));
    std::vector<float> samples(sound.size() + std::size_t(synth::kSampleRate / 2), 0.0f);
    for (std::size_t i = 0; i < sound.size(); ++i)
        samples[i] = float(sound[i]) / 32768.0f;
    return samples;
}

class RecordCommand : public testing::Test
{
protected:
    void SetUp() override
    {
        m_recordings = AppController::defaultRecordingsFolder();
        QDir(m_recordings).removeRecursively();
    }
    void TearDown() override { QDir(m_recordings).removeRecursively(); }

    CommandRun run(const QStringList &arguments, FakeCaptureSource::Options input, std::vector<float> samples)
    {
        CommandRun result;
        QTextStream out(&result.out);
        QTextStream err(&result.err);
        DecodeCommand command(out, err);
        command.setRecorderFactory([input, samples] {
            return std::make_unique<AudioFileRecorder>(std::make_unique<FakeCaptureSource>(input, samples));
        });
        testing::internal::CaptureStderr(); // the recorder's own messages
        result.status = command.run(QStringList{QStringLiteral("ventrix-decode")} + arguments);
        testing::internal::GetCapturedStderr();
        return result;
    }

    QString onlyRecording() const
    {
        const QFileInfoList files = QDir(m_recordings).entryInfoList(QDir::Files);
        return files.size() == 1 ? files.first().absoluteFilePath() : QString();
    }

    QString m_recordings;
    QTemporaryDir m_folder;
};

TEST_F(RecordCommand, DecodesWhatItRecordedIntoTheReportAndTheStore)
{
    const std::vector<float> samples = heardTransfer();
    // The time counts audio, so it ends just after the transfer however fast the fake delivers.
    const double seconds = double(samples.size()) / synth::kSampleRate - 0.25;
    const QString store = m_folder.filePath(QStringLiteral("Ventrix.xml"));

    const CommandRun r = run({QStringLiteral("--record"), QString::number(seconds), QStringLiteral("--json"),
                              QStringLiteral("--store"), store},
                             {}, samples);

    EXPECT_EQ(r.status, DecodeCommand::Decoded) << r.err.toStdString();
    const QString recording = onlyRecording();
    ASSERT_FALSE(recording.isEmpty());
    EXPECT_TRUE(r.err.contains(QStringLiteral("recording into ") + recording)) << r.err.toStdString();
    const QJsonArray files = QJsonDocument::fromJson(r.out.toUtf8()).object()[QStringLiteral("files")].toArray();
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(files[0].toObject()[QStringLiteral("path")].toString(), recording);
    EXPECT_EQ(files[0].toObject()[QStringLiteral("model")].toString(), QStringLiteral("RS200"));
    EXPECT_EQ(files[0].toObject()[QStringLiteral("sessions")].toArray().size(), 1);
    const StoreLoadResult saved = StoreFile(store).load();
    ASSERT_TRUE(saved.ok) << saved.errorMessage.toStdString();
    EXPECT_EQ(saved.contents.sessions.size(), 1u);
}

TEST_F(RecordCommand, CtrlCStopsAndKeepsTheRecording)
{
    // The signal arrives once the command waits for the recording's end.
    QTimer::singleShot(0, [] { std::raise(SIGINT); });

    const CommandRun r = run({QStringLiteral("--record"), QStringLiteral("600")}, {}, {});

    EXPECT_EQ(r.status, DecodeCommand::NotDecoded); // nothing was played
    const QString recording = onlyRecording();
    ASSERT_FALSE(recording.isEmpty());
    EXPECT_TRUE(r.err.contains(QStringLiteral("recorded ") + recording)) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("delivered only")));
    EXPECT_EQ(QFileInfo(recording).size(), 44); // a complete header and no samples
}

TEST_F(RecordCommand, InputThatCannotStartIsAnErrorThatWritesNothing)
{
    const QString store = m_folder.filePath(QStringLiteral("Ventrix.xml"));

    const CommandRun r = run({QStringLiteral("--record"), QStringLiteral("5"), QStringLiteral("--store"), store},
                             {.openStatus = -9985}, {});

    EXPECT_EQ(r.status, DecodeCommand::NotDecoded);
    EXPECT_TRUE(r.err.contains(QStringLiteral("cannot record from the default audio input: no audio input device")))
        << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(store));
    EXPECT_TRUE(onlyRecording().isEmpty());
}

} // namespace
