#include "reports/sections/sections.h"

#include "model/c33fmu.h"
#include "model/c35aactable.h"
#include "model/c38srtype.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/c67sruselist.h"
#include "model/c68sruse.h"
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

using model::OutcomeKind;
// The estimated suppression cost: for every alternative the cost of each outcome by FMU (with
// several FMUs), then the resources each outcome uses with its estimated cost and its basis.
namespace reports::sections {

namespace {

using printing::Align;
using printing::ReportTable;
using Setting = ReportTable::Setting;

struct OutcomeBlock {
    const char* title;
    std::shared_ptr<model::c53Outcome> outcome;
};

// Target, Fallback (none when it is not shown) and Extreme, in the order of their blocks.
QList<OutcomeBlock> OutcomeBlocks(model::c51Alternative& alternative)
{
    auto fallback = alternative.Outcome(OutcomeKind::Fallback);
    return {{"Target Outcome", alternative.Outcome(OutcomeKind::Target)},
            {"Fallback Outcome", fallback && fallback->bShow() ? fallback : nullptr},
            {"Extreme Outcome", model::GetExtremeOutcome()}};
}

// Gives each shown outcome's block its bold heading across its columns, then fills it.
template <class Fill>
void ForEachOutcomeBlock(model::c51Alternative& alternative, ReportTable* t, int first, int width, Fill fill)
{
    const QList<OutcomeBlock> blocks = OutcomeBlocks(alternative);
    for (int b = 0; b < blocks.size(); ++b) {
        const int c = first + width * b;
        if (!blocks[b].outcome)
            continue;
        t->SetCellText(1, c, QString::fromLatin1(blocks[b].title));
        t->SetColSpan(1, c, width);
        t->SetCellBold(1, c, true);
        fill(blocks[b].outcome.get(), c);
    }
}

int MaxResourceUseCount(model::c51Alternative& alternative)
{
    // The Fallback's lines count even while it is not shown, so the tables of one analysis keep
    // their shape when the Fallback is switched off and on.
    int m = 0;
    for (const auto& outcome : {alternative.Outcome(OutcomeKind::Target), alternative.Outcome(OutcomeKind::Fallback),
                                model::GetExtremeOutcome()})
        if (outcome)
            m = MaxLong(m, outcome->SRUseList().SRUseCount());
    return m;
}

// The header row of a cost table: the alternative's label across the whole row.
void AddCostTable(const QString& format, const QString& header, printing::LineStyle style)
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetFontSize(8);
    vp.SetFontBold(false);
    vp.SetTableLineStyle(style);
    const int columns = int(printing::TableFormat::ParseColumns(format.chopped(1)).size());
    vp.AddTable(format, printing::TableText(header) + QString(columns - 1, u'|') + u';', QString());
    ReportTable* table = vp.table();
    table->SetColSpan(0, 1, columns);
    table->Set(Setting::CellAlign, 0, 1, 0, 1, int(Align::CenterMiddle));
    table->SetCellFontSize(0, 1, 11);
    table->SetCellBold(0, 1, true);
    // A table without a label has no header row to show or repeat.
    table->SetHasHeader(!header.isEmpty());
}

// The rows from the header up to `last` stay on one page with the row after them.
void KeepTogether(ReportTable* table, int last)
{
    for (int row = 0; row <= last; ++row)
        table->SetKeepWithNext(row, true);
}

void PrintCostByFMU(model::c51Alternative& alternative)
{
    const int w = model::textnum::RoundHalfEven(GetUsableWidth() / 4.0);
    QString format = QString::number(w);
    for (int block = 0; block < 3; ++block)
        format += QStringLiteral("|^540|^900|>") + QString::number(w - 1440);
    format += u';';
    AddCostTable(format, QStringLiteral("Alternative ") + alternative.Label(), printing::LineStyle::Grid);

    const QList<model::c33FMU*> fmus = model::GetFMUs();
    const int n = int(fmus.size());
    ReportTable* t = VSPrinter1().table();
    t->Set(Setting::Rows, 0, 0, 0, 0, n + 2);
    KeepTogether(t, n + 2);
    t->Set(Setting::CellAlign, 1, 1, 2, 10, int(Align::CenterMiddle));
    t->SetCellText(2, 1, QStringLiteral("FMU"));
    for (int i = 1; i <= n; ++i)
        t->SetCellText(2 + i, 1, fmus[i - 1]->ItemName());

    ForEachOutcomeBlock(alternative, t, 2, 3, [&](model::c53Outcome* outcome, int c) {
        t->SetCellText(2, c, QStringLiteral("%"));
        t->SetCellText(2, c + 1, QStringLiteral("$/acre"));
        t->SetCellText(2, c + 2, QStringLiteral("Cost"));
        const double size = FireSizeNumber(*outcome);
        for (int i = 1; i <= n; ++i) {
            const float p = outcome->FMUPercent(i);
            const float a = fmus[i - 1]->AACTable()->CostForSize(float(size));
            t->SetCellText(2 + i, c, model::textnum::SingleText(p));
            t->SetCellText(2 + i, c + 1, model::textnum::SingleText(a));
            t->SetCellText(2 + i, c + 2, grid::FormatNumber(double(a * p) * size / 100.0, QStringLiteral("0")));
        }
    });
    VSPrinter1().EndTable();
}

QString BasisText(const model::c53Outcome& outcome)
{
    QString basis;
    switch (outcome.CostSource()) {
    case model::CostSource::BySize: basis = QStringLiteral("Historic average cost per acre"); break;
    case model::CostSource::ResourceList: basis = QStringLiteral("Estimated suppression resources needed"); break;
    case model::CostSource::Daily: basis = QStringLiteral("Daily expense rate"); break;
    case model::CostSource::Entered: basis = outcome.CostRationale(); break;
    default: return QString();
    }
    return QStringLiteral("Basis for cost estimate:\r\n") + basis;
}

void PrintResourceCosts(model::c51Alternative& alternative, int m, bool labelled)
{
    const int v = model::textnum::RoundHalfEven(GetUsableWidth() / 3.0);
    QStringList blocks;
    for (int block = 0; block < 3; ++block)
        blocks << QStringLiteral(">600|1440|>540|") + QString::number(v - 2580);
    AddCostTable(blocks.join(u'|') + u';', labelled ? QStringLiteral("Alternative ") + alternative.Label() : QString(),
                 printing::LineStyle::None);
    ReportTable* t = VSPrinter1().table();
    t->Set(Setting::Rows, 0, 0, 0, 0, m + 3);
    KeepTogether(t, m + 2);
    t->SetRowSpaceAbove(m + 2, 60);

    ForEachOutcomeBlock(alternative, t, 1, 4, [&](model::c53Outcome* outcome, int c) {
        t->SetCellAlign(1, c, Align::LeftMiddle);
        int row = 1;
        for (const auto& use : outcome->SRUseList().SRUseCollection()) {
            ++row;
            const auto type = use->SRType();   // none when the line's resource type is gone
            t->SetCellText(row, c, QString::number(use->Quantity()));
            t->SetCellText(row, c + 1, type ? type->ShortName() : QString());
            t->SetCellText(row, c + 2, QString::number(use->TimePeriods()));
            t->SetCellText(row, c + 3, type ? type->UnitName() : QString());
        }
        // The cost and its basis close every block on the same two rows.
        const int n = t->Rows();
        const QString cells[] = {QStringLiteral("Estimated suppression cost:  ")
                                     + grid::FormatNumber(outcome->EstimatedCost(), QStringLiteral("$#,0")),
                                 BasisText(*outcome)};
        for (int k = 0; k < 2; ++k) {
            const int row = n - 1 + k;
            t->SetCellText(row, c, cells[k]);
            t->SetColSpan(row, c, 4);
            t->SetCellFontSize(row, c, 9);
            t->SetCellAlign(row, c, Align::LeftMiddle);
        }
    });
    VSPrinter1().EndTable();
}

void PrintAlternativeCosts(model::c51Alternative& alternative)
{
    PushPrintSettings();
    VSPrinter1().Paragraph(QString());
    const bool severalFMUs = model::FMUCount() > 1;
    if (severalFMUs)
        PrintCostByFMU(alternative);
    PrintResourceCosts(alternative, MaxResourceUseCount(alternative), !severalFMUs);
    PopPrintSettings();
}

}  // namespace

void PrintCosts()
{
    PushPrintSettings();
    SetPageHeaderFooter();
    PrintSectionTitle(QStringLiteral("Estimated Suppression Costs"));
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetCurrentX(vp.MarginLeft());
    vp.SetCurrentY(1440);
    const auto alternatives = model::GetAlternatives().Items();
    for (const auto& alternative : alternatives)
        PrintAlternativeCosts(*alternative);
    PopPrintSettings();
}

}  // namespace reports::sections
