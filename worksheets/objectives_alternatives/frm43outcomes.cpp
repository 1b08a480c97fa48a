#include "worksheets/objectives_alternatives/frm43outcomes.h"

#include "core/u91trace.h"
#include "core/uimode.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g53outcomes.h"
#include "model/textnumbers.h"
#include "platform/grid/grid.h"
#include "platform/richtext/richtexteditor.h"
#include "platform/ui/guard.h"
#include "platform/ui/prompter.h"
#include "worksheets/common/boxorder.h"
#include "worksheets/common/numberbox.h"
#include "worksheets/common/outcomegrids.h"
#include "worksheets/common/topiceditor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace worksheets {

namespace {

const QString kAddFallback = QStringLiteral("Add a Fallback for this Alternative");
const QString kRemoveFallback = QStringLiteral("Remove this Fallback");
const QString kDigits = QStringLiteral("0123456789");
constexpr int kSizeLength = 9;
constexpr int kDaysLength = 4;
constexpr model::textnum::NumberKind kSizeKind{.min = 0, .max = kLargestFireSize, .unit = "acres"};
constexpr model::textnum::NumberKind kDaysKind{.min = 0, .max = 9999, .whole = true, .unit = "days"};

bool IsExtreme(const model::c53Outcome& o) { return o.AlternativeKey() == 0; }

// Typing stops at the box's length; a paste goes in whole, to be judged as a number.
QLineEdit* NumberField(QWidget* parent, const char* name, const QString& characters, int length)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAlignment(Qt::AlignRight);
    AcceptOnlyCharacters(box, characters, length);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(length + 1, u'0')) + 12);
    SelectTextOnFocus(box);
    return box;
}

} // namespace

frm43Outcomes::frm43Outcomes(QWidget* parent) : WorksheetForm(QStringLiteral("frm43Outcomes"), parent)
{
    setWindowTitle(tr("Outcomes"));

    auto* explanation = new QGroupBox(tr("Developing outcomes"), this);
    mInstructions = new QLabel(explanation);
    mInstructions->setObjectName(QStringLiteral("Label1"));
    mInstructions->setWordWrap(true);
    auto* explanationLayout = new QVBoxLayout(explanation);
    explanationLayout->addWidget(mInstructions);

    mGrid = new grid::Grid(this);
    mGrid->setObjectName(QStringLiteral("grdOutcomes"));

    mDetails = new QWidget(this);
    mDetails->setObjectName(QStringLiteral("pnlDetails"));
    mSize = NumberField(mDetails, "txtSize", kDigits + QLatin1Char(','), kSizeLength);
    mContain = NumberField(mDetails, "txtContain", kDigits, kDaysLength);
    mControl = NumberField(mDetails, "txtControl", kDigits, kDaysLength);
    auto* boxes = new QGridLayout;
    const struct {
        QString before;
        QLineEdit* box;
        QString after;
    } rows[] = {{tr(" Final fire size"), mSize, tr(" acres")},
                {tr(" Time to con&tain"), mContain, tr(" days")},
                {tr(" Time to cont&rol"), mControl, tr(" days")}};
    for (int i = 0; i < 3; ++i) {
        auto* before = new QLabel(rows[i].before, mDetails);
        before->setObjectName(QStringLiteral("lblBox1"));
        before->setBuddy(rows[i].box);
        boxes->addWidget(before, i, 0);
        boxes->addWidget(rows[i].box, i, 1);
        boxes->addWidget(new QLabel(rows[i].after, mDetails), i, 2);
    }
    boxes->setColumnStretch(3, 1);
    new BoxOrder({mSize, mContain, mControl}, BoxOrder::Up::MovesBack, BoxOrder::Key::KeepKey, this);

    mTopic = new TopicEditor(mDetails);
    mTopic->hideNameBox();
    mTopic->setCaptions(QString(), tr("&Describe the outcome"));
    mFallback = new QPushButton(kAddFallback, mDetails);
    mFallback->setObjectName(QStringLiteral("cmdFallback"));

    auto* details = new QVBoxLayout(mDetails);
    details->setContentsMargins(0, 0, 0, 0);
    details->addLayout(boxes);
    details->addWidget(mTopic, 1);
    details->addWidget(mFallback, 0, Qt::AlignLeft);

    auto* left = new QVBoxLayout;
    left->addWidget(explanation);
    left->addWidget(mGrid, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 11);
    layout->addWidget(mDetails, 9);

    // The body takes Tab as text, so the button that acts on the chosen row follows the grid.
    setTabOrder(mGrid, mFallback);
    setTabOrder(mFallback, mSize);
    setTabOrder(mSize, mContain);
    setTabOrder(mContain, mControl);
    setTabOrder(mControl, mTopic->bodyEditor()->textEdit());

    SetInstructions();
    connect(mGrid, &grid::Grid::enterCell, this, ui::Guarded(this, &frm43Outcomes::grdOutcomes_EnterCell));
    // Moving through the rows with the keyboard keeps the keyboard in the grid: the row change
    // of a key is made while the key is handled, before the queued reset.
    connect(mGrid, &grid::Grid::keyDown, this, ui::Guarded([this](int&, int) {
        mKeyboardMove = true;
        QTimer::singleShot(0, this, ui::Guarded([this] { mKeyboardMove = false; }));
    }));
    BindNumberBoxes();
    connect(mTopic, &TopicEditor::bodyChanged, this, ui::Guarded(this, &frm43Outcomes::txtBody_Change));
    connect(mFallback, &QPushButton::clicked, this, ui::Guarded(this, &frm43Outcomes::cmdFallback_Click));
}

