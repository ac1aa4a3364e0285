#include "DataView.h"
#include "ObjectContext.h"
#include "SessionListController.h"
#include "SessionSplitLayout.h"
#include "VXDefaults.h"

#include <QApplication>
#include <QSplitter>

#include <gtest/gtest.h>

namespace {

PaneFrames stacked(double width, double firstHeight, double divider, double secondHeight)
{
    return {QRectF(0, 0, width, firstHeight), QRectF(0, firstHeight + divider, width, secondHeight)};
}

TEST(SessionSplitLayout, SecondPaneKeepsItsHeightUntilTheFirstReachesItsMinimum)
{
    // 500 high, 9-point divider, second pane 300: the first pane is 191.
    const PaneFrames before = stacked(640, 191, 9, 300);
    EXPECT_EQ(SessionSplitLayout::resizeSubviews(before, 400, 9), stacked(640, 102, 9, 289));
    EXPECT_EQ(SessionSplitLayout::resizeSubviews(before, 600, 9), stacked(640, 291, 9, 300));
    EXPECT_EQ(SessionSplitLayout::resizeSubviews(before, 411, 9), stacked(640, 102, 9, 300));
    // Too small even for the first pane: the second pane ends at nothing, not below.
    EXPECT_EQ(SessionSplitLayout::resizeSubviews(before, 100, 9), stacked(640, 102, 9, 0));
}

TEST(SessionSplitLayout, SavedFramesNeedExactlyTwoTexts)
{
    const QStringList saved = SessionSplitLayout::settingFromFrames(stacked(640, 191, 9, 300));
    EXPECT_EQ(saved, QStringList({"0.000000, 0.000000, 640.000000, 191.000000, NO",
                                  "0.000000, 200.000000, 640.000000, 300.000000, NO"}));
    EXPECT_EQ(SessionSplitLayout::framesFromSetting(saved), stacked(640, 191, 9, 300));
    EXPECT_EQ(SessionSplitLayout::framesFromSetting(QStringList({"1, 2, 3, 4", "5,6,7,8,extra,items"})),
              (PaneFrames{QRectF(1, 2, 3, 4), QRectF(5, 6, 7, 8)}));
    EXPECT_FALSE(SessionSplitLayout::framesFromSetting(QStringList({saved[0]})));
    EXPECT_FALSE(SessionSplitLayout::framesFromSetting(saved + saved));
    EXPECT_FALSE(SessionSplitLayout::framesFromSetting({}));
    EXPECT_FALSE(SessionSplitLayout::framesFromSetting(QStringList({"1, 2, 3", saved[1]})));
    EXPECT_FALSE(SessionSplitLayout::framesFromSetting(QStringList({"a, b, c, d", saved[1]})));
}

class SessionSplitViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VXDefaults::settings().clear();
        m_splitter.setOrientation(Qt::Vertical);
        m_splitter.setHandleWidth(9);
        m_splitter.addWidget(new QWidget);
        m_splitter.addWidget(new QWidget);
    }
    void TearDown() override { VXDefaults::settings().clear(); }

    void resize(int height)
    {
        m_splitter.resize(640, height);
        QApplication::processEvents();
    }

    ObjectContext m_context;
    SessionListController m_sessions{m_context};
    QSplitter m_splitter;
};

TEST_F(SessionSplitViewTest, ResizingAndDraggingKeepThePaneLimits)
{
    DataView view(m_sessions, m_context);
    view.setSessionSplitView(&m_splitter);
    resize(500);
    m_splitter.show();
    QApplication::processEvents();
    m_splitter.setSizes({191, 300});
    resize(600);
    EXPECT_EQ(m_splitter.sizes(), QList<int>({291, 300}));
    resize(400);
    EXPECT_EQ(m_splitter.sizes(), QList<int>({102, 289}));

    resize(500);
    m_splitter.setSizes({50, 441});
    emit m_splitter.splitterMoved(50, 1);
    EXPECT_EQ(m_splitter.sizes(), QList<int>({102, 389}));
    m_splitter.setSizes({485, 6});
    emit m_splitter.splitterMoved(485, 1);
    EXPECT_EQ(m_splitter.sizes(), QList<int>({470, 21}));
}

TEST_F(SessionSplitViewTest, SavedFramesAreRestoredWhenThereAreTwo)
{
    resize(500);
    {
        DataView view(m_sessions, m_context);
        view.setSessionSplitView(&m_splitter);
        m_splitter.setSizes({240, 251});
        view.saveSessionSplitView();
    }
    const QStringList saved = VXDefaults::value(SessionSplitLayout::kFramesKey).toStringList();
    ASSERT_EQ(saved.size(), 2);
    EXPECT_TRUE(saved[1].startsWith("0.000000, 249.000000, 640.000000, 251.000000")) << saved[1].toStdString();

    m_splitter.setSizes({300, 191});
    DataView restarted(m_sessions, m_context);
    restarted.setSessionSplitView(&m_splitter);
    EXPECT_EQ(m_splitter.sizes(), QList<int>({240, 251}));
}

} // namespace
