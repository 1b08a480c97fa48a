#include "worksheets/setup_situation/registerforms.h"

#include "worksheets/common/worksheetform.h"
#include "worksheets/setup_situation/frm14nvctable.h"
#include "worksheets/setup_situation/frm15srmaster.h"
#include "worksheets/setup_situation/frm16costperacre.h"

namespace worksheets::setup_situation {

void RegisterForms()
{
    RegisterWorksheetForm(QStringLiteral("tab14"), [](QWidget* p) { return new frm14NVCTable(p); });
    RegisterWorksheetForm(QStringLiteral("tab15"), [](QWidget* p) { return new frm15SRMaster(p); });
    RegisterWorksheetForm(QStringLiteral("tab16"), [](QWidget* p) { return new frm16CostPerAcre(p); });
}

} // namespace worksheets::setup_situation