frm43Outcomes::~frm43Outcomes() { mCurrent = nullptr; }

void frm43Outcomes::SetInstructions()
{
    mInstructions->setText(QStringLiteral(
        "The analysis of each alternative requires predicting its outcome.  Because of the uncertainties involved in "
        "predicting fire behavior, a complete analysis will consider more than one possible outcome.  The Tolmar "
        "software supports analysis of up to three different outcomes for each alternative: the Target, Fallback, "
        "and Extreme outcomes.  A single Extreme outcome is shared by all alternatives.  Including a Fallback outcome "
        "is optional for any alternative."));
}

void frm43Outcomes::Setup()
{
    BeginSetup(QStringLiteral("frm43Outcomes.Setup"));
    core::BusyScope busy;
    mGrid->setCols(5);
    SetupOutcomeTimesGrid(*mGrid);
    FitOutcomeColumnsToFont(*mGrid);
    ShowOutcomeGrid();
    mGrid->setRow(1);
    mCurrent = mGrid->rowObject<model::c53Outcome>(1);
    ShowOutcome();
}

// The size and the days as the outcome shown holds them; what is typed goes to it at once, and
// the grid's row follows.
void frm43Outcomes::BindNumberBoxes()
{
    mSizeNumber = new NumberBox(mSize, this, kSizeKind, QStringLiteral("The final fire size"), QStringLiteral("size"));
    mSizeNumber->held = [this] { return mCurrent ? double(mCurrent->FireSizeValue()) : 0.0; };
    mSizeNumber->show = [](double v) { return model::textnum::SingleText(float(v)); };
    mSizeNumber->take = [this](double v) {
        if (!mCurrent)
            return;
        mCurrent->SetFireSize(model::textnum::SingleText(float(v)));
        ShowInCurrentRow(2, mCurrent->FireSize());
    };
    const auto days = [this](QLineEdit* box, const QString& what, int col, auto get, auto set) {
        auto* number = new NumberBox(box, this, kDaysKind, what, QStringLiteral("time"));
        number->held = [this, get] { return mCurrent ? double((mCurrent->*get)()) : 0.0; };
        number->take = [this, col, set](double v) {
            if (!mCurrent)
                return;
            (mCurrent->*set)(QString::number(int(v)));
            ShowInCurrentRow(col, QString::number(int(v)));
        };
        return number;
    };
    mContainNumber = days(mContain, QStringLiteral("The time to contain"), 3, &model::c53Outcome::ContainTime,
                          &model::c53Outcome::SetContainTimeString);
    mControlNumber = days(mControl, QStringLiteral("The time to control"), 4, &model::c53Outcome::ControlTime,
                          &model::c53Outcome::SetControlTimeString);
}

