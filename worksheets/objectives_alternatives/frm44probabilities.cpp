#include "worksheets/objectives_alternatives/frm44probabilities.h"

#include "core/savescope.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "model/textnumbers.h"
#include "platform/canvas/canvas.h"
#include "platform/ui/guard.h"
#include "platform/ui/prompter.h"
#include "worksheets/common/boxorder.h"
#include "worksheets/common/itemlist.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/numberbox.h"
#include "worksheets/common/wrappedlist.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace worksheets {

using model::OutcomeKind;

namespace {

// The tree, in twips. Branch lines meet each box at its title row; the percent box of a
// branch sits above its line with the caption beside it.
constexpr int kBoxWidth = 2600;
constexpr int kBoxHeight = 920;
constexpr int kBranchDrop = 150;            // from a box's top to the line that reaches it
constexpr int kTargetTop = 360;
constexpr int kFallbackTop = 1800;
constexpr int kPlanTop = 2400;              // the Fallback plan, or the Extreme box without one
constexpr int kExtremeTop = 3660;
constexpr int kCaptionWidth = 2300;
constexpr int kNodeSize = 180;
constexpr int kNodeX = 150;
constexpr int kPercentWidth = 560;
constexpr int kPercentHeight = 330;
constexpr int kPlanWidth = 900;
constexpr int kPlanHeight = 300;
// Columns: the first chance node's captions, then the Target column, then the Fallback's.
constexpr int kCaption1X = 1600;
constexpr int kColumn1 = kCaption1X + kCaptionWidth + 100;
constexpr int kColumn2 = kColumn1 + 1980 + kCaptionWidth + 100;
constexpr int kTreeWidth = kColumn2 + kBoxWidth + 60;
constexpr int kTreeHeight = kExtremeTop + kBoxHeight + 60;

const QColor kTargetFill(0xC0, 0xFF, 0xC0);
const QColor kFallbackFill(0xFF, 0xFF, 0xE0);
const QColor kExtremeFill(0xFF, 0xE0, 0xE0);
const QColor kNodeFill(0xD8, 0xD8, 0xD8);

const QString kTargetCaption = QStringLiteral("%  Probability of target outcome");
const QString kExceedTargetCaption = QStringLiteral("%  Probability fire will exceed target");
const QString kFallbackCaption = QStringLiteral("%  Probability of fallback outcome if fire exceeds target");
const QString kExceedFallbackCaption = QStringLiteral("%  Probability fire will exceed fallback if fire exceeds target");

constexpr model::textnum::NumberKind kPercentKind{.min = 0, .max = 100, .held = true};

// A percentage part-way through being typed: up to three digits without a leading zero, and
// a decimal part. Such a text stays in the box as typed.
bool IsPercentBeingTyped(const QString& s)
{
    static const QRegularExpression typing(QStringLiteral("^(0|[1-9][0-9]{0,2})?(\\.[0-9]*)?$"));
    return !s.isEmpty() && typing.match(s).hasMatch() && model::textnum::Val(s) <= 100.0;
}

} // namespace

