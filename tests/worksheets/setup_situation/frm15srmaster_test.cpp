#include "setup_fixture.h"

#include "worksheets/setup_situation/frm15srmaster.h"
#include "worksheets/setup_situation/frm15zsrmadd.h"

#include "core/u14properties.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g38srtypes.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "model/g68sruses.h"
#include "platform/ui/screen.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <functional>
#include <memory>

using worksheets::frm15SRMaster;
using worksheets::frm15zSRMAdd;

namespace {

class SRMasterTest : public WorksheetTest<frm15SRMaster> {
protected:
    void SetUp() override
    {
        WorksheetTest::SetUp();
        // Five types A ... E at positions 1 ... 5.
        for (int i = 0; i < 5; ++i) {
            const QString name(QChar('A' + i));
            keys.append(model::AddSRTypeRecord(i + 1, name, name.toLower(), "time", "day", 100.0 * (i + 1))->ItemKey());
        }
    }



    grid::Grid& g() { return *form->grdMasterList; }

    QString GridOrder()
    {
        QString names;
        for (int r = 1; r < g().rows(); ++r) {
            EXPECT_EQ(g().text(r, frm15SRMaster::Position), QString::number(r)) << "row " << r;
            EXPECT_EQ(g().rowObject<model::c38SRType>(r)->Index(), r);
            names += g().text(r, frm15SRMaster::LongName);
        }
        return names;
    }

    // The names in stored order; every stored position must be 1 ... n.
    QString FileOrder()
    {
        auto rs = db().OpenRecordset("SELECT LongName, ChildIndex FROM SRTypes ORDER BY ChildIndex, ItemKey");
        QString names;
        int expected = 1;
        while (!rs->Eof()) {
            EXPECT_EQ(rs->Field("ChildIndex").toInt(), expected++) << names.toStdString();
            names += rs->Field("LongName").toString();
            rs->MoveNext();
        }
        return names;
    }

    double StoredCost(int key)
    {
        auto rs = db().OpenRecordset("SELECT UnitCost FROM SRTypes WHERE ItemKey = ?", {key});
        return rs->Field("UnitCost").toDouble();
    }

    // Clicks Add and works the dialog while it is shown modally.
    void AddThroughDialog(const std::function<void(frm15zSRMAdd&)>& work)
    {
        bool reached = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<frm15zSRMAdd*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            reached = true;
            work(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        form->cmdAdd->click();
        EXPECT_TRUE(reached);
    }

    static void Fill(frm15zSRMAdd& d, const QString& position)
    {
        QTest::keyClicks(d.txtResourceName, "New");
        QTest::keyClicks(d.txtShortName, "nw");
        QTest::keyClicks(d.txtUnits, "shift");
        QTest::keyClicks(d.txtCost, "250");
        d.txtPosition->setText(position);
    }

    QList<int> keys;
};

struct MoveCase {
    const char* typed;
    const char* order;
    int shownAt;   // the row the type lands in, which shows this number
};

class SRMasterMoveTest : public SRMasterTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(SRMasterMoveTest, RetypingThePositionOfRowFourMovesItThereInGridAndFile)
{
    const MoveCase c = GetParam();
    Show();
    // An edit of the same row before the move must be stored with it.
    Type(g(), 4, frm15SRMaster::ShortName, "dd");
    Type(g(), 4, frm15SRMaster::Position, c.typed);

