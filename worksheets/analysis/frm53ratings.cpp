#include "worksheets/analysis/frm53ratings.h"

#include "core/u91trace.h"
#include "core/uimode.h"
#include "model/c41objective.h"
#include "model/c53outcome.h"
#include "model/c62rating.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/textnumbers.h"
#include "platform/grid/grid.h"
#include "platform/grid/numberformat.h"
#include "platform/richtext/richtexteditor.h"
#include "platform/ui/guard.h"
#include "platform/ui/screen.h"
#include "worksheets/analysis/costgrids.h"
#include "worksheets/analysis/formguards.h"
#include "worksheets/common/bardrag.h"
#include "worksheets/common/itemlist.h"
#include "worksheets/common/numberbox.h"
#include "worksheets/common/outcomegrids.h"
#include "worksheets/common/worksheetform.h"
#include "worksheets/common/wrappedlist.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QScrollBar>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace worksheets {

namespace {

constexpr int kRatingCol = 3;
constexpr int kBarCol = 4;
constexpr float kMaxRating = 10.0f;

const QString kRatingHeader = QStringLiteral("Rating (0 worst, 10 best)\r\n        Bad                       Good");

QLabel* Caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    return label;
}

// A typed or pasted rating: a number from 0, held to 10.
constexpr model::textnum::NumberKind kRatingKind{.min = 0, .max = kMaxRating, .held = true};

double BarPercent(float rating) { return std::clamp(double(rating) * 10.0, 0.0, 100.0); }

} // namespace

