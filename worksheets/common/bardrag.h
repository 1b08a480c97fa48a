#pragma once

#include <QObject>

#include <functional>

namespace grid {
class Grid;
}

namespace worksheets {

// A bar column that the user sets with the mouse (priorities, ratings, fire-intensity
// amounts). A press on the bar cell of a data row starts a drag on that row; moving with the
// left button held sets the bar again while the pointer is over that same cell or outside
// every cell, where the reading clamps to 0 or 1. Over another cell, OffBar::Stops makes that
// cell current and the updates stop; OffBar::Clamps keeps the pressed cell current (for the
// whole grid), so the reading clamps there too. Handlers the worksheet connects to the grid's
// mouse signals before creating this helper run first (a save before the press, for instance).
class BarDrag : public QObject {
    Q_OBJECT
public:
    enum class OffBar { Stops, Clamps };
    BarDrag(grid::Grid& grid, int barCol, OffBar offBar = OffBar::Stops);

    // Asked on a press on the bar cell; false leaves that row alone (a group row).
    std::function<bool(int row)> canDrag;
    // Sets the bar of row from a reading of 0 to 1 in tenths.
    std::function<void(int row, double fraction)> set;
    // Whether releasing the button sets the bar once more before the drag ends.
    bool setOnRelease = false;

    int dragRow() const { return mDragRow; }

private:
    bool onBar() const;

    grid::Grid& mGrid;
    int mBarCol;
    int mDragRow = 0;
};

} // namespace worksheets
