#include "worksheets/comparison_complexity/frm62graphs.h"

#include "core/costsource.h"
#include "core/g0items.h"
#include "model/c34nvctable.h"
#include "model/c36threateneditem.h"
#include "model/c41objective.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/c62rating.h"
#include "model/c64burnarea.h"
#include "model/c66itemimpact.h"
#include "model/g33fmus.h"
#include "model/g36threateneditems.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "model/modeldata.h"
#include "platform/chart/barchart.h"
#include "platform/chart/chartmodule.h"
#include "support/keeppicture.h"
#include "support/placedform.h"
#include "support/worksheet_fixture.h"
#include "worksheets/comparison_complexity/registerforms.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

using model::OutcomeKind;
using worksheets::comparison_complexity::frm62Graphs;

namespace {

class GraphsTest : public WorksheetFixture<frm62Graphs> {
protected:
    GraphsTest() : WorksheetFixture({.size = {820, 640}}) {}
    frm62Graphs& open()
    {
        reload();
        return WorksheetFixture::open();
    }
    // Protection of the Target outcome of an alternative: one value at risk of the amount,
    // fully protected.
    void protect(int altKey, double amount)
    {
        auto item = model::AddThreatenedItem("Cabins");
        item->SetPotentialLoss(amount * 2);
        item->SetProbabilityLabel("Medium (50%)");
        item->SaveChanges();
        model::c66ItemImpact impact;
        impact.Initialize(model::GetAlternative(altKey)->Outcome(OutcomeKind::Target)->ItemKey(), item->ItemKey());
        impact.SetProtectionLabel("Yes (100%)");
        impact.SaveChanges();
    }
    // A resource loss of perAcre dollars on every acre burned at intensity 1, on fire size acres.
    void burn(int altKey, int perAcre, int acres)
    {
        model::c34NVCTable* nvc = model::GetNVCTable(0);
        nvc->SetNVCCellValue(1, 1, float(-perAcre));
        nvc->SaveChanges();
        auto target = model::GetAlternative(altKey)->Outcome(OutcomeKind::Target);
        target->SetFireSize(QString::number(acres));
        target->SaveChanges();
        model::c64BurnArea* area = target->BurnArea(0);
        area->SetFILPortion(1, 1);
        area->SaveChanges();
    }
};

TEST_F(GraphsTest, IsTheRegisteredFormOfItsWorksheet)
{
    worksheets::comparison_complexity::RegisterForms();
    std::unique_ptr<worksheets::WorksheetForm> made = testsupport::CreateForm("tab62");
    ASSERT_NE(dynamic_cast<frm62Graphs*>(made.get()), nullptr);
    made->Setup();
    EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab62");
}

TEST_F(GraphsTest, RowLabelsShareEightyFourCharacters)
{
    const QString heading = "Confine and contain within the ridge-top road system";
    addAlternative({heading});
    open();
    EXPECT_EQ(form->chtSafety()->rowCount(), 1);
    EXPECT_EQ(form->chtSafety()->rowLabel(1), ("A. " + heading).left(84));

    for (int i = 0; i < 3; ++i)
        addAlternative({heading});
    open();
    for (chart::BarChart* c : {form->chtSafety(), form->chtCriteria(), form->chtCosts()}) {
        ASSERT_EQ(c->rowCount(), 4);
        EXPECT_EQ(c->rowLabel(1), "A. Confine and contai");
        EXPECT_EQ(c->rowLabel(4), "D. Confine and contai");
        EXPECT_EQ(c->rowLabel(4).size(), 21);
        EXPECT_TRUE(c->showLegend());
    }
    EXPECT_FALSE(form->lblNoAlternatives()->isVisible());
}

TEST_F(GraphsTest, FinancialValuesInThousands)
{
    const int a = addAlternative({"Direct attack", 200000});
    protect(a, 50000);
    burn(a, 30, 1000);
    addAlternative({"Confine", 90000});
    open();
    chart::BarChart& c = *form->chtCosts();
    ASSERT_EQ(c.columnCount(), 4);
    EXPECT_EQ(QStringList({c.columnLabel(1), c.columnLabel(2), c.columnLabel(3), c.columnLabel(4)}),
              QStringList({"Suppression Cost", "Values Protected", "Resource Values", "Total"}));
    EXPECT_DOUBLE_EQ(c.data(1, 1), -200);
    EXPECT_DOUBLE_EQ(c.data(1, 2), 50);
    // The resource loss as the model weighs it over the intensity levels: a loss, drawn below 0.
    const double loss = model::GetAlternative(a)->ExpectedNVCLoss();
    ASSERT_GT(loss, 0);
    EXPECT_DOUBLE_EQ(c.data(1, 3), -loss / 1000);
    EXPECT_DOUBLE_EQ(c.data(1, 4), (50000 - loss - 200000) / 1000);
    EXPECT_DOUBLE_EQ(c.data(2, 1), -90);
    EXPECT_DOUBLE_EQ(c.data(2, 4), -90);
    EXPECT_FALSE(c.isStacked());
    EXPECT_EQ(form->title(3)->text(), "Expected Financial Impact  (in $000)");
}

// Without the chart module the worksheet still comes up with every figure handed to its charts,
// each chart saying why it draws nothing; the user is told once.
TEST_F(GraphsTest, WithoutTheChartModuleTheFiguresStandAndTheUserIsToldOnce)
{
    const struct Restore {
        ~Restore() { chart::LoadChartModule(chart::ChartModulePath()); }
    } restore;
    ASSERT_NE(chart::LoadChartModule("/nonexistent/tolmar_charts.so"), "");
    addAlternative({"Direct attack", 200000});
    prompter.clear();
    open();
    QTest::qWait(0);
    EXPECT_DOUBLE_EQ(form->chtCosts()->data(1, 1), -200);
    for (chart::BarChart* c : {form->chtSafety(), form->chtCriteria(), form->chtCosts()}) {
        EXPECT_EQ(c->chart(), nullptr);
        const auto* why = c->findChild<QLabel*>("lblChartMissing");
        ASSERT_NE(why, nullptr);
        EXPECT_TRUE(why->isVisible());
    }
    open();   // and again: no second message
    const auto shown = prompter.messages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].text.startsWith("The charts cannot be drawn: the chart module")) << shown[0].text.toStdString();
}

