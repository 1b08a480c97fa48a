#include "worksheets/comparison_complexity/frm72complexity.h"

#include "core/u91trace.h"
#include "core/uimode.h"
#include "platform/grid/grid.h"
#include "platform/ui/guard.h"
#include "worksheets/comparison_complexity/complexitywidgets.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace worksheets::comparison_complexity {

using namespace model::complexity;
using namespace worksheets::complexity;

namespace {

constexpr int kCheckColTwips = 300;
constexpr int kMinRowTwips = 480;   // room for two lines of element text
constexpr int kNameLength = 255;    // ComplexityFactors.Name is TEXT(255)

} // namespace

frm72Complexity::frm72Complexity(QWidget* parent) : WorksheetForm(QStringLiteral("frm72Complexity"), parent)
{
    auto* pnlHeader = new QFrame(this);
    pnlHeader->setObjectName(QStringLiteral("pnlHeader"));
    pnlHeader->setFrameShape(QFrame::Panel);
    pnlHeader->setFrameShadow(QFrame::Raised);
    auto* instruction = Bold(new QLabel(
        QStringLiteral("For each category,    check the complexity elements that apply in the current situation"),
        pnlHeader));
    instruction->setWordWrap(true);
    auto* headerLayout = new QHBoxLayout(pnlHeader);
    headerLayout->setContentsMargins(10, 6, 10, 6);
    headerLayout->addWidget(instruction);

    mCategories = new CategoryColumn(QString(), [this](int k) { lblCategory_Click(k); }, this);
    auto* hint = new QLabel(QStringLiteral("Click on each category to see the elements for that category."), this);
    hint->setWordWrap(true);
    auto* left = new QVBoxLayout;
    left->addWidget(mCategories);
    left->addSpacing(10);
    left->addWidget(hint);
    left->addStretch();

    lblFactorsCategory = Bold(new QLabel(QStringLiteral(" Fire Behavior"), this));
    lblFactorsCategory->setObjectName(QStringLiteral("lblFactorsCategory"));
    auto* title = new QHBoxLayout;
    title->addWidget(Bold(new QLabel(QStringLiteral("Elements for"), this)));
    title->addWidget(lblFactorsCategory);
    title->addStretch();

    grdFactors = new grid::Grid(this);
    grdFactors->setObjectName(QStringLiteral("grdFactors"));
    grdFactors->installEventFilter(this);

    cmdAppend = new QPushButton(QStringLiteral("&Add Element"), this);
    cmdAppend->setObjectName(QStringLiteral("cmdAppend"));
    cmdDelete = new QPushButton(QStringLiteral("&Delete Last Element"), this);
    cmdDelete->setObjectName(QStringLiteral("cmdDelete"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAppend);
    buttons->addWidget(cmdDelete);
    buttons->addStretch();

    auto* right = new QVBoxLayout;
    right->addLayout(title);
    right->addWidget(grdFactors, 1);
    right->addLayout(buttons);

    auto* body = new QHBoxLayout;
    body->setSpacing(16);
    body->addLayout(left);
    body->addLayout(right, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->setSpacing(10);
    layout->addWidget(pnlHeader);
    layout->addLayout(body, 1);

    connect(grdFactors, &grid::Grid::enterCell, this, ui::Guarded(this, &frm72Complexity::grdFactors_EnterCell));
    connect(grdFactors, &grid::Grid::changeEdit, this, ui::Guarded(this, &frm72Complexity::grdFactors_ChangeEdit));
    connect(grdFactors, &grid::Grid::afterEdit, this, ui::Guarded(this, &frm72Complexity::grdFactors_AfterEdit));
    connect(grdFactors, &grid::Grid::editCancelled, this, ui::Guarded(this, &frm72Complexity::grdFactors_EditCancelled));
    connect(cmdAppend, &QPushButton::clicked, this, ui::Guarded(this, &frm72Complexity::cmdAppend_Click));
    connect(cmdDelete, &QPushButton::clicked, this, ui::Guarded(this, &frm72Complexity::cmdDelete_Click));
}

void frm72Complexity::Setup()
{
    // Shown again while a name is being typed: the name goes where it was typed, before the
    // refill below ends the edit.
    Update();
    BeginSetup(QStringLiteral("frm72Complexity.Setup"));
    core::BusyScope busy;
    ShowCategoryRatings();
    grdFactors->setFixedRows(0);
    grdFactors->setCols(2);
    grdFactors->setColDataType(0, grid::DataType::Boolean);
    grdFactors->setColWidth(0, kCheckColTwips);
    grdFactors->setColWordWrap(1, true);
    grdFactors->setDefaultRowHeight(kMinRowTwips);
    grdFactors->setEditable(true);
    grdFactors->setEditMaxLength(kNameLength);
    FitNameColumn();
    mCategories->setChosen(mCategory, false);
    mCategory = 1;
    mCategories->setChosen(mCategory, true);
    lblFactorsCategory->setText(CategoryCaption(mCategory));
    DisplayFactorsForCategory(mCategory);
}

void frm72Complexity::ShowCategoryRatings()
{
    core::Trace(QStringLiteral("ShowCategoryRatings"));
    mTallies = CountElements();
    mCategories->showTallies(mTallies);
}

void frm72Complexity::DisplayFactorsForCategory(int category)
{
    core::Trace(QStringLiteral("DisplayFactorsForCategory"));
    core::BusyScope busy;
    BuildFactorsList(category);
    mElement = 1;
    ShowFactors();
    UpdateDeleteButton();
}

void frm72Complexity::BuildFactorsList(int category)
{
    core::Trace(QStringLiteral("BuildFactorsList"));
    mFactors = ElementNumbers(category);
}

void frm72Complexity::ShowFactors()
{
    core::Trace(QStringLiteral("ShowFactors"));
    core::BusyScope busy;
    grdFactors->setRows(int(mFactors.size()));
    const QList<ChecklistElement> elements = ReadElements(mCategory, mFactors);
    for (int i = 0; i < elements.size(); ++i) {
        grdFactors->setCellChecked(i, 0, IsYes(elements[i].rating));
        grdFactors->setText(i, 1, elements[i].name);
    }
    grdFactors->autoSizeRows(kMinRowTwips);
}

void frm72Complexity::UpdateDeleteButton()
{
    cmdDelete->setEnabled(false);
    if (mFactors.size() > PermanentElements(mCategory))
        cmdDelete->setEnabled(true);
}

void frm72Complexity::RateCategory(int category)
{
    core::Trace(QStringLiteral("RateCategory"));
    Tally tally;
    tally.elements = int(mFactors.size());
    for (const ChecklistElement& element : ReadElements(category, mFactors))
        if (IsYes(element.rating))
            ++tally.yes;
    StoreCategoryRating(category, Rate(tally));
    if (ValidCategory(category))
        mTallies[size_t(category)] = tally;
    mCategories->showTally(category, tally);
}

void frm72Complexity::Update()
{
    // A name still being typed in the grid ends here, as leaving the cell would end it.
    if (grdFactors->isEditing())
        grdFactors->finishEdit();
    if (!mNameChanged)
        return;
    mNameChanged = false;
    if (mElement < 1 || mElement > mFactors.size())
        return;
    core::Trace(QStringLiteral("frm72Complexity.Update ") + QString::number(mElement));
    StoreElementName(mCategory, mFactors[mElement - 1], mPendingName);
}

void frm72Complexity::lblCategory_Click(int index)
{
    core::Trace(QStringLiteral("lblCategory_Click ") + QString::number(index));
    if (!ValidCategory(index))
        return;
    // A caption chosen from the keyboard keeps the focus, so the next one is a key away.
    if (!mCategories->category(index)->hasFocus())
        cmdAppend->setFocus();
    // The name being typed belongs to the category shown now: it is stored before another is shown.
    SwitchShownObject([this] { Update(); },
                      [this, index] {
                          mCategories->setChosen(mCategory, false);
                          mCategories->setChosen(index, true);
                          lblFactorsCategory->setText(mCategories->category(index)->text());
                          mCategory = index;
                          DisplayFactorsForCategory(mCategory);
                      });
}

void frm72Complexity::grdFactors_EnterCell()
{
    if (!core::IsIdle())
        return;
    core::Trace(QStringLiteral("grdFactors_EnterCell"));
    if (grdFactors->col() == 1)
        grdFactors->editCell();
}

void frm72Complexity::grdFactors_ChangeEdit()
{
    if (!core::IsIdle())
        return;
    core::Trace(QStringLiteral("grdFactors_ChangeEdit"));
    mElement = grdFactors->row() + 1;
    if (grdFactors->col() == 1) {
        mNameChanged = true;
        mPendingName = grdFactors->editText();
    }
}

void frm72Complexity::grdFactors_AfterEdit(int row, int col)
{
    // The program's own fills end no user edit: an edit is always ended before a fill.
    if (!core::IsIdle())
        return;
    core::Trace(QStringLiteral("grdFactors_AfterEdit %1, %2").arg(row).arg(col));
    mElement = row + 1;
    if (col != 0) {
        Update();
        return;
    }
    if (mElement < 1 || mElement > mFactors.size())
        return;
    // A ticked box reads -1: Yes stores 2, No stores 0.
    StoreElementRating(mCategory, mFactors[mElement - 1], int(-2 * grdFactors->value(row, 0)));
    RateCategory(mCategory);
}

void frm72Complexity::grdFactors_EditCancelled(int row, int col)
{
    // Escape puts the name back as it was: nothing typed in that edit is stored later.
    if (col == 1 && row + 1 == mElement) {
        mNameChanged = false;
        mPendingName.clear();
    }
}

void frm72Complexity::cmdAppend_Click()
{
    core::Trace(QStringLiteral("cmdAppend_Click"));
    Update();
    // After the highest number, so that a file with gaps in its numbering gets no duplicate.
    AddElement(mCategory, mFactors.isEmpty() ? 1 : mFactors.last() + 1);
    BuildFactorsList(mCategory);
    RateCategory(mCategory);
    {
        core::BusyScope busy;
        grdFactors->addItem(QStringLiteral("-1\t"));
        grdFactors->autoSizeRows(kMinRowTwips);
    }
    UpdateDeleteButton();
    // The new element is named next: its name cell is ready for typing.
    grdFactors->setFocus();
    grdFactors->setCurrentCell(grdFactors->rows() - 1, 1);
    grdFactors->showCell(grdFactors->rows() - 1, 1);
}

void frm72Complexity::cmdDelete_Click()
{
    core::Trace(QStringLiteral("cmdDelete_Click"));
    Update();
    if (mFactors.size() <= PermanentElements(mCategory))
        return;
    DeleteElement(mCategory, mFactors.last());
    BuildFactorsList(mCategory);
    RateCategory(mCategory);
    {
        core::BusyScope busy;
        grdFactors->removeItem(grdFactors->rows() - 1);
    }
    UpdateDeleteButton();
}

void frm72Complexity::FitNameColumn()
{
    FillLastColumn(*grdFactors);
    grdFactors->autoSizeRows(kMinRowTwips);
}

bool frm72Complexity::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grdFactors && event->type() == QEvent::Resize && grdFactors->cols() > 1)
        FitNameColumn();
    return WorksheetForm::eventFilter(watched, event);
}

} // namespace worksheets::comparison_complexity
