#include "worksheets/analysis/frm55natresfmu.h"

#include "core/u14properties.h"
#include "core/uimode.h"
#include "model/c33fmu.h"
#include "model/c34nvctable.h"
#include "model/c53outcome.h"
#include "model/c64burnarea.h"
#include "model/g33fmus.h"
#include "model/textnumbers.h"
#include "platform/grid/grid.h"
#include "platform/grid/numberformat.h"
#include "platform/ui/guard.h"
#include "worksheets/analysis/frm55filpercents.h"
#include "worksheets/common/gridfit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

namespace worksheets {

namespace {

// No taller than the six levels (a scroll bar spare, for many FMUs), so the outcomes take the
// rest of the page; the totals as wide as their figures.
void FitDetailGrids(grid::Grid& compute, grid::Grid& totals)
{
    const QSize cells = CellsSize(compute);
    compute.setMaximumSize(cells.width(), cells.height() + compute.horizontalScrollBar()->sizeHint().height());
    totals.setFixedWidth(CellsSize(totals).width());
    totals.setMaximumHeight(compute.maximumHeight());
}

} // namespace

frm55NatResFMU::frm55NatResFMU(QWidget* parent)
    : NatResForm(QStringLiteral("frm55NatResFMU"),
                 {tr("This worksheet shows the impacts to natural resource values, based on Net Value Change (NVC) "
                     "tables.  Each FMU may have a different NVC table.  The impact of the fire is determined by the "
                     "NVC table for each FMU, the fire intensity levels in each FMU, and how much of the fire burns in "
                     "each FMU in each outcome."),
                  tr("To review or change the NVC tables, go to the NVC Table worksheet of the Setup section.")},
                 tr("Detail Table: Computation of impact for the selected Outcome."), parent)
{
    mTotals = new grid::Grid(this);
    mTotals->setObjectName(QStringLiteral("grdTotals"));
    mTotals->setFocusPolicy(Qt::NoFocus);
    mDetail = new QLabel(this);
    mDetail->setObjectName(QStringLiteral("lblDetail"));
    mDetail->setFrameShape(QFrame::Panel);
    mDetail->setFrameShadow(QFrame::Sunken);
    auto* click = new QLabel(tr("Click on a cell to see the computation details for that cell."), this);
    click->setObjectName(QStringLiteral("Label1"));
    auto* tables = new QHBoxLayout;
    // The totals stand beside the FMUs' columns, however few; the rest of the row stays empty.
    tables->addWidget(mCompute, 100);
    tables->addWidget(mTotals, 0, Qt::AlignLeft);
    tables->addStretch(1);
    auto* detailRow = new QHBoxLayout;
    detailRow->addWidget(new QLabel(tr("Cell Detail"), this));
    detailRow->addWidget(mDetail, 1);
    detailArea()->addWidget(click);
    detailArea()->addLayout(tables, 1);
    detailArea()->addLayout(detailRow);

    connect(mCompute, &grid::Grid::enterCell, this, ui::Guarded(this, &frm55NatResFMU::grdCompute_EnterCell));
}

void frm55NatResFMU::SetupComputeGrid()
{
    const int fmus = model::FMUCount();
    mCompute->setCols(fmus + 1);
    mCompute->setRows(model::kFILCount + 1);
    mCompute->setFixedCols(1);
    mCompute->setRowHeight(0, 480);
    mCompute->setText(0, 0, QStringLiteral("FIL"));
    // Wide enough for a level with its share, "6 (100%)".
    mCompute->setColWidth(0, 1000);
    mCompute->setColAlignment(0, Qt::AlignCenter);
    for (int c = 0; c <= fmus; ++c)
        mCompute->setFixedAlignment(c, Qt::AlignCenter);
    for (int j = 1; j <= fmus; ++j) {
        mCompute->setColWidth(j, 1800);
        mCompute->setColAlignment(j, Qt::AlignRight | Qt::AlignVCenter);
    }
    mTotals->setCols(1);
    mTotals->setRows(model::kFILCount + 1);
    mTotals->setRowHeight(0, 480);
    mTotals->setColWidth(0, 1000);
    mTotals->setText(0, 0, QStringLiteral("Totals"));
    mTotals->setFixedAlignment(0, Qt::AlignCenter);
    mTotals->setColAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    FitDetailGrids(*mCompute, *mTotals);
}

double frm55NatResFMU::CellValue(int fil, int j) const
{
    model::c33FMU* fmu = model::GetFMUs().at(j - 1);
    const model::c64BurnArea* area = mOutcome->BurnArea(fmu->ItemKey());
    const double v = double(fmu->NVCTable()->FilTotal(fil)) * area->FILPercent(fil) *
                     double(mOutcome->FMUPercent(j)) / 10000.0;
    return double(float(v));
}

void frm55NatResFMU::ShowImpactComputation()
{
    if (!mOutcome)
        return;
    const QList<model::c33FMU*>& fmus = model::GetFMUs();
    double filTotals[model::kFILCount + 1] = {};
    for (int j = 1; j <= fmus.size() && j < mCompute->cols(); ++j) {
        mCompute->setText(0, j, fmus[j - 1]->ItemName() + QStringLiteral("\r\n(") +
                                    QString::number(mOutcome->FMUPercent(j)) + QStringLiteral("%)"));
        for (int f = 1; f <= model::kFILCount; ++f) {
            const double v = CellValue(f, j);
            mCompute->setText(f, j, grid::FormatNumber(v, QStringLiteral("0.00")));
            filTotals[f] = double(float(filTotals[f] + v));
        }
    }
    // The FIL column names each level's share only while one set of shares serves everything;
    // after any other choice it names the level alone again.
    const bool oneSetting = frm55FILPercents::StoredFILOption() == 1;
    const model::c64BurnArea* first = fmus.isEmpty() ? nullptr : mOutcome->BurnArea(fmus.first()->ItemKey());
    int grand = 0;
    for (int f = 1; f <= model::kFILCount; ++f) {
        mCompute->setText(f, 0,
                          oneSetting && first ? QStringLiteral("%1 (%2%)").arg(f).arg(first->FILPercent(f))
                                              : QString::number(f));
        mTotals->setText(f, 0, grid::FormatNumber(filTotals[f], QStringLiteral("0")));
        grand = model::textnum::RoundHalfEven(double(grand) + filTotals[f]);
    }
    mImpactPerAcre->setText(grid::FormatNumber(grand, QStringLiteral("0")));
    FitDetailGrids(*mCompute, *mTotals);   // their columns widen to the figures just shown
    mCompute->setRow(0);
}

void frm55NatResFMU::grdCompute_EnterCell()
{
    if (!core::IsIdle() || !mOutcome)
        return;
    const int f = mCompute->row();
    const int j = mCompute->col();
    if (f < 1 || j < 1 || j > model::FMUCount())
        return;
    model::c33FMU* fmu = model::GetFMUs().at(j - 1);
    const model::c64BurnArea* area = mOutcome->BurnArea(fmu->ItemKey());
    mDetail->setText(model::textnum::SingleText(fmu->NVCTable()->FilTotal(f)) + QStringLiteral("  x  ") +
                     QString::number(mOutcome->FMUPercent(j)) + QStringLiteral("%  x  ") +
                     QString::number(area->FILPercent(f)) + QStringLiteral("%  =  ") +
                     grid::FormatNumber(CellValue(f, j), QStringLiteral("0.00")));
}

} // namespace worksheets
