#pragma once

#include "worksheets/common/namelabel.h"
#include "worksheets/common/worksheetform.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace core {
class c0Item;
}

namespace worksheets {
class ItemList;
class TopicEditor;
}  // namespace worksheets

namespace worksheets::report {

// The topics of the decision summary: a heading and a rich-text narrative each. Edits go into the
// cached item at once; they reach the file when another topic is chosen, after Add Topic, and
// when the worksheet is left. The two decision texts cannot be deleted here.
class frm82Topics : public worksheets::WorksheetForm {
    Q_OBJECT
public:
    explicit frm82Topics(QWidget* parent = nullptr);
    ~frm82Topics() override;

    void Setup() override;
    void SaveChanges() override;

    QListWidget* lstTopics() const { return mListWidget; }
    worksheets::TopicEditor* topic() const { return mTopic; }
    QPushButton* cmdNewTopic() const { return mAdd; }
    QPushButton* cmdDelete() const { return mDelete; }
    QLabel* lblInstructions() const { return mInstructions; }
    QLabel* lblAlternative() const { return mAlternative; }
    core::c0Item* current() const { return mCurrent; }

    void cmdNewTopic_Click();
    void cmdDelete_Click();

private:
    void lstTopics_Click();
    void ShowTopic();
    void ShowEmptyState();
    void SelectFirstTopic();
    // The editor of the topic shown takes the keyboard.
    void FocusBody();

    QListWidget* mListWidget = nullptr;
    worksheets::ItemList* mList = nullptr;
    worksheets::TopicEditor* mTopic = nullptr;
    QPushButton* mAdd = nullptr;
    QPushButton* mDelete = nullptr;
    QLabel* mInstructions = nullptr;
    worksheets::NameLabel* mAlternative = nullptr;
    core::c0Item* mCurrent = nullptr;
};

}  // namespace worksheets::report
