#include "worksheets/analysis/frm561costperacre.h"

#include "core/savescope.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "model/c35aactable.h"
#include "model/c53outcome.h"
#include "model/g33fmus.h"
#include "model/textnumbers.h"
#include "platform/grid/grid.h"
#include "platform/grid/numberformat.h"
#include "platform/ui/guard.h"
#include "worksheets/analysis/costgrids.h"
#include "worksheets/analysis/formguards.h"
#include "worksheets/common/costsizegrid.h"
#include "worksheets/common/figurepanel.h"
#include "worksheets/common/gridfit.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/outcomegrids.h"
#include "worksheets/common/worksheetform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace worksheets {

namespace {

QLabel* Caption(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

CostBySizeDialog::CostBySizeDialog(const QString& formName, model::c53Outcome* startOutcome, QWidget* parent)
    : ModalDialog(formName, parent), mStart(startOutcome)
{
    setWindowTitle(QStringLiteral("Suppression cost based on fire size"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    grdOutcomes = new grid::Grid(this);
    grdOutcomes->setObjectName(QStringLiteral("grdOutcomes"));
    grdCosts = new grid::Grid(this);
    grdCosts->setObjectName(QStringLiteral("grdCosts"));
    mCosts = new CostSizeGrid(grdCosts);
    SetupGrids();
    connect(mCosts, &CostSizeGrid::tableEdited, this, ui::Guarded([this] { TableEdited(); }));
}

CostBySizeDialog::~CostBySizeDialog() { DisconnectChildren(*this); }

void CostBySizeDialog::SetupGrids()
{
    grid::Grid& g = *grdOutcomes;
    g.setCols(5);
    SetupOutcomeAcresGrid(g);
    g.setColWidth(3, 900);
    g.setText(0, 3, QStringLiteral("$/acre"));
    g.setColWidth(4, 1200);
    g.setColAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
    g.setText(0, 4, QStringLiteral("Estimated cost"));
    FitGridWidth(g);
    // The cost table is laid out by its own grid object; it shows whole.
    grdCosts->setFixedSize(CellsSize(*grdCosts));
}

model::c35AACTable* CostBySizeDialog::costTable() const { return mCosts->table(); }

void CostBySizeDialog::DisplayPerAcreData()
{
    core::BusyScope busy;
    mCosts->Display(model::GetAACTable(mFMUKey));
}

void CostBySizeDialog::SaveTable()
{
    if (grdCosts->isEditing())
        grdCosts->finishEdit();
    if (auto* table = mCosts->table())
        core::SaveAllOrNothing([table] { table->SaveChanges(); });
}

void CostBySizeDialog::TableEdited() { FillOutcomeCostColumns(*grdOutcomes); }

frm561CostPerAcre::frm561CostPerAcre(model::c53Outcome* startOutcome, QWidget* parent)
    : CostBySizeDialog(QStringLiteral("frm561CostPerAcre"), startOutcome, parent)
{
    Label1->setText(QStringLiteral(
        "The Cost by Size estimate is based on the Average Acre Cost table from the Tolmar Prep file.  If you do not "
        "have a Tolmar Prep file but have access to historic cost data, you can fill in the cost per acre in the "
        "table on the bottom.  If you do not have access to historic cost data, you should not use this method to "
        "estimate cost."));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose());
    auto* costs = new QHBoxLayout;
    costs->addWidget(grdCosts);
    costs->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Caption(QStringLiteral("Outcomes"), this));
    layout->addWidget(grdOutcomes, 1);
    layout->addWidget(Caption(QStringLiteral("Cost per acre"), this));
    layout->addLayout(costs);
    layout->addLayout(buttons);
    resize(minimumSizeHint().width(), 560);
}

void frm561CostPerAcre::Setup()
{
    core::Trace(QStringLiteral("frm561CostPerAcre.Setup"));
    core::BusyScope busy;
    SetupGrids();
    ShowOutcomeAcres(*grdOutcomes);
    FillOutcomeCostColumns(*grdOutcomes);
    WidenColumnsToTexts(*grdOutcomes);
    // The outcome chosen on the worksheet stands out; the table is the whole fire's.
    const int row = StartRow(*grdOutcomes, mStart);
    grdOutcomes->setCurrentCell(row > 0 ? row : 0, 0);
    mFMUKey = 0;
    DisplayPerAcreData();
}

void frm561CostPerAcre::SaveChanges() { SaveTable(); }

frm561CostPerAcreFMU::frm561CostPerAcreFMU(model::c53Outcome* startOutcome, QWidget* parent)
    : CostBySizeDialog(QStringLiteral("frm561CostPerAcreFMU"), startOutcome, parent)
{
    Label1->setText(QStringLiteral(
        "The Cost by Size estimate is based on the Average Acre Cost table from the Tolmar Prep file.  The cost for "
        "each Outcome is the total size of that Outcome times the combined cost per acre from the FMUs included in "
        "that Outcome.  Click on an Outcome to see the details for that Outcome; click on an FMU to see the Average "
        "Acre Cost table for that FMU."));
    grdFMUs = new grid::Grid(this);
    grdFMUs->setObjectName(QStringLiteral("grdFMUs"));
    grdFMUs->setFormatString(QStringLiteral("FMU") + QString(39, QLatin1Char(' ')) + QStringLiteral("|%   |$/acre  |FMU% x $/acre"));
    for (int c = 1; c < grdFMUs->cols(); ++c)
        grdFMUs->setColAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    FitGridWidth(*grdFMUs);
    auto* pnlLabel = new QLabel(QStringLiteral("Average cost per acre"), this);
    pnlLabel->setObjectName(QStringLiteral("pnlLabel"));
    pnlTotal = new FigurePanel(QStringLiteral("pnlTotal"), 100, this);

    auto* total = new QHBoxLayout;
    total->addStretch();
    total->addWidget(pnlLabel);
    total->addWidget(pnlTotal);
    auto* fmus = new QVBoxLayout;
    auto* lblFMUs = Caption(QStringLiteral("FMUs"), this);
    lblFMUs->setObjectName(QStringLiteral("lblFMUs"));
    fmus->addWidget(lblFMUs);
    fmus->addWidget(grdFMUs, 1);
    fmus->addLayout(total);
    auto* costs = new QVBoxLayout;
    costs->addWidget(Caption(QStringLiteral("Cost per acre"), this));
    costs->addWidget(grdCosts);
    costs->addStretch();
    auto* lower = new QHBoxLayout;
    lower->addLayout(fmus, 1);
    lower->addLayout(costs);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Caption(QStringLiteral("Outcomes"), this));
    layout->addWidget(grdOutcomes, 1);
    layout->addLayout(lower);
    layout->addLayout(buttons);
    setTabOrder(grdOutcomes, grdFMUs);
    setTabOrder(grdFMUs, grdCosts);
    resize(minimumSizeHint().width(), 600);

    connect(grdOutcomes, &grid::Grid::enterCell, this, ui::Guarded(this, &frm561CostPerAcreFMU::grdOutcomes_EnterCell));
    connect(grdFMUs, &grid::Grid::enterCell, this, ui::Guarded(this, &frm561CostPerAcreFMU::grdFMUs_EnterCell));
}

void frm561CostPerAcreFMU::Setup()
{
    core::Trace(QStringLiteral("frm561CostPerAcreFMU.Setup"));
    core::BusyScope busy;
    SetupGrids();
    ShowOutcomeAcres(*grdOutcomes);
    FillOutcomeCostColumns(*grdOutcomes);
    WidenColumnsToTexts(*grdOutcomes);
    FillFMUGrid(*grdFMUs);
    const int row = StartRow(*grdOutcomes, mStart);
    mCurrent = row > 0 ? grdOutcomes->rowObject<model::c53Outcome>(row) : nullptr;
    if (row > 0)
        grdOutcomes->setCurrentCell(row, 0);
    ShowFMUCosts();
    if (grdFMUs->rows() > 1) {
        grdFMUs->setCurrentCell(1, 0);
        mFMUKey = grdFMUs->rowData(1).toInt();
    }
    DisplayPerAcreData();
}

void frm561CostPerAcreFMU::SaveChanges()
{
    core::Trace(QStringLiteral("frm561CostPerAcreFMU.SaveChanges"));
    SaveTable();
}

void frm561CostPerAcreFMU::TableEdited()
{
    ShowFMUCosts();
    CostBySizeDialog::TableEdited();
}

void frm561CostPerAcreFMU::ShowFMUCosts()
{
    float total = 0;
    for (int i = 1; i < grdFMUs->rows(); ++i) {
        if (!mCurrent) {
            for (int c = 1; c <= 3; ++c)
                grdFMUs->setText(i, c, QString());
            continue;
        }
        const float p = mCurrent->FMUPercent(i);
        grdFMUs->setText(i, 1, model::textnum::SingleText(p));
        model::c35AACTable* table = model::GetAACTable(grdFMUs->rowData(i).toInt());
        const float c = table ? table->CostForSize(mCurrent->FireSizeValue()) : 0.0f;
        grdFMUs->setText(i, 2, model::textnum::SingleText(c));
        const float share = c * p / 100.0f;
        grdFMUs->setText(i, 3, grid::FormatNumber(share, QStringLiteral("0")));
        total += share;
    }
    pnlTotal->setText(grid::FormatNumber(total, QStringLiteral("#,0")));
}

void frm561CostPerAcreFMU::grdOutcomes_EnterCell()
{
    if (!core::IsIdle())
        return;
    SwitchOutcome(*grdOutcomes, mCurrent, [this] { SaveChanges(); },
                  [this] {
                      ShowFMUCosts();
                      DisplayPerAcreData();
                  });
}

void frm561CostPerAcreFMU::grdFMUs_EnterCell()
{
    if (!core::IsIdle() || grdFMUs->row() < 1)
        return;
    const int key = grdFMUs->rowData(grdFMUs->row()).toInt();
    if (key == mFMUKey)
        return;
    try {
        SwitchShownObject([this] { SaveChanges(); },
                          [this, key] {
                              mFMUKey = key;
                              DisplayPerAcreData();
                          });
    } catch (...) {
        // The table on screen could not be stored: it stays, its FMU's row current again.
        core::BusyScope busy;
        grdFMUs->setRow(std::max(1, grdFMUs->findRow(mFMUKey)));
        throw;
    }
}

} // namespace worksheets
