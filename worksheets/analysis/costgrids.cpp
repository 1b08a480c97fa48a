#include "worksheets/analysis/costgrids.h"

#include "model/c53outcome.h"
#include "platform/grid/grid.h"
#include "platform/grid/numberformat.h"
#include "worksheets/common/gridfit.h"
#include "worksheets/common/outcomegrids.h"

#include <QScrollBar>

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

void FitGridWidth(grid::Grid& grid)
{
    grid.setMinimumWidth(CellsSize(grid).width() + grid.verticalScrollBar()->sizeHint().width());
}

} // namespace worksheets
