#include "shell/worksheetforms.h"

#include "worksheets/analysis/registerforms.h"
#include "worksheets/comparison_complexity/registerforms.h"
#include "worksheets/objectives_alternatives/registerforms.h"
#include "worksheets/report/registerforms.h"
#include "worksheets/setup_situation/registerforms.h"

namespace shell {

void RegisterWorksheetForms()
{
    worksheets::setup_situation::RegisterForms();
    worksheets::objectives_alternatives::RegisterForms();
    worksheets::analysis::RegisterForms();
    worksheets::comparison_complexity::RegisterForms();
    worksheets::report::RegisterForms();
}

} // namespace shell
