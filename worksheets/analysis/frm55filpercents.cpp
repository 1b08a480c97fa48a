#include "worksheets/analysis/frm55filpercents.h"

#include "core/savescope.h"
#include "core/u14properties.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "model/c33fmu.h"
#include "model/c34nvctable.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/c64burnarea.h"
#include "model/g33fmus.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "model/g64burnareas.h"
#include "model/textnumbers.h"
#include "platform/grid/grid.h"
#include "platform/grid/numberformat.h"
#include "platform/ui/guard.h"
#include "platform/ui/prompter.h"
#include "platform/ui/screen.h"
#include "worksheets/analysis/formguards.h"
#include "worksheets/common/bardrag.h"
#include "worksheets/common/itemlist.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/outcomegrids.h"
#include "worksheets/common/worksheetform.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace worksheets {

namespace {

const QString kOptionProperty = QStringLiteral("FIL option");
constexpr int kAmountCol = 1;
constexpr int kPercentCol = 2;

// Places a control by twips, as the dialog was designed.
void Place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(ui::TwipsToPixels(left), ui::TwipsToPixels(top), ui::TwipsToPixels(width),
                   ui::TwipsToPixels(height));
}

constexpr int kWidth = 9720;
constexpr int kHeight = 6360;
constexpr int kAreaTop = 1740;

} // namespace

frm55FILPercents::frm55FILPercents(QWidget* parent) : ModalDialog(QStringLiteral("frm55FILPercents"), parent)
{
    setWindowTitle(tr("FIL Proportions"));
    setFixedSize(ui::TwipsToPixels(kWidth), ui::TwipsToPixels(kHeight));

    mInstructions = new QLabel(tr("Indicate the relative amount of the fire area that will burn at each intensity "
                                  "level."),
                               this);
    mInstructions->setObjectName(QStringLiteral("Label1"));
    mInstructions->setWordWrap(true);
    Place(mInstructions, 120, 120, kWidth - 240, 420);

    const QString captions[] = {tr("Use &same FIL settings for all computations"),
                                tr("Use separate FIL settings for each &FMU"),
                                tr("Use separate FIL settings for each &outcome")};
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(captions[i], this);
        option->setObjectName(QStringLiteral("optFIL%1").arg(i + 1));
        Place(option, 240, 600 + i * 340, 6000, 300);
        connect(option, &QRadioButton::toggled, this, ui::Guarded([this, i](bool on) {
            if (on)
                optFIL_Click(i + 1);
        }));
        mOptions[i] = option;
    }

    mFMUPanel = new QGroupBox(tr("Fire Management Units (FMUs)"), this);
    mFMUPanel->setObjectName(QStringLiteral("pnlFMUs"));
    mFMUList = new QListWidget(mFMUPanel);
    mFMUList->setObjectName(QStringLiteral("lstFMUs"));
    mFMUs = new ItemList(mFMUList);
    (new QVBoxLayout(mFMUPanel))->addWidget(mFMUList);
    Place(mFMUPanel, 120, kAreaTop, 5880, 1300);

    mOutcomes = new grid::Grid(this);
    mOutcomes->setObjectName(QStringLiteral("grdOutcomes"));

    mFILPanel = new QFrame(this);
    mFILPanel->setObjectName(QStringLiteral("pnlFILs"));
    mFILs = new grid::Grid(mFILPanel);
    mFILs->setObjectName(QStringLiteral("grdFILs"));
    (new QVBoxLayout(mFILPanel))->addWidget(mFILs);

    Place(cmdClose(), kWidth - 1440, kHeight - 560, 1200, 400);

    mBar = new BarDrag(*mFILs, kAmountCol);
    mBar->set = [this](int row, double fraction) { SetFILPortionFromFraction(row, fraction); };

    connect(mOutcomes, &grid::Grid::enterCell, this, ui::Guarded(this, &frm55FILPercents::grdOutcomes_EnterCell));
    connect(mFMUs, &ItemList::click, this, ui::Guarded(this, &frm55FILPercents::lstFMUs_Click));
}

int frm55FILPercents::StoredFILOption() { return model::FILOption(); }

