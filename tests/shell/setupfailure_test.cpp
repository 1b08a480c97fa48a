// A worksheet whose filling fails half way on an error of the data file is not left on screen:
// the user is told, the section's introduction takes its place, nothing of the half-filled page
// is saved, and once the file reads again the worksheet shows what the file holds.

#include "support/mainwindow_fixture.h"

#include "core/u11datafile.h"
#include "model/g33fmus.h"
#include "model/textnumbers.h"
#include "platform/dao/dao.h"
#include "platform/grid/grid.h"
#include "platform/tabs/indextab.h"
#include "shell/frm02tabs.h"
#include "shell/frm11intro.h"
#include "worksheets/analysis/frm53ratings.h"
#include "worksheets/analysis/frm56_costsummary.h"
#include "worksheets/objectives_alternatives/frm44probabilities.h"
#include "worksheets/setup_situation/frm14nvctable.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include <functional>

namespace {

class SetupFailureTest : public MainWindowFixture {
protected:
    // The user's choice, made while the table cannot be read; the table is back after it, and
    // the user has been told once.
    void ChooseWithoutTable(const QString& table, const std::function<void()>& choose)
    {
        core::gDatabase()->Execute(QStringLiteral("ALTER TABLE %1 RENAME TO %1Held").arg(table));
        choose();
        core::gDatabase()->Execute(QStringLiteral("ALTER TABLE %1Held RENAME TO %1").arg(table));
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Critical);
        EXPECT_TRUE(prompter.messages()[0].text.startsWith(QStringLiteral("An error occurred.\r\n")))
            << prompter.messages()[0].text.toStdString();
    }

    // The page whose choice could not be read is gone, once the handler that failed has
    // unwound, and the section's introduction is on screen in its place.
    template <class Form> void ExpectDropped()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window->findChildren<Form*>().isEmpty()) << "the half-shown page is gone";
        EXPECT_NE(qobject_cast<shell::frm11Intro*>(shell::CurrentWorksheetForm()), nullptr);
        EXPECT_EQ(worksheets::gCurrentWorksheetID, QStringLiteral("tab11"));
        EXPECT_EQ(window->tabsForm()->vsTab2()->currentTab(), 1);
    }

    // What a user does next: an edit on the page, where it is still on screen, and the next
    // worksheet; then back to the introduction, the page found gone and no further message.
    template <class Form> void EditThenLeave(int nextWorksheet, const std::function<void(Form&)>& edit)
    {
        if (auto* left = dynamic_cast<Form*>(shell::CurrentWorksheetForm()))
            edit(*left);
        window->mnuTab_Click(nextWorksheet);
        window->mnuTab_Click(1);
        ExpectDropped<Form>();
        EXPECT_EQ(prompter.messages().size(), 1);
    }
};

// The NVC table of an FMU as the file holds it, each value as the grid shows it.
QStringList StoredNVC(int fmuKey)
{
    QStringList values;
    for (int r = 1; r <= 14; ++r) {
        for (int fil = 1; fil <= 6; ++fil) {
            auto rs = core::gDatabase()->OpenRecordset(
                QStringLiteral("SELECT FIL%1 FROM NVCPerAcre WHERE FMZKey = ? AND ResourceNumber = ?").arg(fil), {fmuKey, r});
            values << (rs->Eof() ? QString() : model::textnum::SingleText(rs->Field(0).toFloat()));
        }
    }
    return values;
}

QStringList ShownNVC(const worksheets::frm14NVCTable& page)
{
    QStringList values;
    for (int r = 1; r <= 14; ++r)
        for (int fil = 1; fil <= 6; ++fil)
            values << page.grdNVC->text(r, fil);
    return values;
}

void TypeNVC(worksheets::frm14NVCTable& page, int row, int fil, const QString& text)
{
    page.grdNVC->setCurrentCell(row, fil);
    auto* editor = page.grdNVC->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, text);
}

QVariantList StoredRows(const QString& sql)
{
    QVariantList rows;
    auto rs = core::gDatabase()->OpenRecordset(sql);
    for (; !rs->Eof(); rs->MoveNext())
        for (int i = 0; i < rs->FieldCount(); ++i)
            rows << rs->Field(i);
    return rows;
}

