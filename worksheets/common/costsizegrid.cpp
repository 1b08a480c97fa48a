#include "worksheets/common/costsizegrid.h"

#include "core/u91trace.h"
#include "core/uimode.h"
#include "model/c35aactable.h"
#include "model/textnumbers.h"
#include "platform/grid/grid.h"
#include "platform/ui/guard.h"
#include "platform/ui/prompter.h"
#include "platform/ui/screen.h"

#include <algorithm>

namespace worksheets {

namespace {

const QString kSizeHeader = QStringLiteral("Fire size, in acres");
const QString kCostHeader = QStringLiteral("Suppression cost\rper acre");

} // namespace

CostSizeGrid::CostSizeGrid(grid::Grid* grid)
    : QObject(grid), mGrid(grid)
{
    SetupGrid();
    connect(mGrid, &grid::Grid::enterCell, this, ui::Guarded(this, &CostSizeGrid::EnterCell));
    connect(mGrid, &grid::Grid::beforeEdit, this, ui::Guarded(this, &CostSizeGrid::BeforeEdit));
    connect(mGrid, &grid::Grid::changeEdit, this, ui::Guarded(this, &CostSizeGrid::ChangeEdit));
    connect(mGrid, &grid::Grid::afterEdit, this, ui::Guarded(this, &CostSizeGrid::AfterEdit));
    connect(mGrid, &grid::Grid::editCancelled, this, ui::Guarded(this, &CostSizeGrid::EditCancelled));
}

void CostSizeGrid::SetupGrid()
{
    grid::Grid& g = *mGrid;
    g.setCols(ColumnCount);
    g.setFixedCols(0);
    g.setRows(kRowCount);
    g.setFixedRows(kFirstRow);
    const int widths[ColumnCount] = {1400, 1400, 1440};
    const QString formats[ColumnCount] = {QStringLiteral("#,#.00"), QStringLiteral("#,#.00"), QStringLiteral("$#,#")};
    const grid::DataType types[ColumnCount] = {grid::DataType::Single, grid::DataType::Single, grid::DataType::Currency};
    for (int c = 0; c < ColumnCount; ++c) {
        g.setColWidth(c, widths[c]);
        g.setColAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        g.setFixedAlignment(c, Qt::AlignCenter);
        g.setColFormat(c, formats[c]);
        g.setColDataType(c, types[c]);
    }
    // The cost header's longer line shows whole in the font on screen.
    const int headerPixels = g.fontMetrics().horizontalAdvance(QStringLiteral("Suppression cost")) + 16;
    g.setColWidth(Cost, std::max(widths[Cost], ui::PixelsToTwips(headerPixels)));
    g.setText(0, From, kSizeHeader);
    g.setText(0, To, kSizeHeader);
    g.setText(1, From, QStringLiteral("From"));
    g.setText(1, To, QStringLiteral("To"));
    g.setText(0, Cost, kCostHeader);
    g.setText(1, Cost, kCostHeader);
    // Only the headers merge: brackets of equal cost stay cells of their own.
    g.setMergeRow(0, true);
    g.setMergeCol(Cost, true, true);
    g.setEditable(true);
}

void CostSizeGrid::Display(model::c35AACTable* table)
{
    mTable = table;
    grid::Grid& g = *mGrid;
    for (int r = kFirstRow; r < kRowCount; ++r)
        for (int c = 0; c < ColumnCount; ++c)
            g.setText(r, c, QString());
    if (!mTable)
        return;
    g.setText(kFirstRow, From, QStringLiteral("0"));
    for (int i = 1; i <= model::kCostBracketCount; ++i) {
        ShowValue(i + 1, To);
        ShowValue(i + 1, Cost);
        if (i < model::kCostBracketCount)
            SetFromValue(i + 2, mTable->TopSize(i));
    }
}

void CostSizeGrid::SetFromValue(int row, float previousTopSize)
{
    mGrid->setText(row, From, model::NextFromText(previousTopSize));
}

float CostSizeGrid::CellValue(int bracket, int col) const
{
    return col == To ? mTable->TopSize(bracket) : mTable->Cost(bracket);
}

void CostSizeGrid::SetCellValue(int bracket, int col, float value)
{
    if (col == To)
        mTable->SetTopSize(bracket, value);
    else
        mTable->SetCost(bracket, value);
}

void CostSizeGrid::ShowValue(int row, int col)
{
    const float v = CellValue(row - 1, col);
    // A bracket without a top size shows an empty To; a cost of 0 is shown.
    mGrid->setText(row, col, col == To && v <= 0.0f ? QString() : model::textnum::SingleText(v));
}

void CostSizeGrid::EnterCell()
{
    core::Trace(QStringLiteral("grdCosts_EnterCell"));
    if (!mTable || !core::IsIdle())
        return;
    if (mGrid->row() >= kFirstRow && (mGrid->col() == To || mGrid->col() == Cost))
        mGrid->editCell();
}

void CostSizeGrid::BeforeEdit(int row, int col, bool& cancel)
{
    if (!mTable || row < kFirstRow || col == From) {
        cancel = true;
        return;
    }
    mGrid->setEditMaxLength(col == To ? 9 : 7);
    mBeforeEdit = CellValue(row - 1, col);
}

namespace {

// An editor text as a To or Cost: empty is 0, otherwise a typed number from 0 to max.
bool ReadCellText(const QString& text, double max, float* value)
{
    double v = 0;
    if (!model::textnum::ReadTypedValue(text, 0.0, max, &v))
        return false;
    *value = float(v);
    return true;
}

} // namespace

void CostSizeGrid::ChangeEdit()
{
    const int row = mGrid->row();
    const int col = mGrid->col();
    if (!mTable || row < kFirstRow || col == From)
        return;
    float v = 0.0f;
    // A text on its way to a number ("1e") leaves the last good value in place.
    if (!ReadCellText(mGrid->editText(), col == To ? kMaxTopSize : kMaxCost, &v))
        return;
    SetCellValue(row - 1, col, v);
    emit tableEdited();
}

void CostSizeGrid::AfterEdit(int row, int col)
{
    core::Trace(QStringLiteral("grdCosts_AfterEdit ") + QString::number(row) + QStringLiteral(", ") + QString::number(col));
    if (!mTable || row < kFirstRow || col == From)
        return;
    float v = 0.0f;
    if (ReadCellText(mGrid->text(row, col), col == To ? kMaxTopSize : kMaxCost, &v)) {
        SetCellValue(row - 1, col, v);
    } else {
        SetCellValue(row - 1, col, mBeforeEdit);
        ui::MsgBox(col == To ? QStringLiteral("The fire size must be a number from 0 to 999,999,999 acres.")
                             : QStringLiteral("The cost per acre must be a number from 0 to 9,999,999 dollars."),
                   ui::Buttons::OK, ui::Icon::Warning);
    }
    ShowValue(row, col);
    if (col == To && row < kRowCount - 1)
        SetFromValue(row + 1, mTable->TopSize(row - 1));
    emit tableEdited();
}

void CostSizeGrid::EditCancelled(int row, int col)
{
    if (!mTable || row < kFirstRow || col == From)
        return;
    SetCellValue(row - 1, col, mBeforeEdit);
    emit tableEdited();
}

} // namespace worksheets
