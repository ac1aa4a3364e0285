#pragma once

#include <QRectF>
#include <QStringList>
#include <QVariant>

#include <optional>

class QSplitter;

// The frames of the session split view's two panes, stacked vertically (the
// first above the second, y growing downwards).
struct PaneFrames
{
    QRectF first;
    QRectF second;

    bool operator==(const PaneFrames &) const = default;
};

// The rules of the main window's session split view: how its panes share a
// new height, where the divider may go, and the saved frames. The rules are
// pure (any thread); saving and restoring a splitter is for the GUI thread.
class SessionSplitLayout
{
public:
    static constexpr double kMinFirstPaneHeight = 102.0;
    // The calendar stays usable: its switches and a readable chart.
    static constexpr double kMinSecondPaneHeight = 120.0;
    static inline const QString kFramesKey = QStringLiteral("NSSplitView Subview Frames SessionSplitView for Tiger");

    // The second pane keeps its height (at least its minimum, so that a pane
    // squeezed smaller comes back when space returns) and the first takes all
    // change, until the first reaches its minimum; then the second shrinks
    // (never below 0).
    static PaneFrames resizeSubviews(const PaneFrames &current, double newHeight, double dividerThickness);

    // The divider position (the first pane's height) is held between these.
    static double constrainMinCoordinate(double proposed);
    static double constrainMaxCoordinate(double proposed, double splitViewHeight);
    static double constrainedDividerPosition(double proposed, double splitViewHeight);

    // The saved frames when the setting holds exactly two texts of at least four
    // numbers "x, y, width, height, ..."; nothing otherwise.
    static std::optional<PaneFrames> framesFromSetting(const QVariant &setting);
    // The setting's value: one "%f, %f, %f, %f, NO" text per pane.
    static QStringList settingFromFrames(const PaneFrames &frames);

    // The setting for a splitter of two panes (written at once), and back.
    static void saveFrames(const QSplitter &splitter);
    static void restoreFrames(QSplitter &splitter);
    static PaneFrames paneFrames(const QSplitter &splitter);

private:
    static std::optional<QRectF> frameFromString(const QString &text);
};
