#pragma once

#include <QButtonGroup>
#include <QStringList>
#include <QToolButton>
#include <QWidget>

// A row of exclusive, joined buttons with one selected segment, like a
// segmented control. Lives in the GUI thread.
class VXSegmentedControl : public QWidget
{
    Q_OBJECT

public:
    explicit VXSegmentedControl(const QStringList &labels, QWidget *parent = nullptr);

    int segmentCount() const;
    int selectedSegment() const;
    // A segment outside 0 to segmentCount() − 1 selects segment 0.
    void setSelectedSegment(int segment);
    void setToolTip(int segment, const QString &toolTip);

    // A segment button as both controls make it: checkable, named for screen
    // readers, its on state drawn in the palette's highlight colours.
    static QToolButton *makeSegment(const QString &label, QWidget *parent);

signals:
    // The user clicked a segment (not emitted by setSelectedSegment()).
    void segmentClicked(int segment);

private:
    QButtonGroup m_group;
};
