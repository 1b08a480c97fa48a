#include "worksheets/objectives_alternatives/registerforms.h"

#include "worksheets/common/worksheetform.h"
#include "worksheets/objectives_alternatives/frm32safetyissues.h"
#include "worksheets/objectives_alternatives/frm33objectives.h"
#include "worksheets/objectives_alternatives/frm34prioritize.h"

namespace worksheets::objectives_alternatives {

void RegisterForms()
{
    RegisterWorksheetForm(QStringLiteral("tab32"), [](QWidget* p) { return new frm32SafetyIssues(p); });
    RegisterWorksheetForm(QStringLiteral("tab33"), [](QWidget* p) { return new frm33Objectives(p); });
    RegisterWorksheetForm(QStringLiteral("tab34"), [](QWidget* p) { return new frm34Prioritize(p); });
}

} // namespace worksheets::objectives_alternatives
