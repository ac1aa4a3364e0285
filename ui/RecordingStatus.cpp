#include "RecordingStatus.h"

#include "AudioFileRecorder.h"
#include "ReceptionMonitor.h"
#include "VXDurationText.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kLevelSteps = 100;
constexpr int kLevelBarWidth = 120;
} // namespace

RecordingStatus::RecordingStatus(QStatusBar &statusBar, RecorderSource recorder, QObject *parent)
    : QObject(parent), m_recorder(std::move(recorder)), m_statusBar(statusBar), m_elapsed(new QLabel(&statusBar)),
      m_level(new QProgressBar(&statusBar))
{
    m_level->setRange(0, kLevelSteps);
    m_level->setTextVisible(false);
    m_level->setFixedWidth(kLevelBarWidth);
    m_level->setToolTip(tr("Input level"));
    statusBar.addPermanentWidget(m_elapsed);
    statusBar.addPermanentWidget(m_level);
    m_elapsed->hide();
    m_level->hide();
    m_timer.setInterval(kRefreshIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &RecordingStatus::refresh);
}

void RecordingStatus::start()
{
    if (m_toolTipTarget)
        m_idleToolTip = m_toolTipTarget->toolTip();
    m_elapsed->show();
    m_timer.start();
    refresh();
}

void RecordingStatus::stop()
{
    m_timer.stop();
    m_elapsed->hide();
    m_level->hide();
    m_statusBar.clearMessage();
    if (m_toolTipTarget && !m_idleToolTip.isEmpty())
        m_toolTipTarget->setToolTip(m_idleToolTip);
}

void RecordingStatus::refresh()
{
    const AudioFileRecorder *recorder = m_recorder ? m_recorder() : nullptr;
    if (!recorder) {
        m_elapsed->setText(elapsedText(0, 0.0));
        m_level->hide();
        return;
    }
    m_elapsed->setText(elapsedText(recorder->framesCaptured(), recorder->deviceFormat().sampleRate));
    // Lost samples matter more than the reception: the transfer may be damaged.
    const QString problem = recorder->recordingProblem();
    if (!problem.isEmpty())
        showReception(problem);
    else if (const ReceptionMonitor *monitor = recorder->receptionMonitor())
        showReception(receptionText(*monitor));
    const std::optional<float> level = m_levelSource ? m_levelSource(*recorder) : std::nullopt;
    m_level->setVisible(level.has_value());
    if (level)
        m_level->setValue(int(std::lround(std::clamp(*level, 0.0f, 1.0f) * kLevelSteps)));
}

QString RecordingStatus::elapsedText(std::uint64_t frames, double sampleRate)
{
    const quint64 seconds = sampleRate > 0.0 ? quint64(double(frames) / sampleRate) : 0;
    return tr("Recording %1").arg(VXDurationText::clock(seconds));
}

QString RecordingStatus::receptionText(const ReceptionMonitor &monitor)
{
    if (monitor.watchHeard() && monitor.isClipping())
        return tr("The signal is clipping \u2013 hold the watch a little further away");
    if (monitor.watchHeard())
        return tr("Receiving\u2026 %1 bytes").arg(monitor.bytesReceived());
    if (monitor.isQuiet())
        return tr("The microphone is very quiet \u2013 check the input level");
    return tr("Waiting for the watch \u2013 hold it close to the microphone");
}

void RecordingStatus::showReception(const QString &text)
{
    if (m_statusBar.currentMessage() != text)
        m_statusBar.showMessage(text);
    if (m_toolTipTarget)
        m_toolTipTarget->setToolTip(text);
}
