#pragma once

#include <QObject>

#include <functional>

namespace grid {
class Grid;
}

namespace worksheets {

// A bar column that the user sets with the mouse (priorities, ratings, fire-intensity
// amounts). A press on the bar cell of a data row starts a drag on that row; moving with the
// left button held sets that row's bar again until the button is released. The pressed cell
// stays current for the whole drag, wherever the pointer wanders, so every bar of the program
// follows one rule: past the bar's left end it reads 0, past its right end 1, and above or
// below it the reading follows the pointer across the bar's width. Handlers the worksheet
// connects to the grid's mouse signals before creating this helper run first (a save before
// the press, for instance).
class BarDrag : public QObject {
    Q_OBJECT
public:
    BarDrag(grid::Grid& grid, int barCol);

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
