#include "worksheets/objectives_alternatives/frm45fmus.h"

#include "core/savescope.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "model/c53outcome.h"
#include "model/c64burnarea.h"
#include "model/textnumbers.h"
#include "platform/grid/grid.h"
#include "platform/label/formattedlabel.h"
#include "platform/ui/guard.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/numberbox.h"
#include "worksheets/common/outcomegrids.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace worksheets {

namespace {
constexpr int kPortionColumn = 1;
constexpr int kPortionLength = 4;
// A portion: a whole number from 0 to what its four characters hold.
constexpr model::textnum::NumberKind kPortionKind{.min = 0, .max = 9999, .whole = true};
}

frm45FMUs::frm45FMUs(QWidget* parent) : WorksheetForm(QStringLiteral("frm45FMUs"), parent)
{
    setWindowTitle(tr("FMUs"));
    mInstructions = new label::FormattedLabel(this);
    mInstructions->setObjectName(QStringLiteral("FLabel1"));
    mInstructions->setCaption(QStringLiteral(
        "For each outcome, indicate what percentage of the total area burned in that outcome is in each FMU.  Select "
        "an outcome by clicking on its name, then fill in the percentages in the table below.  Repeat for each "
        "outcome."));
    mOutcomes = new grid::Grid(this);
    mOutcomes->setObjectName(QStringLiteral("grdOutcomes"));
    mFMUs = new grid::Grid(this);
    mFMUs->setObjectName(QStringLiteral("grdFMUs"));
    mFMUs->setEditable(true);

    auto* note = new QLabel(this);
    note->setObjectName(QStringLiteral("Label1"));
    note->setWordWrap(true);
    note->setText(QStringLiteral(
        "Note: The total for each outcome should be 100%.  However, if the total is not 100%, the program will "
        "automatically use proportions rather than percents.  For example, if the the total is 80, then an FMU "
        "marked as 40 will be treated as 40/80 = 50%."));
    mTotal = new QLabel(this);
    mTotal->setObjectName(QStringLiteral("lblTotal"));
    mTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    mTotal->setMinimumWidth(mTotal->fontMetrics().horizontalAdvance(QStringLiteral("000000")));
    QFont bold = mTotal->font();
    bold.setBold(true);
    mTotal->setFont(bold);

    auto* totalRow = new QHBoxLayout;
    totalRow->addStretch(1);
    totalRow->addWidget(new QLabel(QStringLiteral("Total:"), this));
    totalRow->addWidget(mTotal);
    totalRow->addWidget(new QLabel(QStringLiteral("%"), this));
    auto* right = new QVBoxLayout;
    right->addWidget(mInstructions);
    right->addWidget(mFMUs, 1);
    right->addLayout(totalRow);
    right->addWidget(note);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(mOutcomes, 1);
    layout->addLayout(right, 1);
    setTabOrder(mOutcomes, mFMUs);

    connect(mOutcomes, &grid::Grid::enterCell, this, ui::Guarded(this, &frm45FMUs::grdOutcomes_EnterCell));
    connect(mFMUs, &grid::Grid::enterCell, this, ui::Guarded(this, &frm45FMUs::grdFMUs_EnterCell));
    connect(mFMUs, &grid::Grid::beforeEdit, this, ui::Guarded(this, &frm45FMUs::grdFMUs_BeforeEdit));
    connect(mFMUs, &grid::Grid::keyPressEdit, this, ui::Guarded(this, &frm45FMUs::grdFMUs_KeyPressEdit));
    connect(mFMUs, &grid::Grid::changeEdit, this, ui::Guarded(this, &frm45FMUs::grdFMUs_ChangeEdit));
    connect(mFMUs, &grid::Grid::afterEdit, this, ui::Guarded(this, &frm45FMUs::grdFMUs_AfterEdit));
    connect(mFMUs, &grid::Grid::editCancelled, this, ui::Guarded(this, &frm45FMUs::grdFMUs_EditCancelled));
}

frm45FMUs::~frm45FMUs()
{
    mCurrent = nullptr;
    mAreas.clear();
}

void frm45FMUs::Setup()
{
    BeginSetup(QStringLiteral("frm45FMUs.Setup"));
    core::BusyScope busy;
    SetupGrids();
    ShowOutcomeAcres(*mOutcomes);
    ShowFMUList();
    mOutcomes->setRow(1);
    mCurrent = mOutcomes->rowObject<model::c53Outcome>(1);
    ShowFMUPortions();
}

// The portions of one outcome are stored together or not at all.
void frm45FMUs::SaveChanges()
{
    core::SaveAllOrNothing([this] {
        for (model::c64BurnArea* area : mAreas)
            if (area)
                area->SaveChanges();
    });
}

