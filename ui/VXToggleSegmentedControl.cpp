#include "VXToggleSegmentedControl.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QToolButton>

VXToggleSegmentedControl::VXToggleSegmentedControl(const QStringList &labels, QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_group.setExclusive(false);
    for (int i = 0; i < labels.size(); ++i) {
        auto *button = new QToolButton(this);
        button->setText(labels[i]);
        button->setCheckable(true);
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

void VXToggleSegmentedControl::setToolTip(int segment, const QString &toolTip)
{
    if (QAbstractButton *button = m_group.button(segment))
        button->setToolTip(toolTip);
}
