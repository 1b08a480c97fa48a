#include "worksheets/common/outcomegrids.h"

#include "core/uimode.h"
#include "model/g53outcomes.h"
#include "platform/grid/grid.h"
#include "platform/ui/screen.h"
#include "worksheets/common/gridfit.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QStringList>

#include <algorithm>
#include <functional>

namespace worksheets {

namespace {

constexpr Qt::Alignment kCentre = Qt::AlignCenter;
// The outcome names of the second column.
const QStringList kShortNames{QStringLiteral("Target"), QStringLiteral("Fallback")};

void AddOutcomeRow(grid::Grid& grid, const model::OutcomeRow& row)
{
    grid.addItem(QString());
    const int r = grid.rows() - 1;
    grid.setText(r, 0, row.label);
    grid.setText(r, 1, row.shortName);
    grid.setRowObject(r, row.outcome.get());
    if (row.extreme) {
        grid.setMergeRow(r, true);
        grid.setCellAlignment(r, 0, r, 0, kCentre);
    }
}

// Runs f on the outcome of every data row that has one.
void ForEachOutcome(grid::Grid& grid, const std::function<void(int, model::c53Outcome&)>& f)
{
    for (int r = grid.fixedRows(); r < grid.rows(); ++r)
        if (auto* outcome = grid.rowObject<model::c53Outcome>(r))
            f(r, *outcome);
}

} // namespace

void SetupOutcomeGrid(grid::Grid& grid)
{
    for (int c = 0; c < grid.cols(); ++c) {
        grid.setColAlignment(c, kCentre);
        grid.setFixedAlignment(c, kCentre);
    }
    grid.setColAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
    grid.setColWidth(0, 2700);
    grid.setColWidth(1, 675);
    grid.setRows(1);
    grid.setText(0, 0, QStringLiteral("Outcomes"));
    grid.setText(0, 1, QStringLiteral("Outcomes"));
    grid.setMergeRow(0, true);
    WidenColumnToTexts(grid, 1, kShortNames);
}

void SetupOutcomeAcresGrid(grid::Grid& grid)
{
    SetupOutcomeGrid(grid);
    grid.setColWidth(2, 900);
    grid.setText(0, 2, QStringLiteral("Acres"));
    WidenColumnToTexts(grid, 2, {grid.text(0, 2)});
}

void SetupOutcomeTimesGrid(grid::Grid& grid)
{
    SetupOutcomeAcresGrid(grid);
    grid.setColWidth(3, 720);
    grid.setColWidth(4, 720);
    grid.setText(0, 3, QStringLiteral("Contain"));
    grid.setText(0, 4, QStringLiteral("Control"));
    WidenColumnToTexts(grid, 3, {grid.text(0, 3)});
    WidenColumnToTexts(grid, 4, {grid.text(0, 4)});
}

void FitOutcomeColumnsToFont(grid::Grid& grid)
{
    for (int c = 1; c < grid.cols(); ++c)
        WidenColumnToTexts(grid, c, c == 1 ? kShortNames : QStringList{grid.text(0, c)});
    // Room for every column beside the vertical scroll bar, so no column hides off the edge.
    grid.setMinimumWidth(CellsSize(grid).width() + grid.verticalScrollBar()->sizeHint().width());
}

void HighlightOutcomeRow(grid::Grid& grid, int row)
{
    if (grid.rows() <= grid.fixedRows() || grid.cols() == 0)
        return;
    const int last = grid.cols() - 1;
    grid.setCellBackColor(grid.fixedRows(), 0, grid.rows() - 1, last, QColor());
    if (row >= grid.fixedRows() && row < grid.rows())
        grid.setCellBackColor(row, 0, row, last, QColor(0xD6, 0xE8, 0xFF));
}

void FillAlternativeOutcomeRows(grid::Grid& grid)
{
    core::BusyScope busy;
    grid.setRows(1);
    for (const model::OutcomeRow& row : model::AlternativeOutcomeRows())
        AddOutcomeRow(grid, row);
}

void FillOutcomeRows(grid::Grid& grid)
{
    core::BusyScope busy;
    FillAlternativeOutcomeRows(grid);
    const auto extreme = model::GetExtremeOutcome();
    AddOutcomeRow(grid, {extreme->ShortName(), extreme->ShortName(), extreme, true});
}

void FillOutcomeAcres(grid::Grid& grid)
{
    ForEachOutcome(grid, [&](int r, model::c53Outcome& o) { grid.setText(r, 2, model::OutcomeAcresText(o)); });
}

void FillOutcomeTimes(grid::Grid& grid)
{
    ForEachOutcome(grid, [&](int r, model::c53Outcome& o) {
        grid.setText(r, 2, model::OutcomeAcresText(o));
        grid.setText(r, 3, model::OutcomeContainText(o));
        grid.setText(r, 4, model::OutcomeControlText(o));
    });
}

void ShowOutcomeAcres(grid::Grid& grid)
{
    FillOutcomeRows(grid);
    FillOutcomeAcres(grid);
}

void ShowOutcomeTimes(grid::Grid& grid)
{
    FillOutcomeRows(grid);
    FillOutcomeTimes(grid);
}

void FillOutcomeLossColumns(grid::Grid& grid)
{
    ForEachOutcome(grid, [&](int r, model::c53Outcome& o) {
        grid.setText(r, 3, model::OutcomeImpactPerAcreText(o));
        grid.setText(r, 4, model::OutcomeNVCLossText(o));
    });
}

void FillOutcomeCostColumns(grid::Grid& grid)
{
    ForEachOutcome(grid, [&](int r, model::c53Outcome& o) {
        grid.setText(r, 3, model::OutcomeCostPerAcreText(o));
        grid.setText(r, 4, model::OutcomeCostBySizeText(o));
    });
}

} // namespace worksheets
