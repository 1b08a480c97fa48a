#include "worksheets/analysis/frm563dailycost.h"

#include "core/savescope.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "model/c53outcome.h"
#include "platform/grid/grid.h"
#include "platform/grid/numberformat.h"
#include "platform/ui/guard.h"
#include "platform/ui/prompter.h"
#include "worksheets/analysis/costentry.h"
#include "worksheets/analysis/costgrids.h"
#include "worksheets/analysis/formguards.h"
#include "worksheets/common/boxorder.h"
#include "worksheets/common/figurepanel.h"
#include "worksheets/common/outcomegrids.h"
#include "worksheets/common/worksheetform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace worksheets {

namespace {

QString Whole(double v) { return grid::FormatNumber(v, QStringLiteral("#,0")); }

QLabel* CostLabel(const QString& name, QWidget* parent) { return new FigurePanel(name, 110, parent); }

QLineEdit* RateBox(const QString& name, QWidget* parent)
{
    auto* t = new QLineEdit(parent);
    t->setObjectName(name);
    t->setAlignment(Qt::AlignRight);
    t->setMaxLength(24);
    t->setFixedWidth(110);
    SelectTextOnFocus(t);
    return t;
}

// A day count as the times give it: times from a damaged file can lie further apart than an int holds.
QString DaysText(qint64 days) { return QStringLiteral("x  ") + QString::number(days) + QStringLiteral("  ="); }

} // namespace

frm563DailyCost::frm563DailyCost(model::c53Outcome* startOutcome, QWidget* parent)
    : ModalDialog(QStringLiteral("frm563DailyCost"), parent), mStart(startOutcome)
{
    setWindowTitle(QStringLiteral("Estimate Cost based on Daily Rate"));
    grdOutcomes = new grid::Grid(this);
    grdOutcomes->setObjectName(QStringLiteral("grdOutcomes"));
    txtContain = RateBox(QStringLiteral("txtContain"), this);
    txtControl = RateBox(QStringLiteral("txtControl"), this);
    lblContainDays = new QLabel(this);
    lblContainDays->setObjectName(QStringLiteral("lblContainDays"));
    lblControlDays = new QLabel(this);
    lblControlDays->setObjectName(QStringLiteral("lblControlDays"));
    lblContainCost = CostLabel(QStringLiteral("lblContainCost"), this);
    lblControlCost = CostLabel(QStringLiteral("lblControlCost"), this);
    lblTotalCost = CostLabel(QStringLiteral("lblTotalCost"), this);
    lblTimes = new QLabel(this);
    lblTimes->setObjectName(QStringLiteral("lblTimes"));
    lblTimes->setWordWrap(true);
    lblTimes->setStyleSheet(QStringLiteral("color: #b00000;"));
    lblTimes->hide();

    auto* containCaption = new QLabel(QStringLiteral("Daily cost until fire is contained"), this);
    containCaption->setBuddy(txtContain);
    auto* controlCaption = new QLabel(QStringLiteral("Daily cost once fire is contained until fire is controlled"), this);
    controlCaption->setBuddy(txtControl);
    auto* totalCaption = new QLabel(QStringLiteral("Total cost based on daily rate"), this);

    auto* rates = new QGridLayout;
    rates->addWidget(containCaption, 0, 0);
    rates->addWidget(txtContain, 0, 1);
    rates->addWidget(lblContainDays, 0, 2);
    rates->addWidget(lblContainCost, 0, 3);
    rates->addWidget(controlCaption, 1, 0);
    rates->addWidget(txtControl, 1, 1);
    rates->addWidget(lblControlDays, 1, 2);
    rates->addWidget(lblControlCost, 1, 3);
    rates->addWidget(totalCaption, 2, 0, 1, 3, Qt::AlignRight);
    rates->addWidget(lblTotalCost, 2, 3);
    rates->addWidget(lblTimes, 3, 0, 1, 4);
    rates->setColumnStretch(0, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grdOutcomes, 1);
    layout->addLayout(rates);
    layout->addLayout(buttons);

    SetupGrid();
    resize(minimumSizeHint().width(), 440);

    connect(grdOutcomes, &grid::Grid::enterCell, this, ui::Guarded(this, &frm563DailyCost::grdOutcomes_EnterCell));
    connect(txtContain, &QLineEdit::textEdited, this, ui::Guarded([this] { txtRate_Change(txtContain); }));
    connect(txtControl, &QLineEdit::textEdited, this, ui::Guarded([this] { txtRate_Change(txtControl); }));
    connect(txtContain, &QLineEdit::editingFinished, this, ui::Guarded(this, &frm563DailyCost::CommitRates));
    connect(txtControl, &QLineEdit::editingFinished, this, ui::Guarded(this, &frm563DailyCost::CommitRates));
}

frm563DailyCost::~frm563DailyCost()
{
    DisconnectChildren(*this);
}

void frm563DailyCost::SetupGrid() { SetupCostColumnGrid(*grdOutcomes); }

