#pragma once

#include <functional>

namespace core {

// Runs a save (a worksheet's, when it is left) in one transaction of the open data file: all
// of it is stored or none of it, even if the program is killed part way, and when it fails the
// objects it had saved take their edits for unsaved again, so the next save writes them. The
// error still reaches the caller. With no file open the save runs as it is.
void SaveAllOrNothing(const std::function<void()>& save);

} // namespace core
