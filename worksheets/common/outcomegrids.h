#pragma once

// Layout and fill of the grids that list outcomes: "Outcomes" (alternative label and the
// outcome's short name), "Acres", "Contain", "Control", one row per shown outcome with the
// c53Outcome as the row's object, the shared Extreme outcome last where it is listed.

namespace grid {
class Grid;
}

namespace worksheets {

// For a grid whose column count the caller has set.
void SetupOutcomeGrid(grid::Grid& grid);
void SetupOutcomeAcresGrid(grid::Grid& grid);
void SetupOutcomeTimesGrid(grid::Grid& grid);
// Widens the columns after the label column where the grid's font cannot show a header or
// an outcome's short name ("Fallback") in the laid-out width; never narrows one. The grid
// then asks for the width of all its columns.
void FitOutcomeColumnsToFont(grid::Grid& grid);
// Shades the data row of the outcome the form shows (and no other), so that it is plain on
// which outcome the boxes beside the grid act.
void HighlightOutcomeRow(grid::Grid& grid, int row);

// Under the busy counter: header row, then each alternative's Target and, when shown, its
// Fallback.
void FillAlternativeOutcomeRows(grid::Grid& grid);
// FillAlternativeOutcomeRows, then the Extreme outcome's row, merged and centred.
void FillOutcomeRows(grid::Grid& grid);
void FillOutcomeAcres(grid::Grid& grid);
void FillOutcomeTimes(grid::Grid& grid);
void ShowOutcomeAcres(grid::Grid& grid);
void ShowOutcomeTimes(grid::Grid& grid);
void FillOutcomeLossColumns(grid::Grid& grid);
void FillOutcomeCostColumns(grid::Grid& grid);

} // namespace worksheets
