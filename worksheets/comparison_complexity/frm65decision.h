#pragma once

#include "worksheets/common/namelabel.h"
#include "worksheets/common/worksheetform.h"
#include "worksheets/common/wrappedlist.h"

class QComboBox;
class QLabel;
class QListWidget;

namespace core {
class c0Item;
}
namespace model {
class c51Alternative;
}

namespace worksheets {
class ItemList;
class TopicEditor;
}

namespace worksheets::comparison_complexity {

// Decision: which alternative is selected, a description of it and the rationale for the
// choice. Picking an alternative stores it at once and writes its default description, built
// from its own and its outcomes' descriptions. The two texts are edited in the topic editor;
// the shell saves them when the worksheet is left.
class frm65Decision : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm65Decision(QWidget* parent = nullptr);
    ~frm65Decision() override;

    void Setup() override;
    // Stores the topic being edited.
    void SaveChanges() override;

    QComboBox* cboAlternatives() const { return mAltCombo; }
    QLabel* lblLeastCost() const { return mLeastCost; }
    QLabel* lblInstructions() const { return mInstructions; }
    QLabel* lblNoAlternatives() const { return mEmpty; }
    QListWidget* lstTopics() const { return mTopicWidget; }
    TopicEditor* topic() const { return mTopic; }
    core::c0Item* current() const { return mCurrent; }

private:
    void ShowDecision();
    void LoadDecisionTopics();
    void ShowTopic();
    void WriteDescription(model::c51Alternative& alt);
    void cboAlternatives_Click();
    void lstTopics_Click();
    void txtHeading_Change(const QString& text);
    void txtBody_Change(const QString& rtf);

    LongChoiceBox* mAltCombo = nullptr;
    ItemList* mAlts = nullptr;
    NameLabel* mLeastCost = nullptr;
    QLabel* mEmpty = nullptr;
    QListWidget* mTopicWidget = nullptr;
    ItemList* mTopics = nullptr;
    QLabel* mInstructions = nullptr;
    TopicEditor* mTopic = nullptr;
    core::c0Item* mCurrent = nullptr;
};

} // namespace worksheets::comparison_complexity
