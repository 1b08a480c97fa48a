// Opens the large analysis and computes what the comparison matrix shows for every alternative
// (all expected values, by objective, category and safety issue) and the least-cost alternative,
// beside a bare read of the same rows through SQLite. The figure to watch is the ratio, in paired
// runs on the large analysis and on it grown to 100 FMUs and cut to 50 values at risk (goal: at
// most 1.5 on each).
//
//   bench_model [--pairs=N] [Google Benchmark options]   N paired runs on each analysis (60 unless told)

#include "bench/support/pairedruns.h"
#include "core/u11datafile.h"
#include "model/c41objective.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/g51alternatives.h"
#include "platform/ui/scriptedprompter.h"
#include "support/analysis_builder.h"

#include <QCoreApplication>
#include <QMap>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using benchsupport::Spread;
using benchsupport::SpreadOf;

const char* const kTables[] = {"Properties", "Items", "Objectives", "Scores", "Outcomes", "OutcomeFMZs",
                               "FMZList", "NVCPerAcre", "SuppressionPerAcreCost", "ValuesAtRisk",
                               "ValuesProtected", "SRTypes", "SRUses"};

double BareRead(sqlite3* db)
{
    double checksum = 0;
    for (const char* table : kTables) {
        sqlite3_stmt* stmt = nullptr;
        const QByteArray sql = QByteArray("SELECT * FROM ") + table;
        sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const int n = sqlite3_column_count(stmt);
            for (int i = 0; i < n; ++i) {
                switch (sqlite3_column_type(stmt, i)) {
                case SQLITE_INTEGER: checksum += double(sqlite3_column_int64(stmt, i)); break;
                case SQLITE_FLOAT: checksum += sqlite3_column_double(stmt, i); break;
                case SQLITE_TEXT: checksum += sqlite3_column_bytes(stmt, i); break;
                default: break;
                }
            }
        }
        sqlite3_finalize(stmt);
    }
    return checksum;
}

std::unique_ptr<testsupport::OpenAnalysis> gAnalysis;

testsupport::OpenAnalysis& Analysis() { return *gAnalysis; }

void BM_ModelMatrix(benchmark::State& state)
{
    if (!Analysis().ok()) {
        state.SkipWithError("no analysis");
        return;
    }
    for (auto _ : state) {
        testsupport::ClearModelCaches();   // every figure read from the file afresh
        benchmark::DoNotOptimize(testsupport::ComputeMatrix());
    }
}
BENCHMARK(BM_ModelMatrix)->Unit(benchmark::kMillisecond);

void BM_BareRead(benchmark::State& state)
{
    if (!Analysis().ok()) {
        state.SkipWithError("no analysis");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(BareRead(core::gDatabase()->handle()));
}
BENCHMARK(BM_BareRead)->Unit(benchmark::kMillisecond);

// Where the load goes: each of the lists an outcome builds on first use, read for every outcome.
template <class F>
void LoadOutcomeLists(benchmark::State& state, F touch)
{
    if (!Analysis().ok()) {
        state.SkipWithError("no analysis");
        return;
    }
    for (auto _ : state) {
        testsupport::ClearModelCaches();
        double sum = 0;
        for (const auto& alt : model::GetAlternatives())
            for (const model::OutcomeKind kind : {model::OutcomeKind::Target, model::OutcomeKind::Fallback})
                sum += touch(*alt->Outcome(kind));
        benchmark::DoNotOptimize(sum);
    }
}

void BM_LoadOutcomes(benchmark::State& state)
{
    LoadOutcomeLists(state, [](model::c53Outcome& o) { return o.Success(); });
}
BENCHMARK(BM_LoadOutcomes)->Unit(benchmark::kMillisecond);

void BM_LoadRatings(benchmark::State& state)
{
    LoadOutcomeLists(state, [](model::c53Outcome& o) { return o.TotalScore(); });
}
BENCHMARK(BM_LoadRatings)->Unit(benchmark::kMillisecond);

void BM_LoadBurnAreas(benchmark::State& state)
{
    LoadOutcomeLists(state, [](model::c53Outcome& o) { return o.ImpactPerAcre(); });
}
BENCHMARK(BM_LoadBurnAreas)->Unit(benchmark::kMillisecond);

void BM_LoadItemImpacts(benchmark::State& state)
{
    LoadOutcomeLists(state, [](model::c53Outcome& o) { return o.ValueProtected(); });
}
BENCHMARK(BM_LoadItemImpacts)->Unit(benchmark::kMillisecond);

void BM_LoadResourceLines(benchmark::State& state)
{
    LoadOutcomeLists(state, [](model::c53Outcome& o) { return o.SRUseCost(); });
}
BENCHMARK(BM_LoadResourceLines)->Unit(benchmark::kMillisecond);

// Paired runs of the matrix and the bare read.
void PairedRuns(const char* name, int pairs)
{
    if (pairs <= 0 || !Analysis().ok())
        return;
    sqlite3* db = core::gDatabase()->handle();
    double sink = 0;
    const auto model = [&] {
        testsupport::ClearModelCaches();
        sink += testsupport::ComputeMatrix();
    };
    const auto bare = [&] { sink += BareRead(db); };
    const benchsupport::Pairs p = benchsupport::TimePairs(pairs, model, bare);
    benchmark::DoNotOptimize(sink);
    std::printf("%s: ", name);
    benchsupport::PrintPairs(pairs, p, "matrix", "bare read", "at most 1.5");
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                times[QString::fromStdString(run.benchmark_name())] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    QMap<QString, double> times;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ui::ScriptedPrompter prompter;
    const int pairs = benchsupport::TakePairsOption(argc, argv, 60);
    benchmark::Initialize(&argc, argv);
    testsupport::AnalysisSize moreFMUs = testsupport::kLargeAnalysis;
    moreFMUs.fmus = 100;
    testsupport::AnalysisSize fewerValues = testsupport::kLargeAnalysis;
    fewerValues.valuesAtRisk = 50;
    const std::pair<const char*, testsupport::AnalysisSize> grown[] = {{"100 FMUs", moreFMUs},
                                                                       {"50 values at risk", fewerValues}};
    for (const auto& [name, size] : grown) {
        if (pairs <= 0)
            break;
        gAnalysis = std::make_unique<testsupport::OpenAnalysis>(size);
        PairedRuns(name, pairs);
        gAnalysis.reset();
    }
    gAnalysis = std::make_unique<testsupport::OpenAnalysis>(testsupport::kLargeAnalysis);
    PairedRuns("large analysis", pairs);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    gAnalysis.reset();
    const double model = reporter.times.value(QStringLiteral("BM_ModelMatrix"));
    const double bare = reporter.times.value(QStringLiteral("BM_BareRead"));
    if (model > 0 && bare > 0)
        std::printf("model / bare read: %.2f (goal: at most 1.5)\n", model / bare);
    benchmark::Shutdown();
    return 0;
}
