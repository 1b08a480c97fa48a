#include "worksheets/comparison_complexity/frm65decision.h"

#include "core/c0item.h"
#include "core/g8summary.h"
#include "core/savescope.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g51alternatives.h"
#include "platform/ui/guard.h"
#include "worksheets/common/itemlist.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/topiceditor.h"
#include "worksheets/comparison_complexity/decisiondescription.h"
#include "worksheets/comparison_complexity/noalternatives.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace worksheets::comparison_complexity {

namespace {

const QString kDescriptionCaption = QStringLiteral("Selected Alternative Description");
const QString kRationaleCaption = QStringLiteral("Rationale for selecting this Alternative");

QLabel* BoldCaption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

} // namespace

frm65Decision::frm65Decision(QWidget* parent) : WorksheetForm(QStringLiteral("frm65Decision"), parent)
{
    auto* choice = new QFrame(this);
    choice->setObjectName(QStringLiteral("pnlAlternative"));
    choice->setFrameShape(QFrame::StyledPanel);
    auto* selectCaption = BoldCaption(tr("1. Select an Alternative"), choice);
    mAltCombo = new LongChoiceBox(choice);
    mAltCombo->setObjectName(QStringLiteral("cboAlternatives"));
    mAltCombo->setMinimumContentsLength(30);
    selectCaption->setBuddy(mAltCombo);
    mAlts = new ItemList(mAltCombo);
    auto* leastCaption = new QLabel(tr("Most Cost Effective Alternative"), choice);
    mLeastCost = new NameLabel(choice);
    mLeastCost->setObjectName(QStringLiteral("lblLeastCost"));
    mLeastCost->setFrameShape(QFrame::Panel);
    mLeastCost->setFrameShadow(QFrame::Sunken);
    auto* note = new QLabel(tr("If this Alternative is not selected, be sure to inlude an explanation in the rationale."),
                            choice);
    note->setObjectName(QStringLiteral("Label1"));
    note->setWordWrap(true);
    mEmpty = new QLabel(NoAlternativesText(), choice);
    mEmpty->setObjectName(QStringLiteral("lblNoAlternatives"));
    mEmpty->setWordWrap(true);
    mEmpty->hide();
    auto* choiceLayout = new QGridLayout(choice);
    choiceLayout->addWidget(selectCaption, 0, 0);
    choiceLayout->addWidget(mAltCombo, 1, 0);
    choiceLayout->addWidget(leastCaption, 0, 1);
    choiceLayout->addWidget(mLeastCost, 1, 1);
    choiceLayout->addWidget(note, 2, 0, 1, 2);
    choiceLayout->addWidget(mEmpty, 3, 0, 1, 2);
    choiceLayout->setColumnStretch(1, 1);

    auto* topicsCaption = BoldCaption(tr("2. &Description and Rationale"), this);
    auto* topicsNote = new QLabel(tr("Click on each topic below and fill in narrative on the right."), this);
    topicsNote->setWordWrap(true);
    mTopicWidget = new QListWidget(this);
    mTopicWidget->setObjectName(QStringLiteral("lstTopics"));
    mTopics = new ItemList(mTopicWidget);
    topicsCaption->setBuddy(mTopicWidget);
    // Wide enough for both topic names whole.
    mTopicWidget->setMinimumWidth(mTopicWidget->fontMetrics().horizontalAdvance(kRationaleCaption) +
                                  4 * mTopicWidget->frameWidth() + 12);

    auto* instructionsCaption = new QLabel(tr("Special instructions for this topic:"), this);
    mInstructions = new QLabel(this);
    mInstructions->setObjectName(QStringLiteral("lblInstructions"));
    mInstructions->setWordWrap(true);
    mTopic = new TopicEditor(this, TopicEditor::Ruler::Shown);
    mTopic->setCaptions(tr("Heading"), QString());
    mTopic->spellButton()->setText(tr("Spellcheck"));
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("SSPanel1"));
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(instructionsCaption);
    panelLayout->addWidget(mInstructions);
    panelLayout->addWidget(mTopic, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(topicsCaption);
    left->addWidget(topicsNote);
    left->addWidget(mTopicWidget, 1);
    auto* layout = new QGridLayout(this);
    layout->addWidget(choice, 0, 0, 1, 2);
    layout->addLayout(left, 1, 0);
    layout->addWidget(panel, 1, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 3);
    layout->setRowStretch(1, 1);
    setTabOrder(mAltCombo, mTopicWidget);
    setTabOrder(mTopicWidget, mTopic->nameBox());

    connect(mAlts, &ItemList::click, this, ui::Guarded(this, &frm65Decision::cboAlternatives_Click));
    connect(mTopics, &ItemList::click, this, ui::Guarded(this, &frm65Decision::lstTopics_Click));
    connect(mTopic, &TopicEditor::nameChanged, this, ui::Guarded(this, &frm65Decision::txtHeading_Change));
    connect(mTopic, &TopicEditor::bodyChanged, this, ui::Guarded(this, &frm65Decision::txtBody_Change));
}

