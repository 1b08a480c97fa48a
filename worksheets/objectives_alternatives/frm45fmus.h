#pragma once

#include "worksheets/common/worksheetform.h"

#include <QList>

class QLabel;

namespace grid {
class Grid;
}
namespace label {
class FormattedLabel;
}
namespace model {
class c53Outcome;
class c64BurnArea;
}

namespace worksheets {

// FMU Portions: for each outcome, how its burned area divides among the fire management
// units. Portions are whole percentages that need not add up to 100; the model uses them as
// proportions. The portions of the outcome shown are written when another outcome is chosen
// and when the worksheet is left.
class frm45FMUs : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm45FMUs(QWidget* parent = nullptr);
    ~frm45FMUs() override;

    void Setup() override;
    void SaveChanges() override;

    grid::Grid* grdOutcomes() const { return mOutcomes; }
    grid::Grid* grdFMUs() const { return mFMUs; }
    QLabel* lblTotal() const { return mTotal; }
    model::c53Outcome* current() const { return mCurrent; }

private:
    void SetupGrids();
    void ShowFMUList();
    void ShowFMUPortions();
    void ShowTotal();
    model::c64BurnArea* AreaOfRow(int row) const;
    void grdOutcomes_EnterCell();
    void grdFMUs_EnterCell();
    void grdFMUs_BeforeEdit(int row, int col, bool& cancel);
    void grdFMUs_KeyPressEdit(int row, int col, int& code);
    void grdFMUs_ChangeEdit();
    void grdFMUs_AfterEdit(int row, int col);
    void grdFMUs_EditCancelled(int row, int col);

    label::FormattedLabel* mInstructions = nullptr;
    grid::Grid* mOutcomes = nullptr;
    grid::Grid* mFMUs = nullptr;
    QLabel* mTotal = nullptr;
    model::c53Outcome* mCurrent = nullptr;
    QList<model::c64BurnArea*> mAreas;   // one per FMU row, row 1 first
    int mPortionBeforeEdit = 0;
};

} // namespace worksheets
