#include "cost_fixture.h"

#include "model/c38srtype.h"
#include "model/c67sruselist.h"
#include "model/c68sruse.h"
#include "model/g38srtypes.h"
#include "platform/tabs/indextab.h"
#include "support/failingwrites.h"
#include "worksheets/analysis/frm562sruselist.h"

#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTabBar>

using worksheets::frm562SRUseList;

namespace {

class SRUseListTest : public CostTest {
protected:
    void SetUp() override
    {
        CostTest::SetUp();
        BuildWithFMUs();
        db().Execute(QStringLiteral("DELETE FROM SRUses"));
        testsupport::ClearModelCaches();
        for (const auto& entry : model::SRTypeListEntries())
            types[model::GetSRType(entry.Key)->ShortName()] = entry.Key;
    }
    void TearDown() override
    {
        dialog.reset();
        CostTest::TearDown();
    }

    // The outcome of the n-th outcome row (1: A's Target, 2: A's Fallback, 3: B's Target ...).
    model::c53Outcome* Outcome(int n) { return model::OutcomeRows().at(n - 1).outcome.get(); }

    // Lines stored for the outcome, named by their types, as a user adding them one by one.
    void Lines(int n, const QStringList& names)
    {
        for (const QString& name : names)
            Outcome(n)->SRUseList().NewSRUse(types.value(name));
        testsupport::ClearModelCaches();
    }

    frm562SRUseList& Open(int n)
    {
        dialog = std::make_unique<frm562SRUseList>(Outcome(n));
        dialog->Setup();
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        return *dialog;
    }
    // Closes the dialog and opens it again on the same outcome, from the stored lines.
    frm562SRUseList& Reopen(int n)
    {
        QTest::mouseClick(dialog->cmdClose(), Qt::LeftButton);
        dialog.reset();
        testsupport::ClearModelCaches();
        return Open(n);
    }

    QStringList Shown() const
    {
        QStringList names;
        for (int r = 1; r < dialog->grdSRList->rows(); ++r) {
            EXPECT_EQ(dialog->grdSRList->text(r, frm562SRUseList::Position), QString::number(r));
            names << dialog->grdSRList->text(r, frm562SRUseList::Name);
        }
        return names;
    }
    // The outcome's lines in the order the file keeps them, and their positions 1 to n.
    QStringList Stored(int outcomeKey)
    {
        QStringList names;
        auto rs = db().OpenRecordset(
            QStringLiteral("SELECT SRTypeKey, ItemIndex FROM SRUses WHERE OutcomeKey = ? ORDER BY ItemIndex, ItemKey"),
            {outcomeKey});
        for (int position = 1; !rs->Eof(); rs->MoveNext(), ++position) {
            EXPECT_EQ(rs->Field(1).toInt(), position);
            names << model::GetSRType(rs->Field(0).toInt())->ShortName();
        }
        return names;
    }

    void ClickType(const QString& longName)
    {
        QListWidget* list = dialog->lstSRMaster;
        const auto found = list->findItems(longName, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found[0]).center());
    }
    void DeleteRow(int row)
    {
        dialog->grdSRList->setCurrentCell(row, frm562SRUseList::Name);
        QTest::keyClick(dialog->grdSRList, Qt::Key_Delete);
    }

    QHash<QString, int> types;
    std::unique_ptr<frm562SRUseList> dialog;
};

TEST_F(SRUseListTest, AnEmptyListShowsNothingToDelete)
{
    Open(1);
    EXPECT_EQ(dialog->windowTitle(), "Estimate  Cost based on Suppression Resources");
    EXPECT_EQ(dialog->grdSRList->rows(), 1);
    EXPECT_EQ(dialog->pnlCost->text(), "$0");
    EXPECT_FALSE(dialog->cmdDelete->isEnabled());
    EXPECT_EQ(dialog->lstSRMaster->count(), types.size());
}

