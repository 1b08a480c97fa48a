#pragma once

#include <QSize>

namespace grid {
class Grid;
}

namespace worksheets {

// Pixels a grid needs to show all its shown rows and columns without scrolling, its frame
// included: for grids whose size is fixed by their content (the NVC and cost tables), or as
// the widest a growing list should become.
QSize CellsSize(const grid::Grid& grid);

} // namespace worksheets
