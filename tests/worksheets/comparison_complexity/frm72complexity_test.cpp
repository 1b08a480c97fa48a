#include "worksheets/comparison_complexity/frm72complexity.h"

#include "complexity_fixture.h"
#include "core/uimode.h"
#include "platform/grid/grid.h"
#include "support/placedform.h"
#include "worksheets/comparison_complexity/registerforms.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using worksheets::comparison_complexity::frm72Complexity;

namespace {

class ComplexityAnalysisTest : public ComplexityFormFixture<frm72Complexity> {
protected:
    QLabel* label(const QString& name) const { return form->findChild<QLabel*>(name); }
    QString rating(int k) const { return label(QString("lblCategoryComplexity(%1)").arg(k))->text(); }
    QPushButton* button(const char* name) const { return form->findChild<QPushButton*>(name); }
    QLineEdit* editor() const { return grd()->viewport()->findChild<QLineEdit*>(); }

    // The user ticks or clears an element's box with the space bar.
    void tick(int row)
    {
        grd()->setFocus();
        grd()->setCurrentCell(row, 0);
        QTest::keyClick(grd(), Qt::Key_Space);
    }
    // The user clicks an element's name and types; the edit stays open.
    void type(int row, const QString& text)
    {
        grd()->setCurrentCell(row, 1);
        if (!grd()->isEditing())   // already the current cell: F2 opens it again
            QTest::keyClick(grd(), Qt::Key_F2);
        ASSERT_TRUE(grd()->isEditing());
        editor()->selectAll();
        QTest::keyClicks(editor(), text);
    }
    void clickCategory(int k) { QTest::mouseClick(label(QString("lblCategory(%1)").arg(k)), Qt::LeftButton); }
};

TEST_F(ComplexityAnalysisTest, ShowsTheFirstCategoryAndEveryRatingWithoutWritingAnything)
{
    const QStringList before = complexityRows();
    show();
    EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab72");
    EXPECT_EQ(label("lblFactorsCategory")->text(), " Fire Behavior");
    ASSERT_EQ(grd()->rows(), 4);
    EXPECT_EQ(grd()->text(0, 1), element(1, 1).name);
    EXPECT_FALSE(grd()->cellChecked(0, 0));
    const char* expected[] = {"", "Low    0/4", "Low    0/5", "Low    0/6", "Low    0/5",
                              "Low    0/5", "Low    0/6", "Low    0/3", "Low    0/4"};
    for (int k = 1; k <= 8; ++k)
        EXPECT_EQ(rating(k), expected[k]) << k;
    EXPECT_FALSE(button("cmdDelete")->isEnabled());

    // Browsing every category fills the grid from the file and stores nothing.
    for (int k = 1; k <= 8; ++k) {
        clickCategory(k);
        EXPECT_EQ(grd()->rows(), elementCount(k));
        EXPECT_FALSE(grd()->isEditing());
    }
    form->Update();
    EXPECT_EQ(complexityRows(), before);
}

TEST_F(ComplexityAnalysisTest, CategoriesCanBeChosenFromTheKeyboard)
{
    show();
    QLabel* second = label("lblCategory(2)");
    second->setFocus();
    QTest::keyClick(second, Qt::Key_Space);
    EXPECT_EQ(label("lblFactorsCategory")->text(), " Resources Committed");
    EXPECT_EQ(grd()->rows(), 5);
    ASSERT_TRUE(second->hasFocus());
    QTest::keyClick(second, Qt::Key_Down);
    QLabel* third = label("lblCategory(3)");
    ASSERT_TRUE(third->hasFocus());
    QTest::keyClick(third, Qt::Key_Return);
    EXPECT_EQ(label("lblFactorsCategory")->text(), " Resources Threatened");
    // The chosen caption is yellow, the others light yellow.
    EXPECT_EQ(third->palette().color(QPalette::Window), QColor(255, 255, 0));
    EXPECT_EQ(second->palette().color(QPalette::Window), QColor(255, 255, 224));
}

TEST_F(ComplexityAnalysisTest, TickingElementsRatesTheCategory)
{
    struct Case {
        int ticked;
        const char* caption;
        int stored;
    };
    const Case cases[] = {{0, "Low    0/4", 0}, {1, "Med    1/4", 1}, {2, "Med    2/4", 1},
                          {3, "High   3/4", 2}, {4, "High   4/4", 2}};
    show();
    for (const Case& c : cases) {
        if (c.ticked > 0)
            tick(c.ticked - 1);
        EXPECT_EQ(rating(1), c.caption) << c.ticked;
        EXPECT_EQ(storedCategoryRating(1), c.stored) << c.ticked;
        if (c.ticked > 0) {
            EXPECT_EQ(element(1, c.ticked).rating, 2);
        }
    }
    // Clearing a box stores No and rates the category again.
    tick(3);
    EXPECT_EQ(element(1, 4).rating, 0);
    EXPECT_EQ(rating(1), "High   3/4");
    tick(2);
    EXPECT_EQ(rating(1), "Med    2/4");
    EXPECT_EQ(storedCategoryRating(1), 1);
    for (int k = 2; k <= 8; ++k)
        EXPECT_EQ(storedCategoryRating(k), 0);
}

TEST_F(ComplexityAnalysisTest, AddedElementStartsAsYesAndOnlyItCanBeDeleted)
{
    show();
    tick(0);
    tick(1);
    ASSERT_EQ(rating(1), "Med    2/4");

    button("cmdAppend")->click();
    ASSERT_EQ(grd()->rows(), 5);
    EXPECT_TRUE(grd()->cellChecked(4, 0));
    EXPECT_EQ(rating(1), "High   3/5");
    EXPECT_EQ(storedCategoryRating(1), 2);
    EXPECT_TRUE(button("cmdDelete")->isEnabled());
    const auto added = element(1, 5);
    EXPECT_TRUE(added.exists);
    EXPECT_EQ(added.rating, 2);
    EXPECT_EQ(added.name, "");
    // The new element's name is ready for typing.
    EXPECT_TRUE(grd()->isEditing());
    EXPECT_EQ(grd()->row(), 4);
    QTest::keyClicks(editor(), "Night operations planned");
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(element(1, 5).name, "Night operations planned");

    button("cmdDelete")->click();
    EXPECT_EQ(grd()->rows(), 4);
    EXPECT_FALSE(element(1, 5).exists);
    EXPECT_EQ(rating(1), "Med    2/4");
    EXPECT_EQ(storedCategoryRating(1), 1);
    EXPECT_FALSE(button("cmdDelete")->isEnabled());
    // A permanent element is never deleted, even when asked.
    QMetaObject::invokeMethod(button("cmdDelete"), "clicked");
    EXPECT_EQ(elementCount(1), 4);
}

TEST_F(ComplexityAnalysisTest, RenameIsStoredBeforeAnotherCategoryIsShown)
{
    const QString otherBefore = element(3, 2).name;
    show();
    type(1, "Extreme rates of spread");
    ASSERT_TRUE(grd()->isEditing());

    clickCategory(3);
    EXPECT_EQ(element(1, 2).name, "Extreme rates of spread");
    // The refill of the grid for the new category writes nothing into it.
    EXPECT_EQ(element(3, 2).name, otherBefore);
    EXPECT_EQ(label("lblFactorsCategory")->text(), " Resources Threatened");
    ASSERT_EQ(grd()->rows(), 6);
    EXPECT_EQ(grd()->text(1, 1), otherBefore);

    clickCategory(1);
    EXPECT_EQ(grd()->text(1, 1), "Extreme rates of spread");
}

TEST_F(ComplexityAnalysisTest, RefillWhileANameIsBeingTypedWritesOnlyThatName)
{
    show();
    clickCategory(3);
    type(4, "Historic mining district");
    const QStringList before = complexityRows();
    // Shown afresh (category 1 again) while the edit is still open.
    form->Setup();
    EXPECT_EQ(element(3, 5).name, "Historic mining district");
    QStringList changed = complexityRows();
    for (const QString& row : before)
        changed.removeOne(row);
    EXPECT_EQ(changed, QStringList({"3|5|Historic mining district|0"}));
    EXPECT_EQ(label("lblFactorsCategory")->text(), " Fire Behavior");
    EXPECT_FALSE(grd()->isEditing());
}

TEST_F(ComplexityAnalysisTest, NameBeingTypedIsStoredByUpdateAndEscapeKeepsTheOldName)
{
    const QString old = element(2, 3).name;
    show();
    clickCategory(2);
    type(2, "Shortage of qualified overhead");
    QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_FALSE(grd()->isEditing());
    EXPECT_EQ(grd()->text(2, 1), old);
    form->Update();
    EXPECT_EQ(element(2, 3).name, old);

    // Leaving the worksheet while typing stores what was typed.
    type(2, "Shortage of qualified overhead");
    form->SaveChanges();
    EXPECT_EQ(element(2, 3).name, "Shortage of qualified overhead");
}

TEST_F(ComplexityAnalysisTest, EveryPositiveRatingOfAFileCountsAsYes)
{
    setElementRating(1, 1, 1);
    setElementRating(1, 2, 7);
    setElementRating(1, 3, -1);   // not a rating this program writes: No, and shown as No
    setStoredCategoryRating(1, 0);
    const QStringList before = complexityRows();
    show();
    EXPECT_EQ(rating(1), "Med    2/4");
    EXPECT_TRUE(grd()->cellChecked(0, 0));
    EXPECT_TRUE(grd()->cellChecked(1, 0));
    EXPECT_FALSE(grd()->cellChecked(2, 0));
    EXPECT_FALSE(grd()->cellChecked(3, 0));
    // Showing them changes nothing: only the user's ticks rate a category again.
    EXPECT_EQ(complexityRows(), before);

    tick(3);
    EXPECT_EQ(rating(1), "High   3/4");
    EXPECT_EQ(storedCategoryRating(1), 2);
    EXPECT_EQ(element(1, 1).rating, 1);   // elements the user did not touch keep their value
}

TEST_F(ComplexityAnalysisTest, CategoryWithGapsInItsNumberingShowsEveryElementAndAddsAfterTheLast)
{
    db().Execute("DELETE FROM ComplexityFactors WHERE CategoryKey = 7 AND FactorNumber = 1");
    db().Execute("INSERT INTO ComplexityFactors (CategoryKey, FactorNumber, Name, Rating) VALUES (7, 9, 'Late', 2)");
    show();
    clickCategory(7);
    ASSERT_EQ(grd()->rows(), 3);
    EXPECT_EQ(grd()->text(2, 1), "Late");
    EXPECT_EQ(rating(7), "Med    1/3");

    button("cmdAppend")->click();
    EXPECT_TRUE(element(7, 10).exists);
    EXPECT_EQ(rating(7), "Med    2/4");
    button("cmdDelete")->click();
    EXPECT_FALSE(element(7, 10).exists);
    EXPECT_TRUE(element(7, 9).exists);
}

TEST_F(ComplexityAnalysisTest, ShellCreatesTheFormsByTheirIds)
{
    worksheets::comparison_complexity::RegisterForms();
    for (const char* id : {"tab72", "tab73", "tab74"}) {
        std::unique_ptr<worksheets::WorksheetForm> f = testsupport::CreateForm(id);
        ASSERT_NE(f, nullptr) << id;
        f->Setup();
        EXPECT_EQ(worksheets::gCurrentWorksheetID, id);
    }
}

TEST_F(ComplexityAnalysisTest, TicksAreStoredWhenTheCategoryRowIsMissing)
{
    db().Execute("DELETE FROM ComplexityCategories WHERE \"Key\" = 4");
    show();
    clickCategory(4);
    tick(0);
    EXPECT_EQ(element(4, 1).rating, 2);
    EXPECT_EQ(rating(4), "Med    1/5");
    EXPECT_EQ(db().OpenRecordset("SELECT * FROM ComplexityCategories")->RecordCount(), 7);
}

} // namespace
