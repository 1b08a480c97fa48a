#include "reports/sections/sections.h"

#include "model/c33fmu.h"
#include "model/c34nvctable.h"
#include "model/g33fmus.h"
#include "model/g34nvcresources.h"
#include "model/textnumbers.h"
#include "platform/grid/numberformat.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"
#include "reports/sections/tablebands.h"

#include <array>

// The NVC table of every FMU (three to a page), or the one table of the whole fire: dollars per
// acre of each natural resource at each fire intensity level, with the totals.
namespace reports::sections {

namespace {

const QString kFormat = QStringLiteral("3000!|^1020!|^1020!|^1020!|^1020!|^1020!|^1020!;");

void PrintNVCTable(const model::c34NVCTable& table, bool useGains)
{
    printing::ReportDocument& vp = VSPrinter1();
    std::array<float, model::kFILCount> totals{};
    vp.SetTextAlign(printing::Align::CenterMiddle);
    vp.SetFontSize(9);
    vp.Paragraph(QString());
    vp.Paragraph(QString());
    vp.SetTableLineStyle(printing::LineStyle::None);
    QString header = kFormat;
    for (int fil = 1; fil <= model::kFILCount; ++fil)
        header += QStringLiteral("|FIL ") + QString::number(fil);
    vp.TableRows(header + u';');

    vp.SetFontSize(9);
    vp.SetTableLineStyle(printing::LineStyle::RulesAboveAndBelow);
    vp.SetFontBold(false);
    for (int r = 1; r <= model::kNVCResourceCount; ++r) {
        QString row = kFormat + printing::TableText(model::GetResourceName(r));
        for (int fil = 1; fil <= model::kFILCount; ++fil) {
            const float v = table.NVCCellValue(r, fil);
            // A gain that does not count shows as 0 and stays out of the totals.
            if (v > 0 && !useGains) {
                row += QStringLiteral("|0");
            } else {
                totals[size_t(fil - 1)] += v;
                row += u'|' + model::textnum::SingleText(v);
            }
        }
        vp.TableRows(row + u';');
    }

    vp.SetFontSize(9);
    vp.SetTableLineStyle(printing::LineStyle::None);
    vp.SetFontBold(false);
    QString row = kFormat + QStringLiteral("Totals");
    for (float total : totals)
        row += u'|' + grid::FormatNumber(total, QStringLiteral("$#,0"));
    vp.TableRows(row + u';');
}

void PrintFMUNVCTable(model::c33FMU& fmu, bool useGains)
{
    VSPrinter1().Paragraph(QString());
    PrintSubTitle(QStringLiteral("Fire Management Unit: ") + fmu.ItemName());
    PrintNVCTable(*fmu.NVCTable(), useGains);
}

}  // namespace

void PrintNVCTables()
{
    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    SetPageHeaderFooter();
    PrintSectionTitle(QStringLiteral("NVC Tables"));
    vp.SetTextAlign(printing::Align::CenterMiddle);
    // One reading of the option for the note, the cells and the totals, the model's own.
    const bool useGains = model::UseNVCGains();
    if (!useGains) {
        vp.Paragraph(QStringLiteral("Only negative values are included for this fire."));
        vp.Paragraph(QString());
    }
    const QList<model::c33FMU*> fmus = model::GetFMUs();
    if (!fmus.isEmpty()) {
        TableBands bands(1680, 4200, 3);
        for (model::c33FMU* fmu : fmus) {
            bands.Begin();
            PrintFMUNVCTable(*fmu, useGains);
            bands.End();
        }
    } else {
        vp.SetMarginTop(2880);
        PrintNVCTable(*model::GetNVCTable(0), useGains);
    }
    PopPrintSettings();
}

}  // namespace reports::sections
