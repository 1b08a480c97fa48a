#pragma once

#include "worksheets/common/worksheetform.h"

class QComboBox;
class QLabel;

namespace grid {
class Grid;
}
namespace model {
class c35AACTable;
}

namespace worksheets {

class CostSizeGrid;
class ItemList;

// Setup worksheet 6 ("tab16"): the historic suppression cost per acre by fire size, one FMU
// at a time (FMU key 0, the whole fire, when the analysis has none).
class frm16CostPerAcre : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm16CostPerAcre(QWidget* parent = nullptr);

    void Setup() override;
    void SaveChanges() override;
    void SetupGrid();
    void DisplayData();

    int currentFMUKey() const { return mFMUKey; }
    model::c35AACTable* currentTable() const;

    QLabel* lblFMU;
    QComboBox* cboFMU;
    grid::Grid* grdCosts;

private:
    void cboFMU_Click();

    ItemList* mFMUs;
    CostSizeGrid* mCosts;
    int mFMUKey = 0;
};

} // namespace worksheets
