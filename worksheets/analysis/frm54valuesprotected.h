#pragma once

#include "worksheets/common/worksheetform.h"

#include <memory>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;

namespace grid {
class Grid;
}
namespace model {
class c36ThreatenedItem;
class c53Outcome;
class c66ItemImpact;
}

namespace worksheets {

class NumberBox;

// How far each outcome protects each value at risk, as a level of 0 to 100 percent with a
// note, and the expected values protected that follow. The level and note of the item shown
// are stored when another outcome or item is chosen and when the worksheet is left.
class frm54ValuesProtected : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm54ValuesProtected(QWidget* parent = nullptr);
    ~frm54ValuesProtected() override;

    void Setup() override;
    void SaveChanges() override;
    void LoadValuesProtected();

    // The controls and the state shown, for tests.
    grid::Grid* grdOutcomes() const { return mOutcomes; }
    grid::Grid* grdItems() const { return mItems; }
    QComboBox* cboProbability() const { return mLevel; }
    QPlainTextEdit* txtNotes() const { return mNotes; }
    QLabel* pnlTotal() const { return mTotal; }
    QLabel* pnlOutcome() const { return mOutcomeName; }
    QLabel* pnlName() const { return mItemName; }
    QLabel* pnlPotentialLoss() const { return mValueAtRisk; }
    QLabel* pnlProtected() const { return mProtected; }
    QGroupBox* pnlDetails() const { return mDetails; }
    model::c53Outcome* currentOutcome() const { return mOutcome; }
    model::c36ThreatenedItem* currentItem() const { return mItem; }

private:
    void SetupGrids();
    void NewItemImpactArray();
    void SelectFirstItem();
    void LoadItemProtection();
    void ShowTotalProtected();
    void ShowItemDetails();
    void ClearItemDetails();
    void UpdateProtectedValue();

    void grdOutcomes_EnterCell();
    void grdItems_EnterCell();
    void cboProbability_Change(const QString& text);
    void cboProbability_Finished();
    void txtNotes_Change();
    void SetLevel(const QString& text);

    grid::Grid* mOutcomes = nullptr;
    grid::Grid* mItems = nullptr;
    QLabel* mTotal = nullptr;
    QGroupBox* mDetails = nullptr;
    QLabel* mOutcomeName = nullptr;
    QLabel* mItemName = nullptr;
    QLabel* mValueAtRisk = nullptr;
    QComboBox* mLevel = nullptr;
    NumberBox* mLevelNumber = nullptr;
    QLabel* mProtected = nullptr;
    QPlainTextEdit* mNotes = nullptr;

    model::c53Outcome* mOutcome = nullptr;
    model::c36ThreatenedItem* mItem = nullptr;
    // Element i for item row i (element 0 unused): the levels the item grid shows.
    std::vector<model::c66ItemImpact> mImpacts;
    // The outcome's level of the item shown: every edit goes here.
    std::unique_ptr<model::c66ItemImpact> mDetail;
};

} // namespace worksheets