void frm55FILPercents::Setup()
{
    core::Trace(QStringLiteral("frm55FILPercents.Setup"));
    core::BusyScope busy;
    SetupFILGrids();
    ShowOutcomeAcres(*mOutcomes);
    if (mOutcomes->rows() > 1) {
        mOutcomes->setRow(1);
        mOutcome = mOutcomes->rowObject<model::c53Outcome>(1);
    }
    const int fmus = model::FMUCount();
    if (fmus >= 2) {
        FillFMUList(*mFMUs);
        mFMUs->setListIndex(0);
        mFMUKey = mFMUs->currentKey();
    } else {
        mFMUKey = fmus == 1 ? model::GetFMUs().first()->ItemKey() : 0;
    }
    mOptions[1]->setVisible(fmus >= 2);
    mOptions[2]->setText(fmus >= 2 ? tr("Use separate FIL settings for each &outcome and FMU")
                                   : tr("Use separate FIL settings for each &outcome"));
    // Per FMU means the same as for everything while there are fewer than two. The property
    // keeps what it says until the user changes something, so a look writes nothing.
    mOption = StoredFILOption();
    if (fmus < 2 && mOption == 2)
        mOption = 1;
    ShowOption();
    ArrangeForFILOption();
    LoadFILPortions();
}

void frm55FILPercents::SetupFILGrids()
{
    mFILs->setCols(3);
    mFILs->setRows(7);
    const QString headers[] = {QStringLiteral("FIL"), QStringLiteral("Relative Amount"), QStringLiteral("%")};
    const int widths[] = {480, 1800, 600};
    for (int c = 0; c < 3; ++c) {
        mFILs->setText(0, c, headers[c]);
        mFILs->setColWidth(c, widths[c]);
        mFILs->setFixedAlignment(c, Qt::AlignCenter);
    }
    mFILs->setColAlignment(0, Qt::AlignCenter);
    mFILs->setColAlignment(kPercentCol, Qt::AlignRight | Qt::AlignVCenter);
    for (int f = 1; f <= model::kFILCount; ++f)
        mFILs->setText(f, 0, QString::number(f));

    mOutcomes->setCols(3);
    SetupOutcomeAcresGrid(*mOutcomes);
}

void frm55FILPercents::ArrangeForFILOption()
{
    const bool severalFMUs = model::FMUCount() >= 2;
    const bool fmusShown = mOption == 2 || (mOption == 3 && severalFMUs);
    mFMUPanel->setVisible(fmusShown);
    mOutcomes->setVisible(mOption == 3);
    Place(mOutcomes, 120, fmusShown ? kAreaTop + 1400 : kAreaTop, 5880, fmusShown ? 2600 : 4000);
    Place(mFILPanel, mOption == 1 ? 3120 : 6180, kAreaTop, 3360, 2280);
}

void frm55FILPercents::LoadFILPortions()
{
    const model::c64BurnArea* area = mOutcome ? mOutcome->BurnArea(mFMUKey) : nullptr;
    for (int f = 1; f <= model::kFILCount; ++f) {
        mAmounts[f - 1] = area ? area->FILPortion(f) : 0;
        // An amount stored outside 0 ... 10 still paints a bar within its cell.
        mFILs->setCellFloodPercent(f, kAmountCol, std::clamp(mAmounts[f - 1] * 10, 0, 100));
    }
    mLoaded = mAmounts;
    ShowFILPercents();
}

// The same percents the impact figures use.
void frm55FILPercents::ShowFILPercents()
{
    model::c64BurnArea shares;
    shares.InitializeWith(0, 0, 0, mAmounts);
    for (int f = 1; f <= model::kFILCount; ++f)
        mFILs->setText(f, kPercentCol, QString::number(shares.FILPercent(f)));
}

void frm55FILPercents::SetFILPortionFromFraction(int row, double fraction)
{
    if (row < 1 || row > model::kFILCount)
        return;
    const double tenths = model::textnum::Val(grid::FormatNumber(fraction, QStringLiteral("0.0")));
    mFILs->setCellFloodPercent(row, kAmountCol, tenths * 100.0);
    mAmounts[row - 1] = model::textnum::RoundHalfEven(tenths * 10.0);
    ShowFILPercents();
}

QList<model::c64BurnArea*> frm55FILPercents::AreasFor(int option)
{
    QList<model::c64BurnArea*> areas;
    if (option == 3) {
        if (mOutcome)
            areas << mOutcome->BurnArea(mFMUKey);
    } else {
        const bool everyFMU = option == 1 && model::FMUCount() >= 1;
        auto add = [&](model::c53Outcome& outcome) {
            if (everyFMU)
                areas << outcome.BurnAreaCollection();
            else
                areas << outcome.BurnArea(mFMUKey);
        };
        for (const auto& alt : model::GetAlternatives())
            for (const model::OutcomeKind kind : model::kAlternativeOutcomeKinds)
                if (auto outcome = alt->Outcome(kind))
                    add(*outcome);
        if (auto extreme = model::GetExtremeOutcome())
            add(*extreme);
    }
    areas.removeAll(nullptr);
    return areas;
}