TEST_F(GraphsTest, OneCostOverAMillionPutsEverySeriesInMillions)
{
    const int a = addAlternative({"Direct attack", 200000});
    protect(a, 50000);
    addAlternative({"Full suppression", 1500000});
    open();
    chart::BarChart& c = *form->chtCosts();
    EXPECT_EQ(form->title(3)->text(), "Expected Financial Impact  (in $000,000)");
    EXPECT_DOUBLE_EQ(c.data(2, 1), -1.5);
    EXPECT_DOUBLE_EQ(c.data(1, 1), -0.2);
    EXPECT_DOUBLE_EQ(c.data(1, 2), 0.05);
    EXPECT_DOUBLE_EQ(c.data(1, 4), -0.15);
    EXPECT_EQ(form->title(1)->text(), "Safety Score  (0=worst, 10=best)");
    EXPECT_EQ(form->title(2)->text(), "Objectives Score  (0=worst, 10=best)");
}

TEST_F(GraphsTest, SafetyAndObjectiveChartsShowTheExpectedScores)
{
    // Two categories carry an objective of priority 6 each: weights 0.5 and 0.5. The one safety
    // issue weighs 1.
    QList<int> objectives;
    for (int category : {3, 5}) {
        model::c41Objective* o = model::AddObjective("Keep fire off the watershed", category);
        o->SetItemName("Keep fire off the watershed");
        o->SetPriority(6);
        o->SaveChanges();
        objectives << o->ItemKey();
    }
    const int issue = model::AddSafetyIssue("Steep slopes")->ItemKey();
    const int a = addAlternative({"Direct attack", 1000});
    const int b = addAlternative({"Confine", 1000, 60, 50});
    // Ratings (safety issue, first objective, second objective) of each outcome.
    const auto rate = [&](int outcomeKey, float safety, float first, float second) {
        using model::Criteria;
        for (const auto& [key, criteria, value] : {std::tuple{issue, Criteria::Safety, safety},
                                                   std::tuple{objectives[0], Criteria::Objectives, first},
                                                   std::tuple{objectives[1], Criteria::Objectives, second}}) {
            model::c62Rating r;
            r.Initialize(outcomeKey, key, criteria, model::RatingLevel::Criterion);
            r.SetRawScore(value);
            r.SaveChanges();
        }
    };
    rate(model::GetAlternative(a)->Outcome(OutcomeKind::Target)->ItemKey(), 8, 6, 2);
    rate(model::GetAlternative(b)->Outcome(OutcomeKind::Target)->ItemKey(), 4, 10, 5);
    rate(model::GetAlternative(b)->Outcome(OutcomeKind::Fallback)->ItemKey(), 9, 2, 7);
    rate(model::GetExtremeOutcome()->ItemKey(), 1, 0, 3);
    open();
    chart::BarChart& crit = *form->chtCriteria();
    ASSERT_EQ(crit.columnCount(), 2);
    EXPECT_TRUE(crit.isStacked());
    EXPECT_EQ(crit.columnLabel(1), "Natural and Cultural Resources");
    EXPECT_EQ(crit.columnLabel(2), "Economic");
    chart::BarChart& safety = *form->chtSafety();
    ASSERT_EQ(safety.columnCount(), 1);
    EXPECT_EQ(safety.columnLabel(1), "Safety Issues");
    // A: its Target alone. B: 60% Target, 20% Fallback, 20% Extreme.
    EXPECT_FLOAT_EQ(float(safety.data(1, 1)), 8);                // 8
    EXPECT_FLOAT_EQ(float(safety.data(2, 1)), 4.4f);             // 0.6 x 4 + 0.2 x 9 + 0.2 x 1
    EXPECT_FLOAT_EQ(float(crit.data(1, 1)), 3);                  // 0.5 x 6
    EXPECT_FLOAT_EQ(float(crit.data(1, 2)), 1);                  // 0.5 x 2
    EXPECT_FLOAT_EQ(float(crit.data(2, 1)), 3.2f);               // 0.6 x 5 + 0.2 x 1 + 0.2 x 0
    EXPECT_FLOAT_EQ(float(crit.data(2, 2)), 2.5f);               // 0.6 x 2.5 + 0.2 x 3.5 + 0.2 x 1.5
}

TEST_F(GraphsTest, NoAlternativesShowsTheEmptyState)
{
    open();
    EXPECT_TRUE(form->lblNoAlternatives()->isVisible());
    EXPECT_FALSE(form->chtCosts()->isVisible());
    testsupport::KeepPicture(*form, "frm62graphs_empty.png");
    EXPECT_EQ(form->chtSafety()->rowCount(), 0);
    EXPECT_EQ(form->chtCosts()->rowCount(), 0);
    EXPECT_EQ(form->title(3)->text(), "Expected Financial Impact  (in $000)");
    // An alternative added later shows on the next visit.
    addAlternative({"Direct attack", 1000});
    open();
    EXPECT_FALSE(form->lblNoAlternatives()->isVisible());
    EXPECT_TRUE(form->chtCosts()->isVisible());
}

} // namespace
