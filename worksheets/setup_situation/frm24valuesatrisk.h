#pragma once

#include "worksheets/common/worksheetform.h"

#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace grid {
class Grid;
}
namespace model {
class c36ThreatenedItem;
}

namespace worksheets {

class NumberBox;

// Values at Risk: what the fire threatens beyond the resource values of the NVC table, each
// with its potential loss, the chance that it burns without suppression, and the expected
// value at risk that follows; the total over all of them below the list. Edits go into the
// item shown at once and reach the file when another row is entered, before Add and Delete,
// and when the worksheet is left.
class frm24ValuesAtRisk : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm24ValuesAtRisk(QWidget* parent = nullptr);
    ~frm24ValuesAtRisk() override;

    void Setup() override;
    void SaveChanges() override;

    grid::Grid* grdItems() const { return mGrid; }
    QPushButton* cmdAddItem() const { return mAdd; }
    QPushButton* cmdDeleteItem() const { return mDelete; }
    QLabel* pnlTotal() const { return mTotal; }
    QGroupBox* pnlItemDetails() const { return mDetails; }
    QLineEdit* txtName() const { return mName; }
    QComboBox* cboDamage() const { return mDamage; }
    QComboBox* cboProbability() const { return mProbability; }
    QLabel* pnlRisk() const { return mRisk; }
    QPlainTextEdit* txtNotes() const { return mNotes; }
    QLabel* lblInstructions() const { return mInstructions; }
    model::c36ThreatenedItem* current() const { return mCurrent.get(); }

private:
    void SetupItemGrid();
    void ShowTotal();
    void SelectFirstItem();
    void DisplayItem();
    void ClearItemDetails();
    void UpdateItemRow();
    // The grid row of the item shown, -1 when none.
    int currentItemRow() const;

    void grdItems_EnterCell();
    void txtName_Change(const QString& text);
    void BindNumberBoxes();
    void cboDamage_Click(int index);
    void SetPotentialLoss(double amount);
    void cboProbability_Click(int index);
    void SetProbability(const QString& text);
    void txtNotes_Change();
    void cmdAddItem_Click();
    void cmdDeleteItem_Click();

    QLabel* mInstructions = nullptr;
    grid::Grid* mGrid = nullptr;
    QPushButton* mAdd = nullptr;
    QPushButton* mDelete = nullptr;
    QLabel* mTotal = nullptr;
    QGroupBox* mDetails = nullptr;
    QLineEdit* mName = nullptr;
    QComboBox* mDamage = nullptr;
    QComboBox* mProbability = nullptr;
    QLabel* mRisk = nullptr;
    QPlainTextEdit* mNotes = nullptr;
    std::shared_ptr<model::c36ThreatenedItem> mCurrent;
    NumberBox* mLoss = nullptr;
    NumberBox* mChance = nullptr;
};

} // namespace worksheets
