#pragma once

#include "model/outcomekind.h"
#include "worksheets/common/worksheetform.h"

class QLabel;

namespace grid {
class Grid;
}

namespace worksheets::comparison_complexity {

// Comparison Matrix: every alternative side by side in one read-only grid: the money
// figures, the probabilities of its three outcomes, and the objective and safety scores of
// each outcome with their expected value. Rebuilt from the model at every Setup; it stores
// nothing.
class frm64Matrix : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm64Matrix(QWidget* parent = nullptr);

    void Setup() override;

    grid::Grid* Grid1() const { return mGrid; }
    QLabel* lblNoAlternatives() const { return mEmpty; }

    // The fixed rows; the objectives follow row 9, then the safety rows.
    enum Row { Heading = 0, TargetCost, ExpectedCost, Protection, ResourceLoss, FinancialTotal,
               OutcomeLabels, Probabilities, ObjectiveCaptions, ObjectivesScore };
    // The column of alternative a (1 to the count) and its outcome o (1 Target, 2 Fallback,
    // 3 Extreme; 4 the expected value).
    static int Column(int a, int o) { return 4 * (a - 1) + 2 + o; }
    static int Column(int a, model::OutcomeKind kind) { return Column(a, int(kind)); }
    // The row of the expected safety score.
    int safetyRow() const { return ObjectivesScore + 1 + mObjectiveRows; }

private:
    void InitMatrixGrid();
    void ShowFinancialRows();
    void ShowOutcomeProbabilities();
    void ShowObjectiveRows();
    void ShowSafetyRows();

    grid::Grid* mGrid = nullptr;
    QLabel* mEmpty = nullptr;
    int mAlternatives = 0;
    int mObjectiveRows = 0;
    int mSafetyRows = 0;
};

} // namespace worksheets::comparison_complexity
