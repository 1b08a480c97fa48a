#pragma once

namespace worksheets::objectives_alternatives {

// Registers this folder's worksheet forms under their ids.
void RegisterForms();

} // namespace worksheets::objectives_alternatives
