#include "setup_fixture.h"

#include "worksheets/setup_situation/frm14nvctable.h"

#include "core/u14properties.h"
#include "model/c34nvctable.h"
#include "model/g33fmus.h"
#include "model/g34nvcresources.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include <memory>

using worksheets::frm14NVCTable;

namespace {

const QColor kGrey(128, 128, 128);
const QColor kBlack(0, 0, 0);

class NVCTableTest : public WorksheetTest<frm14NVCTable> {
protected:
    // FIL 1 of the whole-fire table: Timber -100, Range +40, Soils -7.5; FIL 2: Range +60.
    void SetUp() override
    {
        WorksheetTest::SetUp();
        db().Execute("DELETE FROM Properties WHERE Property = 'UseNVCGains'");
        model::c34NVCTable* t = model::GetNVCTable(0);
        t->SetNVCCellValue(1, 1, -100);
        t->SetNVCCellValue(2, 1, 40);
        t->SetNVCCellValue(4, 1, -7.5f);
        t->SetNVCCellValue(2, 2, 60);
        t->SaveChanges();
        model::ClearFMUs();
    }



    float Stored(int fmuKey, int resource, int fil)
    {
        auto rs = db().OpenRecordset(QStringLiteral("SELECT FIL%1 AS v FROM NVCPerAcre WHERE FMZKey = ? AND ResourceNumber = ?").arg(fil),
                                     {fmuKey, resource});
        return rs->Eof() ? 0.0f : rs->Field("v").toFloat();
    }

