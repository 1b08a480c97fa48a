#include "worksheets/analysis/registerforms.h"

#include "worksheets/analysis/frm56_costsummary.h"
#include "worksheets/common/worksheetform.h"

namespace worksheets::analysis {

void RegisterForms()
{
    // Cost Summary
    RegisterWorksheetForm(QStringLiteral("tab56"), [](QWidget* parent) { return new frm56_CostSummary(parent); });
}

} // namespace worksheets::analysis
