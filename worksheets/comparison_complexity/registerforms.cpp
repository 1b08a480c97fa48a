#include "worksheets/comparison_complexity/registerforms.h"

#include "worksheets/common/worksheetform.h"

namespace worksheets::comparison_complexity {

void RegisterForms() {}

} // namespace worksheets::comparison_complexity