void frm45FMUs::SetupGrids()
{
    mOutcomes->setCols(3);
    SetupOutcomeAcresGrid(*mOutcomes);
    FitOutcomeColumnsToFont(*mOutcomes);
    mFMUs->setCols(2);
    mFMUs->setRows(1);
    mFMUs->setText(0, 0, QStringLiteral("FMU"));
    mFMUs->setText(0, 1, QStringLiteral("Percent"));
    mFMUs->setColWidth(0, 3600);
    mFMUs->setColAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
    mFMUs->setColAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    mFMUs->setFixedAlignment(0, Qt::AlignCenter);
    mFMUs->setFixedAlignment(1, Qt::AlignCenter);
}

void frm45FMUs::ShowFMUList()
{
    FillFMUGrid(*mFMUs);
    mAreas = QList<model::c64BurnArea*>(qMax(0, mFMUs->rows() - 1), nullptr);
}

model::c64BurnArea* frm45FMUs::AreaOfRow(int row) const
{
    return row >= 1 && row <= mAreas.size() ? mAreas[row - 1] : nullptr;
}

void frm45FMUs::ShowFMUPortions()
{
    core::BusyScope busy;
    for (int r = 1; r < mFMUs->rows(); ++r) {
        model::c64BurnArea* area = mCurrent ? mCurrent->BurnArea(mFMUs->rowData(r).toInt()) : nullptr;
        mAreas[r - 1] = area;
        mFMUs->setText(r, kPortionColumn, area ? QString::number(area->FMUPortion()) : QString());
    }
    HighlightOutcomeRow(*mOutcomes, mCurrent ? mOutcomes->findRowObject(mCurrent) : -1);
    ShowTotal();
}

void frm45FMUs::ShowTotal()
{
    qint64 total = 0;
    for (const model::c64BurnArea* area : mAreas)
        if (area)
            total += area->FMUPortion();
    mTotal->setText(QString::number(total));
}

// A row change, by click or by keyboard, shows that row's outcome, so a portion typed next
// always lands on the outcome the user sees selected.
void frm45FMUs::grdOutcomes_EnterCell()
{
    if (!core::IsIdle())
        return;
    auto* outcome = mOutcomes->rowObject<model::c53Outcome>(mOutcomes->row());
    if (!outcome || outcome == mCurrent)
        return;
    SwitchShownObject([this] { SaveChanges(); },
                      [this, outcome] {
                          mCurrent = outcome;
                          ShowFMUPortions();
                      });
}

void frm45FMUs::grdFMUs_EnterCell()
{
    if (mFMUs->col() == kPortionColumn && mFMUs->row() >= mFMUs->fixedRows())
        mFMUs->editCell();
}

void frm45FMUs::grdFMUs_BeforeEdit(int row, int col, bool& cancel)
{
    if (col != kPortionColumn || !AreaOfRow(row)) {
        cancel = true;
        return;
    }
    mFMUs->setEditMaxLength(kPortionLength);
    mPortionBeforeEdit = AreaOfRow(row)->FMUPortion();
}

// A portion is a whole number of at least 0: only digits are typed.
void frm45FMUs::grdFMUs_KeyPressEdit(int, int, int& code)
{
    if (code >= 32 && (code < '0' || code > '9'))
        code = 0;
}

// A text that is no portion (pasted) keeps the portion so far until the edit ends.
void frm45FMUs::grdFMUs_ChangeEdit()
{
    model::c64BurnArea* area = AreaOfRow(mFMUs->row());
    if (!area)
        return;
    const model::textnum::Typed typed = model::textnum::ReadNumber(mFMUs->editText(), kPortionKind);
    if (!typed.ok())
        return;
    area->SetFMUPortion(int(typed.value));
    ShowTotal();
}

void frm45FMUs::grdFMUs_AfterEdit(int row, int)
{
    model::c64BurnArea* area = AreaOfRow(row);
    if (!area)
        return;
    const QString text = mFMUs->text(row, kPortionColumn);
    const model::textnum::Typed typed = model::textnum::ReadNumber(text, kPortionKind);
    if (!typed.ok()) {
        area->SetFMUPortion(mPortionBeforeEdit);
        ShowTotal();
    }
    mFMUs->setText(row, kPortionColumn, QString::number(area->FMUPortion()));
    if (!typed.ok())
        RefuseTypedNumber(QStringLiteral("The percent of the FMU"), QStringLiteral("percent"), text, typed, kPortionKind,
                          QString::number(mPortionBeforeEdit));
}

// Escape puts back the portion the edit started from, in the outcome as on screen.
void frm45FMUs::grdFMUs_EditCancelled(int row, int)
{
    model::c64BurnArea* area = AreaOfRow(row);
    if (!area)
        return;
    area->SetFMUPortion(mPortionBeforeEdit);
    mFMUs->setText(row, kPortionColumn, QString::number(mPortionBeforeEdit));
    ShowTotal();
}

} // namespace worksheets
