#include "comparison_fixture.h"

#include "model/c41objective.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g41objectives.h"
#include "support/drawntext.h"


TEST_F(ComparisonFixture, MatrixPrintsAPageForEachGroupOfThree)
{
    const struct { int alternatives; int pages; } cases[] = {{0, 1}, {1, 1}, {3, 1}, {4, 2}, {7, 3}};
    for (const auto& c : cases) {
        SetAlternativeCount(c.alternatives);
        ASSERT_TRUE(Produce({17}));
        const printing::ReportDocument& vp = reports::VSPrinter1();
        ASSERT_EQ(vp.PageCount(), c.pages) << c.alternatives;
        if (c.alternatives == 0) {
            EXPECT_TRUE(sectionrecord::TextsOn(0).isEmpty()) << "nothing at all";
            EXPECT_TRUE(Calls().filter(QStringLiteral("TableRows")).isEmpty());
        }
        for (int page = 0; page < vp.PageCount() && c.alternatives > 0; ++page) {
            // Running line and title on every page, then the labels of the page's group.
            EXPECT_TRUE(vp.PageRecord(page).last().startsWith(QStringLiteral("running 2 [Tolmar No. 12|Ridge|Page ___]")));
            const sectionrecord::Printed title = sectionrecord::Find(page, QStringLiteral("Comparison of Alternatives"));
            EXPECT_TRUE(title.bold && title.size == 12) << page;
            QStringList labels;
            for (int i = 3 * page; i < std::min(3 * page + 3, c.alternatives); ++i)
                labels << LabelOf(i);
            const sectionrecord::Printed first = sectionrecord::Find(page, labels.first());
            EXPECT_EQ(sectionrecord::RowOf(page, first), labels) << page;
            EXPECT_EQ(first.x, 720 + 3600 + 60) << "the first alternative column";
        }
        EXPECT_EQ(Calls().filter(QStringLiteral("Paragraph \"Comparison of Alternatives\"")).size(), c.pages * (c.alternatives > 0));
        EXPECT_EQ(reports::PrintSettingsStack().size(), 1);
    }
}

// Four alternatives: the second page holds D alone, its cells in the first column of every row.
TEST_F(ComparisonFixture, MatrixRowsOfAOneAlternativeGroup)
{
    ASSERT_TRUE(Produce({17}));
    const QStringList calls = Calls();
    const qsizetype page2 = calls.lastIndexOf(QStringLiteral("NewPage"));
    ASSERT_GT(page2, 0);
    const QString rated = QStringLiteral("250|2750|>600!|>450|>450|>450|>750!|>450|>450|>450|>750!|>450|>450|>450|>750;");
    const QString category = QStringLiteral("3000|600!|>2100!|>2100!|>2100;");
    const QString money = QStringLiteral("3600!|^2100!|^2100!|^2100;");
    EXPECT_EQ(sectionrecord::TableRowStrings(calls.mid(page2)),
              (QStringList{
                  "3600!|<6300;|Alternatives;",
                  money + "|D. Strategy 4;",
                  money + "Estimated Target Suppression Cost|$240,000;",
                  money + "Expected Suppression Cost|$270,000;",
                  money + "Expected Values Protected|$150,000;",
                  money + "Expected Resource Loss|$1,200,000;",
                  money + "Total Expected Financial Impact|-$1,320,000;|||;",
                  money + "Expected Objectives Score|4.8;|||;",
                  "3600!|2100!|2100!|2100;| Outcomes;",
                  "3600!|>2100!|>2100!|>2100;|Alt. D;",
                  "3600!|^450|^450|^480|720!|^450|^450|^480|720!|^450|^450|^480|720;|Tgt|FB|Ex|;",
                  ">3600!|>450|>450|>480|720!|>450|>450|>480|720!|>450|>450|>480|720;Probability (%)|79|17|4|;",
                  "3000|^600!|>2100!|>2100!|>2100;Objective|Wgt||;",
                  category + "Natural and Cultural Resources|;",
                  rated + "|Objective 6|0.33|8|9|10|8.2;",
                  category + "Property and Improvements|;",
                  rated + "|Objective 2|0.07|9|10|0|8.8;",
                  category + "Economic|;",
                  rated + "|Objective 3|0.13|10|0|1|7.9;",
                  category + "Social and Political|;",
                  rated + "|Objective 4|0.20|0|1|2|0.3;",
                  category + "Other|;",
                  rated + "|Objective 5|0.27|1|2|3|1.2;",
                  "3000|^600!|>2100!|>2100!|>2100;|||;",
                  money + "Expected Safety Score|5.7;|||;",
                  rated + "|Safety issue 1|0.53|4|5|6|4.2;",
                  rated + "|Safety issue 2|0.47|7|8|9|7.3;",
              }));
    // Categories ruled above and below and bold; money rows ruled above; ratings plain.
    const QStringList economic = calls.filter(QStringLiteral("Economic|;"));
    ASSERT_EQ(economic.size(), 2);
    EXPECT_TRUE(economic[1].contains(QStringLiteral(" style 3 ")) && economic[1].endsWith(QStringLiteral(" F 10 b")));
    EXPECT_TRUE(calls.filter(QStringLiteral("Expected Suppression Cost|$270,000;"))[0].contains(QStringLiteral(" style 2 ")));
    EXPECT_TRUE(calls.filter(QStringLiteral("|Objective 3|0.13|10|0|1|7.9;"))[0].endsWith(QStringLiteral(" F 10")));
}

