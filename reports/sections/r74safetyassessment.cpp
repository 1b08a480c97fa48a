#include "reports/sections/sections.h"

#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/c62rating.h"
#include "model/g42safetyissues.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "model/textnumbers.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"

// The safety assessment: for every alternative a table of the safety ratings of its three
// outcomes, three rows per safety issue (title, ratings, their descriptions).
namespace reports::sections {

namespace {

// The issues of the safety tree without its root.
QList<const model::c41Objective*> PrintedIssues()
{
    QList<const model::c41Objective*> issues;
    const QList<model::c41Objective*>& nodes = model::SafetyIssuesCollection();
    for (qsizetype k = 1; k < nodes.size(); ++k)
        issues.append(nodes.at(k));
    return issues;
}

void StartSafetyTable(const model::c51Alternative& alternative, int issueCount)
{
    printing::ReportDocument& vp = VSPrinter1();
    const int w = model::textnum::RoundHalfEven(GetUsableWidth() / 3.0);
    const QString width = QString::number(w);
    vp.SetFontSize(9);
    vp.SetFontBold(false);
    vp.SetTableLineStyle(printing::LineStyle::RulesAboveAndBelow);
    vp.AddTable(width + u'|' + width + u'|' + width + u';', QStringLiteral("Alternative ") + printing::TableText(alternative.Label()) +
                QStringLiteral("||;"), QString());
    printing::ReportTable* table = vp.table();
    table->SetColSpan(0, 1, 3);
    table->SetCellFontSize(0, 1, 11);
    table->SetCellBold(0, 1, true);
    table->SetCellAlign(0, 1, printing::Align::Center);
    // The body: the outcome-name row, then title, ratings and descriptions of every issue.
    table->SetRows(3 * issueCount + 1);
    table->SetKeepWithNext(0, true);
}

void PrintSafetyOutcomeRow()
{
    printing::ReportTable* table = VSPrinter1().table();
    const QString names[] = {QStringLiteral("Target Outcome"), QStringLiteral("Fallback Outcome"),
                             QStringLiteral("Extreme Outcome")};
    for (int c = 1; c <= 3; ++c) {
        table->SetCellText(1, c, names[c - 1]);
        table->SetCellAlign(1, c, printing::Align::Center);
        table->SetCellBold(1, c, true);
    }
}

void PrintRatingCells(const model::c53Outcome& outcome, int issueKey, int row, int column)
{
    model::c62Rating rating;
    rating.Initialize(outcome.ItemKey(), issueKey, model::Criteria::Safety, model::RatingLevel::Criterion);
    printing::ReportTable* table = VSPrinter1().table();
    table->SetCellText(row, column, QStringLiteral("Rating: ") + model::textnum::SingleText(rating.RawScore()) +
                                        QStringLiteral(" / 10"));
    table->SetCellText(row + 1, column, rating.Description());
}

void PrintSafetyIssueRatings(model::c51Alternative& alternative, const QList<const model::c41Objective*>& issues)
{
    printing::ReportTable* table = VSPrinter1().table();
    const auto target = alternative.Outcome(model::OutcomeKind::Target);
    const auto fallback = alternative.Outcome(model::OutcomeKind::Fallback);
    const auto extreme = model::GetExtremeOutcome();
    for (int k = 1; k <= issues.size(); ++k) {
        const model::c41Objective* issue = issues.at(k - 1);
        const int r = 3 * k - 1;
        table->SetColSpan(r, 1, 3);
        table->SetKeepWithNext(r, true);
        table->SetCellText(r, 1, QStringLiteral("Issue: ") + issue->ItemName());
        table->SetCellAlign(r, 1, printing::Align::Center);
        table->SetCellBold(r, 1, true);
        PrintRatingCells(*target, issue->ItemKey(), r + 1, 1);
        if (fallback->bShow())
            PrintRatingCells(*fallback, issue->ItemKey(), r + 1, 2);
        PrintRatingCells(*extreme, issue->ItemKey(), r + 1, 3);
    }
}

void PrintAlternativeSafetyTable(model::c51Alternative& alternative, const QList<const model::c41Objective*>& issues)
{
    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    vp.Paragraph(QString());
    StartSafetyTable(alternative, int(issues.size()));
    PrintSafetyOutcomeRow();
    PrintSafetyIssueRatings(alternative, issues);
    vp.EndTable();
    PopPrintSettings();
}

}  // namespace

void PrintSafetyAssessment()
{
    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    SetPageHeaderFooter();
    PrintSectionTitle(QStringLiteral("Safety Assessment"));
    vp.SetCurrentX(vp.MarginLeft());
    vp.SetCurrentY(1440);
    const QList<const model::c41Objective*> issues = PrintedIssues();
    for (const auto& alternative : model::GetAlternatives())
        PrintAlternativeSafetyTable(*alternative, issues);
    PopPrintSettings();
}

}  // namespace reports::sections
