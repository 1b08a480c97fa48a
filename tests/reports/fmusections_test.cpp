// The sections that print by FMU together: five FMUs, none, and no alternatives.

#include "sectiontexts_fixture.h"

#include "model/g51alternatives.h"
#include "reports/printsettings.h"

using reports::VSPrinter1;

TEST_F(FiveFMUReport, EverySectionPrintsEveryFMU)
{
    ASSERT_TRUE(Produce({9, 10, 12, 13, 14, 19}));
    const QStringList texts = Texts();
    // Cost by FMU of A and the computation of NVC of A list the five units in order.
    const qsizetype cost = texts.indexOf(QStringLiteral("Alternative A. Strategy 1"));
    ASSERT_GE(cost, 0);
    QStringList units;
    for (qsizetype i = cost; i < texts.size() && units.size() < 5; ++i)
        if (texts[i].startsWith(QStringLiteral("Unit-")))
            units << texts[i];
    EXPECT_EQ(units, (QStringList{"Unit-1", "Unit-2", "Unit-3", "Unit-4", "Unit-5"}));
    EXPECT_TRUE(Calls().contains(QStringLiteral("EndTable 33 rows"))) << "five blocks of six levels";
    EXPECT_TRUE(Calls().contains(QStringLiteral("EndTable 7 rows"))) << "the cost-by-FMU table";
    EXPECT_EQ(Calls().filter(QStringLiteral("Paragraph \"Fire Management Unit: ")).size(), 10);
    // The estimated loss takes its resources from all five units: two tables a page.
    const QStringList calls = Calls();
    EXPECT_EQ(YOf(calls[IndexOf(calls, QStringLiteral("Paragraph \"Alternative B. Strategy 2\" at 720,8040"))]), 8040);
    EXPECT_EQ(Calls().filter(QStringLiteral("\"Incident Complexity Analysis\"")).size(), 1);
    EXPECT_EQ(reports::PrintSettingsStack().size(), 1);
}

TEST_F(NoFMUReport, WithoutFMUsEachTableStandsForTheWholeFire)
{
    ASSERT_TRUE(Produce({9, 10, 14}));
    const QStringList calls = Calls();
    EXPECT_TRUE(calls.filter(QStringLiteral("Fire Management Unit: ")).isEmpty());
    EXPECT_TRUE(calls.filter(QStringLiteral("AddTable \"2700|")).isEmpty()) << "no cost by FMU";
    EXPECT_EQ(calls.filter(QStringLiteral("AddTable \">600|1440|>540|1020|>600|1440|>540|1020|>600|1440|>540|1020;\" "
                                          "\"Alternative A. Strategy 1|||||||||||;\"")).size(), 1)
        << "the resource table carries the label";
    const qsizetype aac = IndexOf(calls, QStringLiteral("TableRows \">1500|>1500|>1440;0|"));
    ASSERT_GT(aac, 0);
    EXPECT_TRUE(calls[aac].contains(QStringLiteral(" margins 2880,720,720,720 "))) << calls[aac].toStdString();
    EXPECT_EQ(calls.filter(QStringLiteral("TableRows \"3000!|^1020!|^1020!|^1020!|^1020!|^1020!|^1020!;Totals|")).size(), 1);
    EXPECT_EQ(reports::PrintSettingsStack().size(), 1);
}

TEST_F(ReportFixture, WithoutAlternativesTheAlternativeSectionsPrintTheirTitlesAlone)
{
    while (!model::GetAlternatives().IsEmpty())
        model::DeleteAlternative(model::GetAlternatives().KeyAt(0));
    testsupport::ClearModelCaches();
    ASSERT_TRUE(Produce({9, 12, 13}));
    const QStringList calls = Calls();
    EXPECT_TRUE(calls.filter(QRegularExpression(QStringLiteral("^(AddTable|TableRows)"))).isEmpty());
    QStringList paragraphs;
    for (const QString& call : calls)
        if (call.startsWith(QStringLiteral("Paragraph \"")) && !call.startsWith(QStringLiteral("Paragraph \"\"")))
            paragraphs << call.section(u'"', 1, 1);
    EXPECT_EQ(paragraphs, (QStringList{"Estimated Suppression Costs", "Resource Value Losses",
                                       "Note: Outcome values, including totals, are rounded to 3 significant digits counting from the left.",
                                       "Expected Impact is rounded to 2 significant digits.", "Computation of NVC Losses by FMU and FIL"}));
    EXPECT_EQ(VSPrinter1().PageCount(), 3);
}
