#include "reports/sections/sections.h"

#include "model/g42safetyissues.h"
#include "reports/frmpreview.h"
#include "reports/printsettings.h"

// The safety issues: one column of names, each safety category bold, every node's description
// indented below its row. No priorities or weights.
namespace reports::sections {

void PrintSafetyIssues()
{
    StartRowTableSection(QStringLiteral("Safety Issues"));
    for (const model::c41Objective* node : model::SafetyIssuesCollection()) {
        const QString description = node->Description();
        BreakBeforeDescribedRow(description, 720);
        PrintTreeRow(node->bSafetyCategory(), node->ItemName());
        if (!description.isEmpty()) {
            VSPrinter1().SetFontBold(false);
            PrintIndentedParagraph(description);
        }
    }
    VSPrinter1().SetTableRowSetting(0);
    PopPrintSettings();
}

}  // namespace reports::sections
