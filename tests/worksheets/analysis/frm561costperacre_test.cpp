#include "cost_fixture.h"

#include "model/c33fmu.h"
#include "model/textnumbers.h"
#include "worksheets/analysis/frm561costperacre.h"

#include <QLabel>

using worksheets::frm561CostPerAcre;
using worksheets::frm561CostPerAcreFMU;

namespace {

class CostPerAcreTest : public CostTest {
protected:
    void TearDown() override
    {
        whole.reset();
        byFMU.reset();
        CostTest::TearDown();
    }
    model::c53Outcome* Outcome(int n) { return model::OutcomeRows().at(n - 1).outcome.get(); }

    template <class Dialog>
    Dialog& Open(std::unique_ptr<Dialog>& dialog, int n)
    {
        dialog = std::make_unique<Dialog>(Outcome(n));
        dialog->Setup();
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        return *dialog;
    }
    float StoredCost(int fmuKey, int bracket)
    {
        auto rs = db().OpenRecordset(
            QStringLiteral("SELECT Cost FROM SuppressionPerAcreCost WHERE FMZKey = ? AND Sequence = ?"), {fmuKey, bracket});
        return rs->Eof() ? -1.0f : rs->Field(0).toFloat();
    }

    std::unique_ptr<frm561CostPerAcre> whole;
    std::unique_ptr<frm561CostPerAcreFMU> byFMU;
};

// The From of a bracket follows the To typed in the bracket before it.
TEST_F(CostPerAcreTest, TheFromOfABracketFollowsThePreviousTo)
{
    BuildWithoutFMUs();
    Open(whole, 1);
    grid::Grid& g = *whole->grdCosts;
    EXPECT_EQ(whole->windowTitle(), "Suppression cost based on fire size");
    EXPECT_EQ(g.text(2, 0), "0");
    struct Case {
        const char* to;
        const char* from;
    };
    const Case cases[] = {
        {"0", ""},          {"9999999", ""},    {"123456789", ""},  {"0.25", "0.26"}, {"0.75", "0.76"},
        {"0.9", "1"},       {"0.86", "1"},      {"0.94", "1"},      {"1", "1.1"},     {"2.5", "2.6"},
        {"5", "5.1"},       {"9", "10"},        {"9.5", "9.6"},     {"10", "11"},     {"12.7", "13"},
        {"1000", "1001"},   {"9999998", "9999999"},
        // Formed from the single-precision size: more digits than typed, shown rounded.
        {"0.3", "0.310000011920929"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to);
        Type(g, 2, 1, QString::fromLatin1(c.to));
        EXPECT_EQ(g.text(3, 0), QString::fromLatin1(c.from));
        EXPECT_EQ(g.text(2, 0), "0");
    }
    EXPECT_EQ(g.displayText(3, 0), ".31");
    EXPECT_TRUE(prompter.messages().isEmpty());

    // A To in the last bracket changes no From; the From column never opens.
    const QString lastFrom = g.text(10, 0);
    Type(g, 10, 1, "50000");
    EXPECT_EQ(g.text(10, 0), lastFrom);
    g.setCurrentCell(4, 0);
    EXPECT_FALSE(g.isEditing());
    QTest::keyClick(&g, Qt::Key_F2);
    EXPECT_FALSE(g.isEditing());
}

TEST_F(CostPerAcreTest, OutcomeCostsFollowTheTableAsItIsTyped)
{
    BuildWithoutFMUs();
    {
        model::c35AACTable* table = model::GetAACTable(0);
        table->SetTopSize(1, -5);   // as a damaged file may hold it
        table->SaveChanges();
        testsupport::ClearModelCaches();
    }
    Open(whole, 2);
    grid::Grid& g = *whole->grdCosts;
    grid::Grid& outcomes = *whole->grdOutcomes;
    EXPECT_EQ(outcomes.row(), 2);   // the outcome chosen on the worksheet
    EXPECT_EQ(g.text(2, 1), "");
    EXPECT_EQ(g.text(3, 0), "");
    Type(g, 2, 1, "100");
    // A's Fallback, 500 acres: the open bracket's $30.
    EXPECT_EQ(outcomes.text(2, 3), "30");
    EXPECT_EQ(outcomes.text(2, 4), "15,000");

    QLineEdit* editor = Enter(g, 2, 1);
    editor->selectAll();
    QTest::keyClicks(editor, "1000");
    // While typing: the costs already follow, the next From waits for the end of the edit.
    EXPECT_EQ(outcomes.text(2, 3), "50");
    EXPECT_EQ(outcomes.text(2, 4), "25,000");
    EXPECT_EQ(g.text(3, 0), "101");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(g.text(3, 0), "1001");

    // A fire of 50 acres at bracket 1's $50; 500 acres at $50 too, now.
    EXPECT_EQ(outcomes.text(1, 3), "50");
    whole->accept();
    EXPECT_FLOAT_EQ(model::GetAACTable(0)->TopSize(1), 1000);
    testsupport::ClearModelCaches();
    EXPECT_FLOAT_EQ(model::GetAACTable(0)->TopSize(1), 1000);
}

TEST_F(CostPerAcreTest, EachFMUsShareMakesTheAverageCostPerAcre)
{
    BuildWithFMUs();
    Open(byFMU, 3);
    grid::Grid& fmus = *byFMU->grdFMUs;
    ASSERT_EQ(fmus.rows(), 3);
    EXPECT_EQ(byFMU->currentOutcome(), Outcome(3));
    const int second = fmus.rowData(2).toInt();
    // Each FMU's share of the outcome and its cost per acre at the outcome's size; their
    // weighted sum is the outcome's cost per acre, as its row shows it too.
    auto check = [&](int row, int share1, int share2, const char* total) {
        EXPECT_EQ(fmus.value(1, 1), share1);
        EXPECT_EQ(fmus.value(2, 1), share2);
        EXPECT_EQ(fmus.value(1, 2), 405);
        EXPECT_EQ(fmus.value(2, 2), 410);
        EXPECT_EQ(byFMU->pnlTotal->text(), total);
        EXPECT_EQ(byFMU->grdOutcomes->text(row, 3), total);
    };
    // B's Target, 719 acres: the third size class (100 to 1,000 acres), $405 in Unit-1 and $410
    // in Unit-2. Its FMUs hold portions 31 and 34: 47% and 52% (whole percents, cut).
    // 405 x 47% + 410 x 52% = 403.55.
    check(3, 47, 52, "404");
    Keep(byFMU.get(), "frm561CostPerAcreFMU-shares.png");

    // The second FMU's table; a change there is stored when another outcome is chosen.
    fmus.setCurrentCell(2, 0);
    EXPECT_EQ(byFMU->fmuKey(), second);
    EXPECT_EQ(byFMU->costTable(), model::GetAACTable(second));
    Type(*byFMU->grdCosts, 2, 2, "2500");
    EXPECT_NE(StoredCost(second, 1), 2500.0f);
    byFMU->grdOutcomes->setCurrentCell(1, 0);
    EXPECT_FLOAT_EQ(StoredCost(second, 1), 2500);
    EXPECT_EQ(byFMU->currentOutcome(), Outcome(1));
    EXPECT_EQ(byFMU->grdCosts->text(2, 2), "2500");
    // A's Target, 373 acres, in the same class: portions 17 and 20, 45% and 54%.
    // 405 x 45% + 410 x 54% = 403.65.
    check(1, 45, 54, "404");

    // Hostile values in the table keep the program running and the table as it was.
    for (const char* typed : {"abc", "-1", "1e99", "1,2,3"}) {
        SCOPED_TRACE(typed);
        prompter.clear();
        Type(*byFMU->grdCosts, 3, 2, QString::fromLatin1(typed));
        EXPECT_EQ(prompter.messages().size(), 1);
        EXPECT_GE(byFMU->costTable()->Cost(2), 0.0f);
    }
    check(1, 45, 54, "404");
}

} // namespace
