#pragma once

#include "worksheets/common/topiclistform.h"

namespace worksheets {

// Conditions: the fire situation told as a list of topics, each a heading and a rich-text
// narrative, some with instructions of their own. Edits go into the cached topic at once and
// reach the file when another topic is chosen, before Add, and when the worksheet is left.
class frm23Situation : public TopicListForm {
    Q_OBJECT
public:
    explicit frm23Situation(QWidget* parent = nullptr);

    void Setup() override;
    // Stores the topic shown.
    void SaveChanges() override;

    QListWidget* lstTopics() const { return listWidget(); }
    QPushButton* cmdNewTopic() const { return addButton(); }

private:
    void cmdNewTopic_Click();
    void FillList(ItemList& list) override;
    core::c0Item* TopicOf(int key) override;
    void StoreShown() override { SaveChanges(); }
    void DeleteTopic(int key) override;
    void TopicShown() override;
};

} // namespace worksheets
