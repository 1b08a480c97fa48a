#pragma once

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

// Conditions: the fire situation told as a list of topics, each a heading and a rich-text
// narrative, some with instructions of their own. Edits go into the cached topic at once and
// reach the file when another topic is chosen, before Add, and when the worksheet is left.
class frm23Situation : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm23Situation(QWidget* parent = nullptr);
    ~frm23Situation() override;

    void Setup() override;
    // Stores the topic shown.
    void SaveChanges() override;

    QListWidget* lstTopics() const { return mListWidget; }
    TopicEditor* topic() const { return mTopic; }
    QLabel* lblInstructions() const { return mInstructions; }
    QPushButton* cmdNewTopic() const { return mAdd; }
    QPushButton* cmdDelete() const { return mDelete; }
    core::c0Item* current() const { return mCurrent; }

private:
    void LoadTopicList();
    void SelectFirstTopic();
    void DisplayTopic();
    void ShowEmptyState();
    void lstTopics_Click();
    void cmdNewTopic_Click();
    void cmdDelete_Click();

    QListWidget* mListWidget = nullptr;
    ItemList* mList = nullptr;
    TopicEditor* mTopic = nullptr;
    QLabel* mInstructions = nullptr;
    QPushButton* mAdd = nullptr;
    QPushButton* mDelete = nullptr;
    core::c0Item* mCurrent = nullptr;
};

} // namespace worksheets
