#pragma once

#include "model/complexitytables.h"
#include "worksheets/common/worksheetform.h"

#include <QList>

class QLabel;
class QPushButton;

namespace grid {
class Grid;
}

namespace worksheets::complexity {
class CategoryColumn;
}

namespace worksheets::comparison_complexity {

// Complexity Analysis: the elements of each of the eight categories, ticked when present in
// the current fire, and each category rated Low, Med or High from the share ticked. Every
// change goes to the data file at once; only a name being typed waits for Update.
class frm72Complexity : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm72Complexity(QWidget* parent = nullptr);

    void Setup() override;
    void SaveChanges() override { Update(); }
    // Stores the element name being typed, if any.
    void Update();

    void lblCategory_Click(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowCategoryRatings();
    void DisplayFactorsForCategory(int category);
    void BuildFactorsList(int category);
    void ShowFactors();
    void UpdateDeleteButton();
    void RateCategory(int category);
    void FitNameColumn();

    void grdFactors_EnterCell();
    void grdFactors_ChangeEdit();
    void grdFactors_AfterEdit(int row, int col);
    void grdFactors_EditCancelled(int row, int col);
    void cmdAppend_Click();
    void cmdDelete_Click();

    complexity::CategoryColumn* mCategories;
    QLabel* lblFactorsCategory;
    grid::Grid* grdFactors;
    QPushButton* cmdAppend;
    QPushButton* cmdDelete;

    int mCategory = 1;
    QList<int> mFactors;            // FactorNumbers of the current category, in table order
    model::complexity::Tallies mTallies{};
    int mElement = 1;               // grid row + 1
    QString mPendingName;
    bool mNameChanged = false;
};

} // namespace worksheets::comparison_complexity
