#include "reports/sections/sections.h"

#include "core/u92utilities.h"
#include "model/g36threateneditems.h"
#include "platform/grid/numberformat.h"
#include "platform/richtext/rtftext.h"
#include "reports/frmpreview.h"
#include "reports/printsettings.h"

// The values at risk: potential loss, probability and expected value at risk of every item with
// its notes below, then the rounded total.
namespace reports::sections {

namespace {
const QString kFormat = QStringLiteral("6470|>1630|^1070|>1630;");
const QString kHeaderCells = QStringLiteral("Item|Potential Loss ($)|") +
                             QStringLiteral("Probability of Loss (%)|Expected Value at Risk ($);");
const QString kMoney = QStringLiteral("#,0");
}  // namespace

void PrintValuesAtRisk()
{
    printing::ReportDocument& vp = VSPrinter1();
    StartRowTableSection(QStringLiteral("Values at Risk"));
    const QString header = kFormat + kHeaderCells;
    SetTableHeaderStyle(header);
    for (const auto& item : model::GetThreatenedItems()) {
        QString notes = item->Notes();
        if (BreakBeforeDescribedRow(notes, 720))
            SetTableHeaderStyle(header);
        vp.TableRows(kFormat + printing::TableText(item->ItemName()) + QStringLiteral("|") +
                     grid::FormatNumber(item->PotentialLoss(), kMoney) + QStringLiteral("|") +
                     QString::number(item->Probability()) + QStringLiteral("|") +
                     grid::FormatNumber(item->ValueAtRisk(), kMoney) + QStringLiteral(";"));
        if (!notes.isEmpty())
            PrintIndentedParagraph(richtext::TrimTrailingBreaks(notes), true);
    }
    vp.TableRows(kFormat + QStringLiteral("|||____________;"));
    const double total = core::RoundSignificant(model::TotalValueAtRisk(), 2);
    vp.TableRows(kFormat + QStringLiteral("Total expected value at risk (rounded)|||") + grid::FormatNumber(total, kMoney) +
                 QStringLiteral(";"));
    PopPrintSettings();
}

}  // namespace reports::sections
