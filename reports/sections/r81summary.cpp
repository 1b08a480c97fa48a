#include "reports/sections/sections.h"

#include "core/g8summary.h"
#include "model/g51alternatives.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"

// The decision summary: the selected and the least-cost alternative, the summary topics and the
// approval block.
namespace reports::sections {

namespace {

const QString kLine45(45, u'_');

void PrintSelectedAlternative()
{
    printing::ReportDocument& vp = VSPrinter1();
    SetTopicLayout();
    vp.SetCurrentX(1080);
    vp.SetFontBold(true);
    vp.Paragraph(QStringLiteral("Selected Alternative"));
    vp.SetFontBold(false);
    if (const auto selected = model::GetSelectedAlternative())
        vp.Paragraph(selected->Label());
    vp.Paragraph(QString());
}

void PrintMostCostEffective()
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetCurrentX(1080);
    const auto leastCost = model::GetLeastCostAlternative();
    vp.SetFontBold(false);
    vp.SetFontSize(10);
    // An analysis without alternatives has no least-cost one to name.
    vp.Paragraph(QStringLiteral("     Most Cost Effective Alternative:   ")
                 + (leastCost ? leastCost->Label() : QStringLiteral("none (the analysis has no alternatives)")));
    vp.Paragraph(QString());
    vp.SetFontSize(11);
}

void PrintApprovalBlock()
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetMarginLeft(1440);
    if (vp.CurrentY() > 12240) {
        vp.NewPage();
        vp.Paragraph(QString());
        vp.Paragraph(QString());
        vp.SetCurrentY(5000);
    } else {
        vp.Paragraph(QString());
        vp.Paragraph(QString());
    }
    vp.SetTableLineStyle(printing::LineStyle::None);
    vp.TableRows(QStringLiteral("2880|6660;Analysis prepared by:|") + kLine45 + QStringLiteral("; | ;|") + kLine45
                 + QStringLiteral("; | ; | ; | ;"));
    vp.TableRows(QStringLiteral("6660|2880;") + QString(48, u'_') + u'|' + QString(20, u'_')
                 + QStringLiteral(";Agency Administrator Approval|Date/Time;"));
}

}  // namespace

void PrintDecisionSummary()
{
    PushPrintSettings();
    SetPageHeaderFooter();
    PrintSectionTitle(QStringLiteral("Decision Summary"));
    PrintSelectedAlternative();
    PrintMostCostEffective();
    PrintTopics(core::GetSummaryTopics());
    PrintApprovalBlock();
    PopPrintSettings();
}

}  // namespace reports::sections
