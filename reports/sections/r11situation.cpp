#include "reports/sections/sections.h"

#include "core/c0item.h"
#include "core/g2situation.h"
#include "platform/printing/reporttable.h"
#include "platform/printing/rtfwriter.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"

#include <cmath>

// The situation: the identification table that opens the report, then the fire's start, size and
// situation topics. It prints no title and blanks the running line of its first page.
namespace reports::sections {

namespace {

using printing::ReportTable;

QString Body(int key)
{
    const core::c0Item* item = core::GetSituationItem(key);
    return item ? item->Body() : QString();
}

// A typed value set into a rich-text cell: braces and backslashes in it are text, not markup.
QString Value(int key)
{
    return printing::RtfWriter::Escape(Body(key));
}

void TitleRow(ReportTable& table, int row, const QString& text)
{
    table.SetCellText(row, 1, text);
    table.SetColSpan(row, 1, 2);
    table.Set(ReportTable::Setting(36), row, 1, row, 2, 7);
    table.Set(ReportTable::Setting(37), row, 1, row, 2, 7);
    table.SetCellFontSize(row, 1, 12);
    table.SetCellBold(row, 1, true);
    table.SetCellAlign(row, 1, printing::Align::CenterMiddle);
}

void ShowTolmarInformation()
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetRunningLine(QStringLiteral("||"));
    vp.SetRunningLineMode(printing::RunningLineMode::Header);
    vp.Paragraph(QString());
    vp.Paragraph(QString());
    const int w = int(std::nearbyint(GetUsableWidth() / 2.0));
    const QString format = QStringLiteral("%1|%1;").arg(w);
    vp.SetFontSize(11);
    vp.SetFontBold(false);
    vp.SetTableLineStyle(printing::LineStyle::None);
    vp.AddTable(format, QStringLiteral("Ardwyn\r\n|;"), QString());
    ReportTable& table = *vp.table();
    table.SetColSpan(0, 1, 2);
    table.SetCellAlign(0, 1, printing::Align::CenterMiddle);
    table.SetCellFontSize(0, 1, 14);
    table.SetCellBold(0, 1, true);
    table.SetRows(3);
    TitleRow(table, 1, QStringLiteral("Tolmar Information"));
    table.SetCellText(2, 1, QStringLiteral("{\\par\\b Tolmar Number:}  ") + Value(221)
                                + QStringLiteral("{\\par\\par\\b Fire Name:}  ") + Value(11)
                                + QStringLiteral("{\\par\\par\\b Incident Number:}  ") + Value(52)
                                + QStringLiteral("{\\par\\par\\b Date/Time Prepared:}  ") + Value(222) + QStringLiteral("  ")
                                + Value(223) + QStringLiteral("{\\par}"));
    table.SetCellText(2, 2, QStringLiteral("{\\par\\b Jurisdiction(s):}  ") + Value(53)
                                + QStringLiteral("{\\par\\par\\b Geographic Area:}  ") + Value(55)
                                + QStringLiteral("{\\par\\par\\b Unit:}  ") + Value(54)
                                + QStringLiteral("{\\par\\par\\b Accounting or Management Code:}  ") + Value(217)
                                + QStringLiteral("{\\par}"));
    TitleRow(table, 3, QStringLiteral("Fire Situation"));
    vp.EndTable();
}

void PrintSituationTopics()
{
    printing::ReportDocument& vp = VSPrinter1();
    for (const core::c0Item* topic : core::GetSituationTopics()) {
        vp.Paragraph(QString());
        if (vp.CurrentY() + 1080 > vp.PageHeight())
            vp.NewPage();
        vp.SetFontBold(true);
        vp.Paragraph(topic->Heading());
        vp.SetFontBold(false);
        vp.Paragraph(topic->Body());
    }
}

void ShowFireSituation()
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.Paragraph(QString());
    vp.SetMarginTop(vp.CurrentY());
    vp.SetLayoutMode(2);
    vp.SetFontBold(true);
    vp.Text(QStringLiteral("Start Date/Time:   "));
    vp.SetFontBold(false);
    vp.Paragraph(Body(61) + QStringLiteral("  ") + Body(62));
    vp.Paragraph(QString());
    vp.SetFontBold(true);
    vp.Text(QStringLiteral("Current Fire Size:   "));
    vp.SetFontBold(false);
    vp.Paragraph(Body(57) + QStringLiteral(" acres"));
    PrintSituationTopics();
}

}  // namespace

void PrintSituation()
{
    PushPrintSettings();
    ShowTolmarInformation();
    ShowFireSituation();
    PopPrintSettings();
}

}  // namespace reports::sections