void frm43Outcomes::SaveChanges()
{
    core::Trace(QStringLiteral("frm43Outcomes.SaveChanges"));
    // What is typed is judged first: a text that is no number leaves the value it had.
    for (NumberBox* number : {mSizeNumber, mContainNumber, mControlNumber})
        number->commit();
    if (mCurrent)
        mCurrent->SaveChanges();
}

// The Extreme outcome first, then every alternative's Target and shown Fallback.
void frm43Outcomes::ShowOutcomeGrid()
{
    core::BusyScope busy;
    FillAlternativeOutcomeRows(*mGrid);
    const auto extreme = model::GetExtremeOutcome();
    mGrid->addItem(extreme->ShortName() + QLatin1Char('\t') + extreme->ShortName(), 1);
    mGrid->setRowObject(1, extreme.get());
    mGrid->setMergeRow(1, true);
    mGrid->setCellAlignment(1, 0, 1, 0, Qt::AlignCenter);
    FillOutcomeTimes(*mGrid);
    HighlightOutcomeRow(*mGrid, CurrentRow());
}

void frm43Outcomes::ShowOutcome()
{
    core::Trace(QStringLiteral("ShowOutcome"));
    if (!mCurrent)
        return;
    {
        core::BusyScope busy;
        HighlightOutcomeRow(*mGrid, CurrentRow());
        mTopic->display(QString(), mCurrent->Description());
        mSize->setText(mCurrent->FireSize());
        mContain->setText(QString::number(mCurrent->ContainTime()));
        mControl->setText(QString::number(mCurrent->ControlTime()));
        if (IsExtreme(*mCurrent)) {
            mFallback->setText(kAddFallback);
            mFallback->setEnabled(false);
        } else if (mCurrent->OutcomeIndex() == 1) {
            const auto alt = mCurrent->Alternative();
            mFallback->setText(kAddFallback);
            mFallback->setEnabled(alt && !alt->Outcome(model::OutcomeKind::Fallback)->bShow());
        } else {
            mFallback->setText(kRemoveFallback);
            mFallback->setEnabled(true);
        }
    }
    if (!mKeyboardMove)
        mTopic->bodyEditor()->textEdit()->setFocus(Qt::OtherFocusReason);
}

void frm43Outcomes::grdOutcomes_EnterCell()
{
    if (!core::IsIdle())
        return;
    auto* outcome = mGrid->rowObject<model::c53Outcome>(mGrid->row());
    if (!outcome || outcome == mCurrent)
        return;
    SwitchShownObject([this] { SaveChanges(); },
                      [this, outcome] {
                          mCurrent = outcome;
                          ShowOutcome();
                      });
    mKeyboardMove = false;
}

void frm43Outcomes::SelectOutcomeRow(int r)
{
    mKeyboardMove = false;
    mGrid->setRow(r);
    auto* outcome = mGrid->rowObject<model::c53Outcome>(mGrid->row());
    if (outcome && outcome != mCurrent) {
        SaveChanges();
        mCurrent = outcome;
        ShowOutcome();
    }
}

int frm43Outcomes::CurrentRow() const { return mCurrent ? mGrid->findRowObject(mCurrent) : -1; }

// The grid follows the typing in the row of the outcome shown.
void frm43Outcomes::ShowInCurrentRow(int col, const QString& text)
{
    const int r = CurrentRow();
    if (r > 0)
        mGrid->setText(r, col, text);
}

void frm43Outcomes::cmdFallback_Click()
{
    if (!mCurrent || IsExtreme(*mCurrent))
        return;
    SaveChanges();
    const int r = CurrentRow();
    if (mCurrent->OutcomeIndex() != 1) {
        // Hidden, not deleted: the description, size and times come back when it is added again.
        mCurrent->SetbShow(false);
        ShowOutcomeGrid();
        SelectOutcomeRow(r - 1);
    } else {
        const auto alt = mCurrent->Alternative();
        if (!alt)
            return;
        alt->Outcome(model::OutcomeKind::Fallback)->SetbShow(true);
        ShowOutcomeGrid();
        SelectOutcomeRow(r + 1);
    }
}

void frm43Outcomes::txtBody_Change(const QString& rtf)
{
    if (!core::IsIdle() || !mCurrent)
        return;
    mCurrent->SetDescription(rtf);
}

} // namespace worksheets
