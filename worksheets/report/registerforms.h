#pragma once

namespace worksheets::report {

// Registers the two report worksheets ("tab82", "tab83") and installs the report run that the
// preview window starts again.
void RegisterForms();

}  // namespace worksheets::report
