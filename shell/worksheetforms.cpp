#include "shell/worksheetforms.h"

#include "reports/registerforms.h"
#include "worksheets/analysis/registerforms.h"
#include "worksheets/comparison_complexity/registerforms.h"
#include "worksheets/objectives_alternatives/registerforms.h"
#include "worksheets/setup_situation/registerforms.h"

namespace shell {

void RegisterWorksheetForms()
{
    worksheets::setup_situation::RegisterForms();
    worksheets::objectives_alternatives::RegisterForms();
    worksheets::analysis::RegisterForms();
    worksheets::comparison_complexity::RegisterForms();
    reports::RegisterForms();
}

} // namespace shell
