#include "worksheets/analysis/frm55natres.h"

#include "core/u91trace.h"
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
#include "worksheets/common/figurepanel.h"
#include "worksheets/common/gridfit.h"
#include "worksheets/common/outcomegrids.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace worksheets {

namespace {

QLabel* Text(const QString& text, QWidget* parent, bool bold = false)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    if (bold) {
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
    }
    return label;
}

} // namespace

NatResForm::NatResForm(const QString& formName, const QStringList& introduction, const QString& detailTitle,
                       QWidget* parent)
    : WorksheetForm(formName, parent)
{
    auto* intro = Text(introduction.join(QStringLiteral("\n\n")), this);
    intro->setObjectName(QStringLiteral("FLabel1"));
    mFIL = new QPushButton(tr("Change FIL percents"), this);
    mFIL->setObjectName(QStringLiteral("cmdFIL"));
    mOutcomes = new grid::Grid(this);
    mOutcomes->setObjectName(QStringLiteral("grdOutcomes"));
    mCompute = new grid::Grid(this);
    mCompute->setObjectName(QStringLiteral("grdCompute"));
    mImpactPerAcre = new FigurePanel(QStringLiteral("lblImpactPerAcre"), 90, this);

    auto* filRow = new QHBoxLayout;
    filRow->addWidget(Text(tr("The fire intensity level (FIL) affects the impact of the fire. Indicate the relative "
                              "amount of the fire area that will burn at each intensity level by clicking the Change "
                              "FIL percents button."),
                           this),
                      1);
    filRow->addWidget(mFIL, 0, Qt::AlignTop);

    auto* perAcre = new QHBoxLayout;
    perAcre->addWidget(new QLabel(tr("Average Impact per Acre"), this));
    perAcre->addWidget(mImpactPerAcre);
    perAcre->addStretch(1);

    mDetailArea = new QVBoxLayout;
    mDetailArea->addWidget(Text(detailTitle, this, true));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(filRow);
    layout->addWidget(Text(tr("Select an Outcome to see its details below."), this));
    layout->addWidget(Text(tr("Summary Table: Overall impact for each Outcome."), this, true));
    layout->addWidget(mOutcomes, 1);
    layout->addLayout(mDetailArea);
    layout->addLayout(perAcre);
    setTabOrder(mFIL, mOutcomes);
    setTabOrder(mOutcomes, mCompute);

    connect(mOutcomes, &grid::Grid::enterCell, this, ui::Guarded(this, &NatResForm::grdOutcomes_EnterCell));
    connect(mFIL, &QPushButton::clicked, this, ui::Guarded(this, &NatResForm::cmdFIL_Click));
}

void NatResForm::Setup()
{
    BeginSetup(formName() + QStringLiteral(".Setup"));
    core::BusyScope busy;
    mOutcome = nullptr;
    mOutcomes->setCols(5);
    SetupOutcomeAcresGrid(*mOutcomes);
    mOutcomes->setColWidth(3, 900);
    mOutcomes->setText(0, 3, QStringLiteral("$/acre"));
    mOutcomes->setColWidth(4, 1200);
    mOutcomes->setColAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
    mOutcomes->setText(0, 4, QStringLiteral("Impact"));
    SetupComputeGrid();
    ShowOutcomeAcres(*mOutcomes);
    FillOutcomeLossColumns(*mOutcomes);
    if (mOutcomes->rows() > 1) {
        mOutcomes->setRow(1);
        mOutcome = mOutcomes->rowObject<model::c53Outcome>(1);
    }
    ShowImpactComputation();
}

void NatResForm::grdOutcomes_EnterCell()
{
    if (!core::IsIdle())
        return;
    auto* outcome = mOutcomes->rowObject<model::c53Outcome>(mOutcomes->row());
    if (!outcome || outcome == mOutcome)
        return;
    core::BusyScope busy;
    mOutcome = outcome;
    ShowImpactComputation();
}

void NatResForm::cmdFIL_Click()
{
    {
        frm55FILPercents dialog;
        dialog.ShowModal();
    }
    core::BusyScope busy;
    FillOutcomeLossColumns(*mOutcomes);
    ShowImpactComputation();
}

frm55NatRes::frm55NatRes(QWidget* parent)
    : NatResForm(QStringLiteral("frm55NatRes"),
                 {tr("This worksheet shows the impacts to natural resource values, based on a Net Value Change (NVC) "
                     "table.  If you imported an NVC table from a Tolmar Prep file, the impacts will be shown here.  "
                     "If you do not have a Tolmar Prep file but have access to NVC data, you may enter the data in the "
                     "Setup section on the NVC Table worksheet.  If you do not have access to NVC data, ignore this "
                     "worksheet.")},
                 tr("Detail Table: Impact computation for the selected Outcome."), parent)
{
    detailArea()->addWidget(mCompute, 1);
}

void frm55NatRes::SetupComputeGrid()
{
    mCompute->setCols(4);
    mCompute->setRows(7);
    const QString headers[] = {QStringLiteral("FIL"), QStringLiteral("%"), QStringLiteral("NVC/acre"),
                               QStringLiteral("FIL%  x  NVC/acre")};
    const int widths[] = {720, 720, 1020, 1800};
    for (int c = 0; c < 4; ++c) {
        mCompute->setText(0, c, headers[c]);
        mCompute->setColWidth(c, widths[c]);
        mCompute->setFixedAlignment(c, Qt::AlignCenter);
        mCompute->setColAlignment(c, c == 3 ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter);
    }
    for (int f = 1; f <= model::kFILCount; ++f)
        mCompute->setText(f, 0, QString::number(f));
    mCompute->setMaximumSize(CellsSize(*mCompute));
}

void frm55NatRes::ShowImpactComputation()
{
    if (!mOutcome)
        return;
    // One FMU or none; should FMUs have been added since the page was chosen, the first
    // stands for the fire.
    const QList<model::c33FMU*>& fmus = model::GetFMUs();
    model::c34NVCTable* table = fmus.isEmpty() ? model::GetNVCTable(0) : fmus.first()->NVCTable();
    const model::c64BurnArea* area = mOutcome->BurnArea(fmus.isEmpty() ? 0 : fmus.first()->ItemKey());
    if (!table || !area)
        return;
    const bool gains = model::UseNVCGains();
    int total = 0;
    for (int f = 1; f <= model::kFILCount; ++f) {
        const float filTotal = table->FilTotal(f, gains);
        mCompute->setText(f, 1, QString::number(area->FILPercent(f)));
        mCompute->setText(f, 2, model::textnum::SingleText(filTotal));
        mCompute->setText(f, 3, grid::FormatNumber(double(filTotal) * area->FILPercent(f) / 100.0, QStringLiteral("0")));
        total += int(mCompute->value(f, 3));
    }
    mImpactPerAcre->setText(grid::FormatNumber(total, QStringLiteral("0")));
    // Its columns widen to the figures just shown.
    mCompute->setMaximumSize(CellsSize(*mCompute));
}

} // namespace worksheets
