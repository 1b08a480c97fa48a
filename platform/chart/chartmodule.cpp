#include "platform/chart/chartmodule.h"

#include "platform/chart/barchartdrawing.h"
#include "platform/ui/prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

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

QString ChartModulePath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(TOLMAR_CHART_MODULE));
}

QString LoadChartModule(const QString& path)
{
    Module& m = module();
    m.tried = true;
    m.make = nullptr;
    m.failure.clear();
    // The library stays loaded when this object goes: the drawings it made live on.
    QLibrary library(path);
    m.make = reinterpret_cast<MakeBarChartDrawing>(library.resolve(kMakeBarChartDrawing));
    if (!m.make)
        m.failure = QStringLiteral("The charts cannot be drawn: the chart module \"%1\" cannot be loaded (%2). "
                                   "Installing the program again brings them back.")
                        .arg(QDir::toNativeSeparators(path), library.errorString());
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
