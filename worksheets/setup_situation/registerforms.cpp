#include "worksheets/setup_situation/registerforms.h"

#include "worksheets/common/worksheetform.h"

namespace worksheets::setup_situation {

void RegisterForms() {}

} // namespace worksheets::setup_situation