frm53Ratings::frm53Ratings(Criteria criteria, QWidget* parent)
    : WorksheetForm(criteria == Criteria::SafetyIssues ? QStringLiteral("frm52SafetyRatings")
                                                       : QStringLiteral("frm53Ratings"),
                    parent)
    , mCriteria(criteria)
{
    const bool s = safety();
    mListPanel = new QGroupBox(s ? tr("Safety Issues") : tr(" Objectives"), this);
    mListPanel->setObjectName(QStringLiteral("Panel3D3"));
    // Only the caption is bold, not the list it frames.
    if (s)
        mListPanel->setStyleSheet(QStringLiteral("QGroupBox { font-weight: bold; }"));
    mListWidget = new QListWidget(mListPanel);
    mListWidget->setObjectName(QStringLiteral("lstObjectives"));
    WrapLongEntries(mListWidget);
    mList = new ItemList(mListWidget);
    auto* listLayout = new QVBoxLayout(mListPanel);
    listLayout->addWidget(Caption(s ? tr("Select each issue in turn") : tr("Select each objective in turn"), mListPanel));
    listLayout->addWidget(mListWidget, 1);

    mCriterionLabel = new NameLabel(this);
    mCriterionLabel->setObjectName(QStringLiteral("lblCriterion"));
    QFont bold = mCriterionLabel->font();
    bold.setBold(true);
    mCriterionLabel->setFont(bold);
    mDescription = new richtext::RichTextEditor(this);
    mDescription->setObjectName(QStringLiteral("txtDescription"));
    mDescription->buttonBar()->hide();
    // The criterion's description is written on its own worksheet; here it is only read.
    mDescription->textEdit()->setReadOnly(true);

    mGrid = new grid::Grid(this);
    mGrid->setObjectName(QStringLiteral("Grid1"));
    mGrid->setEditable(true);

    mOutcomeLabel = new NameLabel(this);
    mOutcomeLabel->setObjectName(QStringLiteral("lblOutcome"));
    mOutcomeLabel->setFont(bold);
    mRatingNote = new QPlainTextEdit(this);
    mRatingNote->setObjectName(QStringLiteral("txtRating"));
    mRatingNote->setTabChangesFocus(true);

    auto* criterionRow = new QHBoxLayout;
    criterionRow->addWidget(new QLabel(s ? tr("Rating for issue:") : tr("Rating for objective:"), this));
    criterionRow->addWidget(mCriterionLabel, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(criterionRow);
    right->addWidget(mDescription, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(mListPanel, 2);
    top->addLayout(right, 3);

    auto* outcomeRow = new QHBoxLayout;
    outcomeRow->addWidget(new QLabel(tr("Alternative / Outcome:"), this));
    outcomeRow->addWidget(mOutcomeLabel, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 3);
    layout->addWidget(Caption(s ? tr("Rate how well each outcome addresses or mitigates the issue:")
                                : tr("Rate how well each outcome satisfies the objective"),
                              this));
    layout->addWidget(mGrid, 4);
    layout->addLayout(outcomeRow);
    layout->addWidget(Caption(s ? tr("Use the box below to document the rating assigned to each outcome.  Describe "
                                     "specific safety concerns for each outcome.  Appropriate mitigation measures "
                                     "may also be noted.  Select each outcome by clicking on it in the list above.")
                                : tr("Optional: Use the box below to document the rating assigned to each outcome.  "
                                     "Select each outcome by clicking on it in the list above."),
                              this));
    layout->addWidget(mRatingNote, 1);
    setTabOrder(mListWidget, mGrid);
    setTabOrder(mGrid, mRatingNote);

    connect(mList, &ItemList::click, this, ui::Guarded(this, &frm53Ratings::lstObjectives_Click));
    connect(mGrid, &grid::Grid::enterCell, this, ui::Guarded(this, &frm53Ratings::Grid1_EnterCell));
    connect(mGrid, &grid::Grid::beforeEdit, this, ui::Guarded(this, &frm53Ratings::Grid1_BeforeEdit));
    connect(mGrid, &grid::Grid::keyPressEdit, this, ui::Guarded(this, &frm53Ratings::Grid1_KeyPressEdit));
    connect(mGrid, &grid::Grid::changeEdit, this, ui::Guarded(this, &frm53Ratings::Grid1_ChangeEdit));
    connect(mGrid, &grid::Grid::afterEdit, this, ui::Guarded(this, &frm53Ratings::Grid1_AfterEdit));
    connect(mGrid, &grid::Grid::editCancelled, this, ui::Guarded(this, &frm53Ratings::Grid1_EditCancelled));
    connect(mRatingNote, &QPlainTextEdit::textChanged, this, ui::Guarded(this, &frm53Ratings::txtRating_Change));
    mListWidget->installEventFilter(this);
    mListWidget->viewport()->installEventFilter(this);
    mGrid->installEventFilter(this);

    // The grid makes the pressed cell current (and so its rating) before the bar is set.
    mBar = new BarDrag(*mGrid, kBarCol);
    mBar->set = [this](int row, double fraction) { SetRatingFromFraction(row, fraction); };
    mBar->setOnRelease = true;
}

frm53Ratings::~frm53Ratings()
{
    DisconnectChildren(*this);
    mCurrent = nullptr;
    mCriterion = nullptr;
}

model::c41Objective* frm53Ratings::lookup(int key) const
{
    return safety() ? model::GetSafetyIssue(key) : model::GetObjective(key);
}

bool frm53Ratings::isHeading(const model::c41Objective& node) const
{
    return safety() ? node.bSafetyRoot() : node.bCategory();
}

bool frm53Ratings::isHeadingAt(int index) const { return isHeading(*lookup(mList->itemData(index))); }

void frm53Ratings::Setup()
{
    BeginSetup(safety() ? QStringLiteral("frm52SafetyRatings.Setup") : QStringLiteral("frm53Ratings.Setup"));
    core::BusyScope busy;
    mCurrent = nullptr;
    mCriterion = nullptr;
    SetupGrid();
    LoadCriteria();
    ShowOutcomeAcres(*mGrid);
    // Every outcome is rated in turn: the first five stay in view however tall the boxes
    // around the grid would like to be.
    FitGridHeight(*mGrid, 5);
    NewRatingArray();
    if (mList->count() >= 2)
        mList->setListIndex(1);
    else
        DisableRatingControls();
}

void frm53Ratings::SetupGrid()
{
    mGrid->setCols(5);
    SetupOutcomeAcresGrid(*mGrid);
    mGrid->setColWidth(kRatingCol, 360);
    mGrid->setColDataType(kRatingCol, grid::DataType::Single);
    mGrid->setText(0, kRatingCol, kRatingHeader);
    mGrid->setText(0, kBarCol, kRatingHeader);
    mGrid->setRowHeight(0, 500);
    if (layout())
        layout()->activate();
    FitBarColumn();
}

// The bar takes the rest of the grid's width.
void frm53Ratings::FitBarColumn()
{
    // Room kept for the vertical scroll bar, which comes and goes without resizing the grid.
    const int client = ui::PixelsToTwips(mGrid->width() - 2 * mGrid->frameWidth() -
                                         mGrid->verticalScrollBar()->sizeHint().width());
    // The columns left of the bar as laid out, widened where the screen font needs it.
    int before = 0;
    for (int c = 0; c < kBarCol; ++c)
        before += mGrid->colWidth(c);
    mGrid->setColWidth(kBarCol, std::max(1440, client - before));
}

void frm53Ratings::LoadCriteria()
{
    core::Trace(QStringLiteral("LoadCriteria"));
    core::BusyScope busy;
    mList->clear();
    const QList<model::c41Objective*> nodes =
        safety() ? model::SafetyIssuesCollection() : model::GetPrioritizedObjectives();
    // The safety root heads its list; the objectives root is not listed.
    for (int i = safety() ? 0 : 1; i < nodes.size(); ++i) {
        const model::c41Objective* node = nodes[i];
        mList->addItem(isHeading(*node) ? node->ItemName() : QStringLiteral("    ") + node->ItemName(), node->ItemKey());
    }
}

void frm53Ratings::NewRatingArray() { mRatings.assign(std::max(1, mGrid->rows()), model::c62Rating()); }

void frm53Ratings::DisableRatingControls()
{
    mListWidget->setEnabled(false);
    mGrid->setEnabled(false);
    mRatingNote->setEnabled(false);
}

void frm53Ratings::SaveChanges()
{
    if (mCurrent)
        mCurrent->SaveChanges();
}

void frm53Ratings::lstObjectives_Click()
{
    const int index = mList->listIndex();
    core::Trace(QStringLiteral("lstObjectives_Click ") + QString::number(index));
    const int shownIndex = mCriterion ? mList->findKey(mCriterion->ItemKey()) : -1;
    // The ratings are read into the rows of the criterion left: a read that fails part way
    // leaves the page to go unsaved, not to store a rating typed next under the wrong criterion.
    SwitchShownObject([this, shownIndex] { SaveOrPutBack([this] { SaveChanges(); },
                                                         [this, shownIndex] {
                                                             const QSignalBlocker quiet(mListWidget);
                                                             mList->setListIndex(shownIndex);
                                                         }); },
                      [this, index] { ShowChosenCriterion(index); });
}

void frm53Ratings::ShowChosenCriterion(int index)
{
    mCriterion = lookup(mList->currentKey());
    if (isHeading(*mCriterion)) {
        int next = index + 1;
        if (mListMovingUp) {
            int above = index - 1;
            while (above >= 0 && isHeadingAt(above))
                --above;
            if (above >= 0)
                next = above;
        }
        mListMovingUp = false;
        if (next < mList->count())
            mList->setListIndex(next);
        return;
    }
    mCriterionLabel->setText(mCriterion->ItemName());
    mDescription->setRtf(mCriterion->Description());
    GetRatingsForCriterion(mCriterion->ItemKey());
    if (mGrid->rows() > 1) {
        mGrid->setRow(1);
        mCurrent = &mRatings[1];
        ShowCurrentRating(safety() ? QStringLiteral(" ") : QStringLiteral(" - "));
    }
}

void frm53Ratings::GetRatingsForCriterion(int criterionKey)
{
    core::BusyScope busy;
    for (int r = 1; r < mGrid->rows() && r < int(mRatings.size()); ++r) {
        const auto* outcome = mGrid->rowObject<model::c53Outcome>(r);
        mRatings[r].Initialize(outcome ? outcome->ItemKey() : 0, criterionKey,
                               safety() ? model::Criteria::Safety : model::Criteria::Objectives,
                               model::RatingLevel::Criterion);
        ShowRating(r, mRatings[r].RawScore());
    }
}

// The rating in its cell and its bar; a rating stored out of range still paints a bar
// within the cell.
void frm53Ratings::ShowRating(int row, float rating)
{
    mGrid->setText(row, kRatingCol, QString::number(rating));
    mGrid->setCellFloodPercent(row, kBarCol, BarPercent(rating));
}

void frm53Ratings::ShowCurrentRating(const QString& separator)
{
    const int row = mGrid->row();
    const QString label = mGrid->text(row, 0);
    mOutcomeLabel->setText(label == QLatin1String("Extreme Outcome") ? label
                                                                     : label + separator + mGrid->text(row, 1));
    core::BusyScope busy;
    mRatingNote->setPlainText(mCurrent ? mCurrent->Description() : QString());
    mRatingNote->setEnabled(mCurrent != nullptr);
}

void frm53Ratings::Grid1_EnterCell()
{
    const int shownRow = mCurrent ? int(mCurrent - mRatings.data()) : 0;
    SaveOrPutBack([this] { SaveChanges(); },
                  [this, shownRow] {
                      if (shownRow < 1)
                          return;
                      const QSignalBlocker quiet(mGrid);
                      mGrid->setRow(shownRow);
                  });
    const int row = mGrid->row();
    mCurrent = row >= 1 && row < int(mRatings.size()) ? &mRatings[row] : nullptr;
    if (!mCurrent)
        return;
    ShowCurrentRating(QStringLiteral(" "));
    // The editor opens for the user's own move into the rating column only, so that a list
    // click never pulls the focus into the grid.
    if (mGrid->col() == kRatingCol && core::IsIdle() && mGrid->hasFocus())
        mGrid->editCell();
}

void frm53Ratings::Grid1_BeforeEdit(int row, int col, bool& cancel)
{
    if (col == kRatingCol) {
        mGrid->setEditMaxLength(4);
        mRatingBeforeEdit = float(mGrid->value(row, col));
    } else {
        cancel = true;
    }
}

void frm53Ratings::Grid1_KeyPressEdit(int, int, int& code)
{
    const bool digit = code >= '0' && code <= '9';
    if (code >= 32 && !digit && code != '.')
        code = 0;
}

// A text that is no rating (pasted) keeps the rating so far until the edit ends.
void frm53Ratings::Grid1_ChangeEdit()
{
    if (!mCurrent || mGrid->col() != kRatingCol)
        return;
    const model::textnum::Typed typed = model::textnum::ReadNumber(mGrid->editText(), kRatingKind);
    if (!typed.ok())
        return;
    const float v = float(typed.value);
    mGrid->setCellFloodPercent(mGrid->row(), kBarCol, grid::NumericValue(grid::FormatNumber(v * 10.0, "0")));
    mCurrent->SetRawScore(v);
}

void frm53Ratings::Grid1_AfterEdit(int row, int col)
{
    if (col != kRatingCol)
        return;
    const QString text = mGrid->text(row, col);
    const model::textnum::Typed typed = model::textnum::ReadNumber(text, kRatingKind);
    const float v = typed.ok() ? float(typed.value) : mRatingBeforeEdit;
    mGrid->setText(row, col, QString::number(v));
    // The rating is what the cell shows, also for a rating stored above 10 that the edit left.
    if (row < int(mRatings.size()) && mRatings[row].RawScore() != v) {
        mRatings[row].SetRawScore(v);
        mGrid->setCellFloodPercent(row, kBarCol, BarPercent(v));
    }
    if (!typed.ok())
        RefuseTypedNumber(safety() ? QStringLiteral("The safety rating") : QStringLiteral("The rating"),
                          QStringLiteral("rating"), text, typed, kRatingKind, QString::number(v));
}

// Escape puts the cell back as it was; the rating and bar the typing had changed follow it.
void frm53Ratings::Grid1_EditCancelled(int row, int col)
{
    if (col != kRatingCol || row >= int(mRatings.size()))
        return;
    const float v = float(mGrid->value(row, col));
    mGrid->setCellFloodPercent(row, kBarCol, BarPercent(v));
    if (mRatings[row].RawScore() != v)
        mRatings[row].SetRawScore(v);
}

void frm53Ratings::SetRatingFromFraction(int row, double fraction)
{
    if (row < 1 || row >= int(mRatings.size()))
        return;
    const double tenths = model::textnum::Val(grid::FormatNumber(fraction, "0.0"));
    const float rating = float(tenths * 10.0);
    if (rating == float(mGrid->value(row, kRatingCol)))
        return;
    mGrid->setText(row, kRatingCol, QString::number(rating));
    mGrid->setCellFloodPercent(row, kBarCol, tenths * 100.0);
    mRatings[row].SetRawScore(float(mGrid->value(row, kRatingCol)));
}

// Only what the user types is a note: filling the box writes nothing back.
void frm53Ratings::txtRating_Change()
{
    if (!core::IsIdle() || !mCurrent)
        return;
    mCurrent->SetDescription(mRatingNote->toPlainText());
}

bool frm53Ratings::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mListWidget && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        mListMovingUp = key == Qt::Key_Up || key == Qt::Key_PageUp || key == Qt::Key_Home;
    } else if (watched == mListWidget->viewport() && event->type() == QEvent::MouseButtonPress) {
        mListMovingUp = false;
    } else if (watched == mGrid && event->type() == QEvent::Resize) {
        FitBarColumn();
    }
    return WorksheetForm::eventFilter(watched, event);
}

} // namespace worksheets
