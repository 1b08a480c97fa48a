#pragma once

#include "worksheets/analysis/frm55natres.h"

namespace worksheets {

// The page of an analysis with two or more FMUs: for each level and FMU, the level's NVC
// per acre times the level's share of the FMU's burned area times the FMU's share of the
// fire, with the totals by level and the computation of any cell the user picks.
class frm55NatResFMU : public NatResForm {
    Q_OBJECT
public:
    explicit frm55NatResFMU(QWidget* parent = nullptr);

    grid::Grid* grdTotals() const { return mTotals; }
    QLabel* lblDetail() const { return mDetail; }

private:
    void SetupComputeGrid() override;
    void ShowImpactComputation() override;
    // The figure of level fil in the FMU at 1-based position j of the list.
    double CellValue(int fil, int j) const;
    void grdCompute_EnterCell();

    grid::Grid* mTotals = nullptr;
    QLabel* mDetail = nullptr;
};

} // namespace worksheets
