#pragma once

#include <QObject>

namespace grid {
class Grid;
}
namespace model {
class c35AACTable;
}

namespace worksheets {

// The historic suppression cost per acre by fire size of one FMU, as a grid: two header rows,
// then the nine brackets (bracket i in row i + 1) with their From (derived, never edited), To
// and Cost. Shared by the Cost / Acre worksheet and the Cost by Fire Size dialogs.
//
// Typing goes into the table at every change of the editor's text, so figures computed from
// the table can follow (tableEdited). Escape puts the value from before the edit back; an
// empty text is 0 (for a To: no top size); a text that is not a number in the column's range
// is refused with a message when the edit ends and the value from before the edit is kept.
// The grid is the caller's; this object belongs to it (create it with new).
class CostSizeGrid : public QObject {
    Q_OBJECT
public:
    enum Column { From = 0, To = 1, Cost = 2, ColumnCount };
    static constexpr int kFirstRow = 2;
    static constexpr int kRowCount = 11;
    // Largest values the editors accept (their length limits are 9 and 7 characters).
    static constexpr double kMaxTopSize = 999999999.0;
    static constexpr double kMaxCost = 9999999.0;

    // Lays the grid out and takes over its edit events.
    explicit CostSizeGrid(grid::Grid* grid);

    // Shows the table (null: the grid is left empty and nothing can be edited).
    void Display(model::c35AACTable* table);
    model::c35AACTable* table() const { return mTable; }
    grid::Grid* grid() const { return mGrid; }

signals:
    // The table's values changed through the grid (typing, Escape, a refused value).
    void tableEdited();

private:
    void SetupGrid();
    void SetFromValue(int row, float previousTopSize);
    void EnterCell();
    void BeforeEdit(int row, int col, bool& cancel);
    void ChangeEdit();
    void AfterEdit(int row, int col);
    void EditCancelled(int row, int col);
    float CellValue(int bracket, int col) const;
    void SetCellValue(int bracket, int col, float value);
    void ShowValue(int row, int col);

    grid::Grid* mGrid;
    model::c35AACTable* mTable = nullptr;
    float mBeforeEdit = 0.0f;
};

} // namespace worksheets
