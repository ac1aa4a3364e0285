#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

class RunSession;

// One bar of the sport-zone chart, in widget coordinates (y downwards).
struct SportZoneBar
{
    QRectF rect;
    // Empty for the unlabelled outer columns of the limit-zone layout.
    QString label;
    // The label is centred on x and its lower edge lies on y.
    QPointF labelAnchor;
};

// One text of the information box, centred on its point.
struct SportZoneInfoText
{
    QPointF centre;
    QString text;
};

// Everything the sport-zone chart draws for a selection at a size: the bars
// with their times and the information box with its texts. One pure function
// serves painting and hit-testing. Any thread.
struct SportZoneGeometry
{
    enum class Layout { None, F6, FiveSportZones, LimitZone };

    static constexpr double kLabelSpace = 25.0;   // kept free above the tallest bar
    static constexpr double kLabelGap = 3.0;      // between a bar's top and its label
    static constexpr double kInfoBoxHalfHeight = 25.0;
    static constexpr int kColumns = 5;

    // False unless exactly one session is selected: then only the background is drawn.
    bool drawsSession = false;
    Layout layout = Layout::None;
    // The model of the session drawn ("RS200" when it has none).
    QString hrm;
    QRectF bounds;
    std::vector<SportZoneBar> bars;
    QRectF infoBox;
    std::vector<SportZoneInfoText> infoTexts;

    // The chart of the last selected session when exactly one is selected.
    static SportZoneGeometry compute(const QList<const RunSession *> &selected, const QSizeF &size);

    // Whether a pointer at point is over the tracking area, which covers the bounds.
    bool tracks(const QPointF &point) const { return bounds.contains(point); }
};
