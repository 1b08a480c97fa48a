#include "reports/sections/sections.h"

#include "model/c33fmu.h"
#include "model/c34nvctable.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/c64burnarea.h"
#include "model/g33fmus.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "model/textnumbers.h"
#include "platform/grid/numberformat.h"
#include "platform/printing/reporttable.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"
#include "reports/sections/sectionnumbers.h"

// The computation of NVC: for every alternative, how each outcome's NVC builds up from the NVC
// per acre of every FMU and FIL and the share of the fire that falls in it.
namespace reports::sections {

namespace {

using printing::Align;
using printing::ReportTable;

// Rows of the FIL blocks: six for each FMU, or six for the whole fire.
int ImpactComputationRowCount()
{
    return model::kFILCount * std::max(1, model::FMUCount());
}

int FILRow(int fmuPosition, int fil)
{
    return (fmuPosition - 1) * model::kFILCount + fil + 2;
}

void StartImpactComputationTable(model::c51Alternative& alternative, int n)
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetFontSize(8);
    vp.SetFontBold(false);
    vp.SetTableLineStyle(printing::LineStyle::None);
    const int q = model::textnum::RoundHalfEven(GetUsableWidth() / 4.0);
    QString format = QString::number(q - 1260) + QStringLiteral("|^480|^780");
    for (int block = 0; block < 3; ++block)
        format += QStringLiteral("|^540|>900|>") + QString::number(q - 1440);
    vp.AddTable(format + u';', QStringLiteral("Alternative ") + printing::TableText(alternative.Label()), QString());
    ReportTable* t = vp.table();
    t->SetColSpan(0, 1, 12);
    t->SetCellFontSize(0, 1, 11);
    t->SetCellBold(0, 1, true);
    t->SetRows(n + 3);
    t->Set(ReportTable::Setting::CellAlign, 0, 1, 2, 12, int(Align::CenterMiddle));
    // The start of a table stays together on one page (all of it when it is short).
    for (int row = 0; row <= std::min(n + 3, 20); ++row)
        t->SetKeepWithNext(row, true);
    t->SetRowSpaceAbove(n + 3, 60);
    // Rules part the FMU blocks, the total and the column groups of the outcomes.
    for (int row = 3; row <= n + 3; row += model::kFILCount)
        t->SetRuleAbove(row, true);
    for (int col : {3, 6, 9})
        t->SetColumnRule(col, true);
}

void PrintPerAcreColumns()
{
    ReportTable* t = VSPrinter1().table();
    t->SetColSpan(1, 1, 3);
    t->SetColSpan(1, 7, 3);
    t->SetCellText(2, 1, QStringLiteral("FMU"));
    t->SetCellText(2, 2, QStringLiteral("FIL"));
    t->SetCellText(2, 3, QStringLiteral("$/acre"));
    const auto perAcre = [t](int position, const model::c34NVCTable& table) {
        for (int fil = 1; fil <= model::kFILCount; ++fil) {
            t->SetCellText(FILRow(position, fil), 2, QString::number(fil));
            t->SetCellText(FILRow(position, fil), 3, grid::FormatNumber(table.FilTotal(fil), QStringLiteral("0")));
        }
    };
    const QList<model::c33FMU*> fmus = model::GetFMUs();
    if (fmus.isEmpty()) {
        perAcre(1, *model::GetNVCTable(0));
    } else {
        for (int j = 1; j <= fmus.size(); ++j) {
            t->SetCellText(FILRow(j, 1), 1, fmus[j - 1]->ItemName());
            t->SetRowSpan(FILRow(j, 1), 1, model::kFILCount);
            perAcre(j, *fmus[j - 1]->NVCTable());
        }
    }
    const int total = t->Rows();
    t->SetCellText(total, 1, QStringLiteral("Total"));
    t->SetColSpan(total, 1, 3);
    t->SetCellFontSize(total, 1, 9);
    t->SetCellAlign(total, 1, Align::LeftMiddle);
}

void PrintOutcomeHeading(const QString& heading, int c)
{
    ReportTable* t = VSPrinter1().table();
    t->SetCellText(1, c, heading);
    t->SetColSpan(1, c, 3);
    t->SetCellBold(1, c, true);
    t->SetCellText(2, c, QStringLiteral("%"));
    t->SetCellText(2, c + 1, QStringLiteral("Acres"));
    t->SetCellText(2, c + 2, QStringLiteral("Impact"));
}

void PrintOutcomeTotals(model::c53Outcome& outcome, int c)
{
    ReportTable* t = VSPrinter1().table();
    const int total = t->Rows();
    t->SetCellText(total, c, QStringLiteral("100"));
    t->SetCellText(total, c + 1, outcome.FireSize());
    t->SetCellText(total, c + 2, grid::FormatNumber(-double(outcome.NVCLoss()), QStringLiteral("$#,0")));
}

void PrintOutcomeImpacts(model::c53Outcome& outcome, int c)
{
    ReportTable* t = VSPrinter1().table();
    const double size = FireSizeNumber(outcome);
    const auto put = [t, c](int row, const ImpactCells& cells) {
        t->SetCellText(row, c, cells.percent);
        t->SetCellText(row, c + 1, cells.acres);
        t->SetCellText(row, c + 2, cells.impact);
    };
    const QList<model::c33FMU*> fmus = model::GetFMUs();
    if (fmus.isEmpty()) {
        const model::c64BurnArea* area = outcome.BurnArea(0);
        const model::c34NVCTable* table = model::GetNVCTable(0);
        for (int fil = 1; fil <= model::kFILCount; ++fil)
            put(FILRow(1, fil), WholeFireImpactCells(area->FILPercent(fil), size, table->FilTotal(fil)));
    } else {
        for (int j = 1; j <= fmus.size(); ++j) {
            const model::c64BurnArea* area = outcome.BurnArea(fmus[j - 1]->ItemKey());
            // The FMU's share is asked by its position in the list, not by its key.
            const float p = outcome.FMUPercent(j);
            for (int fil = 1; fil <= model::kFILCount; ++fil)
                put(FILRow(j, fil),
                    FMUImpactCells(p, area->FILPercent(fil), size, fmus[j - 1]->NVCTable()->FilTotal(fil)));
        }
    }
    PrintOutcomeTotals(outcome, c);
}

void PrintImpactComputation(model::c51Alternative& alternative)
{
    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    vp.Paragraph(QString());
    StartImpactComputationTable(alternative, ImpactComputationRowCount());
    PrintPerAcreColumns();
    PrintOutcomeHeading(QStringLiteral("Target Outcome"), 4);
    PrintOutcomeImpacts(*alternative.Outcome(model::OutcomeKind::Target), 4);
    const auto fallback = alternative.Outcome(model::OutcomeKind::Fallback);
    if (fallback && fallback->bShow()) {
        PrintOutcomeHeading(QStringLiteral("Fallback Outcome"), 7);
        PrintOutcomeImpacts(*fallback, 7);
    }
    PrintOutcomeHeading(QStringLiteral("Extreme Outcome"), 10);
    PrintOutcomeImpacts(*model::GetExtremeOutcome(), 10);
    vp.EndTable();
    PopPrintSettings();
}

}  // namespace

void PrintImpactComputations()
{
    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    SetPageHeaderFooter();
    // The title names what the figures hold: the same reading of the option as the model's.
    PrintSectionTitle(model::UseNVCGains() ? QStringLiteral("Computation of NVC Impacts by FMU and FIL")
                                           : QStringLiteral("Computation of NVC Losses by FMU and FIL"));
    vp.SetCurrentX(vp.MarginLeft());
    vp.SetCurrentY(1440);
    const auto alternatives = model::GetAlternatives().Items();
    for (const auto& alternative : alternatives)
        PrintImpactComputation(*alternative);
    PopPrintSettings();
}

}  // namespace reports::sections
