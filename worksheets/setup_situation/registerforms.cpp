#include "worksheets/setup_situation/registerforms.h"

#include "worksheets/common/worksheetform.h"
#include "worksheets/setup_situation/frm12import.h"
#include "worksheets/setup_situation/frm13rmas.h"
#include "worksheets/setup_situation/frm14nvctable.h"
#include "worksheets/setup_situation/frm15srmaster.h"
#include "worksheets/setup_situation/frm16costperacre.h"
#include "worksheets/setup_situation/frm22general.h"
#include "worksheets/setup_situation/frm23situation.h"
#include "worksheets/setup_situation/frm24valuesatrisk.h"

namespace worksheets::setup_situation {

void RegisterForms()
{
    RegisterWorksheetForm(QStringLiteral("tab12"), [](QWidget* parent) { return new frm12Import(parent); });
    RegisterWorksheetForm(QStringLiteral("tab13"), [](QWidget* parent) { return new frm13RMAs(parent); });
    RegisterWorksheetForm(QStringLiteral("tab14"), [](QWidget* parent) { return new frm14NVCTable(parent); });
    RegisterWorksheetForm(QStringLiteral("tab15"), [](QWidget* parent) { return new frm15SRMaster(parent); });
    RegisterWorksheetForm(QStringLiteral("tab16"), [](QWidget* parent) { return new frm16CostPerAcre(parent); });

    RegisterWorksheetForm(QStringLiteral("tab22"), [](QWidget* parent) { return new frm22General(parent); });
    RegisterWorksheetForm(QStringLiteral("tab23"), [](QWidget* parent) { return new frm23Situation(parent); });
    RegisterWorksheetForm(QStringLiteral("tab24"), [](QWidget* parent) { return new frm24ValuesAtRisk(parent); });
}

} // namespace worksheets::setup_situation
