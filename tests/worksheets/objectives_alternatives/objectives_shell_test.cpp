#include "support/keeppicture.h"
#include "support/mainwindow_fixture.h"

#include "core/u11datafile.h"
#include "model/c41objective.h"
#include "model/g41objectives.h"
#include "platform/dao/dao.h"
#include "platform/grid/grid.h"
#include "worksheets/common/topiceditor.h"
#include "worksheets/objectives_alternatives/frm32safetyissues.h"
#include "worksheets/objectives_alternatives/frm33objectives.h"
#include "worksheets/objectives_alternatives/frm34prioritize.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The Objectives worksheets in the program's main window: the section, then the worksheet,
// chosen by the menus.
class ObjectivesShellTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        if (HasFatalFailure())
            return;
        window->mnuSection_Click(3);
        ASSERT_EQ(worksheets::gCurrentSection, 3);
    }
};

// An issue and an objective added and named on their worksheets, then given priorities, are
// in the file once the last worksheet is left, with the Edit menu as each worksheet wants it.
TEST_F(ObjectivesShellTest, AddNameAndPrioritizeThroughTheMainWindow)
{
    auto* safety = Show<worksheets::frm32SafetyIssues>(2);
    ASSERT_NE(safety, nullptr);
    EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab32");
    EXPECT_TRUE(window->topMenu(4)->isEnabled());
    QTest::mouseClick(safety->cmdAdd(), Qt::LeftButton);
    const int issue = safety->current()->ItemKey();
    QTest::keyClicks(safety->topic()->nameBox(), "Rolling rocks");

    auto* objectives = Show<worksheets::frm33Objectives>(3);
    ASSERT_NE(objectives, nullptr);
    EXPECT_TRUE(window->topMenu(4)->isEnabled());
    QTest::mouseClick(objectives->cmdAdd(), Qt::LeftButton);
    const int objective = objectives->current()->ItemKey();
    QTest::keyClicks(objectives->topic()->nameBox(), "No structures lost");

    auto* prioritize = Show<worksheets::frm34Prioritize>(4);
    ASSERT_NE(prioritize, nullptr);
    EXPECT_FALSE(window->topMenu(4)->isEnabled());
    testsupport::KeepPicture(*window, "shell-tab34.png");
    grid::Grid* issues = prioritize->grdSafety();
    const int issueRow = issues->rows() - 1;
    EXPECT_EQ(issues->text(issueRow, 0), "    Rolling rocks");
    EXPECT_EQ(issues->text(issueRow, worksheets::frm34Prioritize::ColPriority), "10");
    grid::Grid* goals = prioritize->Grid1();
    const int goalRow = goals->findRowObject(model::GetObjective(objective));
    ASSERT_GT(goalRow, 0);
    EXPECT_EQ(goals->text(goalRow, worksheets::frm34Prioritize::ColPriority), "0");
    goals->setCurrentCell(goalRow, worksheets::frm34Prioritize::ColPriority);
    ASSERT_TRUE(goals->isEditing());
    QTest::keyClicks(QApplication::focusWidget(), "8");   // still being typed when the worksheet is left

    window->mnuSection_Click(4);
    auto read = [](const QString& sql, int key) {
        auto rs = core::gDatabase()->OpenRecordset(sql, {key});
        return rs->Eof() ? QVariant() : rs->Field(0);
    };
    EXPECT_EQ(read("SELECT Name FROM Objectives WHERE \"Key\" = ?", issue).toString(), "Rolling rocks");
    EXPECT_EQ(read("SELECT Priority FROM Objectives WHERE \"Key\" = ?", issue).toInt(), 10);
    EXPECT_EQ(read("SELECT Name FROM Objectives WHERE \"Key\" = ?", objective).toString(), "No structures lost");
    EXPECT_EQ(read("SELECT Priority FROM Objectives WHERE \"Key\" = ?", objective).toInt(), 8);
    EXPECT_TRUE(prompter.messages().isEmpty());
}

} // namespace
