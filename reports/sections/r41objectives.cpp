#include "reports/sections/sections.h"

#include "model/g41objectives.h"
#include "platform/grid/numberformat.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"
#include "platform/richtext/rtftext.h"

// The prioritised suppression objectives: name, priority and weight, each category a bold row,
// every node's description indented below its row.
namespace reports::sections {

namespace {
const QString kRowFormat = QStringLiteral("7800|>2100|^800;");
const QString kHeader = QStringLiteral("7800|>2100!|^800;Objective|Priority (high=10)|Weight;");
constexpr int kCategoryAllowance = 1000;
constexpr int kObjectiveAllowance = 720;
}  // namespace

void PrintObjectives()
{
    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    SetPageHeaderFooter();
    PrintSectionTitle(QStringLiteral("Objectives"));
    vp.SetCurrentY(1620);
    vp.SetMarginRight(2160);
    SetTableHeaderStyle(kHeader);
    for (const model::c41Objective* node : model::GetPrioritizedObjectives()) {
        const bool category = node->bCategory();
        if (BreakBeforeDescribedRow(node->Description(), category ? kCategoryAllowance : kObjectiveAllowance))
            SetTableHeaderStyle(kHeader);
        if (category) {
            vp.SetTableRowSetting(120);
            vp.SetTableLineStyle(printing::LineStyle::RuleAbove);
            vp.SetFontBold(true);
            vp.TableRows(kRowFormat + node->ItemName() + QStringLiteral(";"));
        } else {
            vp.SetTableRowSetting(60);
            vp.SetTableLineStyle(printing::LineStyle::None);
            vp.SetFontBold(false);
            vp.TableRows(kRowFormat + QStringLiteral("   ") + node->ItemName() + QStringLiteral("|") +
                         QString::number(node->Priority()) + QStringLiteral("|") +
                         grid::FormatNumber(node->Weight(), QStringLiteral("0.00")) + QStringLiteral(";"));
        }
        // Every node has its paragraph, an empty one included, so rows keep an even spacing.
        vp.SetFontBold(false);
        vp.SetIndentLeft(1440);
        vp.SetCurrentX(vp.MarginLeft() + 1440);
        vp.Paragraph(richtext::FixRtfLists(node->Description()));
        vp.SetIndentLeft(0);
    }
    vp.SetTableRowSetting(0);
    PopPrintSettings();
}

}  // namespace reports::sections
