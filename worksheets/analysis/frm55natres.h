#pragma once

#include "worksheets/common/worksheetform.h"

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace grid {
class Grid;
}
namespace model {
class c53Outcome;
}

namespace worksheets {

// What the two Natural Resource Impacts pages share: the summary of every outcome's impact,
// the detail of the outcome chosen, its average impact per acre and the button that opens
// the FIL proportions. They only show figures; nothing is stored here.
class NatResForm : public WorksheetForm {
    Q_OBJECT
public:
    void Setup() override;

    grid::Grid* grdOutcomes() const { return mOutcomes; }
    grid::Grid* grdCompute() const { return mCompute; }
    QLabel* lblImpactPerAcre() const { return mImpactPerAcre; }
    QPushButton* cmdFIL() const { return mFIL; }
    model::c53Outcome* currentOutcome() const { return mOutcome; }

    // Opens the FIL proportions, then shows the figures they changed.
    void cmdFIL_Click();

protected:
    NatResForm(const QString& formName, const QStringList& introduction, const QString& detailTitle,
               QWidget* parent);

    virtual void SetupComputeGrid() = 0;
    virtual void ShowImpactComputation() = 0;
    // Where the form puts its detail controls, below the detail table's title.
    QVBoxLayout* detailArea() const { return mDetailArea; }

    grid::Grid* mCompute = nullptr;
    QLabel* mImpactPerAcre = nullptr;
    model::c53Outcome* mOutcome = nullptr;

private:
    void grdOutcomes_EnterCell();

    grid::Grid* mOutcomes = nullptr;
    QPushButton* mFIL = nullptr;
    QVBoxLayout* mDetailArea = nullptr;
};

// The page of an analysis with one FMU or none: each level's share of the burned area times
// the NVC per acre of that level.
class frm55NatRes : public NatResForm {
    Q_OBJECT
public:
    explicit frm55NatRes(QWidget* parent = nullptr);

private:
    void SetupComputeGrid() override;
    void ShowImpactComputation() override;
};

} // namespace worksheets
