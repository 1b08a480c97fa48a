#pragma once

#include "worksheets/common/worksheetform.h"

#include <QList>
#include <QString>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace grid {
class Grid;
}
namespace model {
class c41Objective;
}
namespace richtext {
class RichTextEditor;
}

namespace worksheets {

class ItemList;
class TopicEditor;

// One half of the objectives table on screen: a grid of the tree's nodes (its group rows in
// light green, its members indented), the shown node's name and description, Add and Delete.
// The Safety Issues and Describe Objectives worksheets are this form, configured by the tree
// they show (see frm32SafetyIssues and frm33Objectives). Edits go into the shown node at
// once; the node reaches the file when another row is entered, before Add, and when the
// worksheet is left.
class ObjectiveTreeForm : public WorksheetForm {
    Q_OBJECT
public:
    // Everything in which the two worksheets differ.
    struct Config {
        QString formName;
        QString setupTrace;
        QString title;
        QString instructions;
        QString gridHeader;
        QString memberCaption;          // the name box's caption on a member row
        QString addCaption;
        QString deleteCaption;
        bool showsRoot = false;         // the tree's root as the first grid row
        bool tracesSetupGrid = false;
        bool hasRMAGuidelines = false;  // the resource objectives of a chosen area, read-only
        std::function<bool(const model::c41Objective&)> isGroup;   // the light green rows
        std::function<const QList<model::c41Objective*>&()> collection;
        std::function<model::c41Objective*(int parentKey)> add;
        std::function<void()> clear;
        std::function<model::c41Objective*(int key)> get;
        std::function<void(int key)> remove;
    };

    enum class Tree { SafetyIssues, Objectives };
    // The two worksheets side by side, as one table of their differences.
    static Config ConfigFor(Tree tree);

    ObjectiveTreeForm(Config config, QWidget* parent);
    ~ObjectiveTreeForm() override;

    void Setup() override;
    void SaveChanges() override;

    // The controls, for the Edit menu and for tests.
    grid::Grid* Grid1() const { return mGrid; }
    TopicEditor* topic() const { return mTopic; }
    QLabel* lblName() const { return mNameCaption; }
    QPushButton* cmdAdd() const { return mAdd; }
    QPushButton* cmdDelete() const { return mDelete; }
    QComboBox* cboRMAs() const { return mRMACombo; }
    richtext::RichTextEditor* txtGuidelines() const { return mGuidelines; }
    model::c41Objective* current() const { return mCurrent; }

    void cmdAdd_Click();
    void cmdDelete_Click();

private:
    void SetupGrid();
    void LoadGrid();
    void ShowSelectedNode();
    bool isGroupRow(int row) const;
    void Grid1_EnterCell();
    void txtName_Change(const QString& text);
    void txtBody_Change(const QString& rtf);
    void cboRMAs_Click();

    const Config mConfig;
    grid::Grid* mGrid = nullptr;
    TopicEditor* mTopic = nullptr;
    QLabel* mNameCaption = nullptr;
    QPushButton* mAdd = nullptr;
    QPushButton* mDelete = nullptr;
    QComboBox* mRMACombo = nullptr;
    ItemList* mRMAs = nullptr;
    richtext::RichTextEditor* mGuidelines = nullptr;
    model::c41Objective* mCurrent = nullptr;
};

} // namespace worksheets
