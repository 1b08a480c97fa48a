// Start-up: the program opening the large analysis from its command line, against a plain Qt
// program (startup_plain, built from Qt alone) whose window is of the same size with menus and a
// page of text. Each is a process of its own, timed from its start to the moment it takes input:
// its window painted and what follows the paint done (the program's check of the file opened
// included), its event loop waiting. The two run in turn, the order alternating, many times; the
// figure is the ratio within each pair (goal: at most 1.15).
//
//   startup_bench [--runs=N]   the paired runs (60 unless told), with medians, min and max
//   startup_bench --program=F  one run of the program on the data file F, as the driver starts it
//   startup_bench --make=F     only writes the large analysis to F (for profiling a run)
//
// Offscreen unless QT_QPA_PLATFORM says otherwise (xcb under Xvfb).

#include "bench/support/exitwhenready.h"
#include "bench/support/spread.h"
#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "platform/ui/application.h"
#include "platform/ui/qtprompter.h"
#include "shell/frm0_tolmar.h"
#include "shell/programsetup.h"
#include "support/analysis_builder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using benchsupport::Spread;
using benchsupport::SpreadOf;

constexpr int kTimeoutMs = 60000;

// As main() starts the program, up to its event loop.
int RunProgram(int argc, char** argv, const QString& file)
{
    shell::PrepareFontReading();
    ui::Application app(argc, argv);
    ui::QtPrompter prompter;
    shell::SetUpProgram(prompter);
    if (!benchsupport::RunsOnGLib()) {
        std::fprintf(stderr, "startup_bench needs Qt's GLib event loop (unset QT_NO_GLIB)\n");
        return 1;
    }
    shell::frm0_Tolmar window;
    prompter.setParent(&window);
    benchsupport::ExitWhenReady watch(&window, [] { return core::gFileOpen(); });
    app.installEventFilter(&watch);
    window.Startup(file);
    window.show();
    app.exec();
    return 3;   // closed without ever taking input
}

// One run in milliseconds, from its start to its end, its first line of output in *said;
// negative when it failed, its errors then shown.
double TimeRun(const QString& program, const QStringList& args, QString* said = nullptr)
{
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    child.start(program, args);
    if (!child.waitForFinished(kTimeoutMs)) {
        child.kill();
        child.waitForFinished();
        return -1;
    }
    const double ms = clock.nsecsElapsed() / 1e6;
    if (said)
        *said = QString::fromLocal8Bit(child.readAllStandardOutput()).section(u'\n', 0, 0).trimmed();
    if (child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0)
        return ms;
    std::fprintf(stderr, "%s", child.readAllStandardError().constData());
    return -1;
}

int Drive(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int runs = 60;
    QString make;
    for (const QString& arg : QCoreApplication::arguments()) {
        if (arg.startsWith(QLatin1String("--runs=")))
            runs = std::max(1, arg.mid(7).toInt());
        if (arg.startsWith(QLatin1String("--make=")))
            make = arg.mid(7);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QTemporaryDir dir;
    const QString file = make.isEmpty() ? dir.filePath(QStringLiteral("Large.tlm")) : make;
    QString error;
    if (!testsupport::CreateAnalysisFile(core::JoinPath(core::AppPath(), QStringLiteral("TLM.new")), file,
                                         testsupport::kLargeAnalysis, &error)) {
        std::fprintf(stderr, "cannot build the analysis: %s\n", qPrintable(error));
        return 1;
    }
    if (!make.isEmpty())
        return 0;
    const QString self = QCoreApplication::applicationFilePath();
    const QString plain = QCoreApplication::applicationDirPath() + QStringLiteral("/startup_plain");
    const QStringList program{QStringLiteral("--program=") + file};
    // One of each first, uncounted: the file and the libraries come into the cache, and the
    // program tells the size of its window.
    QString window;
    if (TimeRun(self, program, &window) < 0 || window.isEmpty()) {
        std::fprintf(stderr, "the program did not come to take input\n");
        return 1;
    }
    QStringList plainArgs{QStringLiteral("--size=") + window.section(u' ', 0, 0)};
    if (window.endsWith(QLatin1String(" maximized")))
        plainArgs << QStringLiteral("--maximized");
    QString plainWindow;
    if (TimeRun(plain, plainArgs, &plainWindow) < 0) {
        std::fprintf(stderr, "%s did not come to take input\n", qPrintable(plain));
        return 1;
    }
    if (plainWindow != window)
        std::fprintf(stderr, "note: the plain window is %s, the program's %s\n", qPrintable(plainWindow),
                     qPrintable(window));
    std::vector<double> programTimes, plainTimes, ratios;
    for (int i = 0; i < runs; ++i) {
        double p = 0, e = 0;
        if (i % 2) {
            e = TimeRun(plain, plainArgs);
            p = TimeRun(self, program);
        } else {
            p = TimeRun(self, program);
            e = TimeRun(plain, plainArgs);
        }
        if (p < 0 || e < 0) {
            std::fprintf(stderr, "a run did not come to take input\n");
            return 1;
        }
        programTimes.push_back(p);
        plainTimes.push_back(e);
        ratios.push_back(p / e);
    }
    const Spread ps = SpreadOf(programTimes), es = SpreadOf(plainTimes), rs = SpreadOf(ratios);
    std::printf("%d paired runs to the moment each takes input (median, min, max), %s, window %s\n", runs,
                qgetenv("QT_QPA_PLATFORM").constData(), qPrintable(window));
    std::printf("  program, large analysis: %7.1f ms %7.1f %7.1f\n", ps.median, ps.min, ps.max);
    std::printf("  plain Qt window:         %7.1f ms %7.1f %7.1f\n", es.median, es.min, es.max);
    std::printf("  program / plain window:  %7.2f    %7.2f %7.2f  (goal: at most 1.15) %s\n", rs.median, rs.min,
                rs.max, rs.median <= 1.15 ? "ok" : "OVER GOAL");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(QLatin1String("--program=")))
            return RunProgram(argc, argv, arg.mid(10));
    }
    return Drive(argc, argv);
}
