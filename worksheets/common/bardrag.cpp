#include "worksheets/common/bardrag.h"

#include "platform/grid/grid.h"
#include "platform/ui/guard.h"

namespace worksheets {

BarDrag::BarDrag(grid::Grid& grid, int barCol)
    : QObject(&grid)
    , mGrid(grid)
    , mBarCol(barCol)
{
    // A drag that wandered into another cell would otherwise stop at whatever value it had
    // reached there, which the user cannot see from where the pointer is.
    grid.setCurrentFollowsDrag(false);
    connect(&grid, &grid::Grid::mouseDown, this, ui::Guarded([this](int button, int, double x, double) {
        mDragRow = 0;
        if (button != 1 || mGrid.row() < mGrid.fixedRows() || mGrid.col() != mBarCol)
            return;
        if (canDrag && !canDrag(mGrid.row()))
            return;
        mDragRow = mGrid.row();
        if (set)
            set(mDragRow, mGrid.barFraction(x));
    }));
    connect(&grid, &grid::Grid::mouseMove, this, ui::Guarded([this](int button, int, double x, double) {
        if ((button & 1) && onBar() && set)
            set(mDragRow, mGrid.barFraction(x));
    }));
    connect(&grid, &grid::Grid::mouseUp, this, ui::Guarded([this](int button, int, double x, double) {
        if (setOnRelease && button == 1 && onBar() && set)
            set(mDragRow, mGrid.barFraction(x));
        mDragRow = 0;
    }));
}

bool BarDrag::onBar() const
{
    return mDragRow > 0 && mGrid.row() == mDragRow && mGrid.col() == mBarCol;
}

} // namespace worksheets
