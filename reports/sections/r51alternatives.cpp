#include "reports/sections/sections.h"

#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "model/textnumbers.h"
#include "platform/richtext/rtftext.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"

using model::OutcomeKind;
// The alternatives: one table each with the description, then the Target, Fallback (when the
// alternative has one) and Extreme outcomes with their descriptions and four facts.
namespace reports::sections {

namespace {

constexpr int kBodyRows = 7;

QString CellText(QString text)
{
    return richtext::TrimTrailingBreaks(text) + QStringLiteral("\r\n");
}

void PrintAlternativeHeader(const model::c51Alternative& alternative)
{
    printing::ReportDocument& vp = VSPrinter1();
    const QString w = QString::number(model::textnum::RoundHalfEven(GetUsableWidth() / 6.0));
    const QString format = w + u'|' + w + u'|' + w + u'|' + w + u'|' + w + u'|' + w + u';';
    vp.SetFontSize(9);
    vp.SetFontBold(false);
    vp.SetTableLineStyle(printing::LineStyle::None);
    vp.AddTable(format, QStringLiteral("Alternative ") + printing::TableText(alternative.Label()) + QStringLiteral("|||||;"), QString());
    printing::ReportTable* table = vp.table();
    table->SetColSpan(0, 1, 6);
    table->SetCellAlign(0, 1, printing::Align::Center);
    table->SetCellFontSize(0, 1, 11);
    table->SetCellBold(0, 1, true);
    table->SetRows(kBodyRows);
    // One alternative's table is never divided between pages.
    for (int r = 0; r < kBodyRows; ++r)
        table->SetKeepWithNext(r, true);
}

void PrintAlternativeDescription(const QString& text)
{
    printing::ReportTable* table = VSPrinter1().table();
    table->SetCellText(1, 1, CellText(text));
    table->SetColSpan(1, 1, 6);
}

void PrintOutcomeHeading(const QString& title, const QString& description, int column, int span)
{
    printing::ReportTable* table = VSPrinter1().table();
    table->SetCellText(2, column, title);
    table->SetColSpan(2, column, span);
    table->SetCellBold(2, column, true);
    table->SetCellText(3, column, CellText(description));
    table->SetColSpan(3, column, span);
}

void PrintFacts(int column, int percent, const model::c53Outcome& outcome)
{
    printing::ReportTable* table = VSPrinter1().table();
    int row = 4;
    for (const OutcomeFact& fact : OutcomeFacts(percent, outcome)) {
        table->SetCellText(row, column, fact.label);
        table->SetCellText(row, column + 1, fact.value);
        ++row;
    }
}

void PrintOutcomeFacts(model::c51Alternative& alternative, OutcomeKind kind, int column)
{
    PrintFacts(column, alternative.OutcomePercent(kind), *alternative.Outcome(kind));
}

void PrintExtremeOutcomeFacts(model::c51Alternative& alternative, int column)
{
    PrintFacts(column, alternative.OutcomePercent(OutcomeKind::Extreme), *model::GetExtremeOutcome());
}

void PrintAlternative(model::c51Alternative& alternative)
{
    printing::ReportDocument& vp = VSPrinter1();
    const bool withFallback = alternative.Outcome(OutcomeKind::Fallback)->bShow();
    const int span = withFallback ? 2 : 3;
    PushPrintSettings();
    vp.Paragraph(QString());
    PrintAlternativeHeader(alternative);
    PrintAlternativeDescription(alternative.Body());
    PrintOutcomeHeading(QStringLiteral("Target Outcome"), alternative.Outcome(OutcomeKind::Target)->Description(), 1, span);
    PrintOutcomeFacts(alternative, OutcomeKind::Target, 1);
    int extremeColumn = 4;
    if (withFallback) {
        PrintOutcomeHeading(QStringLiteral("Fallback Outcome"), alternative.Outcome(OutcomeKind::Fallback)->Description(), 3,
                            span);
        PrintOutcomeFacts(alternative, OutcomeKind::Fallback, 3);
        extremeColumn = 5;
    }
    PrintOutcomeHeading(QStringLiteral("Extreme Outcome"), model::GetExtremeOutcome()->Description(), extremeColumn, span);
    PrintExtremeOutcomeFacts(alternative, 5);
    vp.EndTable();
    PopPrintSettings();
}

void PrintAlternativesBody()
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetCurrentX(vp.MarginLeft());
    vp.SetCurrentY(1440);
    if (bRTFExport) {
        vp.Paragraph(BuildAlternativesRTF());
        return;
    }
    for (const auto& alternative : model::GetAlternatives())
        PrintAlternative(*alternative);
}

}  // namespace

QList<OutcomeFact> OutcomeFacts(int percent, const model::c53Outcome& outcome)
{
    // As the model gives them: no rounding, no thousands separators.
    return {{QStringLiteral("Probability:"), QString::number(percent) + QStringLiteral("%")},
            {QStringLiteral("Final Fire Size:"), outcome.FireSize() + QStringLiteral(" acres")},
            {QStringLiteral("Time to Contain:"), QString::number(outcome.ContainTime()) + QStringLiteral(" days")},
            {QStringLiteral("Time to Control:"), QString::number(outcome.ControlTime()) + QStringLiteral(" days")}};
}

void PrintAlternatives()
{
    PushPrintSettings();
    SetPageHeaderFooter();
    PrintSectionTitle(QStringLiteral("Alternatives"));
    PrintAlternativesBody();
    PopPrintSettings();
}

}  // namespace reports::sections
