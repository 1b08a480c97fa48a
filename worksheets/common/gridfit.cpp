#include "worksheets/common/gridfit.h"

#include "platform/grid/grid.h"
#include "platform/ui/screen.h"

namespace worksheets {

QSize CellsSize(const grid::Grid& grid)
{
    int width = 0;
    for (int c = 0; c < grid.cols(); ++c)
        if (!grid.colHidden(c))
            width += ui::TwipsToPixels(grid.colWidth(c));
    int height = 0;
    for (int r = 0; r < grid.rows(); ++r)
        height += ui::TwipsToPixels(grid.rowHeight(r));
    const int frame = 2 * grid.frameWidth() + 2;
    return {width + frame, height + frame};
}

} // namespace worksheets
