// Estimated suppression costs: the cost by FMU and the resources of every alternative.

#include "sectiontexts_fixture.h"

#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g51alternatives.h"
#include "reports/printsettings.h"

TEST_F(ReportFixture, CostsPrintTheCostByFMUAndTheResourcesOfEveryAlternative)
{
    ASSERT_TRUE(Produce({9}));
    const QStringList calls = Calls();
    ExpectCalls(calls.mid(0, 9), SectionStart("Estimated Suppression Costs") + QStringList{
        QStringLiteral("Paragraph \"\" at 720,1440 ") + kBase + " align 0 F 10",
        QStringLiteral("AddTable \"2700|^540|^900|>1260|^540|^900|>1260|^540|^900|>1260;\" \"Alternative A. Strategy 1|||||||||;\" "
                       "\"\" style 7 at 720,* ") + kBase + " align 0 F 8",
        QStringLiteral("EndTable 4 rows"),
        // Two FMUs: the label stands over the first table only.
        QStringLiteral("AddTable \">600|1440|>540|1020|>600|1440|>540|1020|>600|1440|>540|1020;\" \"|||||||||||;\" \"\" style 0 at 720,* ")
            + kBase + " align 0 F 8",
        QStringLiteral("EndTable 5 rows"),
        QStringLiteral("Paragraph \"\" at 720,* ") + kBase + " align 0 F 10"});
    EXPECT_EQ(calls.filter(QRegularExpression(QStringLiteral("^AddTable \"2700\\|"))).size(), 4);
    EXPECT_EQ(calls.last(), QStringLiteral("EndDoc"));
    EXPECT_EQ(reports::PrintSettingsStack().size(), 1);

    // Alternative A: Target 373 acres, Fallback 546, Extreme 7,981; Unit-1 costs $405 an acre up to
    // 1,000 acres and $255 up to 10,000 (A's Target: 45 % x $405 x 373 acres = 67,979).
    EXPECT_EQ(TextsAfter(QStringLiteral("Alternative A. Strategy 1"), 25), (QStringList{
        "Target Outcome", "Fallback Outcome", "Extreme Outcome",
        "FMU", "%", "$/acre", "Cost", "%", "$/acre", "Cost", "%", "$/acre", "Cost",
        "Unit-1", "45", "405", "67979", "47", "405", "103931", "48", "255", "976874",
        "Unit-2", "54"}));
    EXPECT_EQ(TextsAfter(QStringLiteral("67979"), 0), QStringList());
    // Its resources, cost and basis; every outcome's cost and basis line up on the last two rows.
    EXPECT_EQ(TextsAfter(QStringLiteral("1058281"), 22), (QStringList{
        "Target Outcome", "Fallback Outcome", "Extreme Outcome",
        "1", "T1C", "1", "crew-day", "2", "T2C", "2", "crew-day", "3", "HOSE", "9", "roll",
        "4", "WT", "10", "day", "5", "T1C", "1"}));
    EXPECT_EQ(TextsAfter(QStringLiteral("crew-day"), 0), QStringList());
    const QStringList texts = Texts();
    const qsizetype cost = texts.indexOf(QStringLiteral("Estimated suppression cost:  $151,000"));
    ASSERT_GT(cost, 0);
    EXPECT_EQ(texts.mid(cost, 6), (QStringList{
        "Estimated suppression cost:  $151,000", "Estimated suppression cost:  $94,000",
        "Estimated suppression cost:  $261,105", "Basis for cost estimate:\r\nHistoric average cost per acre",
        "Basis for cost estimate:\r\nEstimated suppression resources needed",
        "Basis for cost estimate:\r\nEstimated from similar fires"}));
    EXPECT_TRUE(texts.contains(QStringLiteral("Basis for cost estimate:\r\nDaily expense rate")));
}

TEST_F(ReportFixture, CostsLeaveAHiddenFallbackEmptyAndAnUnknownSourceWithoutABasis)
{
    // Alternative C keeps its Fallback hidden. A cost source the program does not know still
    // prints the estimated cost (0 dollars), but no basis.
    const auto c = model::GetAlternatives().At(2);
    db().Execute(QStringLiteral("UPDATE Outcomes SET CostSource = 3 WHERE ItemKey = ?"), {c->Outcome(model::OutcomeKind::Target)->ItemKey()});
    testsupport::ClearModelCaches();
    ASSERT_TRUE(Produce({9}));
    EXPECT_EQ(TextsAfter(QStringLiteral("Alternative C. Strategy 3"), 10), (QStringList{
        "Target Outcome", "Extreme Outcome", "FMU", "%", "$/acre", "Cost", "%", "$/acre", "Cost", "Unit-1"}));
    const QStringList texts = Texts();
    const qsizetype cost = texts.indexOf(QStringLiteral("Estimated suppression cost:  $0"));
    ASSERT_GT(cost, 0);
    EXPECT_EQ(texts.mid(cost + 1, 2), (QStringList{"Estimated suppression cost:  $261,105",
                                                    "Basis for cost estimate:\r\nEstimated from similar fires"}));
}
