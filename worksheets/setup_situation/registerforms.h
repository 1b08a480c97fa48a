#pragma once

namespace worksheets::setup_situation {

// Registers this folder's worksheet forms under their ids.
void RegisterForms();

} // namespace worksheets::setup_situation
