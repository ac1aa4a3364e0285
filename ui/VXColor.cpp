#include "VXColor.h"

QColor VXColor::VXGreenColor()
{
    return QColor::fromRgbF(64.0f / 255.0f, 175.0f / 255.0f, 0.0f);
}

QColor VXColor::VXRedColor()
{
    return QColor::fromHsvF(0.0f, 1.0f, 0.92f);
}

QColor VXColor::VXGrayColor()
{
    return QColor::fromRgbF(101.0f / 255.0f, 84.0f / 255.0f, 84.0f / 255.0f);
}
