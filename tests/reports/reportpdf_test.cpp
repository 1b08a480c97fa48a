#include "report_fixture.h"
#include "support/runtool.h"

#include "model/c53outcome.h"
#include "model/c62rating.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/g51alternatives.h"
#include "platform/richtext/rtf.h"

#include <QDir>
#include <QFile>
#include <QTextDocument>
#include <QTextTable>

using testsupport::RunTool;

// The table sections as they reach paper: a PDF of values at risk, objectives, safety issues,
// alternatives, values protected and safety assessment, read back as text.
TEST_F(ReportFixture, PdfOfTheTableSectionsHoldsTheirRows)
{
    // Descriptions are rich text, in table cells and below rows alike.
    model::c51Alternative& a = *model::GetAlternatives().At(0);
    a.SetBody(Rtf("Burn out from the county road and hold the \\b east flank\\b0  with engines."));
    a.Outcome(model::OutcomeKind::Target)->SetDescription(Rtf("Contained at the road within three burning periods."));
    model::c41Objective* issue = model::SafetyIssuesCollection().at(1);
    issue->SetDescription(Rtf("Night operations on steep, rocky ground."));
    issue->SaveChanges();
    for (model::c41Objective* node : model::GetPrioritizedObjectives())
        if (node->ItemName() == QStringLiteral("Objective 6"))
            node->SetDescription(Rtf("Keep the fire out of the sage grouse leks."));
    model::c62Rating rating;
    rating.Initialize(a.Outcome(model::OutcomeKind::Target)->ItemKey(), issue->ItemKey(), model::Criteria::Safety, model::RatingLevel::Criterion);
    rating.SetDescription(QStringLiteral("Escape routes are long."));
    rating.SaveChanges();

    const QString pdf = QDir(tempDir()).filePath(QStringLiteral("Tables.pdf"));
    ASSERT_TRUE(Produce({4, 6, 7, 8, 11, 15}, printing::Output::Pdf, pdf));
    EXPECT_TRUE(prompter.messages().isEmpty());
    if (qEnvironmentVariableIsSet("TOLMAR_KEEP_PDF"))
        QFile::copy(pdf, qEnvironmentVariable("TOLMAR_KEEP_PDF"));
    const int pages = reports::VSPrinter1().PageCount();
    EXPECT_GE(pages, 6);
    EXPECT_TRUE(RunTool(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\b").arg(pages))));
    QString text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    text.replace(QRegularExpression(QStringLiteral("[ ]+")), QStringLiteral(" "));
    for (const char* expected : {"Values at Risk", "Value at risk 5 149,000 95 140,000", "Total expected value at risk (rounded) 270,000",
                                 "Objectives", "Objective 6 5 0.33", "Safety Issues", "Safety issue 2",
                                 "Alternative A. Strategy 1", "Probability: 40% Probability: 18% Probability: 42%",
                                 "Values Protected", "Total (rounded) $270,000 $89,000 $210,000 $110,000 $120,000",
                                 "Safety Assessment", "Issue: Safety issue 1", "Rating: 9 / 10 Rating: 10 / 10 Rating: 6 / 10",
                                 "Tolmar No. 12", "and hold the east", "Contained at the road",
                                 "Night operations on steep, rocky ground.", "sage grouse leks", "Escape routes are long."})
        EXPECT_TRUE(text.contains(QString::fromLatin1(expected))) << expected;
}

// The same sections in an RTF file: it reads back with its text, and the alternatives with their
// word-processor tables.
TEST_F(ReportFixture, RtfOfTheTableSectionsReadsBackWithTheirRows)
{
    const QString rtf = QDir(tempDir()).filePath(QStringLiteral("Tables.rtf"));
    ASSERT_TRUE(Produce({4, 6, 7, 8, 11, 15}, printing::Output::Rtf, rtf));
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Information) << "only where the report went";
    if (qEnvironmentVariableIsSet("TOLMAR_KEEP_RTF"))
        QFile::copy(rtf, qEnvironmentVariable("TOLMAR_KEEP_RTF"));
    QFile file(rtf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QTextDocument doc;
    ASSERT_TRUE(richtext::ReadRtf(QString::fromLatin1(file.readAll()), &doc));
    int tables = 0;
    QList<QTextFrame*> frames{doc.rootFrame()};
    while (!frames.isEmpty()) {
        QTextFrame* frame = frames.takeLast();
        frames.append(frame->childFrames());
        tables += qobject_cast<QTextTable*>(frame) ? 1 : 0;
    }
    EXPECT_GE(tables, 4 * 3);
    const QString text = richtext::PlainText(doc);
    for (const char* expected : {"Total expected value at risk (rounded)", "270,000", "Priority (high=10)", "Objective 6",
                                 "Safety issue 2", "Alternative C. Strategy 3", "Final Fire Size:", "Protected in Fallback Outcome (18%)",
                                 "$120,000", "Issue: Safety issue 1", "Rating: 6 / 10"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(expected))) << expected;
}
