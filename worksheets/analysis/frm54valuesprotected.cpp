#include "worksheets/analysis/frm54valuesprotected.h"

#include "core/savescope.h"
#include "core/u91trace.h"
#include "core/u92utilities.h"
#include "core/uimode.h"
#include "model/c36threateneditem.h"
#include "model/c53outcome.h"
#include "model/c66itemimpact.h"
#include "platform/grid/grid.h"
#include "platform/grid/numberformat.h"
#include "platform/ui/guard.h"
#include "worksheets/analysis/formguards.h"
#include "worksheets/common/figurepanel.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/numberbox.h"
#include "worksheets/common/outcomegrids.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace worksheets {

namespace {

constexpr int kLevelCol = 2;
constexpr int kProtectedCol = 3;
constexpr int kMaxLevel = 100;

// A sunken panel of a name, which breaks into lines.
QLabel* Panel(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(120);
    return label;
}

QLabel* Instruction(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    return label;
}

QString Dollars(double v) { return grid::FormatNumber(v, QStringLiteral("#,0")); }

// The grid's row goes back to the object still shown, raising nothing.
void PutBack(grid::Grid& grid, int row)
{
    if (row < 1)
        return;
    const QSignalBlocker quiet(&grid);
    grid.setRow(row);
}

} // namespace

