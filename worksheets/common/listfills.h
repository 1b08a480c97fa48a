#pragma once

// The model's fills of list boxes, combo boxes and the simple grids: each control shows the
// model's rows, with the record key (lists, FMU grid) or the object (values at risk) kept
// with each entry.

namespace grid {
class Grid;
}

namespace worksheets {

class ItemList;

void FillRMAList(ItemList& list);
void FillSummaryList(ItemList& list);
void FillAlternativeList(ItemList& list);
void FillFMUList(ItemList& list);
void FillSRTypeList(ItemList& list);

// Header row plus one row per FMU (its name in column 0); row data = the FMU key.
void FillFMUGrid(grid::Grid& grid);
// Header row plus one row per value at risk: name, potential loss, probability, value at
// risk; row data = the c36ThreatenedItem.
void FillValuesAtRiskGrid(grid::Grid& grid);
// The same with the name and the value at risk.
void FillValueAtRiskSummaryGrid(grid::Grid& grid);

} // namespace worksheets
