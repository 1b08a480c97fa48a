#pragma once

// The grid's inside, shared by its parts: construction, shape and content (grid.cpp), the sizes
// of columns and rows (gridsizes.cpp), the frozen panes (gridfrozen.cpp), merging
// (gridmerge.cpp), editing and the clipboard (gridediting.cpp), and the current cell with the
// keys and mouse that move it (gridinput.cpp). Nothing outside platform/grid includes it.

#include "platform/ui/screen.h"

namespace grid {

inline int twipsToPixels(int twips) { return ui::TwipsToPixels(twips); }
inline double pixelsToTwips(double pixels) { return pixels / ui::PixelsPerTwip(); }

} // namespace grid
