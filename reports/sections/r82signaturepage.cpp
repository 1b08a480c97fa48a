#include "reports/sections/sections.h"

#include "model/g51alternatives.h"
#include "platform/grid/numberformat.h"
#include "platform/printing/reporttable.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"

// The signature page: a form filled in by hand while the selected alternative is carried out.
namespace reports::sections {

namespace {

using printing::ReportTable;

void PrintDailyReview()
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetTextAlign(printing::Align::CenterMiddle);
    vp.SetFontSize(10);
    vp.SetFontBold(false);
    if (const auto selected = model::GetSelectedAlternative()) {
        vp.SetTableLineStyle(printing::LineStyle::None);
        vp.TableRows(QStringLiteral(">1860|<1200|6360;") + grid::FormatNumber(selected->EstimatedCost(), QStringLiteral("$#,0"))
                     + u'|' + grid::FormatNumber(selected->EstimatedSize(), QStringLiteral("#,0"))
                     + QStringLiteral("|Estimated target suppression cost and size;"));
    }
    vp.Paragraph(QString());
    vp.SetTableLineStyle(printing::LineStyle::Grid);

    vp.AddTable(QStringLiteral("420|420|1020|720|480|4320|1080|960;"),
                QStringLiteral(" National Preparedness Level|") + QStringLiteral(" Regional Preparedness Level| Suppression cost to date|")
                    + QStringLiteral(" Size to date|Selected alternative remains valid (Y or N)|") + QStringLiteral("By|Date|Time;"),
                QString());
    ReportTable* table = vp.table();
    using Setting = ReportTable::Setting;
    table->Set(Setting::CellAlign, 0, 1, 0, 5, 6);
    table->Set(Setting::CellAlign, 0, 6, 0, 8, 4);
    table->Set(Setting(8), 0, 1, 0, table->Columns(), 0);
    table->Set(Setting::Rows, 0, 0, 0, 0, 10);
    table->Set(Setting::VerticalText, 0, 1, 0, 5, 1);
    table->Set(Setting::RowHeight, 0, 1, 0, table->Columns(), 3900);
    for (int row = 1; row <= 10; ++row)
        table->Set(Setting::RowHeight, row, 1, row, table->Columns(), 480);
    vp.EndTable();
}

void PrintFinalReview()
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetTextAlign(printing::Align::CenterMiddle);
    vp.SetFontSize(12);
    vp.SetFontBold(true);
    const auto twoEmptyLinesThen = [&vp](const QString& text) {
        vp.Paragraph(QString());
        vp.Paragraph(QString());
        vp.Paragraph(text);
    };
    twoEmptyLinesThen(QStringLiteral("Final Review"));
    vp.SetFontSize(11);
    vp.SetFontBold(false);
    twoEmptyLinesThen(QStringLiteral("The elements of the selected alternative were met on:"));
    twoEmptyLinesThen(QStringLiteral("Date:") + QString(26, u'_') + QStringLiteral("     Time:") + QString(22, u'_'));
    twoEmptyLinesThen(QStringLiteral("By:") + QString(58, u'_'));
    vp.Paragraph(QStringLiteral("Agency Administrator"));
}

}  // namespace

void PrintSignaturePage()
{
    PushPrintSettings();
    SetPageHeaderFooter();
    PrintSectionTitle(QStringLiteral("Daily Review"));
    PrintDailyReview();
    PrintFinalReview();
    PopPrintSettings();
}

}  // namespace reports::sections
