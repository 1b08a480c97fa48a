#include "reports/sections/sections.h"

#include "model/c33fmu.h"
#include "model/c35aactable.h"
#include "model/g33fmus.h"
#include "platform/grid/numberformat.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"
#include "reports/sections/sectionnumbers.h"
#include "reports/sections/tablebands.h"

// The historic average cost per acre by fire size class, one table per FMU (four to a page), or
// the one table of the whole fire.
namespace reports::sections {

namespace {

const QString kFormat = QStringLiteral(">1500|>1500|>1440;");

void PrintAACTable(const model::c35AACTable& table)
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetTextAlign(printing::Align::CenterMiddle);
    vp.SetFontSize(10);
    vp.Paragraph(QString());
    vp.Paragraph(QString());
    vp.SetTableLineStyle(printing::LineStyle::None);
    vp.TableRows(kFormat + QStringLiteral("From|To|Cost;"));
    vp.SetFontSize(9);
    vp.SetTableLineStyle(printing::LineStyle::RulesAboveAndBelow);
    vp.SetFontBold(false);
    const QString cost = QStringLiteral("$0");
    QString body = kFormat + QStringLiteral("0|") + grid::FormatNumber(table.TopSize(1), QStringLiteral("0.00")) + u'|'
                   + grid::FormatNumber(table.Cost(1), cost) + u';';
    for (int i = 2; i <= model::kCostBracketCount; ++i) {
        if (table.TopSize(i) == 0 && table.Cost(i) == 0)
            continue;
        // An unused class before this one leaves its "From" empty rather than guessing a bound.
        body += NextSizeText(table.TopSize(i - 1)) + u'|' + grid::FormatNumber(table.TopSize(i), QStringLiteral("#,0.00"))
                + u'|' + grid::FormatNumber(table.Cost(i), cost) + u';';
    }
    vp.TableRows(body);
}

void PrintAACTableHeading(model::c33FMU& fmu)
{
    VSPrinter1().Paragraph(QString());
    PrintSubTitle(QStringLiteral("Fire Management Unit: ") + fmu.ItemName());
    PrintAACTable(*fmu.AACTable());
}

}  // namespace

void PrintAACTables()
{
    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    SetPageHeaderFooter();
    PrintSectionTitle(QStringLiteral("AAC Tables"));
    vp.SetTextAlign(printing::Align::CenterMiddle);
    const QList<model::c33FMU*> fmus = model::GetFMUs();
    if (!fmus.isEmpty()) {
        TableBands bands(1440, 3150, 4);
        for (model::c33FMU* fmu : fmus) {
            bands.Begin();
            PrintAACTableHeading(*fmu);
            bands.End();
        }
    } else {
        vp.SetMarginTop(2880);
        PrintAACTable(*model::GetAACTable(0));
    }
    PopPrintSettings();
}

}  // namespace reports::sections