QVariantList StoredOutcomes()
{
    return StoredRows(
        QStringLiteral("SELECT ItemKey, CostSource, AdjustedCost, CostRationale FROM Outcomes ORDER BY ItemKey"));
}

QVariantList StoredProbabilities()
{
    return StoredRows(QStringLiteral("SELECT ItemKey, Success, SuccessRationale FROM Outcomes ORDER BY ItemKey"));
}

QVariantList StoredScores()
{
    return StoredRows(
        QStringLiteral("SELECT OutcomeKey, CriterionKey, Value, Description FROM Scores ORDER BY OutcomeKey, CriterionKey"));
}

} // namespace

// The NVC Table with another FMU chosen whose values cannot be read named that FMU over the
// values of the one left, and a value typed then was stored in the table left. The page now
// goes unsaved; the FMU left was stored when it was left, and both tables keep their rows.
TEST_F(SetupFailureTest, AnFMUWhoseTableCannotBeReadTakesTheNVCTableOffUnsaved)
{
    const auto fmus = model::FMUListEntries();
    ASSERT_GE(fmus.size(), 2);
    const int first = fmus[0].Key;
    const int second = fmus[1].Key;
    const QStringList storedFirst = StoredNVC(first);
    const QStringList storedSecond = StoredNVC(second);
    ASSERT_NE(storedFirst, storedSecond) << "two tables to tell apart";

    auto* page = Show<worksheets::frm14NVCTable>(4);
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(ShownNVC(*page), storedFirst);
    ChooseWithoutTable(QStringLiteral("NVCPerAcre"), [&] {
        page->cboFMU->setFocus();
        QTest::keyClick(page->cboFMU, Qt::Key_Down);   // the second FMU, picked as a user picks it
    });

    // A value typed for the FMU named.
    EditThenLeave<worksheets::frm14NVCTable>(
        5, [](worksheets::frm14NVCTable& left) { TypeNVC(left, 1, 1, QStringLiteral("123")); });
    EXPECT_EQ(StoredNVC(first), storedFirst);
    EXPECT_EQ(StoredNVC(second), storedSecond);

    // Once the file reads again, the FMU is shown as stored and an edit of it is stored alone.
    page = Show<worksheets::frm14NVCTable>(4);
    ASSERT_NE(page, nullptr);
    page->cboFMU->setCurrentIndex(page->cboFMU->findData(second));
    EXPECT_EQ(ShownNVC(*page), storedSecond);
    TypeNVC(*page, 1, 1, QStringLiteral("123"));
    window->mnuTab_Click(5);
    QStringList expected = storedSecond;
    expected[0] = QStringLiteral("123");
    EXPECT_EQ(StoredNVC(second), expected);
    EXPECT_EQ(StoredNVC(first), storedFirst);
    EXPECT_EQ(prompter.messages().size(), 1);
}

// The Costs worksheet moved to an outcome whose resource list cannot be read showed that
// outcome's cost method and cost by size beside the amounts and rationale of the outcome left,
// and went on as the outcome left. The page now goes, unsaved, right after the message.
TEST_F(SetupFailureTest, AnOutcomeWhoseCostsCannotBeReadTakesTheCostsWorksheetOffUnsaved)
{
    window->mnuSection_Click(5);
    auto* page = Show<worksheets::frm56_CostSummary>(6);
    ASSERT_NE(page, nullptr);
    const QVariantList stored = StoredOutcomes();
    ChooseWithoutTable(QStringLiteral("SRUses"), [&] {
        page->grdOutcomes->setFocus();
        // Down the outcomes, to the first whose resource list the worksheet has not read yet.
        for (int i = 1; i < page->grdOutcomes->rows() && prompter.messages().isEmpty(); ++i)
            QTest::keyClick(page->grdOutcomes, Qt::Key_Down);
    });
    ExpectDropped<worksheets::frm56_CostSummary>();

    // Nothing of the half-shown page is stored, and the worksheet shows again.
    window->mnuTab_Click(6);
    EXPECT_EQ(StoredOutcomes(), stored);
    page = dynamic_cast<worksheets::frm56_CostSummary*>(shell::CurrentWorksheetForm());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(prompter.messages().size(), 1);
}

