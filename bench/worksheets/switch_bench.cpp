// Switching worksheets in the program's own main window, as a user does it: a click on a tab,
// until the page has been painted and the program waits for input again. The time takes in
// saving and unloading the page left, making the new page, filling it, laying it out and painting
// it. Every page is timed, coming from the page before it in its row (the first worksheet of a
// section from the section's introduction; an introduction, reached by its section tab, from the
// last page of the section before). On the large analysis (26 alternatives) and on the same
// analysis with 52. The goal: every page under 100 ms at 26 alternatives and under 200 ms at 52.
//
//   switch_bench [--alternatives=26,52] [--only=tab62,tab64] [Google Benchmark options]
//
// Offscreen unless QT_QPA_PLATFORM says otherwise (xcb under Xvfb).

#include "bench/support/largeanalysis.h"
#include "bench/support/untilidle.h"
#include "core/u11datafile.h"
#include "platform/tabs/indextab.h"
#include "platform/ui/application.h"
#include "platform/ui/qtprompter.h"
#include "platform/ui/scriptedprompter.h"
#include "shell/a3tolmarforms.h"
#include "shell/frm02tabs.h"
#include "shell/frm0_tolmar.h"
#include "shell/programsetup.h"
#include "worksheets/common/worksheetform.h"

#include <QElapsedTimer>
#include <QMap>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int kTimeoutMs = 30000;

// Sees the paint events of the page on screen.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !painted && watched->isWidgetType()) {
            QWidget* page = shell::CurrentWorksheetForm();
            auto* widget = static_cast<QWidget*>(watched);
            painted = page && (widget == page || page->isAncestorOf(widget));
        }
        return false;
    }
};

// The program's window on one analysis, opened as the command line opens it.
class Program {
public:
    explicit Program(int alternatives) : mAlternatives(alternatives)
    {
        const QString path = mDir.filePath(QStringLiteral("Large%1.tlm").arg(alternatives));
        if (!benchsupport::BuildLargeAnalysis(path, alternatives, true))
            return;
        mWindow = std::make_unique<shell::frm0_Tolmar>();
        mWindow->Startup(path);
        mWindow->show();
        mOk = core::gFileOpen() && benchsupport::RunUntilIdle([] { return true; }, kTimeoutMs) && core::gFileOpen();
        if (!mOk)
            std::fprintf(stderr, "the program did not open the analysis of %d alternatives\n", alternatives);
    }
    ~Program()
    {
        mWindow.reset();
        if (core::gFileOpen())
            core::CloseDatafile();
    }
    bool ok() const { return mOk; }
    int alternatives() const { return mAlternatives; }

    tabs::IndexTab* sections() const { return mWindow->tabsForm()->vsTab1(); }
    tabs::IndexTab* worksheets() const { return mWindow->tabsForm()->vsTab2(); }

    // Clicks a tab; the time in seconds until the page on screen has been painted and the
    // program waits for input, or a negative one when that never came.
    double Click(tabs::IndexTab* row, int position)
    {
        QTabBar* bar = row->bar();
        PaintWatch watch;
        qApp->installEventFilter(&watch);
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(position).center());
        const bool done = benchsupport::RunUntilIdle([&watch] { return watch.painted; }, kTimeoutMs);
        const double seconds = clock.nsecsElapsed() / 1e9;
        qApp->removeEventFilter(&watch);
        return done && row->currentTab() == position ? seconds : -1;
    }

    // Untimed: to the tab, unless it is the current one.
    bool GoTo(tabs::IndexTab* row, int position)
    {
        return row->currentTab() == position || Click(row, position) >= 0;
    }

private:
    int mAlternatives;
    QTemporaryDir mDir;
    std::unique_ptr<shell::frm0_Tolmar> mWindow;
    bool mOk = false;
};

std::unique_ptr<Program> gProgram;

Program* ProgramWith(int alternatives)
{
    if (!gProgram || gProgram->alternatives() != alternatives) {
        gProgram.reset();
        gProgram = std::make_unique<Program>(alternatives);
    }
    return gProgram->ok() ? gProgram.get() : nullptr;
}

// One page: its section (1 to 8 in tab order) and its position in the worksheet row (1 for the
// introduction).
struct Page {
    int section;
    int position;
};

