#pragma once

#include "worksheets/common/namelabel.h"
#include "worksheets/common/topiclistform.h"

namespace worksheets::report {

// The topics of the decision summary: a heading and a rich-text narrative each. Edits go into the
// cached item at once; they reach the file when another topic is chosen, after Add Topic, and
// when the worksheet is left. The two decision texts cannot be deleted here.
class frm82Topics : public worksheets::TopicListForm {
    Q_OBJECT
public:
    explicit frm82Topics(QWidget* parent = nullptr);

    void Setup() override;
    void SaveChanges() override;

    QListWidget* lstTopics() const { return listWidget(); }
    QPushButton* cmdNewTopic() const { return addButton(); }
    QLabel* lblAlternative() const { return mAlternative; }

    void cmdNewTopic_Click();

private:
    // The editor of the topic shown takes the keyboard.
    void FocusBody();
    void FillList(worksheets::ItemList& list) override;
    core::c0Item* TopicOf(int key) override;
    void StoreShown() override { SaveChanges(); }
    bool Deletable(const core::c0Item& topic) const override;
    void DeleteTopic(int key) override;

    worksheets::NameLabel* mAlternative = nullptr;
};

}  // namespace worksheets::report
