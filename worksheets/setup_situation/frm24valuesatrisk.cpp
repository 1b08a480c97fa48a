#include "worksheets/setup_situation/frm24valuesatrisk.h"

#include "core/savescope.h"
#include "core/u91trace.h"
#include "core/u92utilities.h"
#include "core/uimode.h"
#include "model/c36threateneditem.h"
#include "model/g36threateneditems.h"
#include "model/textnumbers.h"
#include "platform/grid/grid.h"
#include "platform/grid/numberformat.h"
#include "platform/ui/guard.h"
#include "platform/ui/prompter.h"
#include "platform/ui/screen.h"
#include "worksheets/common/figurepanel.h"
#include "worksheets/common/gridfit.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/numberbox.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace worksheets {

namespace {

enum Column { ColItem, ColLoss, ColProbability, ColValue, ColumnCount };

const QString kWhole = QStringLiteral("#,0");
const QString kDollars = QStringLiteral("$#,0");

// A label whose lines break at the width it is given, however narrow.
QLabel* WrappedLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setMinimumWidth(80);
    return label;
}

QLabel* HelpLabel(const QString& text, QWidget* parent)
{
    auto* label = WrappedLabel(text, parent);
    QFont small = label->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    label->setFont(small);
    return label;
}

QComboBox* EditableCombo(const char* objectName, const QStringList& entries, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(objectName));
    combo->setEditable(true);
    // What is typed stays as typed: no completion from the list, nothing added to it.
    combo->setCompleter(nullptr);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(entries);
    return combo;
}

} // namespace