frm54ValuesProtected::frm54ValuesProtected(QWidget* parent)
    : WorksheetForm(QStringLiteral("frm54ValuesProtected"), parent)
{
    mOutcomes = new grid::Grid(this);
    mOutcomes->setObjectName(QStringLiteral("grdOutcomes"));

    auto* itemsPanel = new QGroupBox(tr(" Values at Risk"), this);
    itemsPanel->setObjectName(QStringLiteral("Panel3D5"));
    mItems = new grid::Grid(itemsPanel);
    mItems->setObjectName(QStringLiteral("grdItems"));
    auto* itemsLayout = new QVBoxLayout(itemsPanel);
    itemsLayout->addWidget(mItems);

    auto* totalLabel = new QLabel(tr("Total expected values protected in this outcome (rounded)"), this);
    totalLabel->setObjectName(QStringLiteral("pnlLabel"));
    totalLabel->setWordWrap(true);   // two lines rather than cut where the list is narrow
    totalLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    mTotal = new FigurePanel(QStringLiteral("pnlTotal"), 120, this);

    mDetails = new QGroupBox(tr(" Value protected"), this);
    mDetails->setObjectName(QStringLiteral("pnlDetails"));
    mOutcomeName = Panel(mDetails, QStringLiteral("pnlOutcome"));
    mItemName = Panel(mDetails, QStringLiteral("pnlName"));
    // Long outcome and item names break into lines beside their captions rather than being cut.
    for (QLabel* name : {mOutcomeName, mItemName})
        name->setWordWrap(true);
    mValueAtRisk = new FigurePanel(QStringLiteral("pnlPotentialLoss"), 120, mDetails);
    mLevel = new QComboBox(mDetails);
    mLevel->setObjectName(QStringLiteral("cboProbability"));
    mLevel->setEditable(true);
    mLevel->setInsertPolicy(QComboBox::NoInsert);
    mLevel->addItems({QStringLiteral("Yes (100%)"), QStringLiteral("Mostly (75%)"), QStringLiteral("Partly (50%)"),
                      QStringLiteral("Slightly (25%)"), QStringLiteral("No (0%)")});
    mProtected = new FigurePanel(QStringLiteral("pnlProtected"), 120, mDetails);
    mNotes = new QPlainTextEdit(mDetails);
    mNotes->setObjectName(QStringLiteral("txtNotes"));
    mNotes->setTabChangesFocus(true);
    auto* detailsLayout = new QFormLayout(mDetails);
    detailsLayout->addRow(tr("Outcome:"), mOutcomeName);
    detailsLayout->addRow(tr("Item:"), mItemName);
    detailsLayout->addRow(tr("Expected value at risk:"), mValueAtRisk);
    detailsLayout->addRow(tr("Is the Item &protected in this outcome?"), mLevel);
    detailsLayout->addRow(tr("Expected value protected:"), mProtected);
    detailsLayout->addRow(tr("&Notes:"), mNotes);

    auto* totalRow = new QHBoxLayout;
    totalRow->addWidget(totalLabel, 1);
    totalRow->addWidget(mTotal);
    auto* left = new QVBoxLayout;
    left->addWidget(Instruction(tr("For each Outcome, step through each of the Items.  Enter the level of protection "
                                   "below."),
                                this));
    left->addWidget(mOutcomes, 3);
    left->addWidget(itemsPanel, 3);
    left->addLayout(totalRow);
    auto* right = new QVBoxLayout;
    right->addWidget(mDetails, 1);
    right->addWidget(Instruction(tr("Items outside the fire perimeter are protected.  Items inside the fire perimeter "
                                    "might be protected in some cases.  A group of items might be partly protected "
                                    "and partly damaged.  Select a value from the list or type in a percent (0 - "
                                    "100)."),
                                 this));
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(right, 2);
    setTabOrder(mOutcomes, mItems);
    setTabOrder(mItems, mLevel);
    setTabOrder(mLevel, mNotes);

    connect(mOutcomes, &grid::Grid::enterCell, this, ui::Guarded(this, &frm54ValuesProtected::grdOutcomes_EnterCell));
    // The keyboard moves through the items as a click does: both make the row current.
    connect(mItems, &grid::Grid::enterCell, this, ui::Guarded(this, &frm54ValuesProtected::grdItems_EnterCell));
    // A click on an item takes the user on to its level; the arrow keys stay in the grid.
    connect(mItems, &grid::Grid::click, this, ui::Guarded([this] {
        if (mDetails->isEnabled())
            mLevel->setFocus();
    }));
    // A level typed or pasted: a percent or a label, held within 0 ... 100; what is neither is
    // refused when the typing ends and the level before stays.
    mLevelNumber = LabelledPercentBox(mLevel->lineEdit(), this, QStringLiteral("The protection level"),
                                      QStringLiteral("level"), &model::c66ItemImpact::LabelForLevel);
    mLevelNumber->held = [this] { return mDetail ? double(mDetail->ProtectionLevel()) : 0.0; };
    mLevelNumber->take = [this](double v) { cboProbability_Change(QString::number(int(v))); };
    connect(mLevel, &QComboBox::activated, this, ui::Guarded([this](int index) { SetLevel(mLevel->itemText(index)); }));
    connect(mLevel->lineEdit(), &QLineEdit::editingFinished, this, ui::Guarded(this, &frm54ValuesProtected::cboProbability_Finished));
    connect(mNotes, &QPlainTextEdit::textChanged, this, ui::Guarded(this, &frm54ValuesProtected::txtNotes_Change));
}

frm54ValuesProtected::~frm54ValuesProtected()
{
    DisconnectChildren(*this);
    mOutcome = nullptr;
    mItem = nullptr;
}

void frm54ValuesProtected::Setup()
{
    BeginSetup(QStringLiteral("frm54ValuesProtected.Setup"));
    core::BusyScope busy;
    mOutcome = nullptr;
    mItem = nullptr;
    mDetail.reset();
    SetupGrids();
    ShowOutcomeAcres(*mOutcomes);
    LoadValuesProtected();
    if (mOutcomes->rows() > 1) {
        mOutcomes->setRow(1);
        mOutcome = mOutcomes->rowObject<model::c53Outcome>(1);
    }
    FillValueAtRiskSummaryGrid(*mItems);
    NewItemImpactArray();
    SelectFirstItem();
    if (mDetails->isEnabled())
        mLevel->setFocus();
}

