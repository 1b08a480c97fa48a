#include "platform/tabs/indextab.h"

#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

using tabs::IndexTab;

namespace {

// Records the notifications of one row as "S old>new" and "C pos".
struct Recorder {
    explicit Recorder(IndexTab& tab) : mTab(tab)
    {
        QObject::connect(&tab, &IndexTab::switching, [this](int o, int n, bool* cancel) {
            log << QStringLiteral("S %1>%2 at %3").arg(o).arg(n).arg(mTab.currentTab());
            if (n == cancelTo)
                *cancel = true;
        });
        QObject::connect(&tab, &IndexTab::clicked,
                         [this] { log << QStringLiteral("C %1").arg(mTab.currentTab()); });
    }
    IndexTab& mTab;
    QStringList log;
    int cancelTo = -2;
};

class IndexTabTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tab.setCaptions(QStringLiteral("|Setup|Situation|Objectives"));
        tab.setTabEnabled(0, false);
        tab.resize(400, 60);
        tab.show();
    }
    IndexTab tab;
};

} // namespace

TEST_F(IndexTabTest, CaptionListIsSplitByPosition)
{
    EXPECT_EQ(tab.count(), 4);
    EXPECT_EQ(tab.caption(0), QString());
    EXPECT_EQ(tab.caption(2), QStringLiteral("Situation"));
    EXPECT_FALSE(tab.isTabEnabled(0));
    EXPECT_TRUE(tab.isTabEnabled(3));

    tab.setCaptions(QStringLiteral("|Introduction|Topics"));
    EXPECT_EQ(tab.count(), 3);
    EXPECT_FALSE(tab.isTabEnabled(0)) << "a new caption list keeps position 0 switched off";
    EXPECT_EQ(tab.captions(), QStringLiteral("|Introduction|Topics"));
}

TEST_F(IndexTabTest, ProgramChangeRaisesSwitchBeforeAndClickAfter)
{
    Recorder rec(tab);
    EXPECT_TRUE(tab.setCurrentTab(1));
    EXPECT_TRUE(tab.setCurrentTab(3));
    EXPECT_TRUE(tab.setCurrentTab(3)) << "the same position again is no change";
    EXPECT_EQ(rec.log, (QStringList{"S -1>1 at -1", "C 1", "S 1>3 at 1", "C 3"}));
    EXPECT_EQ(tab.bar()->currentIndex(), 3);
}

TEST_F(IndexTabTest, CancelledSwitchKeepsPositionAndRaisesNoClick)
{
    tab.setCurrentTab(1);
    Recorder rec(tab);
    rec.cancelTo = 2;
    EXPECT_FALSE(tab.setCurrentTab(2));
    EXPECT_EQ(tab.currentTab(), 1);
    EXPECT_EQ(tab.bar()->currentIndex(), 1);
    EXPECT_EQ(rec.log, QStringList{"S 1>2 at 1"});
    EXPECT_FALSE(tab.setCurrentTab(7)) << "a position that does not exist";
    EXPECT_EQ(rec.log.size(), 1);
}

TEST_F(IndexTabTest, UserClickGoesThroughTheSameNotifications)
{
    tab.setCurrentTab(1);
    Recorder rec(tab);
    QTest::mouseClick(tab.bar(), Qt::LeftButton, {}, tab.bar()->tabRect(2).center());
    EXPECT_EQ(tab.currentTab(), 2);
    EXPECT_EQ(rec.log, (QStringList{"S 1>2 at 1", "C 2"}));

    rec.cancelTo = 3;
    QTest::mouseClick(tab.bar(), Qt::LeftButton, {}, tab.bar()->tabRect(3).center());
    EXPECT_EQ(tab.currentTab(), 2) << "a cancelled click leaves the row where it was";
    EXPECT_EQ(tab.bar()->currentIndex(), 2);

    tab.setEnabled(false);
    rec.log.clear();
    QTest::mouseClick(tab.bar(), Qt::LeftButton, {}, tab.bar()->tabRect(1).center());
    EXPECT_TRUE(rec.log.isEmpty()) << "a disabled row takes no input";
}

TEST_F(IndexTabTest, ArrowKeysSkipTheSwitchedOffPosition)
{
    tab.setCurrentTab(1);
    Recorder rec(tab);
    QTest::keyClick(tab.bar(), Qt::Key_Left);
    EXPECT_EQ(tab.currentTab(), 1);
    QTest::keyClick(tab.bar(), Qt::Key_Right);
    EXPECT_EQ(tab.currentTab(), 2);
    EXPECT_EQ(rec.log, (QStringList{"S 1>2 at 1", "C 2"}));
}
