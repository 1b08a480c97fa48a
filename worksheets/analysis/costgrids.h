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
// The outcome of the grid's current row becomes the one shown: save stores the outcome
// shown, show fills the controls with current set to the new one. Nothing happens when the
// row holds no outcome or the one shown; when the save fails the outcome shown stays, its
// row current again, and the error goes on to the caller.
void SwitchOutcome(grid::Grid& grid, model::c53Outcome*& current, const std::function<void()>& save,
                   const std::function<void()>& show);
// Wide enough for every column, so the outcome grids show whole.
void FitGridWidth(grid::Grid& grid);
// Widens the columns whose texts (headers included) are wider than the column in the font on
// screen, then fits the grid to them; the merged name cells of the Extreme row and the
// "Outcomes" header are left to the two columns they span. The names of nameCol keep the
// column's width: a longer one is cut there, and told whole in its tooltip.
void WidenColumnsToTexts(grid::Grid& grid, int nameCol = 0);
// Tall enough for its rows, up to maxRows data rows, so a short list of outcomes shows whole.
void FitGridHeight(grid::Grid& grid, int maxRows);

} // namespace worksheets
