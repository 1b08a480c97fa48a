#include "worksheets/objectives_alternatives/registerforms.h"

#include "worksheets/common/worksheetform.h"
#include "worksheets/objectives_alternatives/frm32safetyissues.h"
#include "worksheets/objectives_alternatives/frm33objectives.h"
#include "worksheets/objectives_alternatives/frm34prioritize.h"
#include "worksheets/objectives_alternatives/frm42alternatives.h"
#include "worksheets/objectives_alternatives/frm43outcomes.h"
#include "worksheets/objectives_alternatives/frm44probabilities.h"
#include "worksheets/objectives_alternatives/frm45fmus.h"

namespace worksheets::objectives_alternatives {

void RegisterForms()
{
    RegisterWorksheetForm(QStringLiteral("tab32"), [](QWidget* p) { return new frm32SafetyIssues(p); });
    RegisterWorksheetForm(QStringLiteral("tab33"), [](QWidget* p) { return new frm33Objectives(p); });
    RegisterWorksheetForm(QStringLiteral("tab34"), [](QWidget* p) { return new frm34Prioritize(p); });
    RegisterWorksheetForm(QStringLiteral("tab42"), [](QWidget* parent) { return new frm42Alternatives(parent); });
    RegisterWorksheetForm(QStringLiteral("tab43"), [](QWidget* parent) { return new frm43Outcomes(parent); });
    RegisterWorksheetForm(QStringLiteral("tab44"), [](QWidget* parent) { return new frm44Probabilities(parent); });
    RegisterWorksheetForm(QStringLiteral("tab45"), [](QWidget* parent) { return new frm45FMUs(parent); });
}

} // namespace worksheets::objectives_alternatives
