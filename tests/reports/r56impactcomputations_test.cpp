// The computation of NVC: each outcome built from the FMUs and the intensity levels.

#include "sectiontexts_fixture.h"

#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g51alternatives.h"

using model::OutcomeKind;
TEST_F(ReportFixture, ImpactComputationsBuildEachOutcomeFromTheFMUsAndLevels)
{
    ASSERT_TRUE(Produce({13}));
    const QStringList calls = Calls();
    ExpectCalls(calls.mid(0, 6), SectionStart("Computation of NVC Losses by FMU and FIL") + QStringList{
        QStringLiteral("Paragraph \"\" at 720,1440 ") + kBase + " align 0 F 10",
        QStringLiteral("AddTable \"1440|^480|^780|^540|>900|>1260|^540|>900|>1260|^540|>900|>1260;\" \"Alternative A. Strategy 1\" "
                       "\"\" style 0 at 720,* ") + kBase + " align 0 F 8",
        QStringLiteral("EndTable 15 rows")});
    EXPECT_EQ(calls.filter(QStringLiteral("EndTable 15 rows")).size(), 4);
    EXPECT_EQ(calls.last(), QStringLiteral("EndDoc"));

    EXPECT_EQ(TextsAfter(QStringLiteral("Alternative A. Strategy 1"), 27), (QStringList{
        "Target Outcome", "Fallback Outcome", "Extreme Outcome",
        "FMU", "FIL", "$/acre", "%", "Acres", "Impact", "%", "Acres", "Impact", "%", "Acres", "Impact",
        // 45 % of A's Target (373 acres) is in Unit-1, 18 % of that at level 1 ($-200 an acre).
        "Unit-1", "1", "-200", "8", "30", "-6043", "15", "85", "-16937", "8", "690", "-137912"}));
    // The totals are the outcomes' own NVC, to 2 significant digits; the rows need not add up to them.
    EXPECT_EQ(TextsAfter(QStringLiteral("-1241205"), 0), QStringList());
    const QStringList texts = Texts();
    const qsizetype total = texts.indexOf(QStringLiteral("Total"));
    ASSERT_GT(total, 0);
    EXPECT_EQ(texts.mid(total, 10), (QStringList{"Total", "100", "373", "-$250,000", "100", "546", "-$370,000", "100", "7981",
                                                  "-$5,400,000"}));
    // C's Fallback is hidden: nothing between its Target and Extreme columns.
    EXPECT_EQ(TextsAfter(QStringLiteral("Alternative C. Strategy 3"), 5),
              (QStringList{"Target Outcome", "Extreme Outcome", "FMU", "FIL", "$/acre"}));
}

TEST_F(ReportFixture, ImpactComputationOfAFireSizeThatCannotBeReadIsZeroAndTheReportGoesOn)
{
    // A size that is empty or not a number in the file reads as 0 in every branch.
    const auto a = model::GetAlternatives().At(0);
    db().Execute(QStringLiteral("UPDATE Outcomes SET FireSize = NULL WHERE ItemKey = ?"), {a->Outcome(OutcomeKind::Target)->ItemKey()});
    db().Execute(QStringLiteral("UPDATE Outcomes SET FireSize = 'abc' WHERE ItemKey = ?"), {a->Outcome(OutcomeKind::Fallback)->ItemKey()});
    testsupport::ClearModelCaches();
    ASSERT_TRUE(Produce({9, 13}));
    EXPECT_EQ(TextsAfter(QStringLiteral("Unit-1"), 11).mid(0, 11),
              (QStringList{"45", "905", "0", "47", "905", "0", "48", "255", "976874", "Unit-2", "54"}));
    const QStringList texts = Texts();
    const qsizetype total = texts.indexOf(QStringLiteral("Total"));
    ASSERT_GT(total, 0);
    EXPECT_EQ(texts.mid(total, 7), (QStringList{"Total", "100", "0", "$0", "100", "0", "$0"}));
}

TEST_F(NoFMUReport, ImpactComputationOfTheWholeFireShowsTheLevelsThemselves)
{
    ASSERT_TRUE(Produce({13}));
    EXPECT_TRUE(Calls().contains(QStringLiteral("EndTable 9 rows")));
    // A's Target covers 373 acres, 2 of its 11 portions at the first level: 18%, printed as it
    // is, of 67 acres (373 x 18% = 67.14). The whole fire's table loses $200 an acre there: the
    // losses of its first column, 20 + 10 + 40 + 30 twice (its gains are left out). So the
    // level loses 200 x 18% x 373 = $13,428.
    const QStringList texts = TextsAfter(QStringLiteral("$/acre"), 14);
    ASSERT_EQ(texts.size(), 14);
    EXPECT_EQ(texts.mid(9), (QStringList{"1", "-200", "18", "67", "-13428"}));
}

TEST_F(NoFMUReport, ImpactComputationOfTheWholeFireReadsAnUnreadableSizeAsZero)
{
    const auto a = model::GetAlternatives().At(0);
    db().Execute(QStringLiteral("UPDATE Outcomes SET FireSize = 'about 40' WHERE ItemKey = ?"), {a->Outcome(OutcomeKind::Target)->ItemKey()});
    testsupport::ClearModelCaches();
    ASSERT_TRUE(Produce({9, 13}));
    const QStringList texts = Texts();
    const qsizetype total = texts.indexOf(QStringLiteral("Total"));
    ASSERT_GT(total, 0);
    EXPECT_EQ(texts.mid(total, 4), (QStringList{"Total", "100", "0", "$0"}));
    EXPECT_EQ(Calls().last(), QStringLiteral("EndDoc"));
}
