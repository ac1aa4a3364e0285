#pragma once

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class AudioFileRecorder;
class QAction;
class ReceptionMonitor;
class QLabel;
class QProgressBar;
class QStatusBar;

// While a recording runs, the status bar shows how long it has run (from the
// frames captured, so it tracks the audio, not the wall clock), the input
// level, and what the input carries in words (waiting for the watch, bytes
// received, too quiet, clipping), which the record button's tooltip repeats;
// refreshed a few times a second. GUI thread.
class RecordingStatus : public QObject
{
    Q_OBJECT

public:
    static constexpr int kRefreshIntervalMs = 250;

    // The latest peak level of the input, 0..1, read without locking; none
    // when the recorder does not publish one (the level bar then stays hidden).
    using LevelSource = std::function<std::optional<float>(const AudioFileRecorder &)>;

    // The running recorder, or null.
    using RecorderSource = std::function<const AudioFileRecorder *()>;

    RecordingStatus(QStatusBar &statusBar, RecorderSource recorder, QObject *parent = nullptr);

    void setLevelSource(LevelSource source) { m_levelSource = std::move(source); }
    // The record button, whose tooltip tells the reception while recording.
    void setToolTipTarget(QAction *item) { m_toolTipTarget = item; }

    void start();
    void stop();
    bool isRunning() const { return m_timer.isActive(); }
    // Reads the recorder once more; the timer calls it.
    void refresh();

    // "Recording h:mm:ss" for the frames captured at sampleRate.
    static QString elapsedText(std::uint64_t frames, double sampleRate);
    // What the monitor hears, in words.
    static QString receptionText(const ReceptionMonitor &monitor);

    QLabel *elapsedLabel() const { return m_elapsed; }
    QProgressBar *levelBar() const { return m_level; }

private:
    RecorderSource m_recorder;
    LevelSource m_levelSource;
    void showReception(const QString &text);

    QStatusBar &m_statusBar;
    QAction *m_toolTipTarget = nullptr;
    QString m_idleToolTip;
    QLabel *m_elapsed;
    QProgressBar *m_level;
    QTimer m_timer;
};
