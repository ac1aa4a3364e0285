#pragma once

#include <QObject>
#include <QPointer>

#include <QColorDialog>
class QWidget;

// Closes the colour dialog together with the window that uses it: install it
// on that window (watch()), and when the window closes the dialog closes too.
// GUI thread.
class ColorPanelDelegate : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    void setColorPanel(QColorDialog *panel) { m_panel = panel; }
    QColorDialog *colorPanel() const { return m_panel; }
    // Follows window's close and hide events.
    void watch(QWidget *window);

    // Closes the colour dialog, if there is one.
    void closeColorPanel();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QColorDialog> m_panel;
};
