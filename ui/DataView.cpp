#include "DataView.h"

#include "VXDurationText.h"

namespace {
// From this many whole hours on, a duration without its hour would mislead.
constexpr quint64 kHoursShownAsDash = 2;
} // namespace

QString StyledTime::toHtml() const
{
    if (!smallLastCharacter || text.isEmpty())
        return text.toHtmlEscaped();
    return text.chopped(1).toHtmlEscaped()
           + QStringLiteral("<span style=\"font-size:%1pt\">").arg(kSmallPointSize)
           + text.right(1).toHtmlEscaped() + QStringLiteral("</span>");
}

StyledTime DataView::timeStringFromSeconds(std::optional<qint64> tenths, bool displayTenths)
{
    const quint64 t = VXDurationText::tenths(tenths);
    if (displayTenths)
        return {VXDurationText::clockWithTenths(t), true};
    return {VXDurationText::clock(t / VXDurationText::kTenthsPerSecond), false};
}

QString DataView::displayTimeNoHours(std::optional<qint64> tenths)
{
    const quint64 t = VXDurationText::tenths(tenths);
    if (t / VXDurationText::kTenthsPerHour >= kHoursShownAsDash)
        return QStringLiteral("-");
    return VXDurationText::minutesAndSeconds(t / VXDurationText::kTenthsPerSecond);
}
