#pragma once

#include "worksheets/common/modaldialog.h"

class QLabel;

namespace grid {
class Grid;
}
namespace model {
class c35AACTable;
class c53Outcome;
}

namespace worksheets {

class CostSizeGrid;

// "Suppression cost based on fire size": the outcomes with their cost per acre and cost by
// fire size, over the table of historic cost per acre by fire size on which they rest. A
// change to the table shows in the outcomes' figures as it is typed.
class CostBySizeDialog : public ModalDialog {
    Q_OBJECT
public:
    ~CostBySizeDialog() override;
    void SetupGrids();
    // Loads the table of the current FMU key into the cost grid.
    void DisplayPerAcreData();
    model::c35AACTable* costTable() const;
    int fmuKey() const { return mFMUKey; }

    grid::Grid* grdOutcomes;
    grid::Grid* grdCosts;
    QLabel* Label1;

protected:
    CostBySizeDialog(const QString& formName, model::c53Outcome* startOutcome, QWidget* parent);
    // Ends a cost being typed and stores the current table.
    void SaveTable();
    // The outcome figures after a change of the table.
    virtual void TableEdited();

    CostSizeGrid* mCosts;
    model::c53Outcome* mStart;
    int mFMUKey = 0;
};

// The dialog of an analysis without FMUs: one table for the whole fire.
class frm561CostPerAcre : public CostBySizeDialog {
    Q_OBJECT
public:
    explicit frm561CostPerAcre(model::c53Outcome* startOutcome, QWidget* parent = nullptr);
    void Setup() override;
    void SaveChanges() override;
};

// The dialog of an analysis with FMUs: each FMU's share of the chosen outcome and its cost
// per acre for the outcome's size, and the table of the chosen FMU.
class frm561CostPerAcreFMU : public CostBySizeDialog {
    Q_OBJECT
public:
    explicit frm561CostPerAcreFMU(model::c53Outcome* startOutcome, QWidget* parent = nullptr);
    void Setup() override;
    void SaveChanges() override;

    model::c53Outcome* currentOutcome() const { return mCurrent; }

    grid::Grid* grdFMUs;
    QLabel* pnlTotal;

protected:
    void TableEdited() override;

private:
    void ShowFMUCosts();
    void grdOutcomes_EnterCell();
    void grdFMUs_EnterCell();

    model::c53Outcome* mCurrent = nullptr;
};

} // namespace worksheets
