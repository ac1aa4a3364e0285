#include "RecordingStatus.h"

#include "AudioFileRecorder.h"
#include "VXDurationText.h"

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
    : QObject(parent), m_recorder(std::move(recorder)), m_elapsed(new QLabel(&statusBar)),
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
    m_elapsed->show();
    m_timer.start();
    refresh();
}

void RecordingStatus::stop()
{
    m_timer.stop();
    m_elapsed->hide();
    m_level->hide();
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