TEST_F(SRUseListTest, ArrowingThroughTheTypesAddsNothingAClickOrEnterAddsOne)
{
    Open(1);
    const int key = Outcome(1)->ItemKey();
    QListWidget* list = dialog->lstSRMaster;
    list->setFocus();
    list->setCurrentRow(0);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(dialog->grdSRList->rows(), 1);
    EXPECT_TRUE(Stored(key).isEmpty());

    // A click adds the type at the end, costed, and opens the quantity for typing.
    ClickType("Engine, Type 3");
    EXPECT_EQ(Shown(), QStringList{"E3"});
    EXPECT_EQ(Stored(key), QStringList{"E3"});
    EXPECT_TRUE(dialog->grdSRList->isEditing());
    EXPECT_EQ(dialog->grdSRList->col(), frm562SRUseList::Qty);
    QTest::keyClicks(Editor(*dialog->grdSRList), "3");
    EXPECT_EQ(dialog->pnlCost->text(), "$9,600");   // 3 engines x 1 day x $3,200, as typed
    QTest::keyClick(Editor(*dialog->grdSRList), Qt::Key_Return);

    // The keyboard: Enter on the chosen type adds it.
    list->setFocus();
    list->setCurrentRow(5);   // Air Tanker Load, paid per load
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(Shown(), QStringList({"E3", "AT"}));
    EXPECT_EQ(dialog->grdSRList->text(2, frm562SRUseList::Time), "");
    EXPECT_EQ(dialog->grdSRList->cellBackColor(2, frm562SRUseList::Time), QColor(192, 192, 192));
    EXPECT_EQ(dialog->pnlCost->text(), "$19,100");
    Reopen(1);
    EXPECT_EQ(Shown(), QStringList({"E3", "AT"}));
    EXPECT_EQ(dialog->grdSRList->text(1, frm562SRUseList::Qty), "3");
}

