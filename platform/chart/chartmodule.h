#pragma once

#include <QString>

class QWidget;

namespace chart {

class BarChartDrawing;

// The module that draws the charts, beside the program.
QString ChartModulePath();
// Loads the module at path for the charts made from now on; "" when it is loaded, else why not.
// The program loads the one beside it when the first chart is made.
QString LoadChartModule(const QString& path);
// A drawing for a chart, a child of parent; nullptr when the module cannot be loaded, the user
// told why once a run.
BarChartDrawing* MakeDrawing(QWidget* parent);
// Why the module cannot be loaded, in the words the user is told; "" when it is loaded.
QString ChartModuleFailure();

} // namespace chart