// Objective Ratings moved to a criterion whose ratings could not be read named that criterion
// over the ratings of the one left, and a rating typed then was stored under the one left.
TEST_F(SetupFailureTest, ACriterionWhoseRatingsCannotBeReadTakesTheRatingsOffUnsaved)
{
    window->mnuSection_Click(5);
    auto* page = Show<worksheets::frm53Ratings>(3);
    ASSERT_NE(page, nullptr);
    const QVariantList stored = StoredScores();
    ASSERT_FALSE(stored.isEmpty());
    ChooseWithoutTable(QStringLiteral("Scores"), [&] {
        page->lstObjectives()->setFocus();
        QTest::keyClick(page->lstObjectives(), Qt::Key_Down);   // the next criterion
    });

    // The first outcome rated.
    EditThenLeave<worksheets::frm53Ratings>(4, [](worksheets::frm53Ratings& left) {
        grid::Grid& g = *left.Grid1();
        g.setFocus();
        g.setCurrentCell(1, 3);   // the rating column
        g.editCell();
        if (QWidget* editor = QApplication::focusWidget())
            QTest::keyClicks(editor, QStringLiteral("7"));
    });
    EXPECT_EQ(StoredScores(), stored);
}

// Probabilities moved to an alternative whose outcomes could not be read named that alternative
// over the percents and rationales of the one left, and a word added to a rationale then stored
// the rationale left as the chosen alternative's.
TEST_F(SetupFailureTest, AnAlternativeWhoseOutcomesCannotBeReadTakesProbabilitiesOffUnsaved)
{
    window->mnuSection_Click(4);
    auto* page = Show<worksheets::frm44Probabilities>(4);
    ASSERT_NE(page, nullptr);
    ASSERT_GE(page->lstAlternatives()->count(), 2);
    const QVariantList stored = StoredProbabilities();
    ChooseWithoutTable(QStringLiteral("Outcomes"), [&] {
        page->lstAlternatives()->setFocus();
        QTest::keyClick(page->lstAlternatives(), Qt::Key_Down);   // the next alternative
    });

    // A word added to the Target's rationale.
    EditThenLeave<worksheets::frm44Probabilities>(5, [](worksheets::frm44Probabilities& left) {
        QPlainTextEdit* rationale = left.txtRationale(model::OutcomeKind::Target);
        rationale->setFocus();
        rationale->moveCursor(QTextCursor::End);
        QTest::keyClicks(rationale, QStringLiteral(" checked"));
    });
    EXPECT_EQ(StoredProbabilities(), stored);
}

TEST_F(SetupFailureTest, AWorksheetThatCannotBeFilledIsDroppedUnsaved)
{
    const int fmu = model::FMUListEntries().value(0).Key;
    const QStringList stored = StoredNVC(fmu);
    ASSERT_NE(stored.count(QStringLiteral("0")), stored.size()) << "a table with values to lose";

    // The NVC values cannot be read, once the grid and the FMU list of the worksheet are made.
    core::gDatabase()->Execute(QStringLiteral("ALTER TABLE NVCPerAcre RENAME TO NVCPerAcreHeld"));
    window->mnuTab_Click(4);
    QApplication::processEvents();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].text.startsWith(QStringLiteral("An error occurred in the worksheet change.\r\n")))
        << prompter.messages()[0].text.toStdString();
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(window->findChildren<worksheets::frm14NVCTable*>().isEmpty()) << "the half-filled page is gone";
    EXPECT_NE(qobject_cast<shell::frm11Intro*>(shell::CurrentWorksheetForm()), nullptr);
    EXPECT_EQ(worksheets::gCurrentWorksheetID, QStringLiteral("tab11"));
    EXPECT_EQ(window->tabsForm()->vsTab2()->currentTab(), 1);

    // The file reads again: the worksheet shows the stored values, not what the failed filling
    // left behind, and an edit of one value stores that value alone.
    core::gDatabase()->Execute(QStringLiteral("ALTER TABLE NVCPerAcreHeld RENAME TO NVCPerAcre"));
    auto* page = Show<worksheets::frm14NVCTable>(4);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ShownNVC(*page), stored);
    page->grdNVC->setCurrentCell(1, 1);
    auto* editor = page->grdNVC->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("123"));
    window->mnuTab_Click(5);
    QStringList expected = stored;
    expected[0] = QStringLiteral("123");
    EXPECT_EQ(StoredNVC(fmu), expected);
    EXPECT_EQ(prompter.messages().size(), 1);
}