frm24ValuesAtRisk::frm24ValuesAtRisk(QWidget* parent) : WorksheetForm(QStringLiteral("frm24ValuesAtRisk"), parent)
{
    mInstructions = new QLabel(this);
    mInstructions->setObjectName(QStringLiteral("lblInstructions"));
    mInstructions->setWordWrap(true);
    // SetInstructions
    mInstructions->setText(QStringLiteral("List values that may be at risk from the fire.  ") +
                           QStringLiteral("May include Federal values not adequately reflected ") +
                           QStringLiteral("in Korvel NVC and non-Federal property, ") +
                           QStringLiteral("income, community assets, etc.") + QStringLiteral("\r\n") +
                           QStringLiteral("Add an Item by clicking the Add Item button below ") +
                           QStringLiteral("and entering details on the right."));

    auto* gridCaption = new QLabel(tr("Values Threatened"), this);
    mGrid = new grid::Grid(this);
    mGrid->setObjectName(QStringLiteral("grdItems"));
    mAdd = new QPushButton(tr("&Add Item"), this);
    mAdd->setObjectName(QStringLiteral("cmdAddItem"));
    mDelete = new QPushButton(tr("&Delete Item"), this);
    mDelete->setObjectName(QStringLiteral("cmdDeleteItem"));

    auto* totalCaption = new QLabel(tr("&Total expected value at risk (rounded)"), this);
    totalCaption->setObjectName(QStringLiteral("pnlLabel"));
    totalCaption->setBuddy(mGrid);
    // The closing bracket's stroke reaches the last pixel of the text's width: a pixel spare at
    // the right keeps it from being cut to "]" where the caption has only its own width.
    totalCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    totalCaption->setIndent(1);
    mTotal = new FigurePanel(QStringLiteral("pnlTotal"), 100, this);

    mDetails = new QGroupBox(tr(" Item Details"), this);
    mDetails->setObjectName(QStringLiteral("pnlItemDetails"));
    mName = new QLineEdit(mDetails);
    mName->setObjectName(QStringLiteral("txtName"));
    auto* nameCaption = new QLabel(tr("Item:"), mDetails);
    nameCaption->setBuddy(mName);
    mDamage = EditableCombo("cboDamage", {QStringLiteral("10,000"), QStringLiteral("100,000"),
                                          QStringLiteral("1,000,000"), QStringLiteral("10,000,000"),
                                          QStringLiteral("100,000,000")},
                            mDetails);
    auto* damageCaption = new QLabel(tr("Expected loss if the item burns:"), mDetails);
    damageCaption->setBuddy(mDamage);
    mProbability = EditableCombo("cboProbability",
                                 {QStringLiteral("Very High (95%)"), QStringLiteral("High (75%)"),
                                  QStringLiteral("Medium (50%)"), QStringLiteral("Low (25%)"),
                                  QStringLiteral("Very Low (5%)")},
                                 mDetails);
    auto* probabilityCaption =
        WrappedLabel(tr("Probability the item will burn if no suppression action is taken:"), mDetails);
    probabilityCaption->setBuddy(mProbability);
    auto* riskPanel = new QFrame(mDetails);
    riskPanel->setObjectName(QStringLiteral("pnlRiskFrame"));
    riskPanel->setFrameShape(QFrame::StyledPanel);
    auto* riskCaption = new QLabel(tr("Expected value at risk:"), riskPanel);
    mRisk = new FigurePanel(QStringLiteral("pnlRisk"), 90, riskPanel);
    auto* riskHelp = HelpLabel(tr("(amount of loss  x  probabilty of loss)"), riskPanel);
    auto* riskLayout = new QGridLayout(riskPanel);
    riskLayout->setContentsMargins(8, 4, 8, 4);
    riskLayout->setVerticalSpacing(2);
    riskLayout->addWidget(riskCaption, 0, 0);
    riskLayout->addWidget(mRisk, 0, 1, Qt::AlignLeft);
    riskLayout->addWidget(riskHelp, 1, 0, 1, 2);
    riskLayout->setColumnStretch(2, 1);
    mNotes = new QPlainTextEdit(mDetails);
    mNotes->setObjectName(QStringLiteral("txtNotes"));
    mNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Three lines at least, and whatever room the panel has beyond: never the reason it scrolls.
    mNotes->setMinimumHeight(QFontMetrics(mNotes->font()).lineSpacing() * 3 + 12);
    mNotes->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    mNotes->setTabChangesFocus(true);
    auto* notesCaption = new QLabel(tr("Notes:"), mDetails);
    notesCaption->setBuddy(mNotes);

    auto* details = new QVBoxLayout(mDetails);
    // Tight enough that the whole panel fits beside the list on a small screen.
    details->setSpacing(3);
    details->setContentsMargins(8, 4, 8, 6);
    details->addWidget(nameCaption);
    details->addWidget(mName);
    details->addWidget(damageCaption);
    details->addWidget(mDamage);
    details->addWidget(HelpLabel(tr("Consider repair or replacement cost and also  the value of any lost services.  "
                                    "Select an approximate value from the list or type in a value."),
                                 mDetails));
    details->addWidget(probabilityCaption);
    details->addWidget(mProbability);
    details->addWidget(HelpLabel(
        tr("Items immediately threatened by the fire have a high or very high probability.  Items that would only "
           "burn after prolonged extreme wind and weather conditions have a low or very low probability.  "
           "Consider distance, direction and spread rate.  Select from the list or type in a percentage (0 - 100)."),
        mDetails));
    details->addWidget(riskPanel);
    details->addWidget(notesCaption);
    details->addWidget(mNotes, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mAdd);
    buttons->addWidget(mDelete);
    buttons->addStretch(1);
    auto* total = new QHBoxLayout;
    total->addStretch(1);
    total->addWidget(totalCaption);
    total->addSpacing(6);
    total->addWidget(mTotal);
    auto* left = new QVBoxLayout;
    left->addWidget(mInstructions);
    left->addWidget(gridCaption);
    left->addWidget(mGrid, 1);
    left->addLayout(total);
    left->addLayout(buttons);
    // On a small screen the details scroll rather than squeeze their texts.
    auto* detailsScroll = new QScrollArea(this);
    detailsScroll->setFrameShape(QFrame::NoFrame);
    detailsScroll->setWidgetResizable(true);
    detailsScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    detailsScroll->setWidget(mDetails);
    auto* layout = new QGridLayout(this);
    layout->addLayout(left, 0, 0);
    layout->addWidget(detailsScroll, 0, 1);
    layout->setColumnStretch(1, 1);
    setTabOrder(mGrid, mAdd);
    setTabOrder(mAdd, mDelete);
    setTabOrder(mDelete, mName);
    setTabOrder(mName, mDamage);
    setTabOrder(mDamage, mProbability);
    setTabOrder(mProbability, mNotes);

    connect(mGrid, &grid::Grid::enterCell, this, ui::Guarded(this, &frm24ValuesAtRisk::grdItems_EnterCell));
    connect(mName, &QLineEdit::textChanged, this, ui::Guarded(this, &frm24ValuesAtRisk::txtName_Change));
    connect(mDamage, &QComboBox::activated, this, ui::Guarded(this, &frm24ValuesAtRisk::cboDamage_Click));
    connect(mProbability, &QComboBox::activated, this, ui::Guarded(this, &frm24ValuesAtRisk::cboProbability_Click));
    BindNumberBoxes();
    connect(mNotes, &QPlainTextEdit::textChanged, this, ui::Guarded(this, &frm24ValuesAtRisk::txtNotes_Change));
    connect(mAdd, &QPushButton::clicked, this, ui::Guarded(this, &frm24ValuesAtRisk::cmdAddItem_Click));
    connect(mDelete, &QPushButton::clicked, this, ui::Guarded(this, &frm24ValuesAtRisk::cmdDeleteItem_Click));
}