frm65Decision::~frm65Decision() { mCurrent = nullptr; }

void frm65Decision::Setup()
{
    BeginSetup(QStringLiteral("frm65Decision.Setup"));
    core::BusyScope busy;
    mCurrent = nullptr;
    FillAlternativeList(*mAlts);
    const bool any = mAlts->count() > 0;
    mAltCombo->setEnabled(any);
    mEmpty->setVisible(!any);
    const auto least = model::GetLeastCostAlternative();
    mLeastCost->setText(least ? least->Label() : QString());
    ShowDecision();
    LoadDecisionTopics();
    mTopics->setListIndex(0);
}

void frm65Decision::SaveChanges()
{
    if (mCurrent)
        mCurrent->SaveChanges();
}

void frm65Decision::ShowDecision()
{
    core::Trace(QStringLiteral("frm65Decision.ShowDecision"));
    core::BusyScope busy;
    if (const auto selected = model::GetSelectedAlternative()) {
        const int index = mAlts->findKey(selected->ItemKey());
        if (index >= 0)
            mAlts->setListIndex(index);
    }
}

void frm65Decision::LoadDecisionTopics()
{
    mTopics->clear();
    mTopics->addItem(kDescriptionCaption, core::kDecisionDescriptionKey);
    mTopics->addItem(kRationaleCaption, core::kDecisionRationaleKey);
}

void frm65Decision::ShowTopic()
{
    if (!mCurrent)
        return;
    core::BusyScope busy;
    mTopic->display(mCurrent->Heading(), mCurrent->Body());
}

void frm65Decision::lstTopics_Click()
{
    core::Trace(QStringLiteral("frm65Decision.lstTopics_Click ") + mTopics->text());
    const int key = mTopics->currentKey();
    SwitchShownObject([this] { SaveChanges(); },
                      [this, key] {
                          mCurrent = core::GetSummaryItem(key);
                          ShowTopic();
                          mInstructions->setText(mCurrent->ItemText());
                      });
}

// The selection and its description are stored together or not at all.
void frm65Decision::WriteDescription(model::c51Alternative& alt)
{
    auto target = alt.Outcome(model::OutcomeKind::Target);
    auto fallback = alt.Outcome(model::OutcomeKind::Fallback);
    const QString body = fallback->Success() > 0
                             ? BuildFallbackDescription(alt.Body(), target->Description(), fallback->Description())
                             : BuildTargetOnlyDescription(alt.Body(), target->Description());
    core::c0Item* description = core::GetSummaryItem(core::kDecisionDescriptionKey);
    description->SetBody(body);
    core::SaveSummary();
    NoteBuiltDescription(description->Body());
}

// Not guarded: while Setup fills the box it refreshes a built description; the user's choice
// stores the alternative and writes its description.
void frm65Decision::cboAlternatives_Click()
{
    core::Trace(QStringLiteral("frm65Decision.cboAlternatives_Click ") + mAlts->text());
    SaveChanges();
    if (core::IsIdle()) {
        const int key = mAlts->currentKey();
        if (key == model::GetSelectedAlternativeKey())
            return;
        const auto alt = model::GetAlternative(key);
        if (!alt)
            return;
        mTopics->setListIndex(0);
        core::SaveAllOrNothing([&] {
            model::SetSelectedAlternative(*alt);
            WriteDescription(*alt);
        });
        ShowTopic();
        return;
    }
    const auto selected = model::GetSelectedAlternative();
    if (selected && IsUneditedBuiltDescription(core::GetSummaryItem(core::kDecisionDescriptionKey)->Body()))
        core::SaveAllOrNothing([&] { WriteDescription(*selected); });
}

void frm65Decision::txtHeading_Change(const QString& text)
{
    if (!core::IsIdle() || !mCurrent)
        return;
    mCurrent->SetHeading(text);
}

void frm65Decision::txtBody_Change(const QString& rtf)
{
    if (!core::IsIdle() || !mCurrent)
        return;
    mCurrent->SetBody(rtf);
}

} // namespace worksheets::comparison_complexity
