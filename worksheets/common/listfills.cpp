#include "worksheets/common/listfills.h"

#include "worksheets/common/itemlist.h"

#include "core/g13rmas.h"
#include "core/g8summary.h"
#include "model/g33fmus.h"
#include "model/g36threateneditems.h"
#include "model/g38srtypes.h"
#include "model/g51alternatives.h"
#include "platform/grid/grid.h"

#include <QComboBox>
#include <QWidget>

namespace worksheets {

namespace {

void Fill(ItemList& list, const QList<core::ListEntry>& entries)
{
    list.clear();
    for (const core::ListEntry& e : entries)
        list.addItem(e.Text, e.Key);
}

void FillItemGrid(grid::Grid& grid, const QList<model::ThreatenedItemRow>& rows)
{
    grid.setRows(1);
    for (const model::ThreatenedItemRow& row : rows) {
        // Cell by cell, so a tab typed into a name cannot shift the columns.
        grid.addItem(QString());
        const int r = grid.rows() - 1;
        for (int c = 0; c < row.cells.size(); ++c)
            grid.setText(r, c, row.cells[c]);
        grid.setRowObject(r, row.item.get());
    }
}

} // namespace

void FillRMAList(ItemList& list) { Fill(list, core::RMAListEntries()); }
void FillSummaryList(ItemList& list) { Fill(list, core::SummaryListEntries()); }
void FillAlternativeList(ItemList& list) { Fill(list, model::AlternativeListEntries()); }
void FillFMUList(ItemList& list) { Fill(list, model::FMUListEntries()); }

void FillSRTypeList(ItemList& list) { Fill(list, model::SRTypeListEntries()); }

void ShowFirstFMU(ItemList& list, QWidget* label, const std::function<void()>& showWholeFire)
{
    if (model::FMUCount() < 1) {
        list.widget()->hide();
        label->hide();
        showWholeFire();
    } else {
        FillFMUList(list);
        list.setListIndex(0);
    }
}

void FillFMUGrid(grid::Grid& grid)
{
    grid.setRows(1);
    for (const core::ListEntry& e : model::FMUListEntries()) {
        grid.addItem(QString());
        grid.setText(grid.rows() - 1, 0, e.Text);
        grid.setRowData(grid.rows() - 1, e.Key);
    }
}

void FillValuesAtRiskGrid(grid::Grid& grid) { FillItemGrid(grid, model::ValuesAtRiskRows()); }
void FillValueAtRiskSummaryGrid(grid::Grid& grid) { FillItemGrid(grid, model::ValueAtRiskSummaryRows()); }

void ShowInCombo(QComboBox* combo, const QString& text)
{
    combo->setCurrentIndex(combo->findText(text));
    combo->setEditText(text);
}

} // namespace worksheets
