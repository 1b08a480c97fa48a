#include "reports/printsettings.h"

#include "core/u91trace.h"
#include "platform/printing/reportdocument.h"
#include "reports/frmpreview.h"

namespace reports {

namespace {
QList<PrintSettingsRecord> gPrintSettingsStack;
}

void PrintSet_Init()
{
    core::Trace(QStringLiteral("PrintSet_Init"));
    gPrintSettingsStack = QList<PrintSettingsRecord>(1);
}

const QList<PrintSettingsRecord>& PrintSettingsStack()
{
    return gPrintSettingsStack;
}

void PushPrintSettings()
{
    const printing::ReportDocument& vp = VSPrinter1();
    PrintSettingsRecord r;
    r.TopMargin = vp.MarginTop();
    r.LeftMargin = vp.MarginLeft();
    r.RightMargin = vp.MarginRight();
    r.BottomMargin = vp.MarginBottom();
    r.LayoutMode = vp.LayoutMode();
    r.TextAlign = vp.TextAlign();
    r.IndentLeft = vp.IndentLeft();
    r.IndentSecond = vp.IndentSecond();
    r.IndentThird = vp.IndentThird();
    r.FontName = vp.FontName();
    r.FontSize = float(vp.FontSize());
    r.FontBold = vp.FontBold();
    r.FontItalic = vp.FontItalic();
    gPrintSettingsStack.append(r);
}

void PopPrintSettings()
{
    if (gPrintSettingsStack.size() < 2)
        return;
    const PrintSettingsRecord r = gPrintSettingsStack.takeLast();
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetMarginTop(r.TopMargin);
    vp.SetMarginLeft(r.LeftMargin);
    vp.SetMarginRight(r.RightMargin);
    vp.SetMarginBottom(r.BottomMargin);
    vp.SetLayoutMode(r.LayoutMode);
    vp.SetTextAlign(r.TextAlign);
    vp.SetIndentLeft(r.IndentLeft);
    vp.SetIndentSecond(r.IndentSecond);
    vp.SetIndentThird(r.IndentThird);
    if (!r.FontName.isEmpty())
        vp.SetFontName(r.FontName);
    if (r.FontSize)
        vp.SetFontSize(*r.FontSize);
    vp.SetFontBold(r.FontBold);
    vp.SetFontItalic(r.FontItalic);
}

void DrawRule(int x1, int y1, int x2, int y2)
{
    VSPrinter1().DrawLine(x1, y1, x2, y2);
}

}  // namespace reports
