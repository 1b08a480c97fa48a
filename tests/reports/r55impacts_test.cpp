// Resource value losses: two tables a page, with the totals and the expected impact.

#include "sectiontexts_fixture.h"

#include "model/c34nvctable.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g51alternatives.h"
#include "reports/sections/sectionnumbers.h"

using model::OutcomeKind;
using reports::VSPrinter1;

TEST_F(ReportFixture, EstimatedLossPrintsTwoTablesAPageWithTheTotalsAndTheExpectedImpact)
{
    ASSERT_TRUE(Produce({12}));
    const QStringList calls = Calls();
    ExpectCalls(calls.mid(0, 6), SectionStart("Resource Value Losses") + QStringList{
        QStringLiteral("Paragraph \"Note: Outcome values, including totals, are rounded to 3 significant digits counting from the left.\" "
                       "at 720,* ") + kBase + " align 0 F 10",
        QStringLiteral("Paragraph \"Expected Impact is rounded to 2 significant digits.\" at 720,* ") + kBase + " align 0 F 10",
        QStringLiteral("Paragraph \"\" at 720,* ") + kBase + " align 0 F 10"});
    const qsizetype a = IndexOf(calls, QStringLiteral("Paragraph \"Alternative A. Strategy 1\""));
    ASSERT_GT(a, 0);
    const QString at = QStringLiteral(" at 720,* margins 2040,720,720,720 indents 0,0,0 align 0 F ");
    ExpectCalls(calls.mid(a, 3), {
        QStringLiteral("Paragraph \"Alternative A. Strategy 1\" at 720,2040 margins 2040,720,720,720 indents 0,0,0 align 1 F 11 b"),
        QStringLiteral("TableRows \"2880!|^1800!|^1800!|^1800!|^1800;Item|Target Outcome (40%)|Fallback Outcome (18%)|"
                       "Extreme Outcome (42%)|Expected Impact;\" style 0 row 0 header 0 at 720,2440 margins 2040,720,720,720 "
                       "indents 0,0,0 align 0 F 10 b"),
        QStringLiteral("TableRows \"2880!|>1800!|>1800!|>1800!|>1800;Timber|31,600|42,100|676,000|;\" style 2 row 0 header 0")
            + at + "9"});
    ExpectCalls(calls.mid(a + 16, 1), {
        QStringLiteral("TableRows \">2880!|>1800!|>1800!|>1800!|>1800;Total (rounded)|$250,000|$370,000|$5,400,000|$2,400,000;\" "
                       "style 2 row 50 header 0") + at + "10"});
    // Fourteen resources with values and four alternatives: two tables a page.
    const qsizetype b = IndexOf(calls, QStringLiteral("Paragraph \"Alternative B. Strategy 2\""));
    EXPECT_EQ(YOf(calls[b]), 8040);
    const qsizetype c = IndexOf(calls, QStringLiteral("Paragraph \"Alternative C. Strategy 3\""));
    EXPECT_EQ(calls.mid(b, c - b).count(QStringLiteral("NewPage")), 1);
    EXPECT_EQ(YOf(calls[c]), 2040);
    // C's Fallback is hidden: its title and cells are empty.
    EXPECT_TRUE(calls[c + 1].contains(QStringLiteral(";Item|Target Outcome (66%)||Extreme Outcome (34%)|Expected Impact;")));
    EXPECT_TRUE(calls[c + 2].contains(QStringLiteral(";Timber|90,200||676,000|;")));
    EXPECT_EQ(VSPrinter1().TableRowSetting(), 0);
}

TEST_F(ReportFixture, EstimatedLossOfAnOutcomeThatCannotOccurIsNotApplicable)
{
    const auto alternatives = model::GetAlternatives().Items();
    alternatives[0]->Outcome(OutcomeKind::Target)->SetSuccess(100);   // A's Target always succeeds
    alternatives[0]->Outcome(OutcomeKind::Target)->SaveChanges();
    alternatives[1]->Outcome(OutcomeKind::Fallback)->SetSuccess(100);   // B's Fallback always succeeds
    alternatives[1]->Outcome(OutcomeKind::Fallback)->SaveChanges();
    alternatives[2]->Outcome(OutcomeKind::Target)->SetSuccess(100);   // C's Target, with its Fallback hidden
    alternatives[2]->Outcome(OutcomeKind::Target)->SaveChanges();
    ASSERT_TRUE(Produce({12}));
    const QStringList calls = Calls();
    const auto rowsOf = [&calls](const char* label) {
        const qsizetype at = IndexOf(calls, QStringLiteral("Paragraph \"") + QString::fromLatin1(label));
        return std::make_pair(calls[at + 2].section(u';', 1, 1), calls[at + 16].section(u';', 1, 1));
    };
    const auto a = rowsOf("Alternative A.");
    EXPECT_EQ(a.first, QStringLiteral("Timber|31,600|n/a|n/a|"));
    EXPECT_TRUE(a.second.startsWith(QStringLiteral("Total (rounded)|$250,000|n/a|n/a|$"))) << a.second.toStdString();
    const auto b = rowsOf("Alternative B.");
    EXPECT_TRUE(b.first.endsWith(QStringLiteral("|n/a|"))) << b.first.toStdString();
    EXPECT_FALSE(b.first.contains(QStringLiteral("n/a|n/a")));
    const auto c = rowsOf("Alternative C.");
    EXPECT_EQ(c.first, QStringLiteral("Timber|90,200|n/a|n/a|"));
    EXPECT_TRUE(c.second.startsWith(QStringLiteral("Total (rounded)|$680,000||n/a|$"))) << c.second.toStdString();
}

TEST_F(ReportFixture, EstimatedLossLayoutFollowsTheResourcesWithValues)
{
    // Resources without a value in any FMU are left out; fewer rows, more tables a page.
    const struct { int withValues; int code; } cases[] = {{14, 38}, {13, 39}, {11, 39}, {10, 48}, {9, 48}, {8, 49}, {0, 49}};
    for (const auto& c : cases) {
        for (model::c33FMU* fmu : model::GetFMUs()) {
            model::c34NVCTable* table = fmu->NVCTable();
            for (int r = 1; r <= model::kNVCResourceCount; ++r)
                for (int fil = 1; fil <= model::kFILCount; ++fil)
                    table->SetNVCCellValue(r, fil, r <= c.withValues ? -10.0f * fil : 0.0f);
            table->SaveChanges();
        }
        EXPECT_EQ(reports::sections::GetImpactTableLayout(), c.code) << c.withValues;
    }
    // No resource with a value: each table has its header and its total only.
    ASSERT_TRUE(Produce({12}));
    const QStringList calls = Calls();
    const qsizetype a = IndexOf(calls, QStringLiteral("Paragraph \"Alternative A."));
    EXPECT_TRUE(calls[a + 2].startsWith(QStringLiteral("TableRows \">2880!|>1800!|>1800!|>1800!|>1800;Total (rounded)|$0|$0|$0|$0;\"")))
        << calls[a + 2].toStdString();
    // Four alternatives at code 49 are four a page.
    EXPECT_EQ(YOf(calls[IndexOf(calls, QStringLiteral("Paragraph \"Alternative B."))]), 5040);
    EXPECT_EQ(YOf(calls[IndexOf(calls, QStringLiteral("Paragraph \"Alternative D."))]), 11040);
    EXPECT_EQ(calls.count(QStringLiteral("NewPage")), 0);
}
