#pragma once

#include "worksheets/common/worksheetform.h"

#include "model/g38srtypes.h"

#include <memory>

class QPlainTextEdit;
class QPushButton;

namespace grid {
class Grid;
}

namespace worksheets {

// Setup worksheet 5 ("tab15"): the unit's suppression resource types with their position,
// names, unit and cost per unit, and a note of where the costs come from.
//
// Positions are kept as 1 ... n: a list read with gaps or repeats is numbered afresh (and
// stored when the worksheet saves), so retyping a position always gives the order typed.
class frm15SRMaster : public WorksheetForm {
    Q_OBJECT
public:
    enum Column { Position = 0, LongName, ShortName, Units, Cost, Key, ColumnCount };
    // Largest unit cost: the file keeps amounts as 8-byte numbers to 1/10,000 of a dollar,
    // which holds every cent exactly up to here, so what is typed, shown and stored agree.
    static constexpr double kMaxUnitCost = 99999999999.99;
    static constexpr int kUnitsLength = 20;
    static constexpr int kCostLength = 22;

    explicit frm15SRMaster(QWidget* parent = nullptr);

    void Setup() override;
    void SaveChanges() override;
    // Writes one type into grid row iRow and makes it the row's data.
    void LoadRow(const std::shared_ptr<model::c38SRType>& typ, int iRow);
    // Puts a type just stored by the Add dialog into the list at position (1 ... n + 1), numbers
    // the rows after it on, and makes its name cell current.
    void InsertType(const std::shared_ptr<model::c38SRType>& typ, int position);

    model::c38SRType* currentResource() const { return mCurrent; }
    int typeCount() const;

    grid::Grid* grdMasterList;
    QPlainTextEdit* txtSource;
    QPushButton* cmdAdd;
    QPushButton* cmdDelete;

    // The whole-dollar-and-cents text a cost is shown and edited with.
    static QString CostText(double cost);
    // A typed unit cost: empty is 0; false for anything but an amount from 0 to kMaxUnitCost.
    // The amount is rounded to cents.
    static bool ReadCost(const QString& text, double* cost);

private:
    void SetupMasterGrid();
    void LoadGrid();
    void MoveRow(int oldRow, int newRow);
    void Renumber(int fromRow, int toRow, int offset);
    void EnableDelete();
    void grdMasterList_EnterCell();
    void grdMasterList_BeforeEdit(int row, int col, bool& cancel);
    void grdMasterList_ChangeEdit();
    void grdMasterList_AfterEdit(int row, int col);
    void grdMasterList_EditCancelled(int row, int col);
    void cmdAdd_Click();
    void cmdDelete_Click();
    void txtSource_Change();
    void SetTextField(int col, const QString& text);

    QWidget* mBody;
    std::shared_ptr<model::SRTypeCollection> mTypes;
    model::c38SRType* mCurrent = nullptr;
    QString mTextBeforeEdit;
    double mCostBeforeEdit = 0;
};

} // namespace worksheets
