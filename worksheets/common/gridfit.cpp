#include "worksheets/common/gridfit.h"

#include "platform/grid/grid.h"
#include "platform/ui/screen.h"

#include <QFontMetrics>

#include <algorithm>

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

void WidenColumnToTexts(grid::Grid& grid, int c, const QStringList& texts)
{
    const QFontMetrics metrics(grid.font());
    const int padding = 12;   // pixels, both sides of the text
    int widest = 0;
    for (const QString& t : texts)
        widest = std::max(widest, metrics.horizontalAdvance(t) + padding);
    grid.setColWidth(c, std::max(grid.colWidth(c), ui::PixelsToTwips(widest)));
}

} // namespace worksheets
