#include "worksheets/comparison_complexity/frm63decisiontree.h"

#include "core/costsource.h"
#include "core/g0items.h"
#include "model/c34nvctable.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g33fmus.h"
#include "model/g51alternatives.h"
#include "platform/canvas/canvas.h"
#include "support/keeppicture.h"
#include "support/placedform.h"
#include "support/worksheet_fixture.h"
#include "worksheets/comparison_complexity/registerforms.h"

#include <QComboBox>
#include <QLabel>

#include <gtest/gtest.h>

#include <memory>

using worksheets::comparison_complexity::frm63DecisionTree;

namespace {

class DecisionTreeTest : public WorksheetFixture<frm63DecisionTree> {
protected:
    DecisionTreeTest() : WorksheetFixture({.size = {900, 560}}) {}
    frm63DecisionTree& open()
    {
        reload();
        return WorksheetFixture::open();
    }
    const canvas::Drawing& drawing(int i) const { return form->picDecisionTree(i)->drawing(); }
    // Where the text starting with prefix is drawn, the first one at x or right of it;
    // (-1, -1) when there is none.
    QPoint textAt(int picture, const QString& prefix, int x = 0) const
    {
        for (const canvas::Shape& s : drawing(picture).shapes())
            if (s.kind == canvas::Shape::Kind::Text && s.text.startsWith(prefix) && s.x1 >= x)
                return {s.x1, s.y1};
        return {-1, -1};
    }
    bool hasLine(int picture, int x1, int y1, int x2, int y2) const
    {
        for (const canvas::Shape& s : drawing(picture).shapes())
            if (s.kind == canvas::Shape::Kind::Line && s.x1 == x1 && s.y1 == y1 && s.x2 == x2 && s.y2 == y2)
                return true;
        return false;
    }
};

TEST_F(DecisionTreeTest, IsTheRegisteredFormOfItsWorksheet)
{
    worksheets::comparison_complexity::RegisterForms();
    std::unique_ptr<worksheets::WorksheetForm> made = testsupport::CreateForm("tab63");
    ASSERT_NE(dynamic_cast<frm63DecisionTree*>(made.get()), nullptr);
    made->Setup();
    EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab63");
}

TEST_F(DecisionTreeTest, WithoutAFallbackOneChanceNodeLeadsToTargetAndExtreme)
{
    addAlternative({"A long strategy label that runs past thirty-five", 250000, 70});
    open();
    EXPECT_EQ(textAt(1, "A. A long strategy label that runs p"), QPoint(-1, -1));
    EXPECT_EQ(textAt(1, "A. A long strategy label that runs "), QPoint(120, 730));
    EXPECT_TRUE(drawing(1).texts().contains("A. A long strategy label that runs "));   // 35 characters
    EXPECT_EQ(textAt(1, "70%"), QPoint(2960, 420));
    EXPECT_EQ(textAt(1, "30%"), QPoint(2960, 1150));
    EXPECT_EQ(textAt(1, "Target Outcome"), QPoint(3620, 40));
    EXPECT_EQ(textAt(1, "Extreme Outcome"), QPoint(3620, 1420));
    EXPECT_EQ(textAt(1, "Fallback Plan"), QPoint(-1, -1));
    EXPECT_EQ(textAt(1, "Expected Cost:  $"), QPoint(120, 1330));
    EXPECT_TRUE(drawing(1).texts().contains("Expected Cost:  $180,000"));   // 70% of 250,000
    EXPECT_TRUE(drawing(1).texts().contains("Estimated Cost:  $250,000"));
    EXPECT_TRUE(hasLine(1, 3060, 930, 3560, 1620));
    EXPECT_TRUE(hasLine(1, 3560, 1620, 6210, 1620));
    EXPECT_FALSE(hasLine(1, 6210, 1620, 6710, 770));
    // One alternative: the second drawing is hidden, its list empty.
    EXPECT_FALSE(form->picDecisionTree(2)->isVisible());
    EXPECT_EQ(form->cboAlternative(2)->count(), 0);
}

TEST_F(DecisionTreeTest, WithAFallbackTheSecondNodeSplitsBetweenFallbackAndExtreme)
{
    addAlternative({"Direct attack", 1000});
    addAlternative({"Confine", 1000, 70, 60});
    open();
    // Drawing 2 starts on the second alternative.
    EXPECT_TRUE(form->picDecisionTree(2)->isVisible());
    EXPECT_EQ(form->cboAlternative(2)->currentIndex(), 1);
    EXPECT_EQ(textAt(2, "B. Confine"), QPoint(120, 730));
    EXPECT_EQ(textAt(2, "70%"), QPoint(2960, 420));
    EXPECT_EQ(textAt(2, "30%"), QPoint(2960, 1150));
    EXPECT_EQ(textAt(2, "60%"), QPoint(6110, 950));
    EXPECT_EQ(textAt(2, "40%"), QPoint(6110, 1870));
    EXPECT_EQ(textAt(2, "Fallback Plan"), QPoint(3620, 1420));
    EXPECT_EQ(textAt(2, "Fallback Outcome"), QPoint(6770, 570));
    EXPECT_EQ(textAt(2, "Extreme Outcome"), QPoint(6770, 1950));
    EXPECT_TRUE(hasLine(2, 6210, 1620, 6710, 2150));
    EXPECT_TRUE(hasLine(2, 6710, 770, 9360, 770));
    // Drawing 1, the first alternative, has no Fallback: 100% and 0%.
    EXPECT_EQ(textAt(1, "100%"), QPoint(2960, 420));
    EXPECT_EQ(textAt(1, "0%"), QPoint(2960, 1150));

    // The user picks the other alternative for drawing 1.
    form->cboAlternative(1)->setCurrentIndex(1);
    EXPECT_EQ(textAt(1, "B. Confine"), QPoint(120, 730));
    EXPECT_EQ(textAt(1, "Fallback Outcome"), QPoint(6770, 570));
}

TEST_F(DecisionTreeTest, AStoredChanceOutsideZeroToHundredShowsAsTheModelWeighsIt)
{
    const int a = addAlternative({"Direct attack", 1000, 70, 60});
    auto alt = model::GetAlternative(a);
    db().Execute("UPDATE Outcomes SET Success = 150 WHERE ItemKey = ?", {alt->Outcome(model::OutcomeKind::Target)->ItemKey()});
    db().Execute("UPDATE Outcomes SET Success = -20 WHERE ItemKey = ?", {alt->Outcome(model::OutcomeKind::Fallback)->ItemKey()});
    open();
    EXPECT_EQ(textAt(1, "100%"), QPoint(2960, 420));
    EXPECT_EQ(textAt(1, "0%"), QPoint(2960, 1150));
    EXPECT_EQ(textAt(1, "0%", 6110), QPoint(6110, 950));
    EXPECT_EQ(textAt(1, "100%", 6110), QPoint(6110, 1870));
}

TEST_F(DecisionTreeTest, NVCLinesShowOnlyWhenTheNVCTableHoldsAValue)
{
    addAlternative({"Direct attack", 1000, 70, 60});
    open();
    for (const QString& t : drawing(1).texts()) {
        EXPECT_FALSE(t.startsWith("Expected NVC Loss:")) << t.toStdString();
        EXPECT_FALSE(t.startsWith("Estimated NVC Loss:")) << t.toStdString();
    }
    model::c34NVCTable* nvc = model::GetNVCTable(0);
    nvc->SetNVCCellValue(2, 3, -40);
    nvc->SaveChanges();
    open();
    EXPECT_EQ(textAt(1, "Expected NVC Loss:  $"), QPoint(120, 1730));
    // Under the Target, the Fallback and the Extreme outcome.
    EXPECT_EQ(textAt(1, "Estimated NVC Loss:  $"), QPoint(3620, 240 + 900));
    EXPECT_EQ(drawing(1).texts().filter("Estimated NVC Loss:").size(), 3);
}

TEST_F(DecisionTreeTest, NoAlternativesSaysSoAndDrawsNothing)
{
    open();
    EXPECT_TRUE(form->lblNoAlternatives()->isVisible());
    EXPECT_TRUE(drawing(1).isEmpty());
    EXPECT_FALSE(form->cboAlternative(1)->isEnabled());
    EXPECT_FALSE(form->picDecisionTree(2)->isVisible());
    testsupport::KeepPicture(*form, "frm63decisiontree_empty.png");
}

} // namespace

// A wide name (capitals, other scripts) ends before the chance node's percentages: it ran across
// the branches into the Target's facts.
TEST_F(DecisionTreeTest, AWideNameEndsBeforeTheChanceNode)
{
    addAlternative({"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", 1000});
    addAlternative({"\u03A9mega \u0411\u0440\u0430\u043D\u0434\u043C\u0430\u0443\u044D\u0440 \u5317\u4EAC \u00C5sa \u00D8re ridge", 1000});
    open();
    for (int picture : {1, 2}) {
        SCOPED_TRACE(picture);
        const canvas::Shape* name = nullptr;
        for (const canvas::Shape& s : drawing(picture).shapes())
            if (s.kind == canvas::Shape::Kind::Text && s.x1 == 120 && s.y1 == 730)
                name = &s;
        ASSERT_NE(name, nullptr);
        EXPECT_FALSE(name->text.isEmpty());
        EXPECT_LE(120 + form->picDecisionTree(picture)->textWidth(name->text), 2960) << name->text.toStdString();
    }
}
