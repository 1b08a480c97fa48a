#include "core/g0items.h"
#include "core/g13rmas.h"
#include "platform/richtext/emptybody.h"
#include "platform/richtext/richtexteditor.h"
#include "support/keeppicture.h"
#include "support/placedarea.h"
#include "support/placedform.h"
#include "support/worksheet_fixture.h"
#include "worksheets/common/topiceditor.h"
#include "worksheets/objectives_alternatives/frm32safetyissues.h"
#include "worksheets/objectives_alternatives/frm33objectives.h"
#include "worksheets/objectives_alternatives/frm34prioritize.h"
#include "worksheets/objectives_alternatives/registerforms.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

using worksheets::frm32SafetyIssues;
using worksheets::frm33Objectives;
using worksheets::ObjectiveTreeForm;

namespace {

const QColor kGreen(192, 255, 192);

class ObjectiveTreeTest : public WorksheetFixture<> {
protected:
    ObjectiveTreeTest() : WorksheetFixture({.size = {1100, 650}, .saveAllOrNothing = true}) {}
    ObjectiveTreeForm& tree() { return static_cast<ObjectiveTreeForm&>(*form); }
    grid::Grid& grid() { return *tree().Grid1(); }
    QStringList rowsShown() { return columnTexts(grid(), 0); }
    QLineEdit* nameBox() { return tree().topic()->nameBox(); }
    QString bodyText() { return tree().topic()->bodyEditor()->plainText(); }
    void typeName(const QString& text)
    {
        nameBox()->selectAll();
        QTest::keyClicks(nameBox(), text);
    }
    void typeBody(const QString& text)
    {
        QTextEdit* body = tree().topic()->bodyEditor()->textEdit();
        body->setFocus();
        QTest::keyClicks(body, text);
    }
    int storedScore(int criterionKey)
    {
        db().Execute("INSERT INTO Scores (OutcomeKey, CriterionKey, Value) VALUES (?, ?, 7)", {999, criterionKey});
        return criterionKey;
    }
    int scoreRows(int criterionKey)
    {
        auto rs = db().OpenRecordset("SELECT COUNT(*) FROM Scores WHERE CriterionKey = ?", {criterionKey});
        return rs->Field(0).toInt();
    }
};

TEST_F(ObjectiveTreeTest, EachWorksheetIsTheRegisteredFormOfItsId)
{
    worksheets::objectives_alternatives::RegisterForms();
    struct Case { QString id; int worksheet; };
    for (const Case& c : {Case{"tab32", 2}, Case{"tab33", 3}, Case{"tab34", 4}}) {
        std::unique_ptr<worksheets::WorksheetForm> made = testsupport::CreateForm(c.id);
        ASSERT_NE(made, nullptr) << c.id.toStdString();
        made->Setup();
        EXPECT_EQ(worksheets::gCurrentWorksheetID, c.id);
    }
    std::unique_ptr<worksheets::WorksheetForm> safety = testsupport::CreateForm("tab32");
    std::unique_ptr<worksheets::WorksheetForm> objectives = testsupport::CreateForm("tab33");
    std::unique_ptr<worksheets::WorksheetForm> prioritize = testsupport::CreateForm("tab34");
    EXPECT_NE(dynamic_cast<frm32SafetyIssues*>(safety.get()), nullptr);
    EXPECT_NE(dynamic_cast<frm33Objectives*>(objectives.get()), nullptr);
    EXPECT_NE(dynamic_cast<worksheets::frm34Prioritize*>(prioritize.get()), nullptr);
}

// Add, name, describe and delete safety issues, with a new issue at priority 10.
TEST_F(ObjectiveTreeTest, SafetyIssuesAddRenameDescribeAndDelete)
{
    open<frm32SafetyIssues>();
    EXPECT_EQ(grid().text(0, 0), "Safety Issue");
    EXPECT_EQ(rowsShown(), QStringList{"Safety Issues"});
    EXPECT_EQ(grid().row(), 1);
    EXPECT_EQ(grid().cellBackColor(1, 0), kGreen);
    EXPECT_EQ(tree().lblName()->text(), "Category");
    EXPECT_FALSE(tree().cmdDelete()->isEnabled());
    EXPECT_EQ(nameBox()->text(), "Safety Issues");
    EXPECT_FALSE(tree().current()->Changed());

    // Add on the root row: a nameless issue, last, with the cursor in its name box.
    QTest::mouseClick(tree().cmdAdd(), Qt::LeftButton);
    EXPECT_EQ(rowsShown(), QStringList({"Safety Issues", "    "}));
    EXPECT_EQ(grid().row(), 2);
    const int first = tree().current()->ItemKey();
    EXPECT_EQ(stored("Objectives", first, "ParentKey").toInt(), 2);
    EXPECT_EQ(stored("Objectives", first, "Priority").toInt(), 10);
    EXPECT_EQ(stored("Objectives", first, "Explanation").toString(), richtext::kEmptyBody);
    EXPECT_EQ(tree().lblName()->text(), "Issue");
    EXPECT_TRUE(tree().cmdDelete()->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), nameBox());
    QTest::keyClicks(QApplication::focusWidget(), "Snags along the ridge road");
    EXPECT_EQ(rowsShown(), QStringList({"Safety Issues", "    Snags along the ridge road"}));
    typeBody("Burned-out oaks fall without warning.");

