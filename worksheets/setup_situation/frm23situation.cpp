#include "worksheets/setup_situation/frm23situation.h"

#include "core/g2situation.h"
#include "core/savescope.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "platform/richtext/richtexteditor.h"
#include "platform/ui/guard.h"
#include "worksheets/common/itemlist.h"
#include "worksheets/common/topiceditor.h"
#include "worksheets/common/wrappedlist.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace worksheets {

namespace {
const QString kNewTopic = QStringLiteral("New Topic");
}

frm23Situation::frm23Situation(QWidget* parent) : WorksheetForm(QStringLiteral("frm23Situation"), parent)
{
    auto* listCaption = new QLabel(tr("&Topics"), this);
    auto* listHelp = new QLabel(tr("Click on each topic below and fill in narrative on the right."), this);
    listHelp->setWordWrap(true);
    mListWidget = new QListWidget(this);
    mListWidget->setObjectName(QStringLiteral("lstTopics"));
    WrapLongEntries(mListWidget);
    listCaption->setBuddy(mListWidget);
    mList = new ItemList(mListWidget);
    mAdd = new QPushButton(tr("&Add Topic"), this);
    mAdd->setObjectName(QStringLiteral("cmdNewTopic"));
    mDelete = new QPushButton(tr("Delete Topic"), this);
    mDelete->setObjectName(QStringLiteral("cmdDelete"));

    auto* instructionsPanel = new QFrame(this);
    instructionsPanel->setFrameShape(QFrame::StyledPanel);
    auto* instructionsCaption = new QLabel(tr("Special instructions for this topic:"), instructionsPanel);
    mInstructions = new QLabel(instructionsPanel);
    mInstructions->setObjectName(QStringLiteral("lblInstructions"));
    mInstructions->setWordWrap(true);
    mInstructions->setTextFormat(Qt::PlainText);
    auto* instructionsLayout = new QVBoxLayout(instructionsPanel);
    instructionsLayout->addWidget(instructionsCaption);
    instructionsLayout->addWidget(mInstructions);

    mTopic = new TopicEditor(this, TopicEditor::Ruler::Shown);
    mTopic->setObjectName(QStringLiteral("SSPanel1"));
    mTopic->setCaptions(tr("Heading"), QString());
    mTopic->nameBox()->setMaxLength(80);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mAdd);
    buttons->addWidget(mDelete);
    auto* left = new QVBoxLayout;
    left->addWidget(listCaption);
    left->addWidget(listHelp);
    left->addWidget(mListWidget, 1);
    left->addLayout(buttons);
    auto* right = new QVBoxLayout;
    right->addWidget(instructionsPanel);
    right->addWidget(mTopic, 1);
    auto* layout = new QGridLayout(this);
    layout->addLayout(left, 0, 0);
    layout->addLayout(right, 0, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 3);
    setTabOrder(mListWidget, mAdd);
    setTabOrder(mAdd, mDelete);
    setTabOrder(mDelete, mTopic->nameBox());

    connect(mList, &ItemList::click, this, ui::Guarded(this, &frm23Situation::lstTopics_Click));
    StoreTopicEdits(mTopic, mList, [this] { return mCurrent; }, TopicName::HeadingAndItemName);
    connect(mAdd, &QPushButton::clicked, this, ui::Guarded(this, &frm23Situation::cmdNewTopic_Click));
    connect(mDelete, &QPushButton::clicked, this, ui::Guarded(this, &frm23Situation::cmdDelete_Click));
}

frm23Situation::~frm23Situation() { mCurrent = nullptr; }

void frm23Situation::Setup()
{
    BeginSetup(QStringLiteral("frm23Situation.Setup"), QStringLiteral("tab23"), 3, true);
    core::BusyScope busy;
    mCurrent = nullptr;
    LoadTopicList();
    SelectFirstTopic();
}

void frm23Situation::SaveChanges()
{
    if (core::c0Item* topic = mCurrent)
        core::SaveAllOrNothing([topic] { topic->SaveChanges(); });
}

void frm23Situation::LoadTopicList()
{
    mList->clear();
    for (core::c0Item* topic : core::GetSituationTopics())
        mList->addItem(topic->ItemName(), topic->ItemKey());
}

void frm23Situation::SelectFirstTopic()
{
    if (mList->count() > 0) {
        mDelete->setEnabled(true);
        mList->setListIndex(0);
    } else {
        ShowEmptyState();
    }
}

// Stores the topic left and shows the chosen one; Setup relies on it to show the first topic,
// so it runs while busy too.
void frm23Situation::lstTopics_Click()
{
    core::Trace(QStringLiteral("frm23Situation.lstTopics_Click ") + mList->text());
    const int key = mList->currentKey();
    SwitchShownEntry(
        *mList, [this] { return mCurrent ? mCurrent->ItemKey() : 0; }, [this] { SaveChanges(); },
        [this, key] {
            mCurrent = core::GetSituationItem(key);
            DisplayTopic();
        });
}

void frm23Situation::DisplayTopic()
{
    if (!mCurrent)
        return;
    core::BusyScope busy;
    mTopic->display(mCurrent->Heading(), mCurrent->Body());
    mTopic->bodyEditor()->textEdit()->setFocus(Qt::OtherFocusReason);
    mInstructions->setText(mCurrent->ItemText());
    mDelete->setEnabled(true);
}

// No topic left: nothing to edit, nothing a keystroke could write into.
void frm23Situation::ShowEmptyState()
{
    core::BusyScope busy;
    mCurrent = nullptr;
    mTopic->showEmpty();
    mInstructions->clear();
    mDelete->setEnabled(false);
}

void frm23Situation::cmdNewTopic_Click()
{
    core::Trace(QStringLiteral("cmdNewTopic_Click"));
    SaveChanges();
    const int key = core::NewSituationTopic(kNewTopic);
    mList->addItem(kNewTopic, key);
    mList->setListIndex(mList->count() - 1);
    // The box stays empty for the user's own heading; untouched, the topic keeps the name.
    if (mCurrent)
        mCurrent->SetHeading(kNewTopic);
    mDelete->setEnabled(true);
    mTopic->nameBox()->setFocus(Qt::OtherFocusReason);
}

void frm23Situation::cmdDelete_Click()
{
    if (!mCurrent)
        return;
    // A delete the file refuses leaves the topic shown and current; once its row is gone the
    // cached topic stores nothing more, so no save can bring it back.
    core::DeleteItem(mCurrent->ItemKey());
    mCurrent = nullptr;
    LoadTopicList();
    SelectFirstTopic();
}

} // namespace worksheets
