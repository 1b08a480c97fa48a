#pragma once

#include <functional>

namespace grid {
class Grid;
}
namespace model {
class c53Outcome;
}

// What the cost worksheet and its dialogs share about their outcome grids.
namespace worksheets {

// The outcome grid with times (outcome, "Acres", "Contain", "Control") and a last column
// "Cost", right-aligned.
void SetupCostColumnGrid(grid::Grid& grid);
// Column col of every data row: the row outcome's figure, formatted "#,0".
void ShowCostColumn(grid::Grid& grid, int col, const std::function<float(model::c53Outcome&)>& figure);
// The grid row a dialog opens on: the outcome chosen on the worksheet, or the first data row
// when it is not listed; -1 when the grid has no data row.
int StartRow(const grid::Grid& grid, const model::c53Outcome* outcome);
// Wide enough for every column, so the outcome grids show whole.
void FitGridWidth(grid::Grid& grid);

} // namespace worksheets
