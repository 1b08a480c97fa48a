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

// Resource Objectives: the unit's resource management areas, each a name and a rich-text
// account of the resource objectives that bear on fire management. Edits go into the cached
// items at once; they reach the file when another area is chosen, after Add, and when the
// worksheet is left (the shell's save of the areas).
class frm13RMAs : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm13RMAs(QWidget* parent = nullptr);
    ~frm13RMAs() override;

    void Setup() override;

    // The controls, for the Edit menu and for tests.
    QListWidget* lstRMAs() const { return mListWidget; }
    TopicEditor* topic() const { return mTopic; }
    QPushButton* cmdAdd() const { return mAdd; }
    QPushButton* cmdDelete() const { return mDelete; }
    core::c0Item* current() const { return mCurrent; }

    void cmdAdd_Click();
    void cmdDelete_Click();

private:
    void lstRMAs_Click();
    void DisplayRMA();
    void ShowEmptyState();

    QLabel* mInstructions = nullptr;
    QListWidget* mListWidget = nullptr;
    ItemList* mList = nullptr;
    TopicEditor* mTopic = nullptr;
    QPushButton* mAdd = nullptr;
    QPushButton* mDelete = nullptr;
    core::c0Item* mCurrent = nullptr;
};

} // namespace worksheets
