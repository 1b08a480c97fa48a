#pragma once

#include "worksheets/common/topiclistform.h"

namespace worksheets {

// Resource Objectives: the unit's resource management areas, each a name and a rich-text
// account of the resource objectives that bear on fire management. Edits go into the cached
// items at once; they reach the file when another area is chosen, after Add, and when the
// worksheet is left (the shell's save of the areas).
class frm13RMAs : public TopicListForm {
    Q_OBJECT
public:
    explicit frm13RMAs(QWidget* parent = nullptr);

    void Setup() override;

    // The controls, for the Edit menu and for tests.
    QListWidget* lstRMAs() const { return listWidget(); }
    QPushButton* cmdAdd() const { return addButton(); }

    void cmdAdd_Click();

private:
    void FillList(ItemList& list) override;
    core::c0Item* TopicOf(int key) override;
    void StoreShown() override;
    bool ConfirmDeletion() override;
    void DeleteTopic(int key) override;
};

} // namespace worksheets