void frm563DailyCost::Setup()
{
    // The row chosen here is no change of outcome by the user.
    core::BusyScope busy;
    SetupGrid();
    ShowOutcomeTimes(*grdOutcomes);
    ShowDailyCosts();
    WidenColumnsToTexts(*grdOutcomes);
    const int row = StartRow(*grdOutcomes, mStart);
    mCurrent = row > 0 ? grdOutcomes->rowObject<model::c53Outcome>(row) : nullptr;
    if (row > 0)
        grdOutcomes->setCurrentCell(row, 0);
    ShowOutcomeDailyCost();
}

void frm563DailyCost::SaveChanges()
{
    core::Trace(QStringLiteral("frm563DailyCost.SaveChanges"));
    CommitRates();
    if (mCurrent)
        core::SaveAllOrNothing([this] { mCurrent->SaveChanges(); });
}

void frm563DailyCost::ShowDailyCosts()
{
    ShowCostColumn(*grdOutcomes, Cost, [](model::c53Outcome& o) { return o.DailyCost(); });
}

void frm563DailyCost::ShowOutcomeDailyCost()
{
    core::BusyScope busy;
    mTyped = nullptr;
    txtContain->setEnabled(mCurrent != nullptr);
    txtControl->setEnabled(mCurrent != nullptr);
    if (!mCurrent)
        return;
    txtContain->setText(Whole(mCurrent->DailyContainCost()));
    txtControl->setText(Whole(mCurrent->DailyControlCost()));
    ShowContainCost();
    ShowControlCost();
    ShowTotalDailyCost();
}

void frm563DailyCost::ShowContainCost()
{
    const int days = mCurrent->ContainTime();
    lblContainDays->setText(DaysText(days));
    lblContainCost->setText(Whole(double(mCurrent->DailyContainCost()) * days));
}

void frm563DailyCost::ShowControlCost()
{
    const qint64 days = qint64(mCurrent->ControlTime()) - qint64(mCurrent->ContainTime());
    lblControlDays->setText(DaysText(days));
    const double cost = double(mCurrent->DailyControlCost()) * double(days);
    if (days < 0) {
        // Controlled before contained: the times are wrong, and a negative cost would lower
        // the estimate. The period counts nothing until the times are put right.
        lblControlCost->setText(Whole(0));
        lblTimes->setText(QStringLiteral("The fire is controlled (day %1) before it is contained (day %2), which "
                                         "would make this cost %3. It counts as 0: correct the times on the "
                                         "Outcomes worksheet.")
                              .arg(mCurrent->ControlTime())
                              .arg(mCurrent->ContainTime())
                              .arg(Whole(cost)));
        lblTimes->show();
    } else {
        lblControlCost->setText(Whole(cost));
        lblTimes->hide();
    }
}

void frm563DailyCost::ShowTotalDailyCost()
{
    // The sum of the two whole-dollar costs as shown.
    const float total = float(grid::NumericValue(lblContainCost->text())) + float(grid::NumericValue(lblControlCost->text()));
    lblTotalCost->setText(Whole(total));
    const int r = grdOutcomes->findRowObject(mCurrent);
    if (r > 0)
        grdOutcomes->setText(r, Cost, Whole(mCurrent->DailyCost()));
}

void frm563DailyCost::grdOutcomes_EnterCell()
{
    core::Trace(QStringLiteral("grdOutcomes_EnterCell"));
    if (!core::IsIdle())
        return;
    SwitchOutcome(*grdOutcomes, mCurrent, [this] { SaveChanges(); }, [this] { ShowOutcomeDailyCost(); });
}

void frm563DailyCost::txtRate_Change(QLineEdit* box)
{
    if (!core::IsIdle() || !mCurrent)
        return;
    if (mTyped != box) {
        CommitRates();
        mTyped = box;
        mRateBefore = box == txtContain ? mCurrent->DailyContainCost() : mCurrent->DailyControlCost();
    }
    const costentry::Typed typed = costentry::ReadAmount(box->text());
    // A text on its way to a number, or one refused when typing ends, keeps the rate so far.
    if (!typed.ok())
        return;
    const float rate = typed.reading == costentry::Reading::Value ? costentry::StoredAmount(typed.value) : 0.0f;
    if (box == txtContain) {
        mCurrent->SetDailyContainCost(rate);
        ShowContainCost();
    } else {
        mCurrent->SetDailyControlCost(rate);
        ShowControlCost();
    }
    ShowTotalDailyCost();
}

void frm563DailyCost::CommitRates()
{
    QLineEdit* box = mTyped;
    mTyped = nullptr;
    if (!box || !mCurrent)
        return;
    const QString text = box->text();
    const costentry::Typed typed = costentry::ReadAmount(text);
    if (typed.ok())
        return;
    const float kept = mRateBefore;
    if (box == txtContain)
        mCurrent->SetDailyContainCost(kept);
    else
        mCurrent->SetDailyControlCost(kept);
    {
        core::BusyScope busy;
        box->setText(Whole(kept));
        ShowContainCost();
        ShowControlCost();
        ShowTotalDailyCost();
    }
    ui::MsgBox(costentry::AmountMessage(QStringLiteral("The daily cost"), text, typed) + QStringLiteral("\r\n")
                   + QStringLiteral("The rate stays ") + Whole(kept) + QStringLiteral("."),
               ui::Buttons::OK, ui::Icon::Warning);
}

} // namespace worksheets
