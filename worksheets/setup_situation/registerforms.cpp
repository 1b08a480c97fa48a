#include "worksheets/setup_situation/registerforms.h"

#include "worksheets/common/worksheetform.h"
#include "worksheets/setup_situation/frm12import.h"
#include "worksheets/setup_situation/frm13rmas.h"

namespace worksheets::setup_situation {

void RegisterForms()
{
    RegisterWorksheetForm(QStringLiteral("tab12"), [](QWidget* parent) { return new frm12Import(parent); });
    RegisterWorksheetForm(QStringLiteral("tab13"), [](QWidget* parent) { return new frm13RMAs(parent); });
}

} // namespace worksheets::setup_situation
