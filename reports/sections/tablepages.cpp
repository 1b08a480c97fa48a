#include "reports/sections/sections.h"

#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"

// Shared by the sections that print a table one row at a time with a description under each row.
namespace reports::sections {

namespace {
// Where the rows of these tables start on every page, below the running line and the title.
constexpr int kRowsTop = 1620;
// Rows that start above this line never move to the next page, however long their description.
constexpr int kBreakLine = 12000;
// The width of a row number in front of the description, as the measure reserves it.
const QString kMeasureLeadIn = QStringLiteral("1         ");
const QString kTreeRowFormat = QStringLiteral("7800|>2100|^800;");
}  // namespace

void StartRowTableSection(const QString& title)
{
    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    SetPageHeaderFooter();
    PrintSectionTitle(title);
    vp.SetCurrentY(kRowsTop);
    vp.SetMarginRight(2160);
}

void PrintTreeRow(bool category, const QString& name, const QString& cells)
{
    printing::ReportDocument& vp = VSPrinter1();
    if (category) {
        vp.SetTableRowSetting(120);
        vp.SetTableLineStyle(printing::LineStyle::RuleAbove);
        vp.SetFontBold(true);
        vp.TableRows(kTreeRowFormat + printing::TableText(name) + QStringLiteral(";"));
    } else {
        vp.SetTableRowSetting(60);
        vp.SetTableLineStyle(printing::LineStyle::None);
        vp.SetFontBold(false);
        vp.TableRows(kTreeRowFormat + QStringLiteral("   ") + printing::TableText(name) + QStringLiteral("|") + cells + QStringLiteral(";"));
    }
}

void PrintIndentedParagraph(const QString& text, bool emptyLineAfter)
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetIndentLeft(1440);
    vp.SetCurrentX(vp.MarginLeft() + 1440);
    vp.Paragraph(text);
    if (emptyLineAfter)
        vp.Paragraph(QString());
    vp.SetIndentLeft(0);
}

void SetTableHeaderStyle(const QString& header)
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetFontSize(8);
    vp.SetFontBold(true);
    vp.SetTableLineStyle(printing::LineStyle::None);
    vp.SetHeaderRowSetting(60);
    vp.TableRows(header);
    vp.SetHeaderRowSetting(0);
    vp.SetFontSize(10);
    vp.SetFontBold(false);
}

bool BreakBeforeDescribedRow(const QString& description, int allowance)
{
    printing::ReportDocument& vp = VSPrinter1();
    if (vp.CurrentY() <= kBreakLine)
        return false;
    // A stored description is rich text: the document lays it out as such behind the lead-in, so
    // the test sees the lines it will print, not the length of its markup.
    const QRect measured = vp.MeasureParagraph(kMeasureLeadIn + description);
    if (measured.y() + measured.height() + allowance <= vp.PageHeight())
        return false;
    vp.NewPage();
    vp.SetCurrentY(kRowsTop);
    return true;
}

}  // namespace reports::sections
