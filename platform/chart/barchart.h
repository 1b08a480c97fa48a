#pragma once

#include "platform/chart/barchartdrawing.h"

#include <QWidget>

class QLabel;

namespace chart {

// A 2-D bar chart: one group of bars per row along the horizontal axis, one bar in each
// group per column (a data series), the columns named in the legend. Rows and columns are
// numbered from 1. Bars stand side by side, or stacked one on another (negative values
// below the axis) when stacking is on. The value axis always takes in 0 and every bar.
// Changes reach the drawn chart together, when the program next waits for events or when
// chart() is asked for, however many cells were set one by one. The drawing comes from the
// chart module (chartmodule.h); without it the chart shows why in its place and keeps its data.
//
//   chart->clear();
//   chart->setRowCount(2);
//   chart->setRowLabel(1, "A. Direct attack");
//   chart->setRowLabel(2, "B. Confine");
//   chart->setColumnCount(1);
//   chart->setColumnLabel(1, "Safety");
//   chart->setData(1, 1, 7.5);
//   chart->setData(2, 1, 4.0);
class BarChart : public QWidget {
    Q_OBJECT
public:
    explicit BarChart(QWidget* parent = nullptr);
    ~BarChart() override;

    // No rows, no columns, no title; the legend and stacking as they were.
    void clear();

    int rowCount() const { return int(mContent.rowLabels.size()); }
    // New rows hold 0 in every column; rows cut off are gone.
    void setRowCount(int rows);
    QString rowLabel(int row) const;
    void setRowLabel(int row, const QString& label);

    int columnCount() const { return int(mContent.columnLabels.size()); }
    void setColumnCount(int columns);
    QString columnLabel(int column) const;
    void setColumnLabel(int column, const QString& label);

    // Cells outside the rows and columns are ignored (set) or read as 0.
    double data(int row, int column) const;
    void setData(int row, int column, double value);

    bool isStacked() const { return mContent.stacked; }
    void setStacked(bool stacked);
    bool showLegend() const { return mShowLegend; }
    void setShowLegend(bool show);
    QString title() const { return mTitle; }
    void setTitle(const QString& title);

    // The value axis's range as drawn (0 when nothing is drawn).
    double axisMin() const;
    double axisMax() const;

    // The chart as drawn, every change made so far handed to it; nullptr without the chart module.
    QChart* chart() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    bool isCell(int row, int column) const;
    void seriesChanged();
    void axisChanged();
    void applyChanges() const;
    void applySeries() const;
    void applyValueAxis() const;

    BarChartDrawing* mDrawing = nullptr;   // a child widget
    QLabel* mMissing = nullptr;            // in its place without the chart module
    BarChartContent mContent;
    bool mShowLegend = false;
    QString mTitle;
    // What the drawn chart has yet to be given, and whether a handing over is under way.
    mutable bool mSeriesStale = false;
    mutable bool mAxisStale = false;
    bool mQueued = false;
};

} // namespace chart
