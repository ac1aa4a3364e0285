#include "VXToggleSegmentedControl.h"

#include "VXSegmentedControl.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

VXToggleSegmentedControl::VXToggleSegmentedControl(const QStringList &labels, QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_group.setExclusive(false);
    for (int i = 0; i < labels.size(); ++i) {
        QToolButton *button = VXSegmentedControl::makeSegment(labels[i], this);
        m_group.addButton(button, i);
        layout->addWidget(button);
    }
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(&m_group, &QButtonGroup::idClicked, this, &VXToggleSegmentedControl::clicked);
}

int VXToggleSegmentedControl::segmentCount() const
{
    return int(m_group.buttons().size());
}

bool VXToggleSegmentedControl::isSelectedForSegment(int segment) const
{
    const QAbstractButton *button = m_group.button(segment);
    return button && button->isChecked();
}

void VXToggleSegmentedControl::setSelected(bool selected, int segment)
{
    if (QAbstractButton *button = m_group.button(segment))
        button->setChecked(selected);
}

void VXToggleSegmentedControl::setSwatch(int segment, const QColor &color)
{
    QAbstractButton *button = m_group.button(segment);
    if (!button)
        return;
    // Drawn at the screen's density, so it stays sharp at any scale.
    const qreal ratio = devicePixelRatioF();
    QPixmap swatch(QSize(kSwatchSize, kSwatchSize) * ratio);
    swatch.setDevicePixelRatio(ratio);
    swatch.fill(Qt::transparent);
    QPainter painter(&swatch);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::ButtonText), 1));
    painter.setBrush(color);
    painter.drawRoundedRect(QRectF(0.5, 0.5, kSwatchSize - 1, kSwatchSize - 1), 2, 2);
    painter.end();
    button->setIcon(QIcon(swatch));
    button->setIconSize(QSize(kSwatchSize, kSwatchSize));
}

void VXToggleSegmentedControl::setToolTip(int segment, const QString &toolTip)
{
    if (QAbstractButton *button = m_group.button(segment))
        button->setToolTip(toolTip);
}
