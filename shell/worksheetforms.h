#pragma once

namespace shell {

// Registers the forms of every worksheet library by id; a worksheet without a registered
// form shows a page with its caption.
void RegisterWorksheetForms();

} // namespace shell
