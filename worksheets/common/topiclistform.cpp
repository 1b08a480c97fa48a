#include "worksheets/common/topiclistform.h"

#include "core/c0item.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "platform/ui/guard.h"
#include "worksheets/common/itemlist.h"
#include "worksheets/common/wrappedlist.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace worksheets {

TopicListForm::TopicListForm(const QString& formName, const Controls& controls, QWidget* parent)
    : WorksheetForm(formName, parent), mClickTrace(controls.clickTrace), mDeleteTrace(controls.deleteTrace)
{
    mListWidget = new QListWidget(this);
    mListWidget->setObjectName(controls.listName);
    if (controls.wrapLongEntries)
        WrapLongEntries(mListWidget);
    mList = new ItemList(mListWidget);
    mAdd = new QPushButton(controls.addCaption, this);
    mAdd->setObjectName(controls.addName);
    mDelete = new QPushButton(controls.deleteCaption, this);
    mDelete->setObjectName(QStringLiteral("cmdDelete"));
    if (controls.instructions) {
        mInstructions = new QLabel(this);
        mInstructions->setObjectName(QStringLiteral("lblInstructions"));
        mInstructions->setWordWrap(true);
    }
    mTopic = new TopicEditor(this, controls.ruler);
    setTabOrder(mListWidget, mAdd);
    setTabOrder(mAdd, mDelete);
    setTabOrder(mDelete, mTopic->nameBox());

    connect(mList, &ItemList::click, this, ui::Guarded(this, &TopicListForm::lstTopics_Click));
    StoreTopicEdits(mTopic, mList, [this] { return mCurrent; }, controls.naming);
    connect(mDelete, &QPushButton::clicked, this, ui::Guarded(this, &TopicListForm::cmdDelete_Click));
}

// What the boxes raise as they go writes into no topic.
TopicListForm::~TopicListForm() { mCurrent = nullptr; }

QHBoxLayout* TopicListForm::buttonRow()
{
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mAdd);
    buttons->addWidget(mDelete);
    return buttons;
}

void TopicListForm::ShowFirstTopic()
{
    mCurrent = nullptr;
    FillList(*mList);
    if (mList->count() > 0)
        mList->setListIndex(0);
    else
        ShowEmptyState();
}

void TopicListForm::AppendEntry(const QString& text, int key)
{
    mList->addItem(text, key);
    mList->setListIndex(mList->count() - 1);
}

// Stores the topic left and shows the chosen one; Setup relies on it to show the first topic,
// so it runs while busy too.
void TopicListForm::lstTopics_Click()
{
    core::Trace(mClickTrace + mList->text());
    const int key = mList->currentKey();
    SwitchShownEntry(
        *mList, [this] { return mCurrent ? mCurrent->ItemKey() : 0; }, [this] { StoreShown(); },
        [this, key] {
            mCurrent = TopicOf(key);
            ShowTopic();
        });
}

void TopicListForm::ShowTopic()
{
    if (!mCurrent)
        return;
    core::BusyScope busy;
    mTopic->display(mCurrent->Heading(), mCurrent->Body());
    if (mInstructions)
        mInstructions->setText(mCurrent->ItemText());
    mDelete->setEnabled(Deletable(*mCurrent));
    TopicShown();
}

// No topic left: nothing to edit, nothing a keystroke could write into.
void TopicListForm::ShowEmptyState()
{
    core::BusyScope busy;
    mCurrent = nullptr;
    mTopic->showEmpty();
    if (mInstructions)
        mInstructions->clear();
    mDelete->setEnabled(false);
}

void TopicListForm::cmdDelete_Click()
{
    if (!mDeleteTrace.isEmpty())
        core::Trace(mDeleteTrace);
    if (!mCurrent || !Deletable(*mCurrent) || !ConfirmDeletion())
        return;
    // A delete the file refuses leaves the topic shown and current; once its row is gone the
    // cached topic stores nothing more, so no save can bring it back.
    DeleteTopic(mCurrent->ItemKey());
    mCurrent = nullptr;
    ShowFirstTopic();
}

} // namespace worksheets
