#pragma once

#include <QButtonGroup>
#include <QStringList>
#include <QColor>
#include <QWidget>

// A row of joined buttons, each switched on and off by itself: a segmented
// control with independent selection. Lives in the GUI thread.
class VXToggleSegmentedControl : public QWidget
{
    Q_OBJECT

public:
    explicit VXToggleSegmentedControl(const QStringList &labels, QWidget *parent = nullptr);

    int segmentCount() const;
    // False for a segment that does not exist.
    bool isSelectedForSegment(int segment) const;
    // Does not emit clicked(); a segment that does not exist is ignored.
    void setSelected(bool selected, int segment);
    void setToolTip(int segment, const QString &toolTip);
    // A small square of color before the segment's label: the colour of its layer.
    void setSwatch(int segment, const QColor &color);
    static constexpr int kSwatchSize = 12;

signals:
    // The user switched a segment.
    void clicked(int segment);

private:
    QButtonGroup m_group;
};