// An alternative without a Fallback leaves its Fallback ratings empty and still shows the chance.
TEST_F(ComparisonFixture, MatrixLeavesTheRatingsOfAMissingFallbackEmpty)
{
    ASSERT_TRUE(Produce({17}));
    const QStringList rows = sectionrecord::TableRowStrings(Calls());
    const QString c = LabelOf(2);
    EXPECT_TRUE(rows.contains(QStringLiteral("3600!|^2100!|^2100!|^2100;|A. Strategy 1|B. Strategy 2|") + c + u';'));
    const QStringList probabilities = rows.filter(QStringLiteral("Probability (%)|"));
    ASSERT_EQ(probabilities.size(), 2);
    EXPECT_TRUE(probabilities[0].endsWith(QStringLiteral("|66|0|34|;"))) << probabilities[0].toStdString();
    const QStringList objective6 = rows.filter(QStringLiteral("|Objective 6|"));
    EXPECT_TRUE(objective6[0].endsWith(QStringLiteral("|6||10|7.4;"))) << objective6[0].toStdString();
}

// Enough objectives and safety issues that every group's matrix runs on over the page end.
class LongMatrixFixture : public ComparisonFixture {
protected:
    testsupport::AnalysisSize Size() const override
    {
        testsupport::AnalysisSize size = testsupport::kSmallAnalysis;
        size.objectives = 60;
        size.safetyIssues = 20;
        return size;
    }
};

// A page the matrix runs on to names the group's alternatives over their columns again, as the
// group's first page does under its title; the RTF file holds those rows once, as heading rows
// for the word processor to repeat on its own pages.
TEST_F(LongMatrixFixture, MatrixPagesThatRunOnRepeatTheAlternativesHeading)
{
    ASSERT_TRUE(Produce({17}));
    const printing::ReportDocument& vp = reports::VSPrinter1();
    int group = -1;
    int runOnPages = 0;
    for (int page = 0; page < vp.PageCount(); ++page) {
        const QStringList texts = sectionrecord::TextsOn(page);
        const bool titled = texts.value(0) == QStringLiteral("Comparison of Alternatives");
        if (titled)
            ++group;
        else
            ++runOnPages;
        ASSERT_GE(group, 0);
        QStringList heading{QStringLiteral("Alternatives")};
        for (int i = 3 * group; i < std::min(3 * group + 3, 4); ++i)
            heading << LabelOf(i);
        EXPECT_EQ(texts.mid(titled ? 1 : 0, heading.size()), heading) << "page " << page + 1;
        EXPECT_EQ(texts.count(heading.last()), 1) << "page " << page + 1;
        const sectionrecord::Printed label = sectionrecord::Find(page, heading.value(1));
        EXPECT_TRUE(label.bold && label.size == 10) << "page " << page + 1;
        EXPECT_EQ(label.x, 720 + 3600 + 60) << "page " << page + 1;
    }
    EXPECT_EQ(group, 1);
    EXPECT_GE(runOnPages, 2) << "each group runs on to a further page";
    ExpectNothingPastTheFoot();

    const QString rtf = vp.Rtf();
    EXPECT_EQ(rtf.count(QStringLiteral("\\trhdr")), 4) << "two heading rows a group";
    EXPECT_EQ(rtf.count(LabelOf(0)), 1);
    EXPECT_EQ(rtf.count(LabelOf(3)), 1);
}

