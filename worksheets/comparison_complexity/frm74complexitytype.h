#pragma once

#include "worksheets/common/worksheetform.h"

#include <array>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace grid {
class Grid;
}

namespace worksheets::complexity {
class CategoryColumn;
}

namespace worksheets::comparison_complexity {

// Incident Type: the complexity analysis summed up read-only, and the incident type with its
// rationale as the user types them ("OverheadTeam", "OverheadTeamRationale").
class frm74ComplexityType : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm74ComplexityType(QWidget* parent = nullptr);

    void Setup() override;
    void SaveChanges() override { Update(); }
    // Stores the type and the rationale, each only when the user changed it.
    void Update();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowSelectedFactors();
    void ShowCategoryRatings();
    void ShowSummary();
    void SumIncidentScores();
    void FitColumns();

    complexity::CategoryColumn* mCategories;
    grid::Grid* grdFactors;
    std::array<QLabel*, 3> lblCategories{};
    std::array<QLabel*, 3> lblFactors{};   // [1] stays empty: elements are No or Yes
    QLineEdit* txtTeam;
    QPlainTextEdit* txtRationale;

    bool mTeamChanged = false;
    bool mRationaleChanged = false;
    std::array<int, 3> mCategoryCounts{};   // by rating Low, Med, High
    std::array<int, 3> mFactorCounts{};     // by No, -, Yes
};

} // namespace worksheets::comparison_complexity
