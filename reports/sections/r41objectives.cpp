#include "reports/sections/sections.h"

#include "model/g41objectives.h"
#include "platform/grid/numberformat.h"
#include "platform/richtext/rtftext.h"
#include "reports/frmpreview.h"
#include "reports/printsettings.h"

// The prioritised suppression objectives: name, priority and weight, each category a bold row,
// every node's description indented below its row.
namespace reports::sections {

namespace {
const QString kHeader = QStringLiteral("7800|>2100!|^800;Objective|Priority (high=10)|Weight;");
constexpr int kCategoryAllowance = 1000;
constexpr int kObjectiveAllowance = 720;
}  // namespace

void PrintObjectives()
{
    printing::ReportDocument& vp = VSPrinter1();
    StartRowTableSection(QStringLiteral("Objectives"));
    SetTableHeaderStyle(kHeader);
    for (const model::c41Objective* node : model::GetPrioritizedObjectives()) {
        const bool category = node->bCategory();
        if (BreakBeforeDescribedRow(node->Description(), category ? kCategoryAllowance : kObjectiveAllowance))
            SetTableHeaderStyle(kHeader);
        PrintTreeRow(category, node->ItemName(),
                     category ? QString()
                              : QString::number(node->Priority()) + QStringLiteral("|") +
                                    grid::FormatNumber(node->Weight(), QStringLiteral("0.00")));
        // Every node has its paragraph, an empty one included, so rows keep an even spacing.
        vp.SetFontBold(false);
        PrintIndentedParagraph(richtext::FixRtfLists(node->Description()));
    }
    vp.SetTableRowSetting(0);
    PopPrintSettings();
}

}  // namespace reports::sections
