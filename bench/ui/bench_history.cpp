// One drawing pass of the visible part (1,200 x 250 points, scrolled to the
// middle) of a history calendar holding 10,000 sessions over ten years, with
// all four layers on, on the offscreen platform. Each pass fetches the
// sessions afresh, as the calendar does.
#include "HistoryGeometry.h"
#include "HistoryView.h"
#include "ObjectContext.h"
#include "SessionListController.h"
#include "VXNotifications.h"
#include "VXToggleSegmentedControl.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kSessions = 10000;
constexpr int kDays = 3652;
constexpr int kVisibleWidth = 1200;
constexpr int kVisibleHeight = 250;

class Calendar
{
public:
    Calendar()
    {
        QRandomGenerator random(2008);
        const QDateTime first(QDate(2008, 1, 1), QTime(6, 0), Qt::LocalTime);
        for (int i = 0; i < kSessions; ++i) {
            RunSession session;
            session.hrm = QStringLiteral("RS200");
            session.sessionDate = first.addSecs(qint64(i) * kDays * 86400 / kSessions + random.bounded(3600));
            session.sessionTotalTime = random.bounded(6000, 54000);
            session.sessionAverageHR = random.bounded(110, 175);
            session.setPrimitiveSessionTotalDistance(random.bounded(8) == 0 ? 0 : random.bounded(2000, 30000));
            session.sessionCalories = random.bounded(200, 1500);
            m_context.insertSession(std::move(session));
        }
        m_sessions.selectSession(m_sessions.arrangedSessions().at(kSessions / 2));

        m_view = new HistoryView(m_context, m_hub);
        m_scroll.setFrameShape(QFrame::NoFrame);
        m_scroll.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_scroll.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_scroll.setWidget(m_view);
        m_view->setSessionArrayController(&m_sessions);
        m_view->setSegmentedDisplayButton(&m_layers);
        for (int segment = 0; segment < m_layers.segmentCount(); ++segment)
            m_layers.setSelected(true, segment);
        m_view->setScrollView(&m_scroll);
        m_scroll.resize(kVisibleWidth, kVisibleHeight);
        m_scroll.show();
        m_view->resize(m_view->width(), kVisibleHeight);
        m_view->layoutSessions();
        m_scroll.horizontalScrollBar()->setValue(m_view->width() / 2);
    }

    HistoryView &view() { return *m_view; }
    void showLayers(int mask)
    {
        for (int segment = 0; segment < m_layers.segmentCount(); ++segment)
            m_layers.setSelected(mask & (1 << segment), segment);
        // The calendar takes its layers when it lays out, as after a click on a switch.
        m_view->layoutSessions();
    }
    QRect visibleRect() const
    {
        return QRect(m_scroll.horizontalScrollBar()->value(), 0, kVisibleWidth, kVisibleHeight);
    }

private:
    ObjectContext m_context;
    SessionListController m_sessions{m_context};
    VXNotifications m_hub;
    VXToggleSegmentedControl m_layers{{"Time", "Heart Rate", "Distance", "Calories"}};
    QScrollArea m_scroll;
    HistoryView *m_view;
};

// state.range(0): the layers switched on, one bit per segment (15: all four).
void drawVisibleArea(benchmark::State &state, Calendar &c)
{
    c.showLayers(int(state.range(0)));
    const QRect visible = c.visibleRect();
    QImage image(visible.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        c.view().render(&image, QPoint(), QRegion(visible));
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["sessions"] = double(c.view().sessionArray().size());
    state.counters["width"] = c.view().width();
}

// The part of a pass that does not draw: fetch, sort and geometry.
void fetchAndLayout(benchmark::State &state, Calendar &c)
{
    for (auto _ : state) {
        c.view().layoutSessions();
        benchmark::DoNotOptimize(c.view().geometry().bars.size());
    }
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Calendar calendar;
    benchmark::RegisterBenchmark("BM_HistoryDrawVisibleArea",
                                 [&calendar](benchmark::State &state) { drawVisibleArea(state, calendar); })
        ->Unit(benchmark::kMillisecond)
        ->Arg(15)->Arg(0)->Arg(1)->Arg(2)->Arg(4)->Arg(8);
    benchmark::RegisterBenchmark("BM_HistoryFetchAndLayout",
                                 [&calendar](benchmark::State &state) { fetchAndLayout(state, calendar); })
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
