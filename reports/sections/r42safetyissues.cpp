#include "reports/sections/sections.h"

#include "model/g42safetyissues.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"

// The safety issues: one column of names, each safety category bold, every node's description
// indented below its row. No priorities or weights.
namespace reports::sections {

namespace {
const QString kRowFormat = QStringLiteral("7800|>2100|^800;");
}  // namespace

void PrintSafetyIssues()
{
    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    SetPageHeaderFooter();
    PrintSectionTitle(QStringLiteral("Safety Issues"));
    vp.SetCurrentY(1620);
    vp.SetMarginRight(2160);
    for (const model::c41Objective* node : model::SafetyIssuesCollection()) {
        const QString description = node->Description();
        BreakBeforeDescribedRow(description, 720);
        if (node->bSafetyCategory()) {
            vp.SetTableRowSetting(120);
            vp.SetTableLineStyle(printing::LineStyle::RuleAbove);
            vp.SetFontBold(true);
            vp.TableRows(kRowFormat + node->ItemName() + QStringLiteral(";"));
        } else {
            vp.SetTableRowSetting(60);
            vp.SetTableLineStyle(printing::LineStyle::None);
            vp.SetFontBold(false);
            vp.TableRows(kRowFormat + QStringLiteral("   ") + node->ItemName() + QStringLiteral("|;"));
        }
        if (!description.isEmpty()) {
            vp.SetFontBold(false);
            vp.SetIndentLeft(1440);
            vp.SetCurrentX(vp.MarginLeft() + 1440);
            vp.Paragraph(description);
            vp.SetIndentLeft(0);
        }
    }
    vp.SetTableRowSetting(0);
    PopPrintSettings();
}

}  // namespace reports::sections
