#include "ColorPanelDelegate.h"

#include <QColorDialog>
#include <QEvent>
#include <QWidget>

void ColorPanelDelegate::watch(QWidget *window)
{
    window->installEventFilter(this);
}

void ColorPanelDelegate::closeColorPanel()
{
    if (m_panel)
        m_panel->close();
}

bool ColorPanelDelegate::eventFilter(QObject *watched, QEvent *event)
{
    // A dialog's reject() hides without a close event.
    if (event->type() == QEvent::Close || event->type() == QEvent::Hide)
        closeColorPanel();
    return QObject::eventFilter(watched, event);
}
