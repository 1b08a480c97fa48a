#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QChart;
class QWidget;

namespace chart {

// What a bar chart draws: its rows, columns and cells, and whether the bars stack.
struct BarChartContent {
    QStringList rowLabels;
    QStringList columnLabels;
    QList<QList<double>> cells;   // by column, then row
    bool stacked = false;
};

// The drawing side of a bar chart. It lives in a module of its own, loaded when the first chart
// is shown (chartmodule.h), so that a start of the program does not map the chart library and
// the graphics libraries it pulls in. The drawing is a widget owned by the parent it was made
// for; nothing else deletes it.
class BarChartDrawing {
public:
    virtual QWidget* widget() = 0;
    virtual void setContent(const BarChartContent& content) = 0;
    // The value axis from low to high, rounded out to tidy ticks, about that many ticks.
    virtual void setValueRange(double low, double high, int ticks) = 0;
    virtual double axisMin() const = 0;
    virtual double axisMax() const = 0;
    virtual void setShowLegend(bool show) = 0;
    virtual void setTitle(const QString& title) = 0;
    virtual QChart* chart() const = 0;

protected:
    ~BarChartDrawing() = default;
};

// The module's one entry point, looked up by the name below.
using MakeBarChartDrawing = BarChartDrawing* (*)(QWidget* parent);
inline constexpr char kMakeBarChartDrawing[] = "tolmar_make_bar_chart_drawing";

} // namespace chart
