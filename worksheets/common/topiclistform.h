#pragma once

#include "worksheets/common/topiceditor.h"
#include "worksheets/common/worksheetform.h"

class QHBoxLayout;
class QLabel;
class QListWidget;
class QPushButton;

namespace core {
class c0Item;
}

namespace worksheets {

class ItemList;

// A page of topics, each a name and a rich-text body: the list of names with Add and Delete
// under it, the editor of the topic chosen, and an empty state with nothing to type into when
// the list is empty. Choosing a topic stores the one left first; edits go into the cached topic
// at once. What a page of this kind decides for itself (where its topics live, how one is
// added, whether one may go) are the hooks below; its layout it builds around the controls.
class TopicListForm : public WorksheetForm {
    Q_OBJECT
public:
    // What the pages differ in: names and captions of the shared controls, and what they show.
    struct Controls {
        QString listName;         // the list's object name
        QString addCaption;
        QString addName;          // the Add button's object name
        QString deleteCaption;
        TopicEditor::Ruler ruler = TopicEditor::Ruler::Hidden;
        TopicName naming = TopicName::HeadingOnly;
        bool wrapLongEntries = true;
        bool instructions = false;
        QString clickTrace;       // the trace line of a topic chosen, before its name
        QString deleteTrace;      // the trace line of Delete; none when empty
    };

    ~TopicListForm() override;

    TopicEditor* topic() const { return mTopic; }
    QPushButton* cmdDelete() const { return mDelete; }
    // The topic's own instructions; null on a page that shows none.
    QLabel* lblInstructions() const { return mInstructions; }
    core::c0Item* current() const { return mCurrent; }

    void cmdDelete_Click();

protected:
    TopicListForm(const QString& formName, const Controls& controls, QWidget* parent);

    QListWidget* listWidget() const { return mListWidget; }
    ItemList& list() const { return *mList; }
    QPushButton* addButton() const { return mAdd; }
    // Add and Delete side by side, for the page's layout.
    QHBoxLayout* buttonRow();

    // Fills the list afresh and shows its first topic, or the empty state.
    void ShowFirstTopic();
    // Puts the new topic's entry last in the list and shows it.
    void AppendEntry(const QString& text, int key);

    // The page's topics in list order, each with its key.
    virtual void FillList(ItemList& list) = 0;
    virtual core::c0Item* TopicOf(int key) = 0;
    // Stores the topic left when another is chosen.
    virtual void StoreShown() = 0;
    // Whether the topic may go at all: Delete is enabled for it only then.
    virtual bool Deletable(const core::c0Item& topic) const { return true; }
    // Asked as Delete is pressed, where the page asks the user first.
    virtual bool ConfirmDeletion() { return true; }
    virtual void DeleteTopic(int key) = 0;
    // The topic is on screen: what the page does next.
    virtual void TopicShown() {}

private:
    void lstTopics_Click();
    void ShowTopic();
    void ShowEmptyState();

    QString mClickTrace;
    QString mDeleteTrace;
    QListWidget* mListWidget = nullptr;
    ItemList* mList = nullptr;
    QPushButton* mAdd = nullptr;
    QPushButton* mDelete = nullptr;
    QLabel* mInstructions = nullptr;
    TopicEditor* mTopic = nullptr;
    core::c0Item* mCurrent = nullptr;
};

} // namespace worksheets
