#include "reports/sections/sections.h"

#include "core/u91trace.h"
#include "core/u92utilities.h"
#include "model/c34nvctable.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g33fmus.h"
#include "model/g34nvcresources.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "platform/grid/numberformat.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"
#include "reports/sections/sectionnumbers.h"
#include "reports/sections/tablebands.h"

using model::OutcomeKind;
// The estimated loss: for every alternative, the NVC loss (or, when gains count, the impact) of
// each outcome resource by resource, the outcomes' totals and the alternative's expected impact.
namespace reports::sections {

namespace {

const QString kHeaderFormat = QStringLiteral("2880!|^1800!|^1800!|^1800!|^1800;");
const QString kResourceFormat = QStringLiteral("2880!|>1800!|>1800!|>1800!|>1800;");
const QString kTotalFormat = QStringLiteral(">2880!|>1800!|>1800!|>1800!|>1800;");
const QString kNotApplicable = QStringLiteral("n/a");

QString Money(double value, const char* format)
{
    return grid::FormatNumber(value, QString::fromLatin1(format));
}

void PrintAlternativeImpacts(model::c51Alternative& alternative, int bodySize)
{
    printing::ReportDocument& vp = VSPrinter1();
    const auto target = alternative.Outcome(OutcomeKind::Target);
    const auto fallback = alternative.Outcome(OutcomeKind::Fallback);
    const auto extreme = model::GetExtremeOutcome();
    const bool showFallback = fallback->bShow();
    const bool targetCertain = target->Success() == 100;
    const bool extremeCannotOccur = targetCertain || fallback->Success() == 100;

    vp.Paragraph(QString());
    // The table starts 150 twips below the title's lower rule, which a title that wraps moves down.
    vp.SetCurrentY(PrintSubTitle(QStringLiteral("Alternative ") + alternative.Label()) + 150);
    vp.SetTableLineStyle(printing::LineStyle::None);
    vp.SetFontSize(bodySize + 1);
    const QString percent = QStringLiteral(" (%1%)");
    const auto weight = [&](OutcomeKind kind) { return percent.arg(alternative.OutcomePercent(kind)); };
    vp.TableRows(kHeaderFormat + QStringLiteral("Item|Target Outcome") + weight(OutcomeKind::Target) + u'|'
                 + (showFallback ? QStringLiteral("Fallback Outcome") + weight(OutcomeKind::Fallback) : QString())
                 + QStringLiteral("|Extreme Outcome") + weight(OutcomeKind::Extreme)
                 + QStringLiteral("|Expected Impact;"));

    vp.SetFontSize(bodySize);
    vp.SetTableLineStyle(printing::LineStyle::RuleAbove);
    vp.SetFontBold(false);
    for (int r = 1; r <= model::kNVCResourceCount; ++r) {
        if (!model::AnyFMUResourceValue(r))
            continue;
        const QString fallbackCell = targetCertain  ? kNotApplicable
                                     : !showFallback ? QString()
                                                     : Money(fallback->NVCResourceLoss(r), "#,0");
        const QString extremeCell = extremeCannotOccur ? kNotApplicable : Money(extreme->NVCResourceLoss(r), "#,0");
        vp.TableRows(kResourceFormat + printing::TableText(model::GetResourceName(r)) + u'|' + Money(target->NVCResourceLoss(r), "#,0") + u'|'
                     + fallbackCell + u'|' + extremeCell + QStringLiteral("|;"));
    }

    vp.SetTableRowSetting(50);
    vp.SetFontSize(bodySize + 1);
    const auto total = [](model::c53Outcome& outcome) {
        return Money(core::RoundSignificant(outcome.NVCLoss(), 3), "$#,0");
    };
    const QString fallbackTotal = !showFallback ? QString() : targetCertain ? kNotApplicable : total(*fallback);
    const QString extremeTotal = extremeCannotOccur ? kNotApplicable : total(*extreme);
    vp.TableRows(kTotalFormat + QStringLiteral("Total (rounded)|") + total(*target) + u'|' + fallbackTotal + u'|'
                 + extremeTotal + u'|' + Money(alternative.ExpectedNVCLoss(), "$#,0") + u';');
    vp.SetTableRowSetting(0);
}

}  // namespace

void PrintNVCImpacts()
{
    core::Trace(QStringLiteral("rImpacts.PrintNVCImpacts"));
    const auto alternatives = model::GetAlternatives().Items();
    const int count = int(alternatives.size());
    const BandLayout layout = BandLayoutFor(GetImpactTableLayout(), count);
    const int perPage = layout.tablesPerPage;
    const int bodySize = layout.fontSize;

    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    SetPageHeaderFooter();
    // The same reading of the option as the model's figures below.
    PrintSectionTitle(model::UseNVCGains() ? QStringLiteral("Impact on Resource Values")
                                           : QStringLiteral("Resource Value Losses"));
    vp.SetFontSize(10);
    vp.Paragraph(QStringLiteral("Note: Outcome values, including totals, are rounded to 3 significant digits counting from the left."));
    vp.Paragraph(QStringLiteral("Expected Impact is rounded to 2 significant digits."));
    vp.Paragraph(QString());
    TableBands bands(2040, 12000 / perPage, perPage);
    for (const auto& alternative : alternatives) {
        bands.Begin();
        PrintAlternativeImpacts(*alternative, bodySize);
        bands.End();
    }
    PopPrintSettings();
}

}  // namespace reports::sections
