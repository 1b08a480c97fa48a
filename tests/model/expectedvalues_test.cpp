#include "decision_fixture.h"

#include "model/c51alternative.h"
#include "model/c62rating.h"
#include "model/c65itemimpactlist.h"
#include "model/c66itemimpact.h"
#include "model/c67sruselist.h"
#include "model/c41objective.h"
#include "model/g36threateneditems.h"
#include "model/g38srtypes.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"

#include <tuple>

using model::OutcomeKind;
using namespace model;

namespace {

struct PercentCase {
    int target;
    int fallback;   // -1: hidden
    int p1, p2, p3;
};

class OutcomePercents : public DecisionFixture, public ::testing::WithParamInterface<PercentCase> {};

TEST_P(OutcomePercents, SplitTheHundredPointsBetweenTheThreeOutcomes)
{
    const PercentCase c = GetParam();
    auto alt = AddAlternative(QStringLiteral("A"));
    alt->Outcome(OutcomeKind::Target)->SetSuccess(c.target);
    alt->Outcome(OutcomeKind::Fallback)->SetSuccess(c.fallback);
    EXPECT_EQ(alt->OutcomePercent(OutcomeKind::Target), c.p1);
    EXPECT_EQ(alt->OutcomePercent(OutcomeKind::Fallback), c.p2);
    EXPECT_EQ(alt->OutcomePercent(OutcomeKind::Extreme), c.p3);
    EXPECT_EQ(alt->OutcomePercent(OutcomeKind(0)), 0);
    EXPECT_EQ(alt->OutcomePercent(OutcomeKind(4)), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, OutcomePercents, ::testing::Values(
    PercentCase{60, 50, 60, 20, 20},
    PercentCase{75, 50, 75, 13, 12},     // 12.5 rounds up
    PercentCase{70, 33, 70, 10, 20},
    PercentCase{70, -1, 70, 0, 30},
    PercentCase{100, 80, 100, 0, 0},
    PercentCase{0, 100, 0, 100, 0},
    PercentCase{0, 0, 0, 0, 100},
    // Damaged files: out-of-range percentages are clamped before they weigh anything.
    PercentCase{150, 50, 100, 0, 0},
    PercentCase{-20, 50, 0, 50, 50},
    PercentCase{60, 400, 60, 40, 0},
    PercentCase{60, -7, 60, 0, 40}));

// A hand-checked analysis without FMUs:
//   NVC: resource 1 loses $10/acre at FIL 4, where every outcome burns.
//   Costs: 500 $/acre up to 100 acres, 300 up to 1,000, 200 above.
//   Values at risk: V1 10,000 at 50% = 5,000; V2 2,000 at 75% = 1,500.
//   Objectives O1 (priority 4) and O2 (priority 6) under one category; safety issue S (10).
//   A: Target 60%, 50 acres, cost by size 25,000, V1 100% + V2 50% = 5,750 -> 5,800;
//      Fallback 50% (of the rest: 20%), 500 acres, daily cost 38,000, V1 75% = 3,750 -> 3,800.
//   B: Target 75%, 200 acres, resource lines 3,000 + 2,000, V2 100% = 1,500; no Fallback.
//   Extreme: 5,000 acres, entered cost 250,000, nothing protected.
class HandCheckedAnalysis : public DecisionFixture {
protected:
    void SetUp() override
    {
        DecisionFixture::SetUp();
        dao::Transaction trans(db());   // one write to disk for the whole set-up
        setCostTable();
        GetNVCTable(0)->SetNVCCellValue(1, 4, -10);
        GetNVCTable(0)->SaveChanges();

        auto v1 = AddThreatenedItem(QStringLiteral("Cabins"));
        v1->SetPotentialLoss(10000);
        v1->SetProbabilityLabel(QStringLiteral("Medium (50%)"));
        v1->SaveChanges();
        auto v2 = AddThreatenedItem(QStringLiteral("Fence"));
        v2->SetPotentialLoss(2000);
        v2->SetProbabilityLabel(QStringLiteral("High (75%)"));
        v2->SaveChanges();
        v1Key = v1->ItemKey();
        v2Key = v2->ItemKey();

        o1 = AddObjective(QStringLiteral("Keep the fire out of the canyon"), 3);
        o1->SetPriority(4);
        o1->SaveChanges();
        o1Key = o1->ItemKey();
        auto* o2 = AddObjective(QStringLiteral("Protect the trailhead"), 3);
        o2->SetPriority(6);
        o2->SaveChanges();
        o2Key = o2->ItemKey();
        auto* s = AddSafetyIssue(QStringLiteral("Steep ground"));
        s->SaveChanges();
        sKey = s->ItemKey();
        ClearObjectives();
        ClearSafetyIssues();

        a = AddAlternative(QStringLiteral("A"));
        a->SetHeading(QStringLiteral("Direct attack"));
        auto at = a->Outcome(OutcomeKind::Target);
        at->SetSuccess(60);
        at->SetFireSize(QStringLiteral("50"));
        at->SetCostSource(CostSource::BySize);
        auto af = a->Outcome(OutcomeKind::Fallback);
        af->SetSuccess(50);
        af->SetFireSize(QStringLiteral("500"));
        af->SetDailyContainCost(10000);
        af->SetContainTimeString(QStringLiteral("3"));
        af->SetDailyControlCost(2000);
        af->SetControlTimeString(QStringLiteral("7"));
        af->SetCostSource(CostSource::Daily);

        b = AddAlternative(QStringLiteral("B"));
        b->SetHeading(QStringLiteral("Indirect attack"));
        auto bt = b->Outcome(OutcomeKind::Target);
        bt->SetSuccess(75);
        bt->SetFireSize(QStringLiteral("200"));
        bt->SetCostSource(CostSource::ResourceList);
        const int crew = addSRType(QStringLiteral("Crew"), QStringLiteral("time"), 250);
        const int pump = addSRType(QStringLiteral("Pump"), QStringLiteral("item"), 1000);
        auto l1 = bt->SRUseList().NewSRUse(crew);
        l1->SetQuantity(3);
        l1->SetTimePeriods(4);
        l1->SaveChanges();
        auto l2 = bt->SRUseList().NewSRUse(pump);
        l2->SetQuantity(2);
        l2->SetTimePeriods(5);
        l2->SaveChanges();

        auto ex = GetExtremeOutcome();
        ex->SetFireSize(QStringLiteral("5000"));
        ex->SetCostSource(CostSource::Entered);
        ex->SetAdjustedCost(250000);

        protect(at->ItemKey(), v1Key, "Yes (100%)");
        protect(at->ItemKey(), v2Key, "Partly (50%)");
        protect(af->ItemKey(), v1Key, "Mostly (75%)");
        protect(bt->ItemKey(), v2Key, "Yes (100%)");

        rate(at->ItemKey(), {5, 10, 7});
        rate(af->ItemKey(), {10, 0, 3});
        rate(ex->ItemKey(), {0, 5, 0});
        rate(bt->ItemKey(), {10, 5, 9});

        for (auto& o : {at, af, bt, ex})
            o->SaveChanges();
        SaveAlternatives();
        trans.commit();
    }

    void protect(int outcomeKey, int itemKey, const char* label)
    {
        c66ItemImpact impact;
        impact.Initialize(outcomeKey, itemKey);
        impact.SetProtectionLabel(QString::fromLatin1(label));
        impact.SaveChanges();
    }
    void rate(int outcomeKey, std::tuple<float, float, float> scores)
    {
        const auto [s1, s2, s3] = scores;
        for (auto [key, score, criteria] : {std::tuple{o1Key, s1, Criteria::Objectives},
                                            std::tuple{o2Key, s2, Criteria::Objectives},
                                            std::tuple{sKey, s3, Criteria::Safety}}) {
            c62Rating r;
            r.Initialize(outcomeKey, key, criteria, RatingLevel::Criterion);
            r.SetRawScore(score);
            r.SaveChanges();
        }
    }

    std::shared_ptr<c51Alternative> a, b;
    c41Objective* o1 = nullptr;
    int v1Key = 0, v2Key = 0, o1Key = 0, o2Key = 0, sKey = 0;
};

TEST_F(HandCheckedAnalysis, OutcomeValuesFollowTheirCostSourceAndTables)
{
    auto at = a->Outcome(OutcomeKind::Target);
    EXPECT_FLOAT_EQ(at->CostBySize(), 25000);
    EXPECT_FLOAT_EQ(at->CostPerAcre(), 500);
    EXPECT_FLOAT_EQ(at->NVCLoss(), 500);
    EXPECT_FLOAT_EQ(at->ImpactPerAcre(), -10);
    EXPECT_DOUBLE_EQ(at->ValueProtected(), 5800);   // 5,750 to two digits, half to even
    EXPECT_DOUBLE_EQ(at->SingleItemProtected(v2Key), 750);
    EXPECT_FLOAT_EQ(at->TotalScore(), 8);
    EXPECT_FLOAT_EQ(a->Outcome(OutcomeKind::Fallback)->EstimatedCost(), 38000);
    EXPECT_FLOAT_EQ(b->Outcome(OutcomeKind::Target)->EstimatedCost(), 5000);
    EXPECT_FLOAT_EQ(GetExtremeOutcome()->EstimatedCost(), 250000);
}

// The figures come from the stored levels until the impact objects are asked for, and from the
// objects, edits and all, after that.
TEST_F(HandCheckedAnalysis, ImpactFiguresAreTheSameBeforeAndAfterTheImpactsAreBuilt)
{
    c65ItemImpactList list;
    list.Initialize(a->Outcome(OutcomeKind::Target)->ItemKey());
    const auto figures = [&] {
        return std::tuple{list.TotalProtected(), list.SingleItemProtection(v1Key), list.SingleItemProtection(v2Key),
                          list.SingleItemProtection(9999), list.ImpactOnAllItems(), list.SingleItemImpact(v2Key)};
    };
    const auto before = figures();
    EXPECT_EQ(before, std::tuple(5750.0, 5000.0, 750.0, 0.0, 0.0f, 0.0f));
    const ItemImpactCollection& items = list.Items();
    ASSERT_EQ(items.Count(), 2);
    EXPECT_EQ(items.Find(v1Key)->ProtectionLevel(), 100);
    EXPECT_EQ(items.Find(v2Key)->ProtectionLevel(), 50);
    EXPECT_EQ(figures(), before);

    items.Find(v2Key)->SetProtectionLabel(QStringLiteral("No (0%)"));
    items.Find(v1Key)->SetAmount(20000);   // kept within the value at risk
    EXPECT_DOUBLE_EQ(list.TotalProtected(), 5000);
    EXPECT_DOUBLE_EQ(list.SingleItemProtection(v2Key), 0);
    EXPECT_FLOAT_EQ(list.ImpactOnAllItems(), 5000);
    EXPECT_FLOAT_EQ(list.SingleItemImpact(v1Key), 5000);
}

TEST_F(HandCheckedAnalysis, ExpectedValuesWeighTheThreeOutcomes)
{
    // A: 25,000 x .6 + 38,000 x .2 + 250,000 x .2 = 72,600 -> 73,000
    EXPECT_FLOAT_EQ(a->ExpectedCost(), 73000);
    // A: 500 x .6 + 5,000 x .2 + 50,000 x .2 = 11,300 -> 11,000
    EXPECT_FLOAT_EQ(a->ExpectedNVCLoss(), 11000);
    EXPECT_FLOAT_EQ(a->ExpectedLoss(), 11000);
    // A: 5,800 x .6 + 3,800 x .2 = 4,240 -> 4,200
    EXPECT_DOUBLE_EQ(a->ExpectedProtection(), 4200);
    EXPECT_FLOAT_EQ(a->EstimatedCost(), 25000);
    EXPECT_EQ(a->EstimatedSize(), 50);
    // B: 5,000 x .75 + 250,000 x .25 = 66,250 -> 66,000
    EXPECT_FLOAT_EQ(b->ExpectedCost(), 66000);
    // B: 2,000 x .75 + 50,000 x .25 = 14,000
    EXPECT_FLOAT_EQ(b->ExpectedNVCLoss(), 14000);
    // B: 1,500 x .75 = 1,125 -> 1,100
    EXPECT_DOUBLE_EQ(b->ExpectedProtection(), 1100);

    // Scores: weights .4 and .6. A: 8 x .6 + 4 x .2 + 3 x .2 = 6.2; B: 7 x .75 + 3 x .25 = 6
    EXPECT_NEAR(a->ExpectedScore(), 6.2, 1e-5);
    EXPECT_NEAR(b->ExpectedScore(), 6.0, 1e-5);
    EXPECT_NEAR(a->ExpectedCategoryScore(3), 6.2, 1e-5);
    EXPECT_NEAR(a->ExpectedWgtObjScore(o2Key), 4.2, 1e-5);   // 6 x .6 + 0 + 3 x .2
    EXPECT_NEAR(a->ExpectedRawObjScore(o1Key), 5.0, 1e-5);   // 5 x .6 + 10 x .2 + 0
    EXPECT_NEAR(a->ExpectedSafetyScore(), 4.8, 1e-5);        // 7 x .6 + 3 x .2 + 0
    EXPECT_NEAR(a->ExpectedRawSafetyScore(sKey), 4.8, 1e-5);

    EXPECT_EQ(GetLeastCostAlternative(), b);
}

TEST_F(HandCheckedAnalysis, StoredAnalysisGivesTheSameFiguresAfterReopening)
{
    reload();
    auto ra = GetAlternative(a->ItemKey());
    auto rb = GetAlternative(b->ItemKey());
    ASSERT_TRUE(ra && rb);
    EXPECT_EQ(ra->Label(), QStringLiteral("A. Direct attack"));
    EXPECT_FLOAT_EQ(ra->ExpectedCost(), 73000);
    EXPECT_DOUBLE_EQ(ra->ExpectedProtection(), 4200);
    EXPECT_FLOAT_EQ(rb->ExpectedCost(), 66000);
    EXPECT_NEAR(ra->ExpectedScore(), 6.2, 1e-5);
    EXPECT_EQ(GetLeastCostAlternative()->ItemKey(), b->ItemKey());
}

TEST_F(HandCheckedAnalysis, EditsInMemoryCountBeforeTheyAreSaved)
{
    GetExtremeOutcome()->SetAdjustedCost(0);
    // A: 15,000 + 7,600 = 22,600 -> 23,000; B: 3,750 -> 3,800
    EXPECT_FLOAT_EQ(a->ExpectedCost(), 23000);
    EXPECT_FLOAT_EQ(b->ExpectedCost(), 3800);
}

TEST_F(DecisionFixture, LeastCostAlternativeKeepsTheEarlierOnATie)
{
    EXPECT_EQ(GetLeastCostAlternative(), nullptr);
    auto first = AddAlternative(QStringLiteral("A"));
    auto second = AddAlternative(QStringLiteral("B"));
    for (auto& [alt, cost] : {std::pair{first, 12300.0f}, std::pair{second, 12400.0f}}) {
        alt->Outcome(OutcomeKind::Target)->SetCostSource(CostSource::Entered);
        alt->Outcome(OutcomeKind::Target)->SetAdjustedCost(cost);
    }
    EXPECT_FLOAT_EQ(first->ExpectedCost(), 12000);
    EXPECT_FLOAT_EQ(second->ExpectedCost(), 12000);
    EXPECT_EQ(GetLeastCostAlternative(), first);
    second->Outcome(OutcomeKind::Target)->SetAdjustedCost(11000);
    EXPECT_EQ(GetLeastCostAlternative(), second);
}

struct CostSourceCase {
    int source;   // as stored: any number a file may hold
    float expected;
};

class CostSources : public DecisionFixture, public ::testing::WithParamInterface<CostSourceCase> {};

TEST_P(CostSources, PickTheEstimateTheUserChose)
{
    setCostTable();
    auto o = AddAlternative(QStringLiteral("A"))->Outcome(OutcomeKind::Target);
    o->SetFireSize(QStringLiteral("1234"));                        // 1,234 x 200 = 246,800 -> 247,000
    o->SetDailyContainCost(4115);                                  // 4,115 x 3 = 12,345 -> 12,300
    o->SetContainTimeString(QStringLiteral("3"));
    o->SetControlTimeString(QStringLiteral("3"));
    o->SetAdjustedCost(12345.67f);                                 // entered: not rounded
    auto line = o->SRUseList().NewSRUse(addSRType(QStringLiteral("Engine"), QStringLiteral("time"), 1111));
    line->SetQuantity(3);                                          // 1,111 x 3 x 3 = 9,999 -> 10,000
    line->SetTimePeriods(3);
    o->SetCostSource(static_cast<CostSource>(GetParam().source));
    EXPECT_FLOAT_EQ(o->EstimatedCost(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CostSources, ::testing::Values(
    CostSourceCase{1, 247000}, CostSourceCase{2, 10000}, CostSourceCase{4, 12300},
    CostSourceCase{8, 12345.67f}, CostSourceCase{3, 0}, CostSourceCase{0, 0}, CostSourceCase{16, 0}));

TEST_F(DecisionFixture, StoredCostSourceZeroReadsAsCostByFireSize)
{
    auto alt = AddAlternative(QStringLiteral("A"));
    const int key = alt->Outcome(OutcomeKind::Target)->ItemKey();
    db().Execute(QStringLiteral("UPDATE Outcomes SET CostSource = 0 WHERE ItemKey = ?"), {key});
    reload();
    EXPECT_EQ(GetAlternative(alt->ItemKey())->Outcome(OutcomeKind::Target)->CostSource(), CostSource::BySize);
}

TEST_F(DecisionFixture, DailyCostCountsContainmentThenControlDays)
{
    auto o = AddAlternative(QStringLiteral("A"))->Outcome(OutcomeKind::Target);
    o->SetDailyContainCost(10000);
    o->SetContainTimeString(QStringLiteral("3"));
    o->SetDailyControlCost(2000);
    o->SetControlTimeString(QStringLiteral("7"));
    EXPECT_FLOAT_EQ(o->DailyCost(), 38000);
    o->SetControlTimeString(QStringLiteral("2"));   // control before containment: that period counts 0
    EXPECT_FLOAT_EQ(o->DailyCost(), 30000);
}

} // namespace
