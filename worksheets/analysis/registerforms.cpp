#include "worksheets/analysis/registerforms.h"

#include "worksheets/common/worksheetform.h"

namespace worksheets::analysis {

void RegisterForms() {}

} // namespace worksheets::analysis
