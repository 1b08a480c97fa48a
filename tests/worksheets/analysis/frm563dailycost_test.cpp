#include "cost_fixture.h"

#include "worksheets/analysis/frm563dailycost.h"

#include <QLabel>

using worksheets::frm563DailyCost;

namespace {

class DailyCostTest : public CostTest {
protected:
    void SetUp() override
    {
        CostTest::SetUp();
        BuildWithoutFMUs();
    }
    void TearDown() override
    {
        dialog.reset();
        CostTest::TearDown();
    }

    // Row n of the outcome grid: 1 A's Target, 2 A's Fallback, 3 B's Target, 4 Extreme.
    model::c53Outcome* Outcome(int n) { return model::OutcomeRows().at(n - 1).outcome.get(); }
    void Times(int n, int contain, int control)
    {
        SetOutcome(*Outcome(n), "100", contain, control);
        testsupport::ClearModelCaches();
    }
    frm563DailyCost& Open(int n)
    {
        dialog = std::make_unique<frm563DailyCost>(Outcome(n));
        dialog->Setup();
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        return *dialog;
    }
    QStringList Figures() const
    {
        return {dialog->lblContainDays->text(), dialog->lblContainCost->text(), dialog->lblControlDays->text(),
                dialog->lblControlCost->text(), dialog->lblTotalCost->text(),
                dialog->grdOutcomes->text(dialog->grdOutcomes->row(), frm563DailyCost::Cost)};
    }
    QVariant Stored(int outcomeKey, const QString& field)
    {
        auto rs = db().OpenRecordset(QStringLiteral("SELECT ") + field + QStringLiteral(" FROM Outcomes WHERE ItemKey = ?"),
                                     {outcomeKey});
        return rs->Eof() ? QVariant() : rs->Field(0);
    }

    std::unique_ptr<frm563DailyCost> dialog;
};

TEST_F(DailyCostTest, TwoRatesOverTheContainAndControlDays)
{
    Times(3, 3, 7);
    Open(3);
    EXPECT_EQ(dialog->windowTitle(), "Estimate Cost based on Daily Rate");
    EXPECT_EQ(dialog->grdOutcomes->row(), 3);
    const int key = Outcome(3)->ItemKey();
    TypeInto(dialog->txtContain, "12,345");
    TypeInto(dialog->txtControl, "2,000");
    // The total adds the costs shown; the grid shows the estimate to three digits.
    EXPECT_EQ(Figures(), QStringList({"x  3  =", "37,035", "x  4  =", "8,000", "45,035", "45,000"}));
    EXPECT_TRUE(dialog->lblTimes->isHidden());
    Keep(dialog.get(), "frm563DailyCost-example.png");

    // Another outcome stores this one.
    EXPECT_DOUBLE_EQ(Stored(key, "DailyContainCost").toDouble(), 0);
    dialog->grdOutcomes->setCurrentCell(1, 0);
    EXPECT_DOUBLE_EQ(Stored(key, "DailyContainCost").toDouble(), 12345);
    EXPECT_DOUBLE_EQ(Stored(key, "DailyControlCost").toDouble(), 2000);
    EXPECT_EQ(dialog->grdOutcomes->text(3, frm563DailyCost::Cost), "45,000");

    // Back on it: the rates as stored; clearing a rate makes it 0.
    dialog->grdOutcomes->setCurrentCell(3, 0);
    EXPECT_EQ(dialog->txtContain->text(), "12,345");
    TypeInto(dialog->txtContain, "");
    EXPECT_EQ(Figures(), QStringList({"x  3  =", "0", "x  4  =", "8,000", "8,000", "8,000"}));
    TypeInto(dialog->txtContain, "1,500");
    EXPECT_FLOAT_EQ(Outcome(3)->DailyContainCost(), 1500);
    EXPECT_TRUE(prompter.messages().isEmpty());
}

TEST_F(DailyCostTest, ControlBeforeContainmentIsShownAndCountsNothing)
{
    Times(1, 4, 2);
    Times(2, 0, 0);
    Open(1);
    TypeInto(dialog->txtContain, "1,000");
    TypeInto(dialog->txtControl, "2,000");
    EXPECT_EQ(Figures(), QStringList({"x  4  =", "4,000", "x  -2  =", "0", "4,000", "4,000"}));
    ASSERT_FALSE(dialog->lblTimes->isHidden());
    EXPECT_TRUE(dialog->lblTimes->text().contains("-4,000"));
    EXPECT_FLOAT_EQ(Outcome(1)->DailyCost(), 4000);
    Keep(dialog.get(), "frm563DailyCost-times.png");

    // Contain and control times of 0: nothing, whatever the rates.
    dialog->grdOutcomes->setCurrentCell(2, 0);
    TypeInto(dialog->txtContain, "9,999");
    EXPECT_EQ(Figures(), QStringList({"x  0  =", "0", "x  0  =", "0", "0", "0"}));
    EXPECT_TRUE(dialog->lblTimes->isHidden());
}

// Times a damaged file can hold lie further apart than an int: the day count shown is the one
// the message and the estimate use.
TEST_F(DailyCostTest, ControlDaysOfTimesFarApartAreShownWhole)
{
    Times(1, 2000000000, -2000000000);
    Open(1);
    TypeInto(dialog->txtControl, "1");
    EXPECT_EQ(dialog->lblControlDays->text(), "x  -4000000000  =");
    EXPECT_EQ(dialog->lblControlCost->text(), "0");
    EXPECT_TRUE(dialog->lblTimes->text().contains("-4,000,000,000")) << dialog->lblTimes->text().toStdString();
}

TEST_F(DailyCostTest, HostileRatesAreRefusedAndTheRateBeforeStays)
{
    Times(1, 2, 5);
    Open(1);
    TypeInto(dialog->txtControl, "3,000");
    QTest::keyClick(dialog->txtControl, Qt::Key_Return);
    for (const char* typed : {"abc", "-5", "1e40", "3,0000", "16,777,217", "nan", "inf", "0x1F", "18o,000",
                              "\u0663", "99999999999"}) {
        SCOPED_TRACE(typed);
        prompter.clear();
        TypeInto(dialog->txtControl, QString::fromUtf8(typed));
        QTest::keyClick(dialog->txtControl, Qt::Key_Return);
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_TRUE(prompter.messages()[0].text.startsWith("The daily cost")) << prompter.messages()[0].text.toStdString();
        EXPECT_EQ(dialog->txtControl->text(), "3,000");
        EXPECT_FLOAT_EQ(Outcome(1)->DailyControlCost(), 3000);
        EXPECT_EQ(dialog->lblControlCost->text(), "9,000");
    }
    // Closing straight from a box that holds no rate refuses it too, and stores what is kept.
    prompter.clear();
    TypeInto(dialog->txtControl, "18o,000");
    QTest::mouseClick(dialog->cmdClose(), Qt::LeftButton);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "The daily cost must be a number of dollars, such as 12,500; \"18o,000\" "
                                           "is not.\r\nThe rate stays 3,000.");
    EXPECT_DOUBLE_EQ(Stored(Outcome(1)->ItemKey(), "DailyControlCost").toDouble(), 3000);
}

} // namespace
