#include "reports/sections/sections.h"

#include "core/g13rmas.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"

// The resource management objectives: one topic per resource management area.
namespace reports::sections {

void PrintRMObjectives()
{
    PushPrintSettings();
    SetPageHeaderFooter();
    PrintSectionTitle(QStringLiteral("Resource Management Objectives"));
    SetTopicLayout();
    PrintTopics(core::GetRMAs());
    PopPrintSettings();
}

}  // namespace reports::sections
