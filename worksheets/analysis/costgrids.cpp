#include "worksheets/analysis/costgrids.h"

#include "core/uimode.h"
#include "model/c53outcome.h"
#include "platform/grid/grid.h"
#include "platform/grid/numberformat.h"
#include "platform/ui/screen.h"
#include "worksheets/common/gridfit.h"
#include "worksheets/common/outcomegrids.h"
#include "worksheets/common/worksheetform.h"

#include <QFontMetrics>
#include <QScrollBar>

#include <algorithm>

namespace worksheets {

void SetupCostColumnGrid(grid::Grid& grid)
{
    grid.setCols(6);
    SetupOutcomeTimesGrid(grid);
    grid.setColWidth(5, 1200);
    grid.setColAlignment(5, Qt::AlignRight | Qt::AlignVCenter);
    grid.setText(0, 5, QStringLiteral("Cost"));
    FitGridWidth(grid);
}

void ShowCostColumn(grid::Grid& grid, int col, const std::function<float(model::c53Outcome&)>& figure)
{
    for (int r = grid.fixedRows(); r < grid.rows(); ++r)
        if (auto* o = grid.rowObject<model::c53Outcome>(r))
            grid.setText(r, col, grid::FormatNumber(double(figure(*o)), QStringLiteral("#,0")));
}

int StartRow(const grid::Grid& grid, const model::c53Outcome* outcome)
{
    if (grid.rows() <= grid.fixedRows())
        return -1;
    const int r = outcome ? grid.findRowObject(outcome) : -1;
    return r >= grid.fixedRows() ? r : grid.fixedRows();
}

void SwitchOutcome(grid::Grid& grid, model::c53Outcome*& current, const std::function<void()>& save,
                   const std::function<void()>& show)
{
    auto* next = grid.rowObject<model::c53Outcome>(grid.row());
    if (!next || next == current)
        return;
    model::c53Outcome* shown = current;
    try {
        SwitchShownObject(save, [&] {
            current = next;
            show();
        });
    } catch (...) {
        current = shown;
        if (shown) {
            core::BusyScope busy;
            grid.setRow(grid.findRowObject(shown));
        }
        throw;
    }
}

void WidenColumnsToTexts(grid::Grid& grid, int nameCol)
{
    const QFontMetrics metrics(grid.font());
    for (int c = 0; c < grid.cols(); ++c) {
        int pixels = 0;
        for (int r = 0; r < (c == nameCol ? grid.fixedRows() : grid.rows()); ++r) {
            const bool spans = c < 2 && grid.cols() > 1 && grid.text(r, 0) == grid.text(r, 1);
            if (spans)
                continue;
            for (const QString& line : grid.displayText(r, c).split(QLatin1Char('\r')))
                pixels = std::max(pixels, metrics.horizontalAdvance(line));
        }
        const int twips = ui::PixelsToTwips(pixels + 12);
        if (twips > grid.colWidth(c))
            grid.setColWidth(c, twips);
    }
    FitGridWidth(grid);
}

void FitGridHeight(grid::Grid& grid, int maxRows)
{
    int pixels = 2 * grid.frameWidth() + 2;
    for (int r = 0; r < grid.rows() && r <= maxRows; ++r)
        pixels += ui::TwipsToPixels(grid.rowHeight(r));
    grid.setMinimumHeight(pixels);
}

void FitGridWidth(grid::Grid& grid)
{
    grid.setMinimumWidth(CellsSize(grid).width() + grid.verticalScrollBar()->sizeHint().width());
}

} // namespace worksheets
