#include "decision_fixture.h"

#include "model/c51alternative.h"
#include "model/g36threateneditems.h"
#include "model/g51alternatives.h"

#include <QSet>

using model::OutcomeKind;
using namespace model;

namespace {

// The builder feeds the benchmark: it must write the analysis it promises, and the model must
// read it back whole after the file is reopened.
TEST_F(DecisionFixture, SmallBuiltAnalysisReadsBackWhole)
{
    testsupport::BuildAnalysis(testsupport::kSmallAnalysis);
    reload();
    const auto& size = testsupport::kSmallAnalysis;
    EXPECT_EQ(GetAlternatives().Count(), size.alternatives);
    EXPECT_EQ(FMUCount(), size.fmus);
    EXPECT_EQ(GetThreatenedItems().Count(), size.valuesAtRisk);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM SRUses")), size.resourceLines);
    EXPECT_EQ(GetSelectedAlternativeKey(), GetAlternatives().At(0)->ItemKey());

    QSet<int> sources;
    bool hiddenFallback = false;
    float least = 0;
    for (const auto& alt : GetAlternatives()) {
        for (const OutcomeKind kind : model::kAlternativeOutcomeKinds)
            if (alt->Outcome(kind)->bShow())
                sources.insert(core::StoredValue(alt->Outcome(kind)->CostSource()));
        hiddenFallback = hiddenFallback || !alt->Outcome(OutcomeKind::Fallback)->bShow();
        EXPECT_EQ(alt->OutcomePercent(OutcomeKind::Target) + alt->OutcomePercent(OutcomeKind::Fallback) + alt->OutcomePercent(OutcomeKind::Extreme), 100);
        EXPECT_GT(alt->ExpectedCost(), 0);
        EXPECT_GT(alt->ExpectedProtection(), 0);
        EXPECT_GT(alt->ExpectedScore(), 0);
        if (alt == GetAlternatives().At(0) || alt->ExpectedCost() < least)
            least = alt->ExpectedCost();
    }
    EXPECT_EQ(sources, (QSet<int>{1, 2, 4, 8}));
    EXPECT_TRUE(hiddenFallback);
    EXPECT_FLOAT_EQ(GetLeastCostAlternative()->ExpectedCost(), least);
}

} // namespace
