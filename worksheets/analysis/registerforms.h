#pragma once

namespace worksheets::analysis {

// Registers this folder's worksheet forms under their ids.
void RegisterForms();

} // namespace worksheets::analysis
