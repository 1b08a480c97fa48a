#include "worksheets/comparison_complexity/frm74complexitytype.h"

#include "complexity_fixture.h"
#include "core/u14properties.h"
#include "core/uimode.h"
#include "platform/grid/grid.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <memory>

using worksheets::comparison_complexity::frm74ComplexityType;

namespace {

class IncidentTypeTest : public ComplexityFormFixture<frm74ComplexityType> {
protected:
    QString text(const QString& name) const { return form->findChild<QLabel*>(name)->text(); }
    QLineEdit* team() const { return form->findChild<QLineEdit*>("txtTeam"); }
    QPlainTextEdit* rationale() const { return form->findChild<QPlainTextEdit*>("txtRationale"); }
    QStringList counts() const
    {
        return {text("lblCategories(0)"), text("lblCategories(1)"), text("lblCategories(2)"), text("lblFactors(0)"),
                text("lblFactors(2)")};
    }
    void loseFocus(QWidget* w)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(w, &out);
    }
};

TEST_F(IncidentTypeTest, NothingPresentShowsOnlyTheHeaderAndAllLow)
{
    show();
    EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab74");
    ASSERT_EQ(grd()->rows(), 1);
    EXPECT_EQ(grd()->text(0, 0), "Category     ");
    EXPECT_EQ(grd()->text(0, 1), "Selected Elements");
    EXPECT_EQ(counts(), QStringList({"8", "0", "0", "38", "0"}));
    EXPECT_EQ(text("lblCategoryComplexity(6)"), "Low    0/6");
    EXPECT_EQ(team()->text(), "");
}

TEST_F(IncidentTypeTest, SelectedElementsAreGroupedUnderTheirCategory)
{
    for (int n = 1; n <= 3; ++n)
        setElementRating(2, n, 2);
    setElementRating(4, 5, 2);
    show();
    ASSERT_EQ(grd()->rows(), 5);
    EXPECT_EQ(grd()->text(1, 0), " Resources Committed");
    EXPECT_EQ(grd()->text(3, 1), element(2, 3).name);
    EXPECT_EQ(grd()->text(4, 0), " Safety");
    EXPECT_EQ(grd()->text(4, 1), element(4, 5).name);
    // The first category's name shows once, in one cell over its three rows.
    EXPECT_EQ(grd()->mergedRange(2, 0), QRect(0, 1, 1, 3));
    EXPECT_EQ(grd()->mergedRange(4, 0).height(), 1);
    EXPECT_EQ(text("lblCategoryComplexity(2)"), "High   3/5");
    EXPECT_EQ(text("lblCategoryComplexity(4)"), "Med    1/5");
    EXPECT_EQ(counts(), QStringList({"6", "1", "1", "34", "4"}));
}

TEST_F(IncidentTypeTest, CountsAgreeWithTheCaptionsWhateverRatingsTheFileStores)
{
    // Positive ratings other than 2, and a category rating stored by some other program that
    // no longer fits its elements.
    setElementRating(1, 1, 1);
    setElementRating(1, 2, 5);
    setElementRating(8, 1, 2);
    setStoredCategoryRating(3, 2);
    show();
    EXPECT_EQ(text("lblCategoryComplexity(1)"), "Med    2/4");
    EXPECT_EQ(text("lblCategoryComplexity(3)"), "Low    0/6");
    EXPECT_EQ(counts(), QStringList({"6", "2", "0", "35", "3"}));
    ASSERT_EQ(grd()->rows(), 4);
    EXPECT_EQ(grd()->text(2, 1), element(1, 2).name);
}

TEST_F(IncidentTypeTest, TypeAndRationaleAreStoredOnlyWhenChanged)
{
    core::Property_Set("OverheadTeam", "3");
    show();
    EXPECT_EQ(team()->text(), "3");
    // Filling the boxes is no edit: leaving without typing writes nothing.
    form->Update();
    EXPECT_FALSE(propertyRowExists("OverheadTeamRationale"));

    team()->selectAll();
    QTest::keyClicks(team(), "2");
    loseFocus(team());
    EXPECT_EQ(core::Property_Get("OverheadTeam"), "2");
    EXPECT_FALSE(propertyRowExists("OverheadTeamRationale"));

    QTest::keyClicks(rationale(), "Structures threatened on two divisions.");
    form->SaveChanges();
    EXPECT_EQ(core::Property_Get("OverheadTeamRationale"), "Structures threatened on two divisions.");

    // Shown again, the worksheet shows what was stored.
    form.reset();
    show();
    EXPECT_EQ(team()->text(), "2");
    EXPECT_EQ(rationale()->toPlainText(), "Structures threatened on two divisions.");
}

TEST_F(IncidentTypeTest, EnteringTheTypeSelectsItsText)
{
    core::Property_Set("OverheadTeam", "Type 3");
    show();
    team()->setCursorPosition(2);
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(team(), &in);
    // The selection is made once the click that gave the focus is over.
    QApplication::processEvents();
    EXPECT_EQ(team()->selectedText(), "Type 3");
}

TEST_F(IncidentTypeTest, RowsOutsideTheEightCategoriesAndMissingCategoryRowsAreBorneQuietly)
{
    db().Execute("DELETE FROM ComplexityCategories WHERE \"Key\" = 5");
    db().Execute("INSERT INTO ComplexityFactors (CategoryKey, FactorNumber, Name, Rating) VALUES (9, 1, 'Stray', 2)");
    db().Execute("UPDATE ComplexityFactors SET Name = NULL, Rating = 2 WHERE CategoryKey = 5 AND FactorNumber = 2");
    show();
    ASSERT_EQ(grd()->rows(), 2);
    EXPECT_EQ(grd()->text(1, 0), " Ownership");   // the fixed caption stands in for the lost row
    EXPECT_EQ(grd()->text(1, 1), "");
    EXPECT_EQ(text("lblCategoryComplexity(5)"), "Med    1/5");
    EXPECT_EQ(counts(), QStringList({"7", "1", "0", "37", "1"}));
}

} // namespace
