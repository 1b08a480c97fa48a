#include "reports/sections/sections.h"

#include "core/c0item.h"
#include "core/g13rmas.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"

// The resource management objectives: one topic per resource management area.
namespace reports::sections {

namespace {

void PrintRMATopics()
{
    printing::ReportDocument& vp = VSPrinter1();
    for (const core::c0Item* area : core::GetRMAs()) {
        CheckTopicPageBreak(area->Body());
        vp.SetCurrentX(1080);
        vp.SetFontBold(true);
        vp.Paragraph(area->Heading());
        vp.SetFontBold(false);
        vp.Paragraph(area->Body());
        vp.Paragraph(QString());
    }
}

}  // namespace

void PrintRMObjectives()
{
    PushPrintSettings();
    SetPageHeaderFooter();
    PrintSectionTitle(QStringLiteral("Resource Management Objectives"));
    SetTopicLayout();
    PrintRMATopics();
    PopPrintSettings();
}

}  // namespace reports::sections