frm24ValuesAtRisk::~frm24ValuesAtRisk() { mCurrent.reset(); }

void frm24ValuesAtRisk::Setup()
{
    BeginSetup(QStringLiteral("frm24ValuesAtRisk.Setup"));
    core::BusyScope busy;
    mCurrent.reset();
    SetupItemGrid();
    FillValuesAtRiskGrid(*mGrid);
    ShowTotal();
    SelectFirstItem();
}

// The loss and the probability typed or pasted: a negative loss is no loss, a probability is
// held within 0 ... 100, as the model keeps them; what is no number is refused when typing ends.
void frm24ValuesAtRisk::BindNumberBoxes()
{
    mLoss = new NumberBox(mDamage->lineEdit(), this, model::textnum::kAmountKind, QStringLiteral("The expected loss"),
                          QStringLiteral("amount"));
    mLoss->read = [](const QString& text) {
        const model::textnum::Typed typed = model::textnum::ReadNumber(text, model::textnum::kAmountKind);
        if (typed.reading == model::textnum::Reading::TooSmall)
            return model::textnum::Typed{model::textnum::Reading::Value, 0, true};
        return typed;
    };
    mLoss->held = [this] { return mCurrent ? mCurrent->PotentialLoss() : 0.0; };
    mLoss->show = [](double v) { return grid::FormatNumber(v, kWhole); };
    mLoss->take = [this](double v) { SetPotentialLoss(v); };

    mChance = LabelledPercentBox(mProbability->lineEdit(), this, QStringLiteral("The probability of loss"),
                                 QStringLiteral("probability"), &model::c36ThreatenedItem::LabelForProbability);
    mChance->held = [this] { return mCurrent ? double(mCurrent->Probability()) : 0.0; };
    mChance->take = [this](double v) { SetProbability(QString::number(int(v))); };
}

void frm24ValuesAtRisk::SaveChanges()
{
    core::Trace(QStringLiteral("frm24ValuesAtRisk.SaveChanges"));
    mLoss->commit();
    mChance->commit();
    if (auto item = mCurrent)
        core::SaveAllOrNothing([item] { item->SaveChanges(); });
}

