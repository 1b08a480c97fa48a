#include "worksheets/report/frm82topics.h"

#include "core/c0item.h"
#include "core/g0items.h"
#include "core/g8summary.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "model/g51alternatives.h"
#include "platform/richtext/richtexteditor.h"
#include "platform/ui/guard.h"
#include "worksheets/common/itemlist.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/topiceditor.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace worksheets::report {

namespace {
// The decision texts, which the Decision worksheet edits too.
bool IsFixedTopic(int key)
{
    return key == core::kDecisionDescriptionKey || key == core::kDecisionRationaleKey;
}
}  // namespace

frm82Topics::frm82Topics(QWidget* parent) : WorksheetForm(QStringLiteral("frm82Topics"), parent)
{
    setWindowTitle(QStringLiteral("Decision Summary"));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("SSPanel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto* alternativeCaption = new QLabel(QStringLiteral("Selected Alternative"), panel);
    QFont bold = alternativeCaption->font();
    bold.setBold(true);
    alternativeCaption->setFont(bold);
    mAlternative = new worksheets::NameLabel(panel);
    mAlternative->setObjectName(QStringLiteral("lblAlternative"));
    auto* instruction = new QLabel(QStringLiteral("Click on each topic name below and fill in a narrative on the right.  "
                                                  "Add additional topics as needed."), panel);
    instruction->setWordWrap(true);
    auto* panelLayout = new QGridLayout(panel);
    panelLayout->addWidget(alternativeCaption, 0, 0);
    panelLayout->addWidget(mAlternative, 0, 1);
    panelLayout->addWidget(instruction, 1, 0, 1, 2);
    panelLayout->setColumnStretch(1, 1);

    mListWidget = new QListWidget(this);
    mListWidget->setObjectName(QStringLiteral("lstTopics"));
    mList = new worksheets::ItemList(mListWidget);
    // Wide enough for the longer of the two decision texts' names whole.
    mListWidget->setMinimumWidth(mListWidget->fontMetrics().horizontalAdvance(
                                     QStringLiteral("Rationale for selecting this Alternative")) +
                                 4 * mListWidget->frameWidth() + 12);
    mAdd = new QPushButton(QStringLiteral("&Add Topic"), this);
    mAdd->setObjectName(QStringLiteral("cmdNewTopic"));
    mDelete = new QPushButton(QStringLiteral("Delete Topic"), this);
    mDelete->setObjectName(QStringLiteral("cmdDelete"));

    auto* instructionsCaption = new QLabel(QStringLiteral("Special instructions for this topic:"), this);
    mInstructions = new QLabel(this);
    mInstructions->setObjectName(QStringLiteral("lblInstructions"));
    mInstructions->setWordWrap(true);
    mTopic = new worksheets::TopicEditor(this, worksheets::TopicEditor::Ruler::Shown);
    mTopic->setCaptions(QStringLiteral("Heading"), QString());
    mTopic->spellButton()->setText(QStringLiteral("Spellcheck"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mAdd);
    buttons->addWidget(mDelete);
    auto* left = new QVBoxLayout;
    left->addWidget(mListWidget, 1);
    left->addLayout(buttons);
    auto* right = new QVBoxLayout;
    right->addWidget(instructionsCaption);
    right->addWidget(mInstructions);
    right->addWidget(mTopic, 1);
    auto* layout = new QGridLayout(this);
    layout->addWidget(panel, 0, 0, 1, 2);
    layout->addLayout(left, 1, 0);
    layout->addLayout(right, 1, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 3);
    layout->setRowStretch(1, 1);
    setTabOrder(mListWidget, mAdd);
    setTabOrder(mAdd, mDelete);
    setTabOrder(mDelete, mTopic->nameBox());

    connect(mList, &worksheets::ItemList::click, this, ui::Guarded(this, &frm82Topics::lstTopics_Click));
    // A topic chosen with the mouse or with Enter takes the user on to its text, to type at
    // once; the arrow keys stay in the list to look through the topics.
    connect(mListWidget, &QListWidget::itemClicked, this, ui::Guarded(this, &frm82Topics::FocusBody));
    connect(mListWidget, &QListWidget::itemActivated, this, ui::Guarded(this, &frm82Topics::FocusBody));
    worksheets::StoreTopicEdits(mTopic, mList, [this] { return mCurrent; });
    connect(mAdd, &QPushButton::clicked, this, ui::Guarded(this, &frm82Topics::cmdNewTopic_Click));
    connect(mDelete, &QPushButton::clicked, this, ui::Guarded(this, &frm82Topics::cmdDelete_Click));
}

frm82Topics::~frm82Topics()
{
    mCurrent = nullptr;
}

void frm82Topics::Setup()
{
    BeginSetup(QStringLiteral("frm82Topics.Setup"), QStringLiteral("tab82"), 2, true);
    core::BusyScope busy;
    const auto selected = model::GetSelectedAlternative();
    mAlternative->setText(selected ? selected->Label() : QString());
    SelectFirstTopic();
    FocusBody();
}

void frm82Topics::FocusBody()
{
    if (mCurrent)
        mTopic->bodyEditor()->textEdit()->setFocus(Qt::OtherFocusReason);
}

void frm82Topics::SaveChanges()
{
    if (mCurrent)
        mCurrent->SaveChanges();
}

void frm82Topics::SelectFirstTopic()
{
    mCurrent = nullptr;
    worksheets::FillSummaryList(*mList);
    if (mList->count() > 0)
        mList->setListIndex(0);
    else
        ShowEmptyState();
}

// Stores the topic being left and shows the chosen one; Setup relies on it to show the first
// topic, so it runs while busy too.
void frm82Topics::lstTopics_Click()
{
    core::Trace(QStringLiteral("lstTopics_Click ") + mList->text());
    const int key = mList->currentKey();
    worksheets::SwitchShownEntry(
        *mList, [this] { return mCurrent ? mCurrent->ItemKey() : 0; }, [this] { SaveChanges(); },
        [this, key] {
            mCurrent = core::GetSummaryItem(key);
            ShowTopic();
        });
}

void frm82Topics::ShowTopic()
{
    if (!mCurrent)
        return;
    core::BusyScope busy;
    mTopic->display(mCurrent->Heading(), mCurrent->Body());
    mDelete->setEnabled(!IsFixedTopic(mCurrent->ItemKey()));
    mInstructions->setText(mCurrent->ItemText());
}

void frm82Topics::ShowEmptyState()
{
    core::BusyScope busy;
    mCurrent = nullptr;
    mTopic->showEmpty();
    mDelete->setEnabled(false);
    mInstructions->clear();
}

void frm82Topics::cmdNewTopic_Click()
{
    core::Trace(QStringLiteral("cmdNewTopic_Click"));
    const int key = core::NewItem(QString(), core::kSummaryGroupKey);
    mList->addItem(QString(), key);
    mList->setListIndex(mList->count() - 1);
    mTopic->focusName();
}

void frm82Topics::cmdDelete_Click()
{
    core::Trace(QStringLiteral("cmdDelete_Click"));
    if (!mCurrent || IsFixedTopic(mCurrent->ItemKey()))
        return;
    // A delete the file refuses leaves the topic shown and current, the error on screen. Once
    // its row is gone the cached topic stores nothing more, so no later click brings it back.
    core::DeleteItem(mCurrent->ItemKey());
    mCurrent = nullptr;
    SelectFirstTopic();
}

}  // namespace worksheets::report
