#pragma once

#include "worksheets/common/worksheetform.h"

#include <array>

class QLabel;

namespace chart {
class BarChart;
}

namespace worksheets::comparison_complexity {

// Comparison Graphs: the alternatives side by side in three bar charts, one above the other:
// the expected safety score, the expected objectives score by category, and the expected
// financial impact. Read-only; it stores nothing.
class frm62Graphs : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm62Graphs(QWidget* parent = nullptr);

    void Setup() override;

    // Each fills the chart it is given from the model.
    void DisplaySafetyChart(chart::BarChart& graph);
    void DisplayCriteriaChart(chart::BarChart& graph);
    void DisplayCostChart(chart::BarChart& graph);

    chart::BarChart* chtSafety() const { return mSafety; }
    chart::BarChart* chtCriteria() const { return mCriteria; }
    chart::BarChart* chtCosts() const { return mCosts; }
    // The titles above the charts, 1 to 3.
    QLabel* title(int index) const { return Label1.at(index - 1); }
    QLabel* lblNoAlternatives() const { return mEmpty; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ArrangeCharts();
    void ShowCharts(bool shown);

    std::array<QLabel*, 3> Label1{};
    chart::BarChart* mSafety = nullptr;
    chart::BarChart* mCriteria = nullptr;
    chart::BarChart* mCosts = nullptr;
    QLabel* mEmpty = nullptr;
};

} // namespace worksheets::comparison_complexity
