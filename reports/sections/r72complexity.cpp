#include "reports/sections/sections.h"

#include "core/u14properties.h"
#include "model/complexitytables.h"
#include "model/textnumbers.h"
#include "platform/printing/reporttable.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"

// The incident complexity: the incident type chosen with its rationale, then the checklist of
// every category's elements, each marked present or absent.
namespace reports::sections {

namespace {

using printing::Align;
using printing::ReportTable;

void PrintLabelled(const QString& label, const QString& value)
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetFontBold(true);
    vp.Text(label);
    vp.SetFontBold(false);
    vp.Paragraph(value);
}

void PrintComplexityRating()
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetCurrentX(vp.MarginLeft());
    vp.SetCurrentY(1440);
    vp.SetLayoutMode(2);
    vp.SetFontSize(10);
    PrintLabelled(QStringLiteral("Incident Complexity Rating:   "),
                  QStringLiteral("Type ") + core::Property_Get(QStringLiteral("OverheadTeam")));
    PrintLabelled(QStringLiteral("Rationale:   "), core::Property_Get(QStringLiteral("OverheadTeamRationale")));
    vp.Paragraph(QString());
    // Further pages of the checklist start where it starts here (one inch down when that is low).
    vp.SetMarginTop(vp.CurrentY());
}

void PrintComplexityChecklist()
{
    namespace complexity = model::complexity;
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetTableLineStyle(printing::LineStyle::None);
    vp.SetFontSize(10);
    const int w = model::textnum::RoundHalfEven(GetUsableWidth() / 2.0) - 180;
    vp.AddTable(QStringLiteral("^360|^360|%1;").arg(w - 720), QStringLiteral("NO  YES   FACTOR||;"), QString());
    ReportTable* t = vp.table();
    t->SetColSpan(0, 1, 3);
    t->SetCellAlign(0, 1, Align::LeftMiddle);
    t->SetCellFontSize(0, 1, 8);

    int row = 0;
    for (const complexity::ChecklistCategory& category : complexity::ReadChecklist()) {
        t->SetRows(++row);
        t->SetColSpan(row, 1, 3);
        t->SetCellText(row, 1, category.name);
        t->SetCellAlign(row, 1, Align::LeftMiddle);
        t->SetCellBold(row, 1, true);
        t->SetRowSpaceAbove(row, 45);
        // A heading never stands alone at the foot of a page.
        t->SetKeepWithNext(row, true);
        for (qsizetype i = 0; i < category.elements.size(); ++i) {
            const complexity::ChecklistElement& element = category.elements[i];
            t->SetRows(++row);
            t->SetCellText(row, 3, element.name);
            // The same reading of a rating as the complexity worksheets' ticks and counts.
            if (complexity::IsYes(element.rating))
                t->SetCellText(row, 2, QStringLiteral("X"));
            else
                t->SetCellText(row, 1, QStringLiteral("-"));
            t->SetRowSpaceAbove(row, 15);
            t->SetKeepWithNext(row, i + 1 < category.elements.size());
        }
    }
    vp.EndTable();
}

}  // namespace

void PrintComplexity()
{
    PushPrintSettings();
    SetPageHeaderFooter();
    PrintSectionTitle(QStringLiteral("Incident Complexity Analysis"));
    PrintComplexityRating();
    PrintComplexityChecklist();
    PopPrintSettings();
}

}  // namespace reports::sections