// The outcome names over the 450-twip columns and a certain Target's "100" print at the row's
// 10 points, whole: a cell that narrow keeps less room at its edges than a wide one.
TEST_F(ComparisonFixture, MatrixNarrowCellsKeepTheSizeOfTheirRow)
{
    model::c51Alternative& a = *model::GetAlternatives().At(0);
    a.Outcome(model::OutcomeKind::Target)->SetSuccess(100);
    a.Outcome(model::OutcomeKind::Target)->SaveChanges();
    ASSERT_TRUE(Produce({17}));
    for (const char* text : {"Tgt", "FB", "Ex", "100"}) {
        const sectionrecord::Printed cell = sectionrecord::Find(0, QString::fromLatin1(text));
        EXPECT_EQ(cell.text, QString::fromLatin1(text));
        EXPECT_EQ(cell.size, 10) << text;
    }
    EXPECT_TRUE(reports::VSPrinter1().Rtf().contains(QStringLiteral("\\trgaph30"))) << "as narrow in the RTF file";
}

// Wherever the page ends in the matrix (after any objective, before the safety block, inside it)
// every row of the group is printed on the paper, each once: the objectives are added one by one
// until the matrix of a group has run on over the page end at every row of its lower part, on
// letter paper upright and turned and on A4.
TEST_F(ComparisonFixture, MatrixRowsAreAllPrintedWhereverThePageEnds)
{
    const struct { int width, height; } papers[] = {{12240, 15840}, {15840, 12240}, {11906, 16838}};
    for (int added = 0; added < 25; ++added) {
        model::c41Objective* o = model::AddObjective(QStringLiteral("Added objective %1").arg(added + 1), 3 + added % 5);
        o->SetItemName(QStringLiteral("Added objective %1").arg(added + 1));
        o->SetPriority(1 + added % 10);
        o->SaveChanges();
        QStringList labels{QStringLiteral("Expected Objectives Score"), QStringLiteral("Probability (%)"),
                           QStringLiteral("Expected Safety Score"), QStringLiteral("Safety issue 1"),
                           QStringLiteral("Safety issue 2")};
        const QList<model::c41Objective*> objectives = model::GetPrioritizedObjectives();
        for (qsizetype k = 1; k < objectives.size(); ++k)
            labels << objectives[k]->ItemName();
        for (const auto& paper : papers) {
            SCOPED_TRACE(QStringLiteral("%1 objectives added, paper %2 by %3").arg(added + 1).arg(paper.width).arg(paper.height).toStdString());
            ProduceOnPage({17}, paper.width, paper.height);
            const printing::ReportDocument& vp = reports::VSPrinter1();
            QStringList printed;
            for (int page = 0; page < vp.PageCount(); ++page) {
                printed << sectionrecord::TextsOn(page);
                for (const QString& fault : testsupport::PageFaults(vp, page))
                    ADD_FAILURE() << "page " << page + 1 << ": " << fault.toStdString();
            }
            for (const QString& label : labels)
                EXPECT_EQ(printed.count(label), 2) << label.toStdString();
        }
    }
}
