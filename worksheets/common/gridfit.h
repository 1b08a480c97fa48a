#pragma once

#include <QSize>
#include <QStringList>

namespace grid {
class Grid;
}

namespace worksheets {

// Pixels a grid needs to show all its shown rows and columns without scrolling, its frame
// included: for grids whose size is fixed by their content (the NVC and cost tables), or as
// the widest a growing list should become.
QSize CellsSize(const grid::Grid& grid);

// Widens column c to the widest of texts in the grid's font (padding both sides); never narrows
// it, so the laid-out width holds wherever the font allows.
void WidenColumnToTexts(grid::Grid& grid, int c, const QStringList& texts);

} // namespace worksheets
