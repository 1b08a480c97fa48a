#pragma once

namespace worksheets::comparison_complexity {

// Registers this folder's worksheet forms under their ids.
void RegisterForms();

} // namespace worksheets::comparison_complexity