void frm24ValuesAtRisk::SetupItemGrid()
{
    core::Trace(QStringLiteral("frm24ValuesAtRisk.SetupItemGrid"));
    mGrid->setCols(ColumnCount);
    mGrid->setFixedRows(1);
    mGrid->setFixedCols(0);
    mGrid->setRows(1);
    // The header row is three lines high: the long headers break where the narrow columns need.
    const struct {
        const char* header;
        int width;
        Qt::Alignment alignment;
    } columns[ColumnCount] = {
        {"Item", 2700, Qt::AlignLeft | Qt::AlignVCenter},
        {"Potential Loss\n($)", 1300, Qt::AlignRight | Qt::AlignVCenter},
        {"Probability\nof Loss\n(%)", 900, Qt::AlignCenter},
        {"Expected Value\nat Risk ($)", 1200, Qt::AlignRight | Qt::AlignVCenter},
    };
    for (int c = 0; c < ColumnCount; ++c) {
        const QString header = QString::fromLatin1(columns[c].header);
        mGrid->setText(0, c, header);
        // Never narrower than a line of its header in the font on screen.
        int widest = 0;
        for (const QString& line : header.split(QLatin1Char('\n')))
            widest = std::max(widest, mGrid->fontMetrics().horizontalAdvance(line) + 10);
        mGrid->setColWidth(c, std::max(columns[c].width, ui::PixelsToTwips(widest)));
        mGrid->setColAlignment(c, columns[c].alignment);
        mGrid->setFixedAlignment(c, Qt::AlignCenter);
    }
    // Three lines of the font on screen, however tall it is.
    mGrid->setRowHeight(0, std::max(600, ui::PixelsToTwips(3 * mGrid->fontMetrics().lineSpacing() + 6)));
    // The whole row in view, with room for the scroll bar.
    mGrid->setMinimumWidth(CellsSize(*mGrid).width() + mGrid->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

// From the rounded values the rows show, rounded once more: the total a reader of the list
// would add up.
void frm24ValuesAtRisk::ShowTotal()
{
    double sum = 0;
    for (int r = 1; r < mGrid->rows(); ++r)
        sum += mGrid->value(r, ColValue);
    mTotal->setText(grid::FormatNumber(core::RoundSignificant(sum, 2), kDollars));
}

void frm24ValuesAtRisk::SelectFirstItem()
{
    core::Trace(QStringLiteral("frm24ValuesAtRisk.SelectFirstItem"));
    core::BusyScope busy;
    if (mGrid->rows() >= 2) {
        mDelete->setEnabled(true);
        mGrid->setRow(1);
        DisplayItem();
    } else {
        ClearItemDetails();
        mDelete->setEnabled(false);
        mAdd->setFocus(Qt::OtherFocusReason);
    }
}

void frm24ValuesAtRisk::DisplayItem()
{
    core::BusyScope busy;
    auto* shown = mGrid->row() >= 1 ? mGrid->rowObject<model::c36ThreatenedItem>(mGrid->row()) : nullptr;
    mCurrent = shown ? model::GetThreatenedItem(shown->ItemKey()) : nullptr;
    if (!mCurrent) {
        ClearItemDetails();
        return;
    }
    mName->setText(mCurrent->ItemName());
    ShowInCombo(mDamage, grid::FormatNumber(mCurrent->PotentialLoss(), kWhole));
    ShowInCombo(mProbability, mCurrent->ProbabilityLabel());
    mRisk->setText(grid::FormatNumber(mCurrent->ValueAtRisk(), kDollars));
    mNotes->setPlainText(mCurrent->Notes());
    mDetails->setEnabled(true);
    mName->setFocus(Qt::OtherFocusReason);
}

void frm24ValuesAtRisk::ClearItemDetails()
{
    core::Trace(QStringLiteral("frm24ValuesAtRisk.ClearItemDetails"));
    core::BusyScope busy;
    mName->clear();
    ShowInCombo(mDamage, QString());
    ShowInCombo(mProbability, QString());
    // No figure of an item that is gone stays on screen.
    mRisk->clear();
    mNotes->clear();
    mDetails->setEnabled(false);
}

int frm24ValuesAtRisk::currentItemRow() const { return mCurrent ? mGrid->findRowObject(mCurrent.get()) : -1; }

void frm24ValuesAtRisk::UpdateItemRow()
{
    const int row = currentItemRow();
    mRisk->setText(grid::FormatNumber(mCurrent->ValueAtRisk(), kDollars));
    if (row >= 1) {
        mGrid->setText(row, ColProbability, QString::number(mCurrent->Probability()));
        mGrid->setText(row, ColValue, grid::FormatNumber(mCurrent->ValueAtRisk(), kWhole));
    }
    ShowTotal();
}

// Also when the program moves the current row: the item left is stored either way.
void frm24ValuesAtRisk::grdItems_EnterCell()
{
    core::Trace(QStringLiteral("frm24ValuesAtRisk.grdItems_EnterCell"));
    try {
        SwitchShownObject([this] { SaveChanges(); }, [this] { DisplayItem(); });
    } catch (...) {
        // The item on screen could not be stored: it stays shown, its row current.
        if (const int row = currentItemRow(); row >= 1) {
            const QSignalBlocker quiet(mGrid);
            mGrid->setRow(row);
        }
        throw;
    }
}

void frm24ValuesAtRisk::txtName_Change(const QString& text)
{
    if (!core::IsIdle() || !mCurrent)
        return;
    mCurrent->SetItemName(text);
    if (const int row = currentItemRow(); row >= 1)
        mGrid->setText(row, ColItem, text);
}

void frm24ValuesAtRisk::cboDamage_Click(int index)
{
    SetPotentialLoss(model::textnum::NumericOrZero(mDamage->itemText(index)));
}

// The loss and the figures that follow from it; with nothing typed the row's loss and value
// are blank until a number is.
void frm24ValuesAtRisk::SetPotentialLoss(double amount)
{
    if (!mCurrent)
        return;
    mCurrent->SetPotentialLoss(amount);
    const int row = currentItemRow();
    if (mDamage->currentText().trimmed().isEmpty()) {
        if (row >= 1) {
            mGrid->setText(row, ColLoss, QString());
            mGrid->setText(row, ColValue, QString());
        }
        mRisk->clear();
        return;
    }
    if (row >= 1)
        mGrid->setText(row, ColLoss, grid::FormatNumber(mCurrent->PotentialLoss(), kWhole));
    UpdateItemRow();
}

void frm24ValuesAtRisk::cboProbability_Click(int index) { SetProbability(mProbability->itemText(index)); }

void frm24ValuesAtRisk::SetProbability(const QString& text)
{
    if (!mCurrent)
        return;
    mCurrent->SetProbabilityLabel(text);
    UpdateItemRow();
}

void frm24ValuesAtRisk::txtNotes_Change()
{
    if (!core::IsIdle() || !mCurrent)
        return;
    mCurrent->SetNotes(mNotes->toPlainText());
}

void frm24ValuesAtRisk::cmdAddItem_Click()
{
    core::Trace(QStringLiteral("frm24ValuesAtRisk.cmdAdd_Click"));
    SaveChanges();
    mCurrent = model::AddThreatenedItem(QString());
    mGrid->addItem(QString());
    const int row = mGrid->rows() - 1;
    // The row shows the loss and chance it starts with, as the boxes do.
    const QStringList cells = model::ValuesAtRiskCells(*mCurrent);
    for (int c = 0; c < cells.size(); ++c)
        mGrid->setText(row, c, cells[c]);
    mGrid->setRowObject(row, mCurrent.get());
    mGrid->setCurrentCell(row, ColItem);
    mName->setFocus(Qt::OtherFocusReason);
    mDelete->setEnabled(true);
}

void frm24ValuesAtRisk::cmdDeleteItem_Click()
{
    core::Trace(QStringLiteral("frm24ValuesAtRisk.cmdDelete_Click ") + QString::number(mGrid->row()));
    if (!mCurrent)
        return;
    SaveChanges();
    const int row = currentItemRow();
    // Should the delete fail, the item stays shown and keeps taking what is typed.
    model::DeleteThreatenedItem(mCurrent->ItemKey());
    mCurrent.reset();
    mGrid->removeItem(row);
    ShowTotal();
    if (mGrid->rows() <= 1) {
        mDelete->setEnabled(false);
        ClearItemDetails();
    } else {
        DisplayItem();
    }
}

} // namespace worksheets
