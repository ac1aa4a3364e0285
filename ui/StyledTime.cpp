#include "StyledTime.h"

QString StyledTime::toHtml() const
{
    if (!smallLastCharacter || text.isEmpty())
        return text.toHtmlEscaped();
    return text.chopped(1).toHtmlEscaped()
           + QStringLiteral("<span style=\"font-size:%1pt\">").arg(kSmallPointSize)
           + text.right(1).toHtmlEscaped() + QStringLiteral("</span>");
}
