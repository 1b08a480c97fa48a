// Produces every section of the report for the large analysis (26 alternatives, 60 objectives,
// 200 values at risk) to a PDF file and to an RTF file. With TOLMAR_REPORT_OUT set to a folder,
// the last files of the run are kept there, so that the same report can be looked at or converted
// by another program for comparison.

#include "core/g13rmas.h"
#include "core/g0items.h"
#include "platform/richtext/emptybody.h"
#include "platform/ui/scriptedprompter.h"
#include "reports/frmpreview.h"
#include "reports/reportproduction.h"
#include "support/analysis_builder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

std::unique_ptr<testsupport::OpenAnalysis> gAnalysis;
std::unique_ptr<QTemporaryDir> gDir;

void ChooseAllSections()
{
    reports::ReportSelection selection;
    for (int i = 1; i <= reports::kSectionCount; ++i)
        selection.sections[i] = true;
    reports::SetLastSelection(selection);
}

void Produce(benchmark::State& state, printing::Output output, const QString& name)
{
    if (!gAnalysis || !gAnalysis->ok()) {
        state.SkipWithError("the large analysis could not be built");
        return;
    }
    ChooseAllSections();
    const QString file = gDir->filePath(name);
    for (auto _ : state) {
        if (!reports::RunReport(output, file)) {
            state.SkipWithError("the report could not be produced");
            return;
        }
    }
    state.counters["pages"] = reports::VSPrinter1().PageCount();
    state.counters["bytes"] = double(QFile(file).size());
}

void BM_FullReportToPdf(benchmark::State& state)
{
    Produce(state, printing::Output::Pdf, QStringLiteral("Report.pdf"));
}
BENCHMARK(BM_FullReportToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FullReportToRtf(benchmark::State& state)
{
    Produce(state, printing::Output::Rtf, QStringLiteral("Report.rtf"));
}
BENCHMARK(BM_FullReportToRtf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::ScriptedPrompter prompter;
    benchmark::Initialize(&argc, argv);
    gDir = std::make_unique<QTemporaryDir>();
    gAnalysis = std::make_unique<testsupport::OpenAnalysis>(testsupport::kLargeAnalysis);
    if (gAnalysis->ok()) {
        testsupport::BuildSituation();
        core::ClearItems();
    }
    benchmark::RunSpecifiedBenchmarks();
    const QString keep = qEnvironmentVariable("TOLMAR_REPORT_OUT");
    if (!keep.isEmpty()) {
        for (const char* name : {"Report.pdf", "Report.rtf"}) {
            const QString target = QDir(keep).filePath(QLatin1String(name));
            QFile::remove(target);
            QFile::copy(gDir->filePath(QLatin1String(name)), target);
        }
    }
    gAnalysis.reset();
    return 0;
}
