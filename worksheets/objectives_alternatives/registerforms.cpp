#include "worksheets/objectives_alternatives/registerforms.h"

#include "worksheets/common/worksheetform.h"
#include "worksheets/objectives_alternatives/frm42alternatives.h"
#include "worksheets/objectives_alternatives/frm43outcomes.h"
#include "worksheets/objectives_alternatives/frm44probabilities.h"
#include "worksheets/objectives_alternatives/frm45fmus.h"

namespace worksheets::objectives_alternatives {

void RegisterForms()
{
    RegisterWorksheetForm(QStringLiteral("tab42"), [](QWidget* parent) { return new frm42Alternatives(parent); });
    RegisterWorksheetForm(QStringLiteral("tab43"), [](QWidget* parent) { return new frm43Outcomes(parent); });
    RegisterWorksheetForm(QStringLiteral("tab44"), [](QWidget* parent) { return new frm44Probabilities(parent); });
    RegisterWorksheetForm(QStringLiteral("tab45"), [](QWidget* parent) { return new frm45FMUs(parent); });
}

} // namespace worksheets::objectives_alternatives