void BM_Switch(benchmark::State& state, int alternatives, Page page)
{
    Program* program = ProgramWith(alternatives);
    if (!program) {
        state.SkipWithError("no analysis");
        return;
    }
    for (auto _ : state) {
        // To the page before, untimed: the last of the section before, or the one before in the row.
        bool there = true;
        if (page.position == 1) {
            there = program->GoTo(program->sections(), page.section == 1 ? 8 : page.section - 1);
            tabs::IndexTab* row = program->worksheets();
            there = there && program->GoTo(row, row->count() - 1);
        } else {
            there = program->GoTo(program->sections(), page.section) &&
                    program->GoTo(program->worksheets(), page.position - 1);
        }
        const double seconds = !there ? -1
                               : page.position == 1 ? program->Click(program->sections(), page.section)
                                                    : program->Click(program->worksheets(), page.position);
        if (seconds < 0) {
            state.SkipWithError("the page was not shown");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

double Min(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
double Max(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

// Keeps each benchmark's median, min and max.
class SpreadReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate)
                spreads[QString::fromStdString(run.run_name.function_name)][QString::fromStdString(run.aggregate_name)] =
                    run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    QMap<QString, QMap<QString, double>> spreads;   // milliseconds
};

QList<int> ListOption(int& argc, char** argv, const char* name, QList<int> fallback)
{
    const QByteArray prefix = QByteArray("--") + name + '=';
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], prefix.constData(), size_t(prefix.size())) == 0) {
            QList<int> values;
            for (const QByteArray& v : QByteArray(argv[i] + prefix.size()).split(','))
                values.append(v.toInt());
            std::memmove(argv + i, argv + i + 1, sizeof(char*) * size_t(argc - i));
            --argc;
            return values;
        }
    return fallback;
}

QStringList TextOption(int& argc, char** argv, const char* name)
{
    const QByteArray prefix = QByteArray("--") + name + '=';
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], prefix.constData(), size_t(prefix.size())) == 0) {
            const QStringList values = QString::fromLocal8Bit(argv[i] + prefix.size()).split(u',');
            std::memmove(argv + i, argv + i + 1, sizeof(char*) * size_t(argc - i));
            --argc;
            return values;
        }
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QList<int> sizes = ListOption(argc, argv, "alternatives", {26, 52});
    const QStringList only = TextOption(argc, argv, "only");
    shell::PrepareFontReading();
    ui::Application app(argc, argv);
    ui::QtPrompter qtPrompter;
    shell::SetUpProgram(qtPrompter);
    ui::ScriptedPrompter prompter;   // no message waits for an answer
    if (!benchsupport::RunsOnGLib()) {
        std::fprintf(stderr, "switch_bench needs Qt's GLib event loop (unset QT_NO_GLIB)\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);

    // The pages as the tab rows list them on the first size: the rows are the same on each.
    struct Named {
        QString id, caption;
        Page page;
    };
    QList<Named> pages;
    if (Program* program = ProgramWith(sizes.value(0, 26))) {
        for (int s = 1; s < program->sections()->count(); ++s) {
            if (!program->GoTo(program->sections(), s))
                break;
            tabs::IndexTab* row = program->worksheets();
            for (int w = 1; w < row->count(); ++w) {
                if (!row->isTabEnabled(w) || !program->GoTo(row, w))
                    continue;
                const QString id = w == 1 ? QStringLiteral("tab11.%1").arg(s) : worksheets::gCurrentWorksheetID;
                if (only.isEmpty() || only.contains(id))
                    pages.append({id, program->sections()->caption(s) + QStringLiteral(" / ") + row->caption(w), {s, w}});
            }
        }
    }
    for (int n : sizes)
        for (const Named& p : pages)
            benchmark::RegisterBenchmark(qPrintable(QStringLiteral("Switch/%1/%2").arg(n).arg(p.id)), BM_Switch, n, p.page)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1)
                ->Repetitions(9)
                ->ComputeStatistics("min", Min)
                ->ComputeStatistics("max", Max)
                ->ReportAggregatesOnly(true);

    SpreadReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    gProgram.reset();

    for (int n : sizes) {
        const double goal = n <= 26 ? 100 : 200;
        std::printf("\ntab click to painted, %d alternatives, %s (median, min, max; goal: every page under %.0f ms)\n",
                    n, qgetenv("QT_QPA_PLATFORM").constData(), goal);
        double worst = 0;
        for (const Named& p : pages) {
            const auto s = reporter.spreads.value(QStringLiteral("Switch/%1/%2").arg(n).arg(p.id));
            if (s.isEmpty())
                continue;
            const double median = s.value(QStringLiteral("median"));
            worst = std::max(worst, median);
            std::printf("  %-8s %-44s %8.1f ms %8.1f %8.1f  %s\n", qPrintable(p.id), qPrintable(p.caption), median,
                        s.value(QStringLiteral("min")), s.value(QStringLiteral("max")),
                        median < goal ? "ok" : "OVER GOAL");
        }
        std::printf("  slowest page: %.1f ms (%s)\n", worst, worst < goal ? "ok" : "OVER GOAL");
    }
    benchmark::Shutdown();
    return 0;
}