    // Add on an issue row appends another issue; the first is stored before.
    QTest::mouseClick(tree().cmdAdd(), Qt::LeftButton);
    const int second = tree().current()->ItemKey();
    EXPECT_EQ(grid().row(), 3);
    EXPECT_EQ(stored("Objectives", first, "Name").toString(), "Snags along the ridge road");
    EXPECT_TRUE(stored("Objectives", first, "Explanation").toString().contains("Burned-out oaks fall without warning."));
    EXPECT_TRUE(stored("Objectives", first, "Explanation").toString().endsWith("\\par }"));
    typeName("Power lines");

    // Entering a row by mouse stores the node left and hands the focus to the name box.
    clickCell(grid(), 2, 0);
    EXPECT_EQ(tree().current()->ItemKey(), first);
    EXPECT_EQ(nameBox()->text(), "Snags along the ridge road");
    EXPECT_TRUE(bodyText().contains("Burned-out oaks"));
    EXPECT_EQ(QApplication::focusWidget(), nameBox());
    EXPECT_EQ(stored("Objectives", second, "Name").toString(), "Power lines");

    // A group row renames without indent.
    clickCell(grid(), 1, 0);
    typeName("Safety");
    EXPECT_EQ(grid().text(1, 0), "Safety");

    // Delete asks first; only Yes deletes the row and its ratings.
    clickCell(grid(), 2, 0);
    storedScore(first);
    prompter.answer(ui::Answer::No);
    QTest::mouseClick(tree().cmdDelete(), Qt::LeftButton);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "Do you really want to delete Snags along the ridge road");
    EXPECT_EQ(prompter.messages()[0].defaultButton, ui::Answer::No);
    EXPECT_EQ(rowsShown().size(), 3);
    prompter.answer(ui::Answer::Yes);
    QTest::mouseClick(tree().cmdDelete(), Qt::LeftButton);
    EXPECT_EQ(rowsShown(), QStringList({"Safety", "    Power lines"}));
    EXPECT_EQ(stored("Objectives", first, "Name").toString(), "<no row>");
    EXPECT_EQ(scoreRows(first), 0);
    EXPECT_EQ(stored("Objectives", 2, "ChildKey").toInt(), second);
    // The row that moved into the place is shown.
    EXPECT_EQ(tree().current()->ItemKey(), second);
    EXPECT_EQ(nameBox()->text(), "Power lines");

    leave();
    EXPECT_EQ(stored("Objectives", 2, "Name").toString(), "Safety");
    testsupport::ClearModelCaches();
    open<frm32SafetyIssues>();
    EXPECT_EQ(rowsShown(), QStringList({"Safety", "    Power lines"}));
}

