#include "worksheets/setup_situation/frm16costperacre.h"

#include "platform/ui/guard.h"
#include "worksheets/common/costsizegrid.h"
#include "worksheets/common/gridfit.h"
#include "worksheets/common/itemlist.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/wrappedlist.h"

#include "core/u91trace.h"
#include "core/uimode.h"
#include "model/c35aactable.h"
#include "model/g33fmus.h"
#include "platform/grid/grid.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace worksheets {

frm16CostPerAcre::frm16CostPerAcre(QWidget* parent)
    : WorksheetForm(QStringLiteral("frm16CostPerAcre"), parent)
{
    lblFMU = new QLabel(QStringLiteral("FMU"), this);
    cboFMU = new LongChoiceBox(this);
    cboFMU->setMinimumContentsLength(24);
    mFMUs = new ItemList(cboFMU);
    grdCosts = new grid::Grid(this);
    grdCosts->setObjectName(QStringLiteral("grdCosts"));
    mCosts = new CostSizeGrid(grdCosts);

    auto* fmuRow = new QHBoxLayout;
    fmuRow->addWidget(lblFMU);
    fmuRow->addWidget(cboFMU);
    fmuRow->addStretch();
    auto* gridRow = new QHBoxLayout;
    gridRow->addWidget(grdCosts);
    gridRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fmuRow);
    layout->addLayout(gridRow);
    layout->addStretch();

    connect(mFMUs, &ItemList::click, this, ui::Guarded(this, &frm16CostPerAcre::cboFMU_Click));
}

model::c35AACTable* frm16CostPerAcre::currentTable() const { return mCosts->table(); }

void frm16CostPerAcre::Setup()
{
    BeginSetup(QStringLiteral("frmCostPerAcre.Setup"));
    core::BusyScope busy;
    SetupGrid();
    ShowFirstFMU(*mFMUs, lblFMU, [this] {
        mFMUKey = 0;
        DisplayData();
    });
}

void frm16CostPerAcre::SetupGrid()
{
    // The layout itself is the shared cost grid's; the worksheet shows the grid whole.
    grdCosts->setFixedSize(CellsSize(*grdCosts));
}

void frm16CostPerAcre::DisplayData() { mCosts->Display(model::GetAACTable(mFMUKey)); }

void frm16CostPerAcre::SaveChanges()
{
    core::Trace(QStringLiteral("frm16CostPerAcre.SaveChanges"));
    if (auto* table = mCosts->table())
        table->SaveChanges();
}

void frm16CostPerAcre::cboFMU_Click()
{
    core::Trace(QStringLiteral("frmCostPerAcre.cboFMU_Click"));
    // The selection Setup makes has nothing before it to store.
    const bool byUser = core::IsIdle();
    SwitchShownObject(
        [this, byUser] {
            if (byUser)
                SaveChanges();
        },
        [this] {
            mFMUKey = mFMUs->currentKey();
            DisplayData();
        });
}

} // namespace worksheets