void frm54ValuesProtected::SetupGrids()
{
    mOutcomes->setCols(4);
    SetupOutcomeAcresGrid(*mOutcomes);
    mOutcomes->setColWidth(kProtectedCol, 1200);
    mOutcomes->setColAlignment(kProtectedCol, Qt::AlignRight | Qt::AlignVCenter);
    mOutcomes->setText(0, kProtectedCol, QStringLiteral("Protected"));

    mItems->setCols(4);
    mItems->setRows(1);
    // Wide enough for the headers' lines in the screen font.
    const int widths[] = {2700, 1500, 1300, 1700};
    const Qt::Alignment aligns[] = {Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignRight | Qt::AlignVCenter,
                                    Qt::AlignCenter, Qt::AlignRight | Qt::AlignVCenter};
    const QString headers[] = {QStringLiteral("Item"), QStringLiteral("Expected\r\nValue at\r\nRisk ($)"),
                               QStringLiteral("Level of\r\nProtection\r\n(%)"),
                               QStringLiteral("Expected Value\r\nProtected in this\r\nOutcome ($)")};
    for (int c = 0; c < 4; ++c) {
        mItems->setColWidth(c, widths[c]);
        mItems->setColAlignment(c, aligns[c]);
        mItems->setFixedAlignment(c, Qt::AlignCenter);
        mItems->setText(0, c, headers[c]);
    }
    mItems->setRowHeight(0, 640);
}

void frm54ValuesProtected::LoadValuesProtected()
{
    for (int r = 1; r < mOutcomes->rows(); ++r)
        if (auto* outcome = mOutcomes->rowObject<model::c53Outcome>(r))
            mOutcomes->setText(r, kProtectedCol, Dollars(outcome->ValueProtected()));
}

void frm54ValuesProtected::NewItemImpactArray()
{
    mImpacts.assign(std::max(1, mItems->rows()), model::c66ItemImpact());
    LoadItemProtection();
}

void frm54ValuesProtected::LoadItemProtection()
{
    for (int i = 1; i < mItems->rows() && i < int(mImpacts.size()); ++i) {
        const auto* item = mItems->rowObject<model::c36ThreatenedItem>(i);
        mImpacts[i].Initialize(mOutcome ? mOutcome->ItemKey() : 0, item ? item->ItemKey() : 0);
        mItems->setText(i, kLevelCol, QString::number(mImpacts[i].ProtectionLevel()));
        mItems->setText(i, kProtectedCol, Dollars(mImpacts[i].ProtectedValue()));
    }
    ShowTotalProtected();
}

void frm54ValuesProtected::ShowTotalProtected()
{
    double sum = 0;
    for (int i = 1; i < mItems->rows(); ++i)
        sum += mItems->value(i, kProtectedCol);
    mTotal->setText(grid::FormatNumber(core::RoundSignificant(sum, 2), QStringLiteral("$#,0")));
}

void frm54ValuesProtected::SelectFirstItem()
{
    core::Trace(QStringLiteral("frm54ValuesProtected.SelectFirstItem"));
    core::BusyScope busy;
    if (mItems->rows() > 1) {
        mItems->setRow(1);
        mItem = mItems->rowObject<model::c36ThreatenedItem>(1);
        ShowItemDetails();
    } else {
        ClearItemDetails();
    }
}

void frm54ValuesProtected::ShowItemDetails()
{
    core::BusyScope busy;
    if (!mOutcome || !mItem) {
        ClearItemDetails();
        return;
    }
    if (!mDetail)
        mDetail = std::make_unique<model::c66ItemImpact>();
    mDetail->Initialize(mOutcome->ItemKey(), mItem->ItemKey());
    mOutcomeName->setText(mOutcome->FullName());
    mItemName->setText(mItem->ItemName());
    mValueAtRisk->setText(Dollars(mItem->ValueAtRisk()));
    ShowInCombo(mLevel, mDetail->ProtectionLabel());
    mProtected->setText(Dollars(mDetail->ProtectedValue()));
    mNotes->setPlainText(mDetail->Notes());
    mDetails->setEnabled(true);
}

