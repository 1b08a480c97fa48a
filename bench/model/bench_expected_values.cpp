// Opens the large analysis and computes what the comparison matrix shows for every alternative
// (all expected values, by objective, category and safety issue) and the least-cost alternative,
// beside a bare read of the same rows through SQLite. The figure to watch is the ratio, in paired
// runs on the large analysis and on it grown to 100 FMUs and cut to 50 values at risk (goal: at
// most 1.5 on each).
//
//   bench_model [--pairs=N] [Google Benchmark options]   N paired runs on each analysis (60 unless told)

#include "bench/support/spread.h"
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
            for (int idx = 1; idx <= 2; ++idx)
                sum += touch(*alt->Outcome(idx));
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

// Paired runs: the matrix and the bare read one after the other, their order alternating, so that
// the machine's load falls on both alike. The ratio is taken within each pair.
template <class F>
double Millis(F f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

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
    model();   // warm both before counting
    bare();
    std::vector<double> modelTimes, bareTimes, ratios;
    for (int i = 0; i < pairs; ++i) {
        double m = 0, b = 0;
        if (i % 2) {
            b = Millis(bare);
            m = Millis(model);
        } else {
            m = Millis(model);
            b = Millis(bare);
        }
        modelTimes.push_back(m);
        bareTimes.push_back(b);
        ratios.push_back(m / b);
    }
    benchmark::DoNotOptimize(sink);
    const Spread ms = SpreadOf(modelTimes), bs = SpreadOf(bareTimes), rs = SpreadOf(ratios);
    std::printf("%s: %d paired runs (median, min, max)\n", name, pairs);
    std::printf("  matrix:    %7.2f ms %7.2f %7.2f\n", ms.median, ms.min, ms.max);
    std::printf("  bare read: %7.2f ms %7.2f %7.2f\n", bs.median, bs.min, bs.max);
    std::printf("  matrix / bare read: %5.2f %5.2f %5.2f  (goal: at most 1.5) %s\n", rs.median, rs.min, rs.max,
                rs.median <= 1.5 ? "ok" : "OVER GOAL");
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
    // --pairs=N: N paired runs of the matrix and the bare read (0 leaves them out).
    int pairs = 60;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--pairs=", 8) == 0) {
            pairs = std::atoi(argv[i] + 8);
            std::memmove(argv + i, argv + i + 1, sizeof(char*) * size_t(argc - i));
            --argc;
            break;
        }
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
