#include "platform/chart/chartmodule.h"

#include "platform/chart/barchartdrawing.h"
#include "platform/ui/modulefile.h"
#include "platform/ui/prompter.h"

#include <QDir>

namespace chart {

namespace {

struct Module {
    bool tried = false;
    bool told = false;   // the user hears of a missing module once a run, not once a chart
    MakeBarChartDrawing make = nullptr;
    QString failure;
};

Module& module()
{
    static Module m;
    return m;
}

} // namespace

QString ChartModulePath() { return ui::ModuleBesideProgram(TOLMAR_CHART_MODULE); }

QString LoadChartModule(const QString& path)
{
    Module& m = module();
    m.tried = true;
    m.make = nullptr;
    m.failure.clear();
    QString why;
    m.make = reinterpret_cast<MakeBarChartDrawing>(ui::ModuleEntry(path, kMakeBarChartDrawing, &why));
    if (!m.make)
        m.failure = QStringLiteral("The charts cannot be drawn: the chart module \"%1\" cannot be loaded (%2). "
                                   "Installing the program again brings them back.")
                        .arg(QDir::toNativeSeparators(path), why);
    return m.failure;
}

QString ChartModuleFailure()
{
    Module& m = module();
    if (!m.tried)
        LoadChartModule(ChartModulePath());
    return m.failure;
}

BarChartDrawing* MakeDrawing(QWidget* parent)
{
    Module& m = module();
    if (!ChartModuleFailure().isEmpty()) {
        if (!m.told) {
            m.told = true;
            ui::MsgBox(m.failure, ui::Buttons::OK, ui::Icon::Warning);
        }
        return nullptr;
    }
    return m.make(parent);
}

} // namespace chart