void frm54ValuesProtected::ClearItemDetails()
{
    core::BusyScope busy;
    mItem = nullptr;
    mDetail.reset();
    mItemName->clear();
    mValueAtRisk->clear();
    ShowInCombo(mLevel, QString());
    mNotes->clear();
    mDetails->setEnabled(false);
}

void frm54ValuesProtected::SaveChanges()
{
    core::Trace(QStringLiteral("frm54ValuesProtected.SaveChanges"));
    mLevelNumber->commit();
    if (mDetail)
        mDetail->SaveChanges();
}

void frm54ValuesProtected::grdOutcomes_EnterCell()
{
    if (!core::IsIdle())
        return;
    auto* outcome = mOutcomes->rowObject<model::c53Outcome>(mOutcomes->row());
    if (!outcome || outcome == mOutcome)
        return;
    SwitchShownObject([this] { SaveOrPutBack([this] { core::SaveAllOrNothing([this] { SaveChanges(); }); },
                                             [this] { PutBack(*mOutcomes, mOutcomes->findRowObject(mOutcome)); }); },
                      [this, outcome] {
                          mOutcome = outcome;
                          LoadItemProtection();
                          ShowItemDetails();
                      });
}

void frm54ValuesProtected::grdItems_EnterCell()
{
    if (!core::IsIdle())
        return;
    auto* item = mItems->rowObject<model::c36ThreatenedItem>(mItems->row());
    if (!item || item == mItem)
        return;
    core::Trace(QStringLiteral("frm54ValuesProtected.grdItems_Click"));
    SwitchShownObject([this] { SaveOrPutBack([this] { core::SaveAllOrNothing([this] { SaveChanges(); }); },
                                             [this] { PutBack(*mItems, mItems->findRowObject(mItem)); }); },
                      [this, item] {
                          mItem = item;
                          ShowItemDetails();
                      });
}

void frm54ValuesProtected::cboProbability_Change(const QString& text)
{
    if (!core::IsIdle())
        return;
    SetLevel(text);
}

// A level outside 0 ... 100 is taken as the nearer end, however it was typed.
void frm54ValuesProtected::SetLevel(const QString& text)
{
    if (!mDetail)
        return;
    const int level = model::c66ItemImpact::LevelFromLabel(text);
    const int kept = std::clamp(level, 0, kMaxLevel);
    mDetail->SetProtectionLabel(kept == level ? text : QString::number(kept));
    const int row = mItems->row();
    if (row >= 1 && row < mItems->rows())
        mItems->setText(row, kLevelCol, QString::number(mDetail->ProtectionLevel()));
    UpdateProtectedValue();
}

// Once the typing is done, the box shows the level as it was taken (150 as "Yes (100%)").
void frm54ValuesProtected::cboProbability_Finished()
{
    if (!mDetail || mLevel->currentText() == mDetail->ProtectionLabel())
        return;
    core::BusyScope busy;
    ShowInCombo(mLevel, mDetail->ProtectionLabel());
}

void frm54ValuesProtected::UpdateProtectedValue()
{
    const QString text = Dollars(mDetail->ProtectedValue());
    mProtected->setText(text);
    const int row = mItems->row();
    if (row >= 1 && row < mItems->rows())
        mItems->setText(row, kProtectedCol, text);
    ShowTotalProtected();
    const int outcomeRow = mOutcomes->row();
    if (outcomeRow >= 1 && outcomeRow < mOutcomes->rows())
        mOutcomes->setText(outcomeRow, kProtectedCol, mTotal->text());
}

void frm54ValuesProtected::txtNotes_Change()
{
    if (!core::IsIdle() || !mDetail)
        return;
    mDetail->SetNotes(mNotes->toPlainText());
}

} // namespace worksheets
