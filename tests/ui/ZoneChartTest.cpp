#include "ExampleSessions.h"
#include "ObjectContext.h"
#include "SessionListController.h"
#include "SportZoneGeometry.h"
#include "SportZoneView.h"

#include <QApplication>
#include <QEnterEvent>

#include <gtest/gtest.h>

namespace {

// 250 × 125: columns of 50, bars up to 100 high below a 25-point label band.
const QSizeF kSize(250, 125);

RunSession withZoneMinutes(std::initializer_list<int> minutes)
{
    RunSession session = ExampleSessions::rs200();
    session.sportZone.clear();
    int number = 1;
    for (int m : minutes) {
        session.sportZone.push_back(ExampleSessions::sportZone(number, 40 + 10 * number, 50 + 10 * number, m * 600));
        ++number;
    }
    return session;
}

SportZoneGeometry geometryOf(const RunSession &session)
{
    return SportZoneGeometry::compute({&session}, kSize);
}

std::vector<QRectF> barRects(const SportZoneGeometry &geometry)
{
    std::vector<QRectF> rects;
    for (const SportZoneBar &bar : geometry.bars)
        rects.push_back(bar.rect);
    return rects;
}

std::vector<QString> barLabels(const SportZoneGeometry &geometry)
{
    std::vector<QString> labels;
    for (const SportZoneBar &bar : geometry.bars)
        labels.push_back(bar.label);
    return labels;
}

TEST(SportZoneGeometry, FiveZonesScaleToTheLargest)
{
    const SportZoneGeometry chart = geometryOf(withZoneMinutes({10, 20, 40, 20, 10}));
    EXPECT_EQ(chart.layout, SportZoneGeometry::Layout::FiveSportZones);
    EXPECT_EQ(barRects(chart), (std::vector<QRectF>{{0, 100, 50, 25}, {50, 75, 50, 50}, {100, 25, 50, 100},
                                                    {150, 75, 50, 50}, {200, 100, 50, 25}}));
    EXPECT_EQ(barLabels(chart), (std::vector<QString>{"0:10:00", "0:20:00", "0:40:00", "0:20:00", "0:10:00"}));
    EXPECT_EQ(chart.bars[2].labelAnchor, QPointF(125, 22));
    // The information box names the zones across the middle.
    EXPECT_EQ(chart.infoBox, QRectF(0, 37.5, 250, 50));
    ASSERT_EQ(chart.infoTexts.size(), 10u);
    EXPECT_EQ(chart.infoTexts[0].text, "Zone 1");
    EXPECT_EQ(chart.infoTexts[9].text, "90-100%");
    EXPECT_DOUBLE_EQ(chart.infoTexts[8].centre.x(), 225);
    EXPECT_NEAR(chart.infoTexts[0].centre.y(), 87.5 - 100.0 / 3, 1e-9);
    EXPECT_NEAR(chart.infoTexts[1].centre.y(), 87.5 - 50.0 / 3, 1e-9);
}

TEST(SportZoneGeometry, F6IsOneFullBarWhateverItsTime)
{
    RunSession f6 = ExampleSessions::f6();
    f6.sportZone[0].timeInZone = 1;
    const SportZoneGeometry chart = geometryOf(f6);
    EXPECT_EQ(chart.layout, SportZoneGeometry::Layout::F6);
    EXPECT_EQ(barRects(chart), (std::vector<QRectF>{{100, 25, 50, 100}}));
    EXPECT_EQ(barLabels(chart), (std::vector<QString>{"0:00:00"}));
    ASSERT_EQ(chart.infoTexts.size(), 2u);
    EXPECT_EQ(chart.infoTexts[1].text, "120-160");
}

TEST(SportZoneGeometry, LimitZoneHasFlatUnlabelledOuterColumns)
{
    const SportZoneGeometry chart = geometryOf(ExampleSessions::cs200());
    EXPECT_EQ(chart.layout, SportZoneGeometry::Layout::LimitZone);
    const std::vector<QRectF> rects = barRects(chart);
    ASSERT_EQ(rects.size(), 5u);
    EXPECT_EQ(rects[0], QRectF(0, 125, 50, 0));
    EXPECT_DOUBLE_EQ(rects[1].height(), 100.0 / 3);
    EXPECT_EQ(rects[2], QRectF(100, 25, 50, 100));
    EXPECT_DOUBLE_EQ(rects[3].height(), 200.0 / 3);
    EXPECT_EQ(rects[4], QRectF(200, 125, 50, 0));
    EXPECT_EQ(barLabels(chart), (std::vector<QString>{"", "0:01:00", "0:03:00", "0:02:00", ""}));
    std::vector<QString> texts;
    for (const SportZoneInfoText &text : chart.infoTexts)
        texts.push_back(text.text);
    EXPECT_EQ(texts, (std::vector<QString>{"", "", "Below", "120", "In zone", "", "Above", "150", "", ""}));
}

TEST(SportZoneGeometry, LargestValueZeroDrawsFlatLabelledBars)
{
    const SportZoneGeometry zones = geometryOf(withZoneMinutes({0, 0, 0, 0, 0}));
    ASSERT_EQ(zones.bars.size(), 5u);
    for (const SportZoneBar &bar : zones.bars)
        EXPECT_EQ(bar.rect, QRectF(bar.rect.x(), 125, 50, 0));
    EXPECT_EQ(zones.bars[0].label, "0:00:00");
    RunSession cs200 = ExampleSessions::cs200();
    cs200.limitZone = {ExampleSessions::limitZone(std::nullopt, 120, 150, 0, 0, 0)};
    const SportZoneGeometry limits = geometryOf(cs200);
    ASSERT_EQ(limits.bars.size(), 5u);
    EXPECT_EQ(limits.bars[2].rect.height(), 0);
    EXPECT_EQ(limits.bars[2].label, "0:00:00");
}

TEST(SportZoneGeometry, SessionsWithoutZonesOrModelAndOtherSelections)
{
    RunSession bare = withZoneMinutes({10, 20, 40, 20, 10});
    bare.hrm.reset();
    EXPECT_EQ(geometryOf(bare).layout, SportZoneGeometry::Layout::FiveSportZones);

    bare.sportZone.clear();
    bare.limitZone.clear();
    const SportZoneGeometry empty = geometryOf(bare);
    EXPECT_TRUE(empty.drawsSession);
    EXPECT_TRUE(empty.bars.empty());

    const RunSession f6 = ExampleSessions::f6();
    EXPECT_FALSE(SportZoneGeometry::compute({}, kSize).drawsSession);
    EXPECT_FALSE(SportZoneGeometry::compute({&f6, &bare}, kSize).drawsSession);
}

class SportZoneViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_view.setSessions(&m_sessions);
        m_view.resize(kSize.toSize());
    }

    void select(RunSession &&session) { m_sessions.selectSession(m_context.insertSession(std::move(session))); }

    void enter()
    {
        QEnterEvent event(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
        QApplication::sendEvent(&m_view, &event);
    }

    ObjectContext m_context;
    SessionListController m_sessions{m_context};
    SportZoneView m_view;
};

TEST_F(SportZoneViewTest, InformationBoxStaysThroughPaintingUntilTheNextReload)
{
    select(withZoneMinutes({10, 20, 40, 20, 10}));
    enter();
    EXPECT_TRUE(m_view.needsDrawInfo());
    m_view.grab();
    // Painting changes nothing: the box stays until new data is shown.
    EXPECT_TRUE(m_view.needsDrawInfo());
    m_view.reload();
    EXPECT_FALSE(m_view.needsDrawInfo());

    enter();
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&m_view, &leave);
    EXPECT_FALSE(m_view.needsDrawInfo());
}

} // namespace
