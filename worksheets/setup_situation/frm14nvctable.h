#pragma once

#include "worksheets/common/worksheetform.h"

#include <array>

class QComboBox;
class QLabel;
class QRadioButton;

namespace grid {
class Grid;
}
namespace model {
class c34NVCTable;
}

namespace worksheets {

class ItemList;

// Setup worksheet 4 ("tab14"): the net value change per acre of the 14 resources at the six
// fire intensity levels, one FMU at a time (FMU key 0 without FMUs), the resource names that
// all FMUs share, and whether gains count or only losses.
class frm14NVCTable : public WorksheetForm {
    Q_OBJECT
public:
    static constexpr int kFILColumns = 6;
    static constexpr int kResources = 14;

    explicit frm14NVCTable(QWidget* parent = nullptr);

    void Setup() override;
    void SaveChanges() override;

    int currentFMUKey() const { return mFMUKey; }
    model::c34NVCTable* currentTable() const { return mTable; }
    bool minusReminderArmed() const { return !mMinusTyped; }

    QLabel* pnlHeader;
    QRadioButton* optNVC;
    QRadioButton* optLoss;
    QLabel* lblFMU;
    QComboBox* cboFMU;
    grid::Grid* grdNVC;
    QLabel* pnlLabel;
    std::array<QLabel*, kFILColumns + 1> pnlAcreImpact{};   // 1 to 6
    QLabel* lblMinus;

private:
    void SetupNVCGrid();
    void DisplayNVCTable();
    void ShowAcreImpacts();
    void ColourNVCCells();
    void ColourCell(int row, int col, bool useGains);
    void OptionPicked(bool gains, bool checked);
    void cboFMU_Click();
    void grdNVC_EnterCell();
    void grdNVC_BeforeEdit(int row, int col, bool& cancel);
    void grdNVC_KeyPressEdit(int row, int col, int& code);
    void grdNVC_ChangeEdit();
    void grdNVC_AfterEdit(int row, int col);
    void grdNVC_EditCancelled(int row, int col);

    ItemList* mFMUs;
    int mFMUKey = 0;
    model::c34NVCTable* mTable = nullptr;
    // The cell's value or name when its edit began, put back by Escape or a refused value.
    float mValueBeforeEdit = 0.0f;
    QString mNameBeforeEdit;
    // A minus sign has been typed since the reminder was last armed.
    bool mMinusTyped = false;
};

} // namespace worksheets
