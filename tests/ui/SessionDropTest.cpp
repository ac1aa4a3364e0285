#include "MainWindowFixture.h"

#include "Decoder.h"
#include "TransferImporter.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

class SessionDropTest : public MainWindowFixture
{
protected:
    SessionDropTest()
    {
        controller.setDecoder(&decoder, &importer);
    }

    // Replaces the decoder by one that only notes the paths.
    void recordDecodes()
    {
        controller.setFileDecoder([this](const QString &path) {
            decoded.append(path);
            return true;
        });
    }

    Decoder decoder;
    TransferImporter importer{context, &sessions};
    QStringList decoded;
};

TEST_F(SessionDropTest, ThreeFilesOfWhichTwoFailShakeOnceAndStoreTheGoodOne)
{
    const QString noise = writeFile(QStringLiteral("noise.wav"), QByteArray(2000, 'x'));
    const QString good = writeRS200Recording(QStringLiteral("run.wav"));
    const QString text = writeFile(QStringLiteral("notes.txt"), "not a recording");

    EXPECT_TRUE(controller.acceptDrop({noise, good, text}));

    EXPECT_EQ(shakes, 1);
    ASSERT_EQ(context.sessionCount(), 1);
    EXPECT_EQ(context.sessions().first()->hrm, QStringLiteral("RS200"));
    EXPECT_EQ(sessions.selectedSessions(), context.sessions());
    EXPECT_EQ(statusMessage(), QStringLiteral("Stored 1 session. Nothing could be read from 2 files."));
}

TEST_F(SessionDropTest, ExtensionInCapitalsShakesAndDecodesNothing)
{
    const QString good = writeRS200Recording(QStringLiteral("RUN.WAV"));
    recordDecodes();
    controller.acceptDrop({good});
    EXPECT_EQ(shakes, 1);
    EXPECT_TRUE(decoded.isEmpty());
    EXPECT_EQ(context.sessionCount(), 0);
    EXPECT_EQ(statusMessage(), QStringLiteral("Nothing could be read from RUN.WAV: not a .wav file"));
}

TEST_F(SessionDropTest, FilesDroppedOnTheListAreDecodedAfterTheDropEnds)
{
    recordDecodes();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.wav")), QUrl::fromLocalFile(QStringLiteral("/tmp/b.wav"))});
    QWidget *viewport = window.sessionTable()->viewport();

    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_TRUE(decoded.isEmpty());

    QCoreApplication::processEvents();
    EXPECT_EQ(decoded, (QStringList{QStringLiteral("/tmp/a.wav"), QStringLiteral("/tmp/b.wav")}));
    EXPECT_EQ(shakes, 0);
}

} // namespace

// Each example dropped a second time adds nothing and says so.
TEST_F(SessionDropTest, ExamplesDroppedTwiceAreStoredOnce)
{
    QStringList paths;
    for (const QString example : {"cs200-ride", "f6-memory", "rs200-run"}) {
        paths.append(folder.filePath(example + QStringLiteral(".wav")));
        ASSERT_TRUE(writeExampleRecording(example, paths.back()));
    }
    controller.acceptDrop(paths);
    EXPECT_EQ(statusMessage(), QStringLiteral("Stored 4 sessions."));
    controller.acceptDrop(paths);
    EXPECT_EQ(context.sessionCount(), 4);
    EXPECT_EQ(statusMessage(), QStringLiteral("4 sessions already stored."));
    controller.acceptDrop({paths.back()});
    EXPECT_EQ(statusMessage(), QStringLiteral("1 session already stored."));
    EXPECT_EQ(shakes, 0);
}