// Typing a position moves the line; every move, add and delete leaves the file holding the
// order on screen, so reopening shows the same list.
TEST_F(SRUseListTest, LinesKeepTheOrderShownAfterMovesAddsAndDeletes)
{
    struct Case {
        int row;
        const char* typed;
        QStringList order;
    };
    const Case cases[] = {
        {1, "3", {"T2C", "E3", "T1C", "DZR"}},
        {1, "9", {"T2C", "E3", "DZR", "T1C"}},
        {3, "0", {"E3", "T1C", "T2C", "DZR"}},
        {4, "2.5", {"T1C", "DZR", "T2C", "E3"}},   // a half goes to the even position
        {2, "-7", {"T2C", "T1C", "E3", "DZR"}},
        {2, "2", {"T1C", "T2C", "E3", "DZR"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " in line " + std::to_string(c.row));
        db().Execute(QStringLiteral("DELETE FROM SRUses"));
        testsupport::ClearModelCaches();
        Lines(3, {"T1C", "T2C", "E3", "DZR"});
        const int key = Outcome(3)->ItemKey();
        Open(3);
        Type(*dialog->grdSRList, c.row, frm562SRUseList::Position, QString::fromLatin1(c.typed));
        EXPECT_EQ(Shown(), c.order);
        EXPECT_EQ(Stored(key), c.order);
        Reopen(3);
        EXPECT_EQ(Shown(), c.order);
        dialog.reset();
    }

    // A mix: delete, add, move, delete, add.
    db().Execute(QStringLiteral("DELETE FROM SRUses"));
    testsupport::ClearModelCaches();
    Lines(3, {"T1C", "T2C", "E3"});
    const int key = Outcome(3)->ItemKey();
    Open(3);
    DeleteRow(2);
    EXPECT_EQ(Shown(), QStringList({"T1C", "E3"}));   // the last line is number 2 now
    DeleteRow(1);
    ClickType("Dozer");
    QTest::keyClick(Editor(*dialog->grdSRList), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());   // Escape leaves the cell, not the dialog
    EXPECT_EQ(Shown(), QStringList({"E3", "DZR"}));
    Type(*dialog->grdSRList, 2, frm562SRUseList::Position, "1");
    EXPECT_EQ(Shown(), QStringList({"DZR", "E3"}));
    ClickType("Type 1 Crew");
    QTest::keyClick(Editor(*dialog->grdSRList), Qt::Key_Escape);
    DeleteRow(2);
    ClickType("Heavy Helicopter");
    QTest::keyClick(Editor(*dialog->grdSRList), Qt::Key_Escape);
    const QStringList order{"DZR", "T1C", "H1"};
    EXPECT_EQ(Shown(), order);
    EXPECT_EQ(Stored(key), order);
    Reopen(3);
    EXPECT_EQ(Shown(), order);
    EXPECT_TRUE(prompter.messages().isEmpty());
}

TEST_F(SRUseListTest, CopyingAnotherListAppendsItsLines)
{
    Lines(1, {"T1C", "E3", "DZR"});   // A's Target: the list copied into
    Lines(3, {"H1", "AT"});           // B's Target
    Lines(8, {"WT"});                 // the Extreme outcome
    {
        // C's Fallback, not used, has a list of its own.
        auto hidden = model::GetAlternatives().At(2)->Outcome(model::OutcomeKind::Fallback);
        ASSERT_FALSE(hidden->bShow());
        hidden->SRUseList().NewSRUse(types.value("IMT"));
        testsupport::ClearModelCaches();
    }
    {
        auto line = model::OutcomeRows().at(2).outcome->SRUseList().SRUseCollection().At(0);
        line->SetQuantity(2);
        line->SetTimePeriods(5);
        line->SaveChanges();
        testsupport::ClearModelCaches();
    }
    Open(1);
    const int key = Outcome(1)->ItemKey();
    EXPECT_TRUE(dialog->pnlTab2->isHidden());
    QTabBar* bar = dialog->TabStrip1->bar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    EXPECT_FALSE(dialog->pnlTab2->isHidden());
    EXPECT_TRUE(dialog->pnlTab1->isHidden());
    // Only B's Target is offered: not the outcome itself, an empty list, an unused Fallback
    // or the Extreme outcome.
    ASSERT_EQ(dialog->grdLists->rows(), 2);
    EXPECT_EQ(dialog->grdLists->text(1, 0), "B. Strategy 2");
    EXPECT_EQ(dialog->grdLists->text(1, 1), "Target");
    EXPECT_FALSE(dialog->cmdCopy->isEnabled());
    Keep(dialog.get(), "frm562SRUseList-copy.png");

    dialog->grdLists->setCurrentCell(1, 0);
    ASSERT_TRUE(dialog->cmdCopy->isEnabled());
    QTest::mouseClick(dialog->cmdCopy, Qt::LeftButton);
    const QStringList order{"T1C", "E3", "DZR", "H1", "AT"};
    EXPECT_EQ(Shown(), order);
    EXPECT_EQ(dialog->grdSRList->text(4, frm562SRUseList::Qty), "2");
    EXPECT_EQ(dialog->grdSRList->text(4, frm562SRUseList::Time), "5");
    EXPECT_FALSE(dialog->cmdCopy->isEnabled());
    EXPECT_EQ(Stored(key), order);
    EXPECT_EQ(Stored(Outcome(3)->ItemKey()), QStringList({"H1", "AT"}));
    Reopen(1);
    EXPECT_EQ(Shown(), order);
}

// Whatever is typed into the counts and positions, the dialog keeps running, keeps a count
// it can hold and says why it refuses the rest.
TEST_F(SRUseListTest, HostileCountsAndPositionsAreRefused)
{
    Lines(1, {"T1C", "AT"});
    Open(1);
    grid::Grid& g = *dialog->grdSRList;
    struct Case {
        int col;
        const char* typed;
        const char* shown;   // the cell afterwards
        bool refused;
    };
    const Case cases[] = {
        {frm562SRUseList::Qty, "abc", "1", true},   {frm562SRUseList::Qty, "-1", "1", true},
        {frm562SRUseList::Qty, "9e9", "1", true},   {frm562SRUseList::Qty, "1,2", "1", true},
        {frm562SRUseList::Qty, "$5", "5", false},   {frm562SRUseList::Qty, "0", "0", false},
        {frm562SRUseList::Qty, "2.5", "2", false},  {frm562SRUseList::Time, "1e3", "1000", false},
        {frm562SRUseList::Time, "x", "1000", true}, {frm562SRUseList::Time, "", "0", false},
        {frm562SRUseList::Position, "one", "1", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " in column " + std::to_string(c.col));
        prompter.clear();
        Type(g, 1, c.col, QString::fromLatin1(c.typed));
        EXPECT_EQ(g.text(1, c.col), QString::fromLatin1(c.shown));
        EXPECT_EQ(prompter.messages().size(), c.refused ? 1 : 0);
        EXPECT_EQ(Shown(), QStringList({"T1C", "AT"}));
        EXPECT_GE(dialog->currentLine()->Quantity(), 0);
        EXPECT_GE(dialog->currentLine()->TimePeriods(), 0);
    }
    // The Time of a line paid per load never opens.
    g.setCurrentCell(2, frm562SRUseList::Time);
    EXPECT_FALSE(g.isEditing());
    Reopen(1);
    EXPECT_EQ(dialog->grdSRList->text(1, frm562SRUseList::Qty), "2");
    EXPECT_EQ(dialog->grdSRList->text(1, frm562SRUseList::Time), "0");
}

// A line that the file does not take keeps the dialog up when it is closed, the line still the
// one being edited, so that the close after the file takes writes again is the one that stores it.
TEST_F(SRUseListTest, ALineThatCannotBeStoredKeepsTheDialogUpUntilItIs)
{
    Lines(1, {"T1C"});
    Open(1);
    testsupport::BreakTable(db(), QStringLiteral("SRUses"));
    Type(*dialog->grdSRList, 1, frm562SRUseList::Qty, "4");
    const qsizetype told = prompter.messages().size();
    QTest::mouseClick(dialog->cmdClose(), Qt::LeftButton);
    ASSERT_GT(prompter.messages().size(), told);
    EXPECT_EQ(prompter.messages().last().icon, ui::Icon::Critical);
    EXPECT_TRUE(prompter.messages().last().text.contains("the disk is full")) << prompter.messages().last().text.toStdString();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->unloaded());

    testsupport::HealTable(db(), QStringLiteral("SRUses"));
    Reopen(1);
    EXPECT_EQ(dialog->grdSRList->text(1, frm562SRUseList::Qty), "4");
}

// From the worksheet: a line added for the chosen outcome shows as its resource-list cost.
TEST_F(SRUseListTest, TheWorksheetShowsTheCostOfTheListItOpened)
{
    Show();
    const int row = 3;
    Choose(row);
    WithDialog<frm562SRUseList>(form->cmdSRUse, [&](frm562SRUseList& d) {
        dialog.reset();
        EXPECT_EQ(d.grdOutcomes->row(), row);
        QListWidget* list = d.lstSRMaster;
        const auto found = list->findItems("Type 2 Crew", Qt::MatchExactly);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found[0]).center());
        QTest::keyClicks(Editor(*d.grdSRList), "2");
        QTest::keyClick(Editor(*d.grdSRList), Qt::Key_Tab);
        EXPECT_EQ(d.pnlCost->text(), "$17,000");
    });
    EXPECT_EQ(form->lblSRUse->text(), "17,000");
    form->optSRUse->click();
    EXPECT_EQ(form->grdOutcomes->text(row, worksheets::frm56_CostSummary::Cost), "17,000");
}

} // namespace
