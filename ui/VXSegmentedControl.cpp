#include "VXSegmentedControl.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QToolButton>

VXSegmentedControl::VXSegmentedControl(const QStringList &labels, QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_group.setExclusive(true);
    for (int i = 0; i < labels.size(); ++i) {
        auto *button = new QToolButton(this);
        button->setText(labels[i]);
        button->setCheckable(true);
        button->setAutoRaise(false);
        m_group.addButton(button, i);
        layout->addWidget(button);
    }
    setSelectedSegment(0);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(&m_group, &QButtonGroup::idClicked, this, &VXSegmentedControl::segmentClicked);
}

int VXSegmentedControl::segmentCount() const
{
    return int(m_group.buttons().size());
}

int VXSegmentedControl::selectedSegment() const
{
    return m_group.checkedId();
}

void VXSegmentedControl::setSelectedSegment(int segment)
{
    QAbstractButton *button = m_group.button(segment);
    if (!button)
        button = m_group.button(0);
    if (button)
        button->setChecked(true);
}

void VXSegmentedControl::setToolTip(int segment, const QString &toolTip)
{
    if (QAbstractButton *button = m_group.button(segment))
        button->setToolTip(toolTip);
}
