#include "worksheets/analysis/registerforms.h"

#include "worksheets/analysis/frm53ratings.h"
#include "worksheets/analysis/frm54valuesprotected.h"
#include "worksheets/analysis/frm55natres.h"
#include "worksheets/analysis/frm55natresfmu.h"
#include "worksheets/analysis/frm56_costsummary.h"
#include "worksheets/common/worksheetform.h"

namespace worksheets::analysis {

void RegisterForms()
{
    RegisterWorksheetForm(QStringLiteral("tab52"), [](QWidget* parent) { return new frm52SafetyRatings(parent); });
    RegisterWorksheetForm(QStringLiteral("tab53"), [](QWidget* parent) { return new frm53Ratings(parent); });
    RegisterWorksheetForm(QStringLiteral("tab54"), [](QWidget* parent) { return new frm54ValuesProtected(parent); });
    RegisterWorksheetForm(QStringLiteral("tab55a"), [](QWidget* parent) { return new frm55NatRes(parent); });
    RegisterWorksheetForm(QStringLiteral("tab55b"), [](QWidget* parent) { return new frm55NatResFMU(parent); });
    // Cost Summary
    RegisterWorksheetForm(QStringLiteral("tab56"), [](QWidget* parent) { return new frm56_CostSummary(parent); });
}

} // namespace worksheets::analysis