// Add, name, describe and delete objectives: a new objective goes to the end of the category
// of the row Add was pressed on, at priority 0.
TEST_F(ObjectiveTreeTest, ObjectivesAddUnderTheRowsCategoryRenameDescribeAndDelete)
{
    const int fuels = storedNode(3, "Protect the spotted owl nest stands", 5);
    open<frm33Objectives>();
    EXPECT_EQ(grid().text(0, 0), "Category/Objective");
    EXPECT_EQ(rowsShown(), QStringList({"Natural and Cultural Resources", "    Protect the spotted owl nest stands",
                                        "Property and Improvements", "Economic", "Social and Political", "Other"}));
    EXPECT_EQ(grid().row(), 1);
    EXPECT_EQ(tree().lblName()->text(), "Category");
    EXPECT_FALSE(tree().cmdDelete()->isEnabled());
    for (int row : {1, 3, 4, 5, 6})
        EXPECT_EQ(grid().cellBackColor(row, 0), kGreen) << row;
    EXPECT_FALSE(grid().cellBackColor(2, 0).isValid());

    // Add on an objective row: the new one ends its category, not below the clicked row.
    clickCell(grid(), 2, 0);
    EXPECT_EQ(tree().lblName()->text(), "Objective");
    QTest::mouseClick(tree().cmdAdd(), Qt::LeftButton);
    const int added = tree().current()->ItemKey();
    EXPECT_EQ(grid().row(), 3);
    EXPECT_EQ(stored("Objectives", added, "ParentKey").toInt(), 3);
    EXPECT_EQ(model::GetObjective(added)->Priority(), 0);
    QTest::keyClicks(QApplication::focusWidget(), "Keep retardant out of Elk Creek");
    typeBody("Municipal water intake 2 miles downstream.");

    // Add on a category row puts the objective under that category.
    clickCell(grid(), 5, 0);
    EXPECT_EQ(nameBox()->text(), "Economic");
    QTest::mouseClick(tree().cmdAdd(), Qt::LeftButton);
    const int economic = tree().current()->ItemKey();
    EXPECT_EQ(stored("Objectives", economic, "ParentKey").toInt(), 5);
    typeName("Hold costs under $2M");
    EXPECT_EQ(rowsShown(), QStringList({"Natural and Cultural Resources", "    Protect the spotted owl nest stands",
                                        "    Keep retardant out of Elk Creek", "Property and Improvements",
                                        "Economic", "    Hold costs under $2M", "Social and Political", "Other"}));
    EXPECT_EQ(stored("Objectives", added, "Name").toString(), "Keep retardant out of Elk Creek");
    EXPECT_TRUE(stored("Objectives", added, "Explanation").toString().contains("Municipal water intake"));

    // Delete the first objective: the next row moves into its place and is shown.
    clickCell(grid(), 2, 0);
    prompter.answer(ui::Answer::Yes);
    QTest::mouseClick(tree().cmdDelete(), Qt::LeftButton);
    EXPECT_EQ(stored("Objectives", fuels, "Name").toString(), "<no row>");
    EXPECT_EQ(stored("Objectives", 3, "ChildKey").toInt(), added);
    EXPECT_EQ(grid().row(), 2);
    EXPECT_EQ(nameBox()->text(), "Keep retardant out of Elk Creek");

    leave();

    model::ClearObjectives();
    EXPECT_EQ(stored("Objectives", economic, "Name").toString(), "Hold costs under $2M");
    EXPECT_EQ(model::GetObjective(economic)->Priority(), 0);
}

// A deleted node is forgotten at once: its unsaved edits are not written, leaving the
// worksheet writes nothing for it, and what is typed next goes to the node shown instead.
TEST_F(ObjectiveTreeTest, ADeletedNodeIsNeverSavedAndTakesNoEdits)
{
    const int a = storedNode(2, "Snags", 10);
    const int b = storedNode(2, "Power lines", 10);
    open<frm32SafetyIssues>();
    clickCell(grid(), 3, 0);   // the last row
    model::c41Objective* deleted = tree().current();
    typeName("Power lines down on Hwy 9");
    prompter.answer(ui::Answer::Yes);
    QTest::mouseClick(tree().cmdDelete(), Qt::LeftButton);

    // The new last row is current and shown, untouched.
    EXPECT_EQ(grid().row(), 2);
    EXPECT_EQ(tree().current()->ItemKey(), a);
    EXPECT_EQ(nameBox()->text(), "Snags");
    EXPECT_FALSE(tree().current()->Changed());
    typeName("Snags near the helispot");
    EXPECT_EQ(deleted->ItemName(), "Power lines down on Hwy 9");
    EXPECT_EQ(grid().text(2, 0), "    Snags near the helispot");

    leave();
    EXPECT_EQ(stored("Objectives", b, "Name").toString(), "<no row>");
    EXPECT_EQ(stored("Objectives", a, "Name").toString(), "Snags near the helispot");
    auto rs = db().OpenRecordset("SELECT * FROM Objectives WHERE Name LIKE 'Power lines%'");
    EXPECT_TRUE(rs->Eof());
}