frm44Probabilities::frm44Probabilities(QWidget* parent)
    : WorksheetForm(QStringLiteral("frm44Probabilities"), parent)
{
    setWindowTitle(tr("Probabilities"));

    auto* listCaption = new QLabel(tr("Alternative to &describe:"), this);
    mListWidget = new QListWidget(this);
    mListWidget->setObjectName(QStringLiteral("lstAlternatives"));
    WrapLongEntries(mListWidget);
    listCaption->setBuddy(mListWidget);
    mList = new ItemList(mListWidget);
    auto* nameCaption = new QLabel(tr("Strategy Name"), this);
    mAlternative = new NameLabel(this);
    mAlternative->setObjectName(QStringLiteral("lblAlternative"));
    mAlternative->setFrameShape(QFrame::Panel);
    mAlternative->setFrameShadow(QFrame::Sunken);
    QFont bold = mAlternative->font();
    bold.setBold(true);
    mAlternative->setFont(bold);

    mTree = new canvas::Canvas(this);
    mTree->setObjectName(QStringLiteral("picOutcomeTree"));
    QFont small = mTree->font();
    small.setPointSizeF(8);
    mTree->setFont(small);
    mTree->setSizeTwips(kTreeWidth, kTreeHeight);
    mTree->setFixedSize(mTree->sizeHint());
    const auto percentBox = [this](const char* name) {
        auto* box = new QLineEdit(mTree);
        box->setObjectName(QString::fromLatin1(name));
        box->setAlignment(Qt::AlignCenter);
        box->setMaxLength(100);
        SelectTextOnFocus(box);
        return box;
    };
    const auto complement = [this](const char* name) {
        auto* label = new QLabel(mTree);
        label->setObjectName(QString::fromLatin1(name));
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        return label;
    };
    mSuccess1 = percentBox("txtSuccess1");
    mSuccess2 = percentBox("txtSuccess2");
    mFailure1 = complement("lblFailure1");
    mFailure2 = complement("lblFailure2");

    mInstructions = new QLabel(this);
    mInstructions->setObjectName(QStringLiteral("lblInstructions"));
    mInstructions->setWordWrap(true);
    mDiscuss = new QLabel(this);
    mDiscuss->setObjectName(QStringLiteral("lblDiscuss1"));
    mRationale1 = new QPlainTextEdit(this);
    mRationale1->setObjectName(QStringLiteral("txtRationale1"));
    mRationale1->setTabChangesFocus(true);
    mDiscuss->setBuddy(mRationale1);
    mRationale2Panel = new QWidget(this);
    mRationale2Caption = new QLabel(tr("Discuss probabilities for fallback"), mRationale2Panel);
    mRationale2Caption->setObjectName(QStringLiteral("lblRationale2"));
    mRationale2 = new QPlainTextEdit(mRationale2Panel);
    mRationale2->setObjectName(QStringLiteral("txtRationale2"));
    mRationale2->setTabChangesFocus(true);
    mRationale2Caption->setBuddy(mRationale2);
    auto* r2 = new QVBoxLayout(mRationale2Panel);
    r2->setContentsMargins(0, 0, 0, 0);
    r2->addWidget(mRationale2Caption);
    r2->addWidget(mRationale2, 1);

    // The instructions stand beside the list, under the name, so that the tree and the
    // rationale boxes keep their room in a small window.
    auto* top = new QGridLayout;
    top->addWidget(listCaption, 0, 0);
    top->addWidget(mListWidget, 1, 0, 2, 1);
    top->addWidget(nameCaption, 0, 1);
    top->addWidget(mAlternative, 1, 1);
    top->addWidget(mInstructions, 2, 1, Qt::AlignTop);
    top->setColumnStretch(0, 2);
    top->setColumnStretch(1, 3);
    top->setRowStretch(2, 1);
    mListWidget->setMaximumHeight(mListWidget->fontMetrics().height() * 4 + 8);

    auto* r1 = new QVBoxLayout;
    r1->addWidget(mDiscuss);
    r1->addWidget(mRationale1, 1);
    auto* rationale = new QHBoxLayout;
    rationale->addLayout(r1, 1);
    rationale->addWidget(mRationale2Panel, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(mTree, 0, Qt::AlignLeft);
    layout->addLayout(rationale, 1);
    for (QPlainTextEdit* box : {mRationale1, mRationale2})
        box->setMinimumHeight(box->fontMetrics().height() * 2 + 12);

    setTabOrder(mListWidget, mSuccess1);
    setTabOrder(mSuccess1, mSuccess2);
    setTabOrder(mSuccess2, mRationale1);
    setTabOrder(mRationale1, mRationale2);

    connect(mList, &ItemList::click, this, ui::Guarded(this, &frm44Probabilities::lstAlternatives_Click));
    for (const OutcomeKind n : model::kAlternativeOutcomeKinds) {
        QLineEdit* box = txtSuccess(n);
        AcceptOnlyCharacters(box, QStringLiteral("0123456789.-"));
        auto* number = new NumberBox(box, this, kPercentKind,
                                     n == OutcomeKind::Target ? QStringLiteral("The probability of the target outcome")
                                            : QStringLiteral("The probability of the fallback outcome"),
                                     QStringLiteral("probability"));
        number->held = [this, n] { return Outcome(n) ? double(Outcome(n)->SuccessPercent()) : 0.0; };
        number->take = [this, n](double v) { txtSuccess_Change(n, v); };
        // A lone minus sign or point starts a number: it reads as 0 until the digits follow.
        number->read = [](const QString& text) {
            const QString t = text.trimmed();
            if (t == QLatin1String("-") || t == QLatin1String("."))
                return model::textnum::Typed{model::textnum::Reading::Value, 0};
            return model::textnum::ReadNumber(text, kPercentKind);
        };
        mSuccessNumber[n == OutcomeKind::Target ? 0 : 1] = number;
    }
    connect(mSuccess1, &QLineEdit::editingFinished, this, ui::Guarded([this] { TakeSuccess(OutcomeKind::Target); }));
    connect(mSuccess2, &QLineEdit::editingFinished, this, ui::Guarded([this] { TakeSuccess(OutcomeKind::Fallback); }));
    connect(mRationale1, &QPlainTextEdit::textChanged, this,
            ui::Guarded([this] { txtRationale_Change(OutcomeKind::Target); }));
    connect(mRationale2, &QPlainTextEdit::textChanged, this,
            ui::Guarded([this] { txtRationale_Change(OutcomeKind::Fallback); }));
}

frm44Probabilities::~frm44Probabilities() { mCurrent.reset(); }

void frm44Probabilities::Setup()
{
    BeginSetup(QStringLiteral("frm44Probabilities.Setup"));
    core::BusyScope busy;
    mCurrent.reset();
    FillAlternativeList(*mList);
    if (mList->count() > 0) {
        mList->setListIndex(0);
    } else {
        ShowNoAlternative();
        ui::MsgBox(QStringLiteral("No alternatives"));
    }
}

void frm44Probabilities::SaveChanges()
{
    core::Trace(QStringLiteral("frm44Probabilities.SaveChanges"));
    if (!mCurrent)
        return;
    for (NumberBox* number : mSuccessNumber)
        number->commit();
    // The two percentages of an alternative are stored together or not at all.
    core::SaveAllOrNothing([this] {
        mCurrent->Outcome(OutcomeKind::Target)->SaveChanges();
        mCurrent->Outcome(OutcomeKind::Fallback)->SaveChanges();
    });
}

model::c53Outcome* frm44Probabilities::Outcome(OutcomeKind n) const
{
    return mCurrent ? mCurrent->Outcome(n).get() : nullptr;
}

bool frm44Probabilities::FallbackShown() const
{
    const model::c53Outcome* fallback = Outcome(OutcomeKind::Fallback);
    return fallback && fallback->bShow();
}

// Setup relies on it to show the first alternative; only a choice the user makes stores the
// alternative being left.
void frm44Probabilities::lstAlternatives_Click()
{
    core::Trace(QStringLiteral("frm44Probabilities.lstAlternatives_Click ") + mList->text());
    const int key = mList->currentKey();
    // The outcomes of the alternative chosen are read as they are shown: a read that fails part
    // way leaves the page to go unsaved, not to store the percents and rationales of the
    // alternative left, still in the boxes, as the chosen one's.
    SwitchShownObject(
        [this] {
            if (core::IsIdle())
                SaveChanges();
        },
        [this, key] {
            mCurrent = model::GetAlternative(key);
            ShowAlternative();
        });
}

void frm44Probabilities::ShowAlternative()
{
    core::Trace(QStringLiteral("frm44Probabilities.ShowAlternative"));
    core::BusyScope busy;
    if (!mCurrent) {
        ShowNoAlternative();
        ui::MsgBox(QStringLiteral("No current alternative"));
        return;
    }
    mAlternative->setText(mCurrent->Label());
    ShowOutcomes();
}

void frm44Probabilities::ShowNoAlternative()
{
    core::BusyScope busy;
    mCurrent.reset();
    mAlternative->clear();
    PositionOutcomes();
    for (QWidget* w : {static_cast<QWidget*>(mSuccess1), static_cast<QWidget*>(mSuccess2),
                       static_cast<QWidget*>(mRationale1), static_cast<QWidget*>(mRationale2)})
        w->setEnabled(false);
    mSuccess1->clear();
    mSuccess2->clear();
    mFailure1->clear();
    mFailure2->clear();
    mRationale1->clear();
    mRationale2->clear();
}

void frm44Probabilities::ShowOutcomes()
{
    core::BusyScope busy;
    PositionOutcomes();
    for (QWidget* w : {static_cast<QWidget*>(mSuccess1), static_cast<QWidget*>(mSuccess2),
                       static_cast<QWidget*>(mRationale1), static_cast<QWidget*>(mRationale2)})
        w->setEnabled(true);
    for (const OutcomeKind n : model::kAlternativeOutcomeKinds) {
        model::c53Outcome* outcome = Outcome(n);
        if (!outcome || (n == OutcomeKind::Fallback && !outcome->bShow()))
            continue;
        // A stored percent outside 0...100 is shown as the expected values weigh it.
        txtSuccess(n)->setText(QString::number(outcome->SuccessPercent()));
        lblFailure(n)->setText(QString::number(100 - outcome->SuccessPercent()));
        txtRationale(n)->setPlainText(outcome->SuccessRationale());
    }
}

void frm44Probabilities::PositionOutcomes()
{
    const bool fallback = FallbackShown();
    const int yTarget = kTargetTop + kBranchDrop;
    const int yPlan = kPlanTop + kBranchDrop;
    const int nodeY = (yTarget + yPlan) / 2;

    mTree->clear();
    mTree->setForeColor(Qt::black);
    mTree->setLineWidth(1);
    mTree->setFillColor(kNodeFill);
    mTree->drawRect(kNodeX, nodeY - kNodeSize / 2, kNodeSize, kNodeSize);
    mTree->setFillColor(QColor());
    const int nodeRight = kNodeX + kNodeSize;
    mTree->drawLine(nodeRight, nodeY, 900, yTarget);
    mTree->drawLine(900, yTarget, kColumn1, yTarget);
    mTree->drawLine(nodeRight, nodeY, 900, yPlan);
    mTree->drawLine(900, yPlan, kColumn1, yPlan);
    mTree->placeWidget(mSuccess1, 960, yTarget - kPercentHeight - 40, kPercentWidth, kPercentHeight);
    DrawBranchCaption(kCaption1X, yTarget, kTargetCaption);
    mTree->placeWidget(mFailure1, 960, yPlan - kPercentHeight - 40, kPercentWidth, kPercentHeight);
    DrawBranchCaption(kCaption1X, yPlan, kExceedTargetCaption);

    DrawOutcomeBox(kColumn1, kTargetTop, QStringLiteral("Target Outcome"), kTargetFill, Outcome(OutcomeKind::Target));
    const auto extreme = mCurrent ? model::GetExtremeOutcome() : nullptr;
    if (fallback) {
        // The Fallback plan: a second chance node between the Fallback and the Extreme outcome.
        mTree->setFillColor(kNodeFill);
        mTree->drawRect(kColumn1, kPlanTop, kPlanWidth, kPlanHeight);
        mTree->setFillColor(QColor());
        mTree->setFontBold(true);
        mTree->drawText(kColumn1 + (kPlanWidth - mTree->textWidth(QStringLiteral("Fallback"))) / 2,
                        kPlanTop + (kPlanHeight - mTree->textHeight()) / 2, QStringLiteral("Fallback"));
        mTree->setFontBold(false);
        const int planRight = kColumn1 + kPlanWidth;
        const int elbow = kColumn1 + 1300;
        const int yFallback = kFallbackTop + kBranchDrop;
        const int yExtreme = kExtremeTop + kBranchDrop;
        mTree->drawLine(planRight, yPlan, elbow, yFallback);
        mTree->drawLine(elbow, yFallback, kColumn2, yFallback);
        mTree->drawLine(planRight, yPlan, elbow, yExtreme);
        mTree->drawLine(elbow, yExtreme, kColumn2, yExtreme);
        mTree->placeWidget(mSuccess2, kColumn1 + 1360, yFallback - kPercentHeight - 40, kPercentWidth, kPercentHeight);
        DrawBranchCaption(kColumn1 + 1980, yFallback, kFallbackCaption);
        mTree->placeWidget(mFailure2, kColumn1 + 1360, yExtreme - kPercentHeight - 40, kPercentWidth, kPercentHeight);
        DrawBranchCaption(kColumn1 + 1980, yExtreme, kExceedFallbackCaption);
        DrawOutcomeBox(kColumn2, kFallbackTop, QStringLiteral("Fallback Outcome"), kFallbackFill,
                       Outcome(OutcomeKind::Fallback));
        DrawOutcomeBox(kColumn2, kExtremeTop, QStringLiteral("Extreme Outcome"), kExtremeFill, extreme.get());
    } else {
        DrawOutcomeBox(kColumn1, kPlanTop, QStringLiteral("Extreme Outcome"), kExtremeFill, extreme.get());
    }
    mSuccess2->setVisible(fallback);
    mFailure2->setVisible(fallback);
    mRationale2Panel->setVisible(fallback);
    if (fallback) {
        mInstructions->setText(QStringLiteral(
            "These boxes should be used to describe the thought process and rationale used in estimating the "
            "probabilities of success and failure of the primary strategy and also of the fallback plan."));
        mDiscuss->setText(QStringLiteral("Discuss probabilities for primary strategy"));
    } else {
        mInstructions->setText(QStringLiteral("This box should be used to describe the thought process and rationale "
                                              "used in estimating the probabilities of success and failure of the "
                                              "strategy."));
        mDiscuss->setText(QStringLiteral("Discuss probabilities"));
    }
}

// A box of the tree: its title, then the final size and the times the Outcomes worksheet
// gives (blank while there is no outcome to show).
void frm44Probabilities::DrawOutcomeBox(int x, int y, const QString& title, const QColor& fill,
                                        model::c53Outcome* outcome)
{
    mTree->setFillColor(fill);
    mTree->drawRect(x, y, kBoxWidth, kBoxHeight);
    mTree->setFillColor(QColor());
    mTree->setFontBold(true);
    mTree->drawText(x + 80, y + kBranchDrop - mTree->textHeight() / 2, title);
    mTree->setFontBold(false);
    const struct {
        QString before;
        QString value;
        QString after;
    } rows[] = {{QStringLiteral(" Final fire size"), outcome ? outcome->FireSize() : QString(), QStringLiteral(" acres")},
                {QStringLiteral(" Time to contain"), outcome ? outcome->ContainTimeString() : QString(),
                 QStringLiteral(" days")},
                {QStringLiteral(" Time to control"), outcome ? outcome->ControlTimeString() : QString(),
                 QStringLiteral(" days")}};
    const int valueRight = x + 1900;
    for (int i = 0; i < 3; ++i) {
        const int rowY = y + 300 + i * 200;
        mTree->drawText(x + 80, rowY, rows[i].before);
        mTree->drawText(valueRight - mTree->textWidth(rows[i].value), rowY, rows[i].value);
        mTree->drawText(valueRight + 20, rowY, rows[i].after);
    }
}

// The caption of a branch, broken into lines no wider than the caption column, standing on
// the branch's line.
void frm44Probabilities::DrawBranchCaption(int x, int branchY, const QString& caption)
{
    QStringList lines;
    for (const QString& word : caption.split(QLatin1Char(' '))) {
        if (!lines.isEmpty() && mTree->textWidth(lines.last() + QLatin1Char(' ') + word) <= kCaptionWidth)
            lines.last() += QLatin1Char(' ') + word;
        else
            lines << word;
    }
    const int lineHeight = mTree->textHeight();
    int y = branchY - 40 - lineHeight * int(lines.size());
    for (const QString& line : lines) {
        mTree->drawText(x, y, line);
        y += lineHeight;
    }
}

void frm44Probabilities::txtSuccess_Change(OutcomeKind n, double value)
{
    if (!core::IsIdle() || !Outcome(n))
        return;
    Success_Set(n, value);
}

// Stores the percentage, read within 0 to 100, as a whole number. What is being typed stays in
// the box ("12." on the way to "12.5"); anything else is put back as the number it stands for.
void frm44Probabilities::Success_Set(OutcomeKind n, double value)
{
    QLineEdit* box = txtSuccess(n);
    const QString s = box->text();
    core::Trace(QStringLiteral("Success%1_Set ").arg(int(n)) + s);
    const int stored = model::textnum::RoundHalfEven(value);
    const QString shown = IsPercentBeingTyped(s) && model::textnum::Val(s) == value ? s : QString::number(value);
    {
        core::BusyScope busy;
        if (box->text() != shown) {
            box->setText(shown);
            box->setCursorPosition(int(shown.size()));
        }
        Outcome(n)->SetSuccess(stored);
        lblFailure(n)->setText(QString::number(100 - stored));
    }
    // The next digit replaces the 0.
    if (shown == QLatin1String("0"))
        box->setSelection(0, 1);
}

// When the user leaves the box the value is taken: the box shows what is stored.
void frm44Probabilities::TakeSuccess(OutcomeKind n)
{
    model::c53Outcome* outcome = Outcome(n);
    if (!outcome || !outcome->bShow())
        return;
    const QString stored = QString::number(outcome->SuccessPercent());
    if (txtSuccess(n)->text() != stored) {
        core::BusyScope busy;
        txtSuccess(n)->setText(stored);
    }
}

void frm44Probabilities::txtRationale_Change(OutcomeKind n)
{
    if (!core::IsIdle() || !Outcome(n))
        return;
    Outcome(n)->SetSuccessRationale(txtRationale(n)->toPlainText());
}

} // namespace worksheets
