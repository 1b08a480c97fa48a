#include "worksheets/objectives_alternatives/registerforms.h"

#include "worksheets/common/worksheetform.h"

namespace worksheets::objectives_alternatives {

void RegisterForms() {}

} // namespace worksheets::objectives_alternatives
