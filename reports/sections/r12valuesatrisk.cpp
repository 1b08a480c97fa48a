#include "reports/sections/sections.h"

#include "core/u92utilities.h"
#include "model/g36threateneditems.h"
#include "platform/grid/numberformat.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"
#include "platform/richtext/rtftext.h"

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
    PushPrintSettings();
    SetPageHeaderFooter();
    PrintSectionTitle(QStringLiteral("Values at Risk"));
    vp.SetCurrentY(1620);
    vp.SetMarginRight(2160);
    const QString header = kFormat + kHeaderCells;
    SetTableHeaderStyle(header);
    for (const auto& item : model::GetThreatenedItems()) {
        QString notes = item->Notes();
        if (BreakBeforeDescribedRow(notes, 720))
            SetTableHeaderStyle(header);
        vp.TableRows(kFormat + item->ItemName() + QStringLiteral("|") +
                     grid::FormatNumber(item->PotentialLoss(), kMoney) + QStringLiteral("|") +
                     QString::number(item->Probability()) + QStringLiteral("|") +
                     grid::FormatNumber(item->ValueAtRisk(), kMoney) + QStringLiteral(";"));
        if (!notes.isEmpty()) {
            vp.SetIndentLeft(1440);
            vp.SetCurrentX(vp.MarginLeft() + 1440);
            vp.Paragraph(richtext::TrimTrailingBreaks(notes));
            vp.Paragraph(QString());
            vp.SetIndentLeft(0);
        }
    }
    vp.TableRows(kFormat + QStringLiteral("|||____________;"));
    const double total = core::RoundSignificant(model::TotalValueAtRisk(), 2);
    vp.TableRows(kFormat + QStringLiteral("Total expected value at risk (rounded)|||") + grid::FormatNumber(total, kMoney) +
                 QStringLiteral(";"));
    PopPrintSettings();
}

}  // namespace reports::sections
