#include "SessionSplitLayout.h"

#include "VXDefaults.h"

#include <QLocale>
#include <QSplitter>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kFrameNumbers = 4;
constexpr int kPanes = 2;
} // namespace

PaneFrames SessionSplitLayout::resizeSubviews(const PaneFrames &current, double newHeight, double dividerThickness)
{
    const double wanted = std::max(current.second.height(), kMinSecondPaneHeight);
    const double h = std::max(newHeight - wanted - dividerThickness, kMinFirstPaneHeight);
    const double secondHeight = std::max(newHeight - h - dividerThickness, 0.0);
    return {QRectF(current.first.x(), current.first.y(), current.first.width(), h),
            QRectF(current.second.x(), h + dividerThickness, current.second.width(), secondHeight)};
}

double SessionSplitLayout::constrainMinCoordinate(double)
{
    return kMinFirstPaneHeight;
}

double SessionSplitLayout::constrainMaxCoordinate(double, double splitViewHeight)
{
    return splitViewHeight - kMinSecondPaneHeight;
}

double SessionSplitLayout::constrainedDividerPosition(double proposed, double splitViewHeight)
{
    const double atLeastMin = std::max(proposed, constrainMinCoordinate(proposed));
    return std::min(atLeastMin, constrainMaxCoordinate(proposed, splitViewHeight));
}

std::optional<QRectF> SessionSplitLayout::frameFromString(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() < kFrameNumbers)
        return std::nullopt;
    double numbers[kFrameNumbers];
    for (int i = 0; i < kFrameNumbers; ++i) {
        bool ok = false;
        numbers[i] = QLocale::c().toDouble(parts[i].trimmed(), &ok);
        if (!ok)
            return std::nullopt;
    }
    return QRectF(numbers[0], numbers[1], numbers[2], numbers[3]);
}

std::optional<PaneFrames> SessionSplitLayout::framesFromSetting(const QVariant &setting)
{
    const bool isList = setting.typeId() == QMetaType::QStringList || setting.typeId() == QMetaType::QVariantList;
    const QStringList texts = isList ? setting.toStringList() : QStringList();
    if (texts.size() != 2)
        return std::nullopt;
    const std::optional<QRectF> first = frameFromString(texts[0]);
    const std::optional<QRectF> second = frameFromString(texts[1]);
    if (!first || !second)
        return std::nullopt;
    return PaneFrames{*first, *second};
}

QStringList SessionSplitLayout::settingFromFrames(const PaneFrames &frames)
{
    QStringList texts;
    for (const QRectF &frame : {frames.first, frames.second})
        texts.append(QString::asprintf("%f, %f, %f, %f, NO", frame.x(), frame.y(), frame.width(), frame.height()));
    return texts;
}

PaneFrames SessionSplitLayout::paneFrames(const QSplitter &splitter)
{
    return {splitter.widget(0)->geometry(), splitter.widget(1)->geometry()};
}

void SessionSplitLayout::saveFrames(const QSplitter &splitter)
{
    if (splitter.count() != kPanes)
        return;
    QSettings settings = VXDefaults::settings();
    settings.setValue(kFramesKey, settingFromFrames(paneFrames(splitter)));
    settings.sync();
}

void SessionSplitLayout::restoreFrames(QSplitter &splitter)
{
    const std::optional<PaneFrames> frames = framesFromSetting(VXDefaults::value(kFramesKey));
    if (!frames || splitter.count() != kPanes)
        return;
    splitter.setSizes({int(std::lround(frames->first.height())), int(std::lround(frames->second.height()))});
}
