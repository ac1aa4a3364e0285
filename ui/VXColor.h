#pragma once

#include <QColor>

// The system's named colours, all fully opaque: the record button's idle and
// recording fills and its frame. Any thread.
class VXColor
{
public:
    // RGB 64/255, 175/255, 0.
    static QColor VXGreenColor();
    // Hue 0, saturation 1.0, brightness 0.92.
    static QColor VXRedColor();
    // RGB 101/255, 84/255, 84/255.
    static QColor VXGrayColor();
};
