#pragma once

#include <functional>

namespace worksheets {

// The first half of showing another object: stores the one shown. When that fails, the
// control the user moved (a grid row, a list entry, an option) is put back, quietly, on the
// object still shown, so that what is typed next lands where the screen says; the error
// goes on to the program's guard.
inline void SaveOrPutBack(const std::function<void()>& save, const std::function<void()>& putBack)
{
    try {
        save();
    } catch (...) {
        putBack();
        throw;
    }
}

} // namespace worksheets
