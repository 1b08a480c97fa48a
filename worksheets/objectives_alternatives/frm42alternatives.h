#pragma once

#include "worksheets/common/worksheetform.h"

#include <memory>

class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace label {
class FormattedLabel;
}
namespace model {
class c51Alternative;
}

namespace worksheets {

class ItemList;
class TopicEditor;

// The label of the next alternative after one labelled lastLabel, in a list of count entries
// (lastLabel is ignored while the list is empty): "A" first, then the letter after the last
// entry's first letter ("c" gives "d"), and letters beyond "Z": "Z" gives "AA", "AA" gives
// "AB". A last label that starts with anything but a letter gives the letters of position
// count + 1.
QString NextAlternativeLabel(const QString& lastLabel, int count);

// Identify Alternatives: the strategies of the analysis, each a short label, a name and a
// description. Edits go into the cached alternative at once; they reach the file when
// another alternative is chosen, on Add and Delete, and when the worksheet is left (the
// shell's save of the alternatives).
class frm42Alternatives : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm42Alternatives(QWidget* parent = nullptr);
    ~frm42Alternatives() override;

    void Setup() override;
    // Stores the alternative shown.
    void SaveChanges() override;

    QListWidget* lstAlternatives() const { return mListWidget; }
    QLineEdit* txtLabel() const { return mLabel; }
    QLineEdit* txtName() const { return mName; }
    TopicEditor* topic() const { return mTopic; }
    QWidget* pnlDetails() const { return mDetails; }
    QPushButton* cmdAdd() const { return mAdd; }
    QPushButton* cmdDelete() const { return mDelete; }
    label::FormattedLabel* guidelines() const { return mGuidelines; }
    model::c51Alternative* current() const { return mCurrent.get(); }

    void cmdAdd_Click();
    void cmdDelete_Click();

private:
    void ShowGuidelines();
    void ShowAlternative();
    void ShowNoAlternative();
    bool ConfirmDeleteAlternative();
    void lstAlternatives_Click();
    void txtLabel_Change(const QString& text);
    void txtName_Change(const QString& text);
    void txtBody_Change(const QString& rtf);
    void UpdateListEntry();

    QListWidget* mListWidget = nullptr;
    ItemList* mList = nullptr;
    QPushButton* mAdd = nullptr;
    QPushButton* mDelete = nullptr;
    label::FormattedLabel* mGuidelines = nullptr;
    QWidget* mDetails = nullptr;
    QLineEdit* mLabel = nullptr;
    QLineEdit* mName = nullptr;
    TopicEditor* mTopic = nullptr;
    std::shared_ptr<model::c51Alternative> mCurrent;
};

} // namespace worksheets
