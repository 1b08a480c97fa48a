#pragma once

// The model's fills of list boxes, combo boxes and the simple grids: each control shows the
// model's rows, with the record key (lists, FMU grid) or the object (values at risk) kept
// with each entry.

#include <QString>

#include <functional>

class QComboBox;
class QWidget;

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

// The FMU choice of a worksheet that shows one FMU's table at a time. Without FMUs the list
// and its label are hidden and showWholeFire shows the table of FMU key 0, the whole fire;
// otherwise the list is filled and its first FMU selected, which the list's click shows.
void ShowFirstFMU(ItemList& list, QWidget* label, const std::function<void()>& showWholeFire);

// Shows text in an editable combo box with the entry of that text made current (none when the
// text is no entry), so that the arrow keys move on from what is shown, not from the entry
// chosen last.
void ShowInCombo(QComboBox* combo, const QString& text);

// Header row plus one row per FMU (its name in column 0); row data = the FMU key.
void FillFMUGrid(grid::Grid& grid);
// Header row plus one row per value at risk: name, potential loss, probability, value at
// risk; row data = the c36ThreatenedItem.
void FillValuesAtRiskGrid(grid::Grid& grid);
// The same with the name and the value at risk.
void FillValueAtRiskSummaryGrid(grid::Grid& grid);

} // namespace worksheets