TEST_F(ObjectiveTreeTest, TheGuidelinesOfAChosenAreaAreShownReadOnly)
{
    const QString owls = QString(richtext::kEmptyBody).replace("\\pard \\par }", "\\pard No dozers in owl habitat.\\par }");
    core::NewRMA("Riparian", richtext::kEmptyBody);
    const int owlKey = core::NewRMA("Late-successional reserve", owls)->ItemKey();
    core::SaveRMAs();
    core::ClearItems();
    open<frm33Objectives>();
    QComboBox* combo = tree().cboRMAs();
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), "Late-successional reserve");
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(tree().txtGuidelines()->plainText(), "");

    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_TRUE(tree().txtGuidelines()->plainText().contains("No dozers in owl habitat.")) << tree().txtGuidelines()->plainText().toStdString();

    // Typing and pasting into the guidelines changes nothing.
    QTextEdit* guidelines = tree().txtGuidelines()->textEdit();
    EXPECT_TRUE(guidelines->isReadOnly());
    guidelines->setFocus();
    QTest::keyClicks(guidelines, "Cut a line here");
    QApplication::clipboard()->setText("pasted");
    QTest::keyClick(guidelines, Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(tree().txtGuidelines()->plainText().contains("Cut a line"));
    EXPECT_FALSE(tree().txtGuidelines()->plainText().contains("pasted"));
    EXPECT_FALSE(tree().current()->Changed());
    leave();
    model::ClearObjectives();
    core::SaveRMAs();
    core::ClearItems();
    EXPECT_EQ(core::GetRMA(owlKey)->Body(), owls);
}

// Area names as a Prep file brings them, alike but for their ends, in the placed window: the box
// is narrower than the names, yet the chosen area shows its end there and its whole name in the
// tooltip, and the opened list shows every name whole.
TEST_F(ObjectiveTreeTest, LongAreaNamesAreToldApartInThePlacedWindow)
{
    const QString north = "Upper Kestrel Creek Municipal Watershed and Spotted Owl Nesting Habitat, North Half";
    const QString south = "Upper Kestrel Creek Municipal Watershed and Spotted Owl Nesting Habitat, South Half";
    core::NewRMA(north, richtext::kEmptyBody);
    core::NewRMA(south, richtext::kEmptyBody);
    core::NewRMA("Grazing Allotments", richtext::kEmptyBody);
    core::SaveRMAs();
    core::ClearItems();
    open<frm33Objectives>();
    testsupport::PlacedWorksheetArea placed(*form);
    QComboBox* combo = tree().cboRMAs();
    ASSERT_LT(combo->width(), combo->fontMetrics().horizontalAdvance(north));
    EXPECT_EQ(combo->toolTip(), "");

    QList<QImage> shown;
    for (const QString& name : {north, south}) {
        combo->setCurrentIndex(combo->findText(name));
        EXPECT_EQ(combo->toolTip().toStdString(), name.toStdString());
        shown.append(combo->grab().toImage());
    }
    EXPECT_NE(shown[0], shown[1]) << "the two areas look the same in the box";
    testsupport::KeepPicture(placed.host(), "tab33_placed_long.png");

    combo->showPopup();
    QApplication::processEvents();
    QAbstractItemView* list = combo->view();
    for (const QString& name : {north, south})
        EXPECT_LE(list->fontMetrics().horizontalAdvance(name), list->visualRect(list->model()->index(combo->findText(name), 0)).width());
    combo->hidePopup();
}

// A file whose objectives tree has only its root, or no row at all, shows an empty
// worksheet on which nothing can be added or deleted; the safety half is unharmed.
TEST_F(ObjectiveTreeTest, AnObjectivesTreeWithoutCategoriesShowsAnEmptyWorksheet)
{
    const QStringList damage[] = {
        {"UPDATE Objectives SET ChildKey = 0 WHERE \"Key\" = 1"},
        {"DELETE FROM Objectives WHERE \"Key\" <> 2"},
    };
    for (const QStringList& statements : damage) {
        SCOPED_TRACE(statements.join(';').toStdString());
        for (const QString& s : statements)
            db().Execute(s);
        testsupport::ClearModelCaches();
        open<frm33Objectives>();
        EXPECT_EQ(grid().rows(), 1);
        EXPECT_EQ(tree().current(), nullptr);
        EXPECT_TRUE(tree().topic()->isEmptyState());
        EXPECT_FALSE(tree().cmdAdd()->isEnabled());
        EXPECT_FALSE(tree().cmdDelete()->isEnabled());
        clickCell(grid(), 0, 0);
        tree().cmdAdd_Click();
        tree().cmdDelete_Click();
        EXPECT_EQ(grid().rows(), 1);
        EXPECT_TRUE(prompter.messages().isEmpty());
        leave();
        model::ClearObjectives();

        open<worksheets::frm34Prioritize>();
        EXPECT_EQ(static_cast<worksheets::frm34Prioritize&>(*form).Grid1()->rows(), 1);
        leave();

        open<frm32SafetyIssues>();
        QTest::mouseClick(tree().cmdAdd(), Qt::LeftButton);
        EXPECT_EQ(rowsShown().size(), 2);
        leave();
    }
}