void frm55FILPercents::StoreForOption(int option)
{
    for (model::c64BurnArea* area : AreasFor(option)) {
        for (int f = 1; f <= model::kFILCount; ++f)
            area->SetFILPortion(f, mAmounts[f - 1]);
        area->SaveChanges();
    }
}

bool frm55FILPercents::OverwritesOtherAmounts(int option)
{
    for (const model::c64BurnArea* area : AreasFor(option))
        for (int f = 1; f <= model::kFILCount; ++f)
            if (area->FILPortion(f) != mAmounts[f - 1])
                return true;
    return false;
}

void frm55FILPercents::SaveChanges()
{
    if (mAmounts == mLoaded && !mSpread)
        return;
    mSpread = false;
    core::SaveAllOrNothing([this] {
        StoreForOption(mOption);
        // An option shown in place of one that no longer applies is stored with the amounts.
        if (StoredFILOption() != mOption)
            core::Property_Set(kOptionProperty, QString::number(mOption));
    });
    mLoaded = mAmounts;
}

void frm55FILPercents::optFIL_Click(int index)
{
    core::Trace(QStringLiteral("optFIL_Click ") + QString::number(index));
    if (!core::IsIdle() || index == mOption)
        return;
    SaveOrPutBack([this] { SaveChanges(); }, [this] { ShowOption(); });
    // A wider reach puts the amounts on screen over every outcome (and FMU) it covers: where
    // some hold amounts of their own, the user says first whether they go.
    if (index < 3 && OverwritesOtherAmounts(index) && !ConfirmOverwrite(index)) {
        ShowOption();
        return;
    }
    core::SaveAllOrNothing([this, index] {
        core::Property_Set(kOptionProperty, QString::number(index));
        StoreForOption(index);
    });
    mOption = index;
    ArrangeForFILOption();
}

void frm55FILPercents::grdOutcomes_EnterCell()
{
    if (!core::IsIdle())
        return;
    auto* outcome = mOutcomes->rowObject<model::c53Outcome>(mOutcomes->row());
    if (!outcome || outcome == mOutcome)
        return;
    SwitchShownObject([this] { SaveOrPutBack([this] { SaveChanges(); },
                                             [this] {
                                                 const QSignalBlocker quiet(mOutcomes);
                                                 mOutcomes->setRow(mOutcomes->findRowObject(mOutcome));
                                             }); },
                      [this, outcome] {
                          mOutcome = outcome;
                          LoadFILPortions();
                      });
}

void frm55FILPercents::lstFMUs_Click()
{
    core::Trace(QStringLiteral("lstFMUs_Click ") + QString::number(mFMUs->listIndex()));
    if (!core::IsIdle())
        return;
    const int key = mFMUs->currentKey();
    SwitchShownObject([this] { SaveOrPutBack([this] { SaveChanges(); },
                                             [this] {
                                                 const QSignalBlocker quiet(mFMUList);
                                                 mFMUs->setListIndex(mFMUs->findKey(mFMUKey));
                                             }); },
                      [this, key] {
                          mFMUKey = key;
                          LoadFILPortions();
                      });
}

void frm55FILPercents::ShowOption()
{
    core::BusyScope busy;
    mOptions[mOption - 1]->setChecked(true);
}

bool frm55FILPercents::ConfirmOverwrite(int option)
{
    const QString scope = option == 1 ? tr("The outcomes and FMUs do not all have the same FIL settings.")
                                      : tr("The outcomes do not all have the same FIL settings for this FMU.");
    return ui::MsgBox(ui::Lines({scope, tr("Use the settings shown for all of them?")}), ui::Buttons::YesNo,
                      ui::Icon::Question, ui::Answer::No, tr("FIL Proportions")) == ui::Answer::Yes;
}

// One setting for all computations holds for every burn area, also those made before it
// reached them (in a file from before new FMUs took it): closing with such areas left asks
// whether they take the amounts shown.
void frm55FILPercents::done(int result)
{
    if (!unloaded() && mOption == 1 && mAmounts == mLoaded && OverwritesOtherAmounts(1))
        mSpread = ConfirmOverwrite(1);
    ModalDialog::done(result);
}

void frm55FILPercents::cmdClose_Click()
{
    core::Trace(QStringLiteral("frm55FILPercents.cmdClose_Click"));
    ModalDialog::cmdClose_Click();
}

} // namespace worksheets