    grid::Grid& g() { return *form->grdNVC; }
    QString Total(int fil) { return form->pnlAcreImpact[fil]->text(); }

};

TEST_F(NVCTableTest, LossesOnlyIsTheDefaultAndGreysWhatDoesNotCount)
{
    Show();
    EXPECT_EQ(core::Property_Get("UseNVCGains"), "No");
    EXPECT_TRUE(form->optLoss->isChecked());
    EXPECT_EQ(form->pnlLabel->text(), "Loss per acre");
    EXPECT_EQ(g().cellForeColor(1, 1), kBlack);    // -100 counts
    EXPECT_EQ(g().cellForeColor(2, 1), kGrey);     // a gain does not
    EXPECT_EQ(g().cellForeColor(3, 1), kGrey);     // nor does 0
    EXPECT_EQ(g().displayText(3, 1), ".00");
    EXPECT_EQ(g().displayText(4, 1), "-7.50");
    EXPECT_EQ(Total(1), "-$108");
    EXPECT_EQ(Total(2), "$0");
    EXPECT_FALSE(form->cboFMU->isVisible());
    EXPECT_FALSE(form->lblFMU->isVisible());
    EXPECT_EQ(g().text(1, 0), "Timber");
}

TEST_F(NVCTableTest, PickingAnOptionStoresItAndRecoloursAndRetotalsEveryColumn)
{
    Show();
    form->optNVC->click();
    EXPECT_EQ(core::Property_Get("UseNVCGains"), "Yes");
    EXPECT_EQ(form->pnlLabel->text(), "Gain or loss per acre");
    for (int r = 1; r <= 14; ++r)
        for (int c = 1; c <= 6; ++c)
            ASSERT_EQ(g().cellForeColor(r, c), kBlack) << r << "," << c;
    EXPECT_EQ(Total(1), "-$68");
    EXPECT_EQ(Total(2), "$60");

    form->optLoss->click();
    EXPECT_EQ(core::Property_Get("UseNVCGains"), "No");
    EXPECT_EQ(form->pnlLabel->text(), "Loss per acre");
    EXPECT_EQ(g().cellForeColor(2, 2), kGrey);
    EXPECT_EQ(g().cellForeColor(1, 1), kBlack);
    EXPECT_EQ(Total(1), "-$108");

    // Gains counted when the worksheet is next opened.
    form->optNVC->click();
    Revisit();
    EXPECT_TRUE(form->optNVC->isChecked());
    EXPECT_EQ(form->pnlLabel->text(), "Gain or loss per acre");
    EXPECT_EQ(Total(2), "$60");
}

TEST_F(NVCTableTest, AFinishedEditRecoloursItsCellAndMovesTheTotal)
{
    Show();
    Type(g(), 3, 1, "-25");
    EXPECT_EQ(g().cellForeColor(3, 1), kBlack);
    EXPECT_EQ(Total(1), "-$133");
    Type(g(), 3, 1, "25");
    EXPECT_EQ(g().cellForeColor(3, 1), kGrey);
    EXPECT_EQ(Total(1), "-$108");
    Revisit();
    EXPECT_FLOAT_EQ(Stored(0, 3, 1), 25.0f);
}

TEST_F(NVCTableTest, TheMinusReminderShowsForADigitInAZeroCellUntilAMinusIsTyped)
{
    Show();
    QLineEdit* editor = Enter(g(), 5, 3);
    QTest::keyClicks(editor, "5");
    EXPECT_FALSE(form->lblMinus->isHidden());
    QTest::keyClick(editor, Qt::Key_Home);
    QTest::keyClicks(editor, "-");
    EXPECT_TRUE(form->lblMinus->isHidden());
    QTest::keyClicks(editor, "0");
    EXPECT_TRUE(form->lblMinus->isHidden());      // disarmed by the minus
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(form->minusReminderArmed());       // losses only: each finished edit re-arms

    editor = Enter(g(), 6, 3);
    QTest::keyClicks(editor, "7");
    EXPECT_FALSE(form->lblMinus->isHidden());
    QTest::keyClick(editor, Qt::Key_Escape);
}

TEST_F(NVCTableTest, TypedPastedAndCancelledValuesReachTableTotalsAndFileAlike)
{
    Show();
    // "1,000" is one thousand both in the file and in the total.
    Type(g(), 5, 4, "-1,000");
    EXPECT_FLOAT_EQ(form->currentTable()->NVCCellValue(5, 4), -1000.0f);
    EXPECT_EQ(Total(4), "-$1,000");
    EXPECT_EQ(g().displayText(5, 4), "-1000.00");

    // A paste through the Edit menu is stored like typing.
    Paste(g(), 6, 4, "-2,500.5");
    EXPECT_FLOAT_EQ(form->currentTable()->NVCCellValue(6, 4), -2500.5f);
    EXPECT_EQ(Total(4), "-$3,501");

    // Escape puts back the value from before the edit, also after the totals followed the typing.
    QLineEdit* editor = Enter(g(), 5, 4);
    editor->selectAll();
    QTest::keyClicks(editor, "-9");
    EXPECT_EQ(Total(4), "-$2,510");
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FLOAT_EQ(form->currentTable()->NVCCellValue(5, 4), -1000.0f);
    EXPECT_EQ(Total(4), "-$3,501");
    EXPECT_EQ(g().text(5, 4), "-1000");

    Revisit();
    EXPECT_FLOAT_EQ(Stored(0, 5, 4), -1000.0f);
    EXPECT_FLOAT_EQ(Stored(0, 6, 4), -2500.5f);
    EXPECT_EQ(Total(4), "-$3,501");
}

TEST_F(NVCTableTest, HostileValuesNeverCrashNorStoreGarbage)
{
    struct Case {
        const char* typed;
        float stored;
        bool refused;
    };
    const Case cases[] = {
        {"-5", -5.0f, false},       {"", 0.0f, false},         {"-", 0.0f, false},
        {"1e309", -100.0f, true},   {"abc", -100.0f, true},    {"12345678901234567890", -100.0f, true},
        {"1,2,3", -100.0f, true},   {"-1e7", -100.0f, true},   {"nan", -100.0f, true},
        {"9,999,999", 9999999.0f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Show();
        prompter.clear();
        Type(g(), 1, 1, c.typed);
        EXPECT_EQ(prompter.messages().size(), c.refused ? 1 : 0);
        EXPECT_FLOAT_EQ(form->currentTable()->NVCCellValue(1, 1), c.stored);
        Revisit();
        EXPECT_FLOAT_EQ(Stored(0, 1, 1), c.stored);
        Type(g(), 1, 1, "-100");
        form->SaveChanges();
    }
}

TEST_F(NVCTableTest, ChoosingAnotherFMUStoresThePreviousTableAndNamesAreShared)
{
    auto east = model::NewFMU("E", "East Zone");
    auto west = model::NewFMU("W", "West Zone");
    const int eastKey = east->ItemKey();
    const int westKey = west->ItemKey();
    model::ClearFMUs();
    Show();
    ASSERT_EQ(form->cboFMU->count(), 2);
    EXPECT_FALSE(form->cboFMU->isHidden());
    EXPECT_EQ(form->currentFMUKey(), eastKey);
    EXPECT_EQ(Total(1), "$0");

    Type(g(), 1, 2, "-42");
    Type(g(), 1, 0, "Old growth");
    form->cboFMU->setCurrentIndex(1);
    // Stored on the switch, before the worksheet is left.
    EXPECT_FLOAT_EQ(Stored(eastKey, 1, 2), -42.0f);
    EXPECT_EQ(form->currentFMUKey(), westKey);
    EXPECT_EQ(g().text(1, 2), "0");
    EXPECT_EQ(g().text(1, 0), "Old growth");

    Type(g(), 2, 2, "-8");
    form->cboFMU->setCurrentIndex(0);
    EXPECT_FLOAT_EQ(Stored(westKey, 2, 2), -8.0f);
    EXPECT_EQ(g().text(1, 2), "-42");
    auto rs = db().OpenRecordset("SELECT ResourceName FROM NVCResources WHERE ResourceNumber = 1");
    EXPECT_EQ(rs->Field("ResourceName").toString(), "Old growth");

    // A name edit cancelled with Escape leaves the shared name as it was.
    Type(g(), 1, 0, "Scrub", Qt::Key_Escape);
    EXPECT_EQ(model::GetResourceName(1), "Old growth");
}

TEST_F(NVCTableTest, ChangeHandlersFiredWhileSetupFillsWriteNothing)
{
    core::Property_Set("UseNVCGains", "Yes");
    Show();
    EXPECT_TRUE(form->optNVC->isChecked());
    EXPECT_EQ(core::Property_Get("UseNVCGains"), "Yes");
    EXPECT_FALSE(form->currentTable()->Changed());
}

} // namespace