// Add, name and describe with the keyboard alone: Tab from the grid reaches Add, Space
// presses it, the name box has the cursor, Tab goes on to the description.
TEST_F(ObjectiveTreeTest, KeyboardAlone)
{
    open<frm32SafetyIssues>();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    grid().setFocus();
    QTest::keyClick(&grid(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), tree().cmdAdd());
    QTest::keyClick(tree().cmdAdd(), Qt::Key_Space);
    ASSERT_EQ(rowsShown().size(), 2);
    QTest::keyClicks(QApplication::focusWidget(), "Heavy smoke on Hwy 9");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), tree().topic()->bodyEditor()->textEdit());
    QTest::keyClicks(QApplication::focusWidget(), "Visibility under 100 ft at night");
    EXPECT_EQ(rowsShown(), QStringList({"Safety Issues", "    Heavy smoke on Hwy 9"}));
    EXPECT_TRUE(tree().current()->Description().contains("Visibility under 100 ft at night"));
}

} // namespace

namespace {

// What the two describing worksheets add reaches the Prioritize worksheet with its starting
// priority: 10 for an issue, 0 for an objective.
TEST_F(ObjectiveTreeTest, NewNodesReachPrioritizeWithTheirStartingPriorities)
{
    open<frm32SafetyIssues>();
    QTest::mouseClick(tree().cmdAdd(), Qt::LeftButton);
    QTest::keyClicks(QApplication::focusWidget(), "Rolling rocks");
    leave();
    open<frm33Objectives>();
    clickCell(grid(), 2, 0);   // the second category
    QTest::mouseClick(tree().cmdAdd(), Qt::LeftButton);
    QTest::keyClicks(QApplication::focusWidget(), "No structures lost");
    leave();
    model::ClearObjectives();

    auto& prioritize = open<worksheets::frm34Prioritize>();
    EXPECT_EQ(prioritize.grdSafety()->text(2, 0), "    Rolling rocks");
    EXPECT_EQ(prioritize.grdSafety()->text(2, worksheets::frm34Prioritize::ColPriority), "10");
    EXPECT_EQ(prioritize.Grid1()->text(3, 0), "    No structures lost");
    EXPECT_EQ(prioritize.Grid1()->text(3, worksheets::frm34Prioritize::ColPriority), "0");
}

} // namespace

namespace {

TEST_F(ObjectiveTreeTest, AnIssueThatCannotBeStoredStaysShownAndCurrent)
{
    const int a = storedNode(2, "Snags", 10);
    storedNode(2, "Power lines", 10);
    open<frm32SafetyIssues>();
    clickCell(grid(), 2, 0);
    typeName("Snags on the ridge");

    db().Execute("ALTER TABLE Objectives RENAME TO ObjectivesAway");   // the save fails
    EXPECT_ANY_THROW(grid().setRow(3));   // the program's own move gets the handler's error
    EXPECT_EQ(grid().row(), 2);
    EXPECT_EQ(tree().current()->ItemKey(), a);
    EXPECT_EQ(nameBox()->text(), "Snags on the ridge");
    QTest::keyClicks(nameBox(), "!");
    EXPECT_EQ(rowsShown(), QStringList({"Safety Issues", "    Snags on the ridge!", "    Power lines"}));

    db().Execute("ALTER TABLE ObjectivesAway RENAME TO Objectives");
    clickCell(grid(), 3, 0);
    EXPECT_EQ(nameBox()->text(), "Power lines");
    EXPECT_EQ(stored("Objectives", a, "Name").toString(), "Snags on the ridge!");
}

} // namespace
