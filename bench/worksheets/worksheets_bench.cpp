// Opens the large analysis, adds the resource management areas and the situation it lacks,
// and times Setup of every worksheet form the shell registers (a form registered later joins
// by itself), each from cold model caches, as after the file was loaded. The yardstick is
// loading the model alone: every list the worksheets show, read afresh. The goal is a median
// under 50 ms per worksheet; the ratio says how many model loads a Setup costs.

#include "core/g0items.h"
#include "core/g13rmas.h"
#include "core/g2situation.h"
#include "model/c53outcome.h"
#include "model/g33fmus.h"
#include "model/g34nvcresources.h"
#include "model/g36threateneditems.h"
#include "model/g38srtypes.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/g51alternatives.h"
#include "platform/richtext/emptybody.h"
#include "platform/ui/scriptedprompter.h"
#include "shell/worksheetforms.h"
#include "support/analysis_builder.h"
#include "worksheets/common/worksheetform.h"

#include <QApplication>
#include <QMap>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kRMAs = 20;

// The resource management areas the large analysis lacks, each with a page of objectives.
void AddRMAs()
{
    QString paragraphs;
    for (int p = 0; p < 12; ++p)
        paragraphs += QStringLiteral("Keep fire out of the riparian zone and the seed orchard; allow it where it "
                                     "reduces fuels without harm to the watershed.\\par ");
    const QString body = QString(richtext::kEmptyBody).replace(QStringLiteral("\\pard \\par }"),
                                                               QStringLiteral("\\pard ") + paragraphs + "}");
    for (int i = 1; i <= kRMAs; ++i)
        core::NewRMA(QStringLiteral("Management Area %1").arg(i), body);
    core::SaveRMAs();
    core::ClearItems();
}

std::unique_ptr<testsupport::OpenAnalysis> gAnalysis;

// Every list the worksheets show, read from the file.
double LoadModel()
{
    testsupport::ClearModelCaches();
    double sum = 0;
    sum += model::GetFMUs().size();
    model::LoadNVCResources();
    sum += model::GetThreatenedItems().Count();
    model::GetObjectives();
    model::GetSafetyIssues();
    model::LoadSRTypes();
    for (const auto& alt : model::GetAlternatives())
        for (int idx = 1; idx <= 2; ++idx)
            sum += alt->Outcome(idx)->Success();
    sum += core::GetRMAs().size();
    sum += core::GetSituationTopics().size();
    return sum;
}

void BM_LoadModel(benchmark::State& state)
{
    if (!gAnalysis->ok()) {
        state.SkipWithError("no analysis");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadModel());
}

void BM_Setup(benchmark::State& state, const QString& id)
{
    if (!gAnalysis->ok()) {
        state.SkipWithError("no analysis");
        return;
    }
    QWidget parent;
    parent.resize(1200, 800);
    for (auto _ : state) {
        state.PauseTiming();
        testsupport::ClearModelCaches();
        std::unique_ptr<worksheets::WorksheetForm> form(worksheets::CreateWorksheetForm(id, &parent));
        state.ResumeTiming();
        form->Setup();
        state.PauseTiming();
        form.reset();
        worksheets::gCurrentWorksheetID.clear();
        state.ResumeTiming();
    }
}

// Keeps the median of each benchmark's repetitions.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[QString::fromStdString(run.run_name.function_name)] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    QMap<QString, double> medians;   // milliseconds
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::ScriptedPrompter prompter;
    benchmark::Initialize(&argc, argv);
    gAnalysis = std::make_unique<testsupport::OpenAnalysis>(testsupport::kLargeAnalysis);
    if (gAnalysis->ok()) {
        AddRMAs();
        testsupport::BuildSituation();
        core::ClearItems();
    }

    shell::RegisterWorksheetForms();
    const QStringList ids = worksheets::RegisteredWorksheetIds();
    benchmark::RegisterBenchmark("LoadModel", BM_LoadModel)
        ->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
    for (const QString& id : ids)
        benchmark::RegisterBenchmark(qPrintable(QStringLiteral("Setup/") + id), BM_Setup, id)
            ->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    gAnalysis.reset();

    const double load = reporter.medians.value(QStringLiteral("LoadModel"));
    std::printf("\nmedian Setup per worksheet (goal: under 50 ms), against loading the model (%.2f ms):\n", load);
    for (const QString& id : ids) {
        const QString name = QStringLiteral("Setup/") + id;
        if (!reporter.medians.contains(name))
            continue;
        const double ms = reporter.medians.value(name);
        std::printf("  %-8s %8.2f ms  %6.2f x load  %s\n", qPrintable(id), ms, load > 0 ? ms / load : 0.0,
                    ms < 50.0 ? "ok" : "OVER GOAL");
    }
    benchmark::Shutdown();
    return 0;
}