    EXPECT_EQ(GridOrder(), c.order);
    EXPECT_EQ(g().text(c.shownAt, frm15SRMaster::LongName), "D");
    EXPECT_EQ(g().text(c.shownAt, frm15SRMaster::Position), QString::number(c.shownAt));
    EXPECT_EQ(FileOrder(), c.order);
    EXPECT_TRUE(prompter.messages().isEmpty());
    Revisit();
    EXPECT_EQ(GridOrder(), c.order);
    EXPECT_EQ(g().text(c.shownAt, frm15SRMaster::ShortName), "dd");
}

INSTANTIATE_TEST_SUITE_P(Positions, SRMasterMoveTest,
                         ::testing::Values(MoveCase{"2", "ADBCE", 2}, MoveCase{"0", "DABCE", 1},
                                           MoveCase{"-3", "DABCE", 1}, MoveCase{"99", "ABCED", 5},
                                           MoveCase{"4", "ABCDE", 4}, MoveCase{"1.5", "ADBCE", 2},
                                           MoveCase{"12345678901234567890", "ABCED", 5},
                                           MoveCase{"1e309", "ABCED", 5}));

TEST_F(SRMasterTest, APositionThatIsNoNumberIsRefusedAndMovesNothing)
{
    Show();
    for (const char* typed : {"abc", "1e", "1,2,3", "", "-"}) {
        prompter.clear();
        Type(g(), 4, frm15SRMaster::Position, typed);
        ASSERT_EQ(prompter.messages().size(), 1) << typed;
        EXPECT_EQ(prompter.messages()[0].text, "The position must be a whole number from 1 to 5.");
        EXPECT_EQ(GridOrder(), "ABCDE") << typed;
    }
    EXPECT_EQ(FileOrder(), "ABCDE");
}

TEST_F(SRMasterTest, StoredPositionsWithGapsAndRepeatsAreNumberedOneToN)
{
    db().Execute("UPDATE SRTypes SET ChildIndex = ChildIndex * 3");
    db().Execute("UPDATE SRTypes SET ChildIndex = 6 WHERE LongName = 'C'");   // B and C share 6
    Show();
    EXPECT_EQ(GridOrder(), "ABCDE");
    // Moving with the renumbered list gives exactly the order typed.
    Type(g(), 5, frm15SRMaster::Position, "2");
    EXPECT_EQ(GridOrder(), "AEBCD");
    form->SaveChanges();
    EXPECT_EQ(FileOrder(), "AEBCD");
}

// The dialog's cost and position follow the one rule of every number box: a pasted text that is
// no number of the box's kind is refused with a message when the typing ends (Enter here), and
// the box shows what it held before; a position beyond the list shows the place it is held to.
TEST_F(SRMasterTest, AddDialogRefusesACostOrPositionThatIsNoNumber)
{
    Show();
    g().setCurrentCell(2, frm15SRMaster::Units);
    AddThroughDialog([&](frm15zSRMAdd& d) {
        QTest::keyClicks(d.txtResourceName, "Water Tender");
        QTest::keyClicks(d.txtShortName, "WT");
        QTest::keyClicks(d.txtUnits, "day");
        d.txtCost->setFocus();
        QApplication::clipboard()->setText("12,50");
        QTest::keyClick(d.txtCost, Qt::Key_V, Qt::ControlModifier);
        EXPECT_FALSE(d.cmdOK->isEnabled());
        QTest::keyClick(d.txtCost, Qt::Key_Return);
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_EQ(prompter.messages()[0].text,
                  "The cost must be a number of dollars from 0 to 99,999,999,999.99; \"12,50\" is not.");
        EXPECT_EQ(d.txtCost->text(), "");
        d.txtCost->setFocus();
        QTest::keyClicks(d.txtCost, "1,250.75");
        EXPECT_TRUE(d.cmdOK->isEnabled());

        prompter.clear();
        d.txtPosition->setFocus();
        d.txtPosition->selectAll();
        QApplication::clipboard()->setText(QString::fromUtf8("\u0663"));
        QTest::keyClick(d.txtPosition, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(d.txtPosition, Qt::Key_Return);
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_EQ(prompter.messages()[0].text, QString::fromUtf8("The position in the list must be a whole number "
                                                                 "from 1 to 6; \"\u0663\" is not.\r\n"
                                                                 "The position stays 3."));
        EXPECT_EQ(d.txtPosition->text(), "3");
        prompter.clear();
        d.txtPosition->setFocus();
        d.txtPosition->selectAll();
        QTest::keyClicks(d.txtPosition, "999");
        QTest::keyClick(d.txtPosition, Qt::Key_Return);
        EXPECT_TRUE(prompter.messages().isEmpty());
        EXPECT_EQ(d.txtPosition->text(), "6");
        d.cmdOK->click();
    });
    auto rs = db().OpenRecordset("SELECT UnitCost, ChildIndex FROM SRTypes WHERE LongName = 'Water Tender'");
    ASSERT_FALSE(rs->Eof());
    EXPECT_DOUBLE_EQ(rs->Field("UnitCost").toDouble(), 1250.75);
    EXPECT_EQ(rs->Field("ChildIndex").toInt(), 6);
}

TEST_F(SRMasterTest, AddDialogPutsTheTypeAtTheTypedPosition)
{
    struct Case {
        const char* position;
        int row;
        const char* order;
    };
    for (const Case& c : {Case{"", 1, "NewABCDE"}, Case{"0", 1, "NewABCDE"}, Case{"3", 3, "ABNewCDE"},
                          Case{"999", 6, "ABCDENew"}}) {
        SCOPED_TRACE(c.position);
        Show();
        AddThroughDialog([&](frm15zSRMAdd& d) {
            Fill(d, c.position);
            ASSERT_TRUE(d.cmdOK->isEnabled());
            d.cmdOK->click();
        });
        EXPECT_EQ(g().rows(), 7);
        EXPECT_EQ(GridOrder(), c.order);
        EXPECT_EQ(g().row(), c.row);
        EXPECT_EQ(form->currentResource()->LongName(), "New");
        EXPECT_EQ(form->currentResource()->UnitType(), "time");   // the option selected at first
        EXPECT_EQ(FileOrder(), c.order);
        Revisit();
        EXPECT_EQ(GridOrder(), c.order);

        // Back to A ... E for the next case.
        g().finishEdit();
        g().setCurrentCell(c.row, frm15SRMaster::LongName);
        prompter.answer(ui::Answer::Yes);
        form->cmdDelete->click();
        EXPECT_EQ(FileOrder(), "ABCDE");
    }
}

TEST_F(SRMasterTest, AddDialogProposesTheRowAfterTheCurrentOneAndStoresWhatWasEntered)
{
    Show();
    g().setCurrentCell(2, frm15SRMaster::Units);
    AddThroughDialog([&](frm15zSRMAdd& d) {
        EXPECT_EQ(d.txtPosition->text(), "3");
        EXPECT_FALSE(d.cmdOK->isEnabled());
        QTest::keyClicks(d.txtResourceName, "Water Tender");
        QTest::keyClicks(d.txtShortName, "WT");
        QTest::keyClicks(d.txtUnits, "day");
        EXPECT_FALSE(d.cmdOK->isEnabled());           // no cost yet
        QTest::keyClicks(d.txtCost, "1a,2b50.7x5");   // letters are dropped as typed
        EXPECT_EQ(d.txtCost->text(), "1,250.75");
        EXPECT_TRUE(d.cmdOK->isEnabled());
        d.txtCost->setText("12,50");                  // pasted: not an amount
        EXPECT_FALSE(d.cmdOK->isEnabled());
        d.txtCost->setText("1,250.75");
        QTest::keyClicks(d.txtPosition, "x");
        EXPECT_EQ(d.txtPosition->text(), "3");
        d.optItem->click();
        QTest::keyClick(d.txtUnits, Qt::Key_Return);  // Enter does not press OK
        EXPECT_TRUE(d.isVisible());
        d.cmdOK->click();
    });
    auto rs = db().OpenRecordset("SELECT * FROM SRTypes WHERE LongName = 'Water Tender'");
    ASSERT_FALSE(rs->Eof());
    EXPECT_EQ(rs->Field("ShortName").toString(), "WT");
    EXPECT_EQ(rs->Field("UnitType").toString(), "item");
    EXPECT_EQ(rs->Field("UnitName").toString(), "day");
    EXPECT_DOUBLE_EQ(rs->Field("UnitCost").toDouble(), 1250.75);
    EXPECT_EQ(rs->Field("ChildIndex").toInt(), 3);
    EXPECT_EQ(g().displayText(3, frm15SRMaster::Cost), "$1,250.75");
}

TEST_F(SRMasterTest, CancelAndEscapeLeaveTheListAsItWas)
{
    Show();
    AddThroughDialog([&](frm15zSRMAdd& d) {
        Fill(d, "2");
        d.cmdCancel->click();
    });
    AddThroughDialog([&](frm15zSRMAdd& d) {
        Fill(d, "2");
        QTest::keyClick(d.txtCost, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(GridOrder(), "ABCDE");
    EXPECT_EQ(FileOrder(), "ABCDE");
}

TEST_F(SRMasterTest, ATypeInUseByAnyOutcomeIsNotDeleted)
{
    auto alternative = model::AddAlternative("Direct attack");
    auto fallback = alternative->Outcome(model::OutcomeKind::Fallback);
    fallback->SetbShow(true);
    fallback->SaveChanges();
    const int users[] = {alternative->Outcome(model::OutcomeKind::Target)->ItemKey(), fallback->ItemKey(), model::GetExtremeOutcome()->ItemKey()};
    for (int i = 0; i < 3; ++i)
        model::AddSRUseRecord(users[i], keys[i]);   // A by the Target, B by the Fallback, C by the Extreme
    Show();
    for (int row = 1; row <= 3; ++row) {
        prompter.clear();
        g().setCurrentCell(row, frm15SRMaster::LongName);
        form->cmdDelete->click();
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_EQ(prompter.messages()[0].text, "Cannot delete resource that is in use");
        EXPECT_EQ(prompter.messages()[0].buttons, ui::Buttons::OK);
    }
    EXPECT_EQ(GridOrder(), "ABCDE");
    EXPECT_EQ(FileOrder(), "ABCDE");

    // The check and the deletion concern the same type: the one of the current row, here D.
    prompter.clear();
    g().setCurrentCell(4, frm15SRMaster::Cost);
    prompter.answer(ui::Answer::No);
    form->cmdDelete->click();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "Do you really want to delete D");
    EXPECT_EQ(FileOrder(), "ABCDE");
    prompter.answer(ui::Answer::Yes);
    form->cmdDelete->click();
    EXPECT_EQ(GridOrder(), "ABCE");
    EXPECT_EQ(FileOrder(), "ABCE");
}

TEST_F(SRMasterTest, DeletingRenumbersTheRowsBelowAndTheDeletedTypeIsNeverWrittenAgain)
{
    Show();
    // Delete the first type while its name is still being typed (the button pressed by Alt+D).
    QLineEdit* editor = Enter(g(), 1, frm15SRMaster::LongName);
    QTest::keyClicks(editor, "x");
    prompter.answer(ui::Answer::Yes);
    form->cmdDelete->click();
    EXPECT_EQ(GridOrder(), "BCDE");
    prompter.answer(ui::Answer::Yes);
    g().setCurrentCell(4, frm15SRMaster::LongName);
    form->cmdDelete->click();
    EXPECT_EQ(GridOrder(), "BCD");
    form->SaveChanges();
    EXPECT_EQ(FileOrder(), "BCD");
    auto rs = db().OpenRecordset("SELECT COUNT(*) AS n FROM SRTypes");
    EXPECT_EQ(rs->Field("n").toInt(), 3);
    EXPECT_FALSE(form->cmdDelete->isEnabled() && g().rows() == 1);
}

TEST_F(SRMasterTest, EscapeLeavesTheTypeAsItWasAndAPasteIsStoredLikeTyping)
{
    Show();
    Type(g(), 2, frm15SRMaster::LongName, "Renamed", Qt::Key_Escape);
    Type(g(), 2, frm15SRMaster::Cost, "999", Qt::Key_Escape);
    EXPECT_EQ(g().text(2, frm15SRMaster::LongName), "B");
    EXPECT_EQ(form->currentResource()->LongName(), "B");
    EXPECT_DOUBLE_EQ(form->currentResource()->UnitCost(), 200.0);
    Revisit();
    EXPECT_EQ(GridOrder(), "ABCDE");
    EXPECT_DOUBLE_EQ(StoredCost(keys[1]), 200.0);

    Paste(g(), 2, frm15SRMaster::Cost, "1,234.5");
    Paste(g(), 2, frm15SRMaster::ShortName, "bee");
    EXPECT_EQ(g().displayText(2, frm15SRMaster::Cost), "$1,234.50");
    Revisit();
    EXPECT_DOUBLE_EQ(StoredCost(keys[1]), 1234.5);
    EXPECT_EQ(g().text(2, frm15SRMaster::ShortName), "bee");
}

TEST_F(SRMasterTest, UnitCostTakesCentsUpToTheColumnsRangeAndShowsWhatIsStored)
{
    struct Case {
        const char* typed;
        double stored;
        const char* shown;
        bool refused;
    };
    const Case cases[] = {
        {"12.34", 12.34, "$12.34", false},
        {"99999.99", 99999.99, "$99,999.99", false},
        {"1,250,000.5", 1250000.5, "$1,250,000.50", false},
        {"0.005", 0.01, "$0.01", false},
        {"", 0, "$0.00", false},
        {"99,999,999,999.99", 99999999999.99, "$99,999,999,999.99", false},
        {"100,000,000,000", 300, "$300.00", true},
        {"-5", 300, "$300.00", true},
        {"1e309", 300, "$300.00", true},
        {"abc", 300, "$300.00", true},
        {"12345678901234567890", 300, "$300.00", true},
        {"1,2,3", 300, "$300.00", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Show();
        prompter.clear();
        Type(g(), 3, frm15SRMaster::Cost, c.typed);
        EXPECT_EQ(prompter.messages().size(), c.refused ? 1 : 0);
        EXPECT_EQ(g().displayText(3, frm15SRMaster::Cost), c.shown);
        Revisit();
        EXPECT_DOUBLE_EQ(StoredCost(keys[2]), c.stored);
        EXPECT_EQ(g().displayText(3, frm15SRMaster::Cost), c.shown);
        // Back to 300 for the next case.
        Type(g(), 3, frm15SRMaster::Cost, "300");
    }
}

TEST_F(SRMasterTest, AUnitNameAsLongAsTheDialogTakesFitsItsColumn)
{
    Show();
    for (const char* unit : {"person-days (12 hrs)", "loads, 3000 gal max"}) {
        Type(g(), 1, frm15SRMaster::Units, unit);
        EXPECT_EQ(g().text(1, frm15SRMaster::Units), unit);
        const int textPixels = g().fontMetrics().horizontalAdvance(unit);
        EXPECT_LE(textPixels + 6, ui::TwipsToPixels(g().colWidth(frm15SRMaster::Units))) << unit;
    }
    Revisit();
    EXPECT_EQ(g().text(1, frm15SRMaster::Units), "loads, 3000 gal max");
}

TEST_F(SRMasterTest, TheSourceNoteIsStoredWhenTheWorksheetIsLeft)
{
    core::Property_Set("SRDataSource", "Prep file 2025");
    Show();
    EXPECT_EQ(form->txtSource->toPlainText(), "Prep file 2025");
    form->txtSource->setPlainText("Unit rates, J. Doe, 10 Dec");
    EXPECT_EQ(core::Property_Get("SRDataSource"), "Prep file 2025");
    Revisit();
    EXPECT_EQ(core::Property_Get("SRDataSource"), "Unit rates, J. Doe, 10 Dec");
}

TEST_F(SRMasterTest, AnEmptyListHasNothingToDeleteOrMove)
{
    db().Execute("DELETE FROM SRTypes");
    Show();
    EXPECT_EQ(g().rows(), 1);
    EXPECT_FALSE(form->cmdDelete->isEnabled());
    form->cmdDelete->click();
    EXPECT_TRUE(prompter.messages().isEmpty());
    AddThroughDialog([&](frm15zSRMAdd& d) {
        EXPECT_EQ(d.txtPosition->text(), "1");
        Fill(d, "7");
        d.cmdOK->click();
    });
    EXPECT_EQ(GridOrder(), "New");
    EXPECT_TRUE(form->cmdDelete->isEnabled());
}

// The worksheet opens with no row chosen: Delete waits for one instead of doing nothing when
// pressed, and then asks about the row picked.
TEST_F(SRMasterTest, DeleteIsOfferedOnceARowIsChosen)
{
    Show();
    ASSERT_EQ(g().rows(), 6);
    EXPECT_FALSE(form->cmdDelete->isEnabled());
    const QPoint cell = g().visualRect(g().gridModel()->index(2, frm15SRMaster::LongName)).center();
    QTest::mouseClick(g().viewport(), Qt::LeftButton, {}, cell);
    ASSERT_EQ(g().row(), 2);
    ASSERT_TRUE(form->cmdDelete->isEnabled());
    prompter.answer(ui::Answer::Yes);
    QTest::mouseClick(form->cmdDelete, Qt::LeftButton);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "Do you really want to delete B");
    EXPECT_EQ(GridOrder(), "ACDE");
    EXPECT_EQ(form->cmdDelete->isEnabled(), g().row() >= 1);
}

} // namespace
