#include "HistoryPane.h"

#include "HistoryView.h"
#include "VXToggleSegmentedControl.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

HistoryPane::HistoryPane(ObjectContext &context, SessionListController &sessions, VXNotifications &notifications,
                         QWidget *parent)
    : QWidget(parent),
      m_segmentedDisplayButton(new VXToggleSegmentedControl(
          {tr("&Time"), tr("&Heart Rate"), tr("&Distance"), tr("&Calories")}, this)),
      m_scrollView(new QScrollArea(this)), m_historyView(new HistoryView(context, notifications))
{
    m_segmentedDisplayButton->setToolTip(0, tr("Total time of each session as a bar"));
    m_segmentedDisplayButton->setToolTip(1, tr("Average heart rate"));
    m_segmentedDisplayButton->setToolTip(2, tr("Total distance"));
    m_segmentedDisplayButton->setToolTip(3, tr("Calories"));

    m_scrollView->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scrollView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollView->setWidgetResizable(false);
    m_scrollView->setBackgroundRole(QPalette::Base);
    m_scrollView->setWidget(m_historyView);

    auto *controls = new QHBoxLayout;
    controls->setContentsMargins(4, 4, 4, 0);
    controls->addWidget(m_segmentedDisplayButton);
    controls->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(controls);
    layout->addWidget(m_scrollView, 1);

    m_segmentedDisplayButton->setAccessibleName(tr("Calendar layers"));
    m_scrollView->setAccessibleName(tr("History calendar"));
    // Each layer's button carries the colour of its bars or line: the chart needs no legend.
    const auto showSwatches = [this] {
        const QList<QColor> colors{m_historyView->historyTimeColor(), m_historyView->historyHRColor(),
                                   m_historyView->historyDistanceColor(), m_historyView->historyCaloriesColor()};
        for (int segment = 0; segment < colors.size(); ++segment)
            m_segmentedDisplayButton->setSwatch(segment, colors[segment]);
    };
    connect(m_historyView, &HistoryView::colorsChanged, this, showSwatches);
    showSwatches();

    m_historyView->setSessionArrayController(&sessions);
    m_historyView->setScrollView(m_scrollView);
    m_historyView->setSegmentedDisplayButton(m_segmentedDisplayButton);
    m_historyView->followSelectionAndSwitches();
}
