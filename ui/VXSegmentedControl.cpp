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
        QToolButton *button = makeSegment(labels[i], this);
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

QToolButton *VXSegmentedControl::makeSegment(const QString &label, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setText(label);
    button->setCheckable(true);
    button->setAutoRaise(false);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAccessibleName(QString(label).remove(u'&'));
    // A faint pressed look is easy to miss: the segment that is on takes the highlight.
    button->setStyleSheet(QStringLiteral("QToolButton { padding: 3px 8px; }"
                                         "QToolButton:checked { background: palette(highlight);"
                                         " color: palette(highlighted-text); }"));
    return button;
}
