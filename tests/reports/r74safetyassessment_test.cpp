#include "report_fixture.h"
#include "section_record.h"

#include "model/c53outcome.h"
#include "model/c62rating.h"
#include "model/g42safetyissues.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "reports/printsettings.h"

using model::OutcomeKind;
using sectionrecord::Find;
using sectionrecord::RowOf;

namespace {

void Rate(const model::c53Outcome& outcome, int issueKey, float score, const QString& description)
{
    model::c62Rating rating;
    rating.Initialize(outcome.ItemKey(), issueKey, model::Criteria::Safety, model::RatingLevel::Criterion);
    rating.SetRawScore(score);
    rating.SetDescription(description);
    rating.SaveChanges();
}

}  // namespace

TEST_F(ReportFixture, SafetyAssessmentPrintsTheRatingsOfEveryIssueInEveryOutcome)
{
    const QList<model::c41Objective*>& issues = model::SafetyIssuesCollection();
    ASSERT_EQ(issues.size(), 3);
    model::c51Alternative& a = *model::GetAlternatives().At(0);
    Rate(*a.Outcome(OutcomeKind::Target), issues[1]->ItemKey(), 7.5f, QStringLiteral("Escape routes are long."));
    Rate(*a.Outcome(OutcomeKind::Fallback), issues[1]->ItemKey(), 0, QStringLiteral("Crews stay in the black."));
    ASSERT_TRUE(Produce({15}));
    const QStringList calls = Calls();
    const QStringList tables = calls.filter(QStringLiteral("AddTable "));
    ASSERT_EQ(tables.size(), 4);
    EXPECT_TRUE(tables[0].startsWith(QStringLiteral("AddTable \"3600|3600|3600;\" \"Alternative A. Strategy 1||;\" \"\" style 3 ")))
        << tables[0].toStdString();
    EXPECT_TRUE(tables[0].endsWith(QStringLiteral(" F 9"))) << tables[0].toStdString();
    // The outcome-name row and three rows for each of the two issues.
    EXPECT_EQ(calls.count(QStringLiteral("EndTable 7 rows")), 4);

    const sectionrecord::Printed title = Find(0, QStringLiteral("Alternative A. Strategy 1"));
    EXPECT_TRUE(title.bold && title.size == 11 && title.width == 10680);
    const sectionrecord::Printed names = Find(0, QStringLiteral("Target Outcome"));
    EXPECT_EQ(RowOf(0, names), (QStringList{"Target Outcome", "Fallback Outcome", "Extreme Outcome"}));
    EXPECT_TRUE(names.bold);
    const sectionrecord::Printed issue = Find(0, QStringLiteral("Issue: Safety issue 1"));
    EXPECT_TRUE(issue.bold && issue.width == 10680) << "spans the three columns";
    const sectionrecord::Printed rating = Find(0, QStringLiteral("Rating: 7.5 / 10"));
    EXPECT_GT(rating.y, issue.y);
    EXPECT_EQ(RowOf(0, rating).mid(0, 2), (QStringList{"Rating: 7.5 / 10", "Rating: 0 / 10"}));
    EXPECT_EQ(RowOf(0, Find(0, QStringLiteral("Escape routes are long."))),
              (QStringList{"Escape routes are long.", "Crews stay in the black."}));
    EXPECT_FALSE(rating.bold);

    // Alternative C has no Fallback: its heading stays, its column stays empty.
    QList<sectionrecord::Printed> issueRows;
    for (const sectionrecord::Printed& p : sectionrecord::PrintedOn(0))
        if (p.text == QStringLiteral("Issue: Safety issue 2"))
            issueRows.append(p);
    ASSERT_EQ(issueRows.size(), 4);
    QList<sectionrecord::Printed> ratingsOfC;
    for (const sectionrecord::Printed& p : sectionrecord::PrintedOn(0))
        if (p.y > issueRows[2].y && p.y < issueRows[2].y + 500 && p.text.startsWith(QStringLiteral("Rating: ")))
            ratingsOfC.append(p);
    ASSERT_EQ(ratingsOfC.size(), 2);
    EXPECT_EQ(ratingsOfC[0].x, 780);
    EXPECT_EQ(ratingsOfC[1].x, 720 + 2 * 3600 + 60);
    EXPECT_EQ(reports::VSPrinter1().TableLineStyle(), printing::LineStyle::RulesAboveAndBelow);
    EXPECT_EQ(reports::PrintSettingsStack().size(), 1);
}

TEST_F(ReportFixture, SafetyAssessmentWithoutIssuesHasTheOutcomeRowAlone)
{
    while (model::SafetyIssuesCollection().size() > 1)
        model::DeleteSafetyIssue(model::SafetyIssuesCollection().last()->ItemKey());
    ASSERT_TRUE(Produce({15}));
    EXPECT_EQ(Calls().count(QStringLiteral("EndTable 1 rows")), 4);
    EXPECT_TRUE(sectionrecord::TextsOn(0).filter(QStringLiteral("Issue:")).isEmpty());
    EXPECT_EQ(sectionrecord::TextsOn(0).filter(QStringLiteral("Fallback Outcome")).size(), 4);
}

TEST_F(ReportFixture, SafetyAssessmentNeverPartsAnIssueFromItsRatings)
{
    QString words;
    for (int i = 0; i < 25; ++i)
        words += QStringLiteral("Snags along the dozer line after the burnout. ");
    for (int i = 0; i < 8; ++i) {
        model::c41Objective* issue = model::AddSafetyIssue(QStringLiteral("Hazard %1").arg(i + 1));
        issue->SetItemName(QStringLiteral("Hazard %1").arg(i + 1));
        issue->SaveChanges();
        for (const auto& alternative : model::GetAlternatives())
            Rate(*alternative->Outcome(OutcomeKind::Target), issue->ItemKey(), 4, words);
    }
    model::ClearSafetyIssues();
    ASSERT_TRUE(Produce({15}));
    ASSERT_GE(reports::VSPrinter1().PageCount(), 3);
    for (int page = 0; page < reports::VSPrinter1().PageCount(); ++page) {
        const QList<sectionrecord::Printed> printed = sectionrecord::PrintedOn(page);
        for (qsizetype i = 0; i < printed.size(); ++i) {
            if (!printed[i].text.startsWith(QStringLiteral("Issue: ")))
                continue;
            // The rating row follows on the same page.
            const bool rated = std::any_of(printed.begin() + i, printed.end(), [](const sectionrecord::Printed& p) {
                return p.text.startsWith(QStringLiteral("Rating: "));
            });
            EXPECT_TRUE(rated) << printed[i].text.toStdString() << " on page " << page + 1;
        }
    }
}

TEST_F(ReportFixture, TablesOfAnAnalysisWithoutAlternativesLeaveTheTitleAlone)
{
    while (!model::GetAlternatives().IsEmpty())
        model::DeleteAlternative(model::GetAlternatives().KeyAt(0));
    testsupport::ClearModelCaches();
    const struct { int section; QStringList texts; } cases[] = {
        {15, {"Safety Assessment"}},
        {11, {"Values Protected", "Note: Outcome values are rounded to 3 significant digits counting from the left.",
              "Totals are rounded to 2 significant digits."}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Produce({c.section}));
        EXPECT_EQ(reports::VSPrinter1().PageCount(), 1) << c.section;
        EXPECT_EQ(sectionrecord::TextsOn(0), c.texts) << c.section;
        EXPECT_EQ(reports::PrintSettingsStack().size(), 1) << c.section;
    }
}
