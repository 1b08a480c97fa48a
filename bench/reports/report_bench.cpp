// The whole report (every section) of the large analysis (26 alternatives, 60 objectives, 200
// values at risk), the program writing it to a PDF file, against LibreOffice converting the
// program's RTF of the same report to PDF. Each is a process of its own, timed from its start to
// its end, with its peak resident memory (LibreOffice's helper processes included); the two run
// in turn, the order alternating, and the figures are the ratios within each pair. Goals: the
// program at most 0.12 of LibreOffice's time, and its peak under 300 MiB at any length.
//
//   report_bench [--runs=N] [--alternatives=N] [--keep=DIR]
//       N paired runs (5 unless told); a longer report with more alternatives; DIR keeps the
//       program's PDF and RTF and LibreOffice's PDF
//   report_bench --produce=pdf|rtf --analysis=F --file=OUT
//       one report run on the data file F, as the driver starts it; prints the page count
//
// LibreOffice: Debian's libreoffice-writer-nogui (soffice on the PATH).

#include "bench/support/largeanalysis.h"
#include "bench/support/spread.h"
#include "core/u11datafile.h"
#include "platform/ui/scriptedprompter.h"
#include "reports/frmpreview.h"
#include "reports/reportproduction.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

extern char** environ;

namespace {

using benchsupport::Spread;
using benchsupport::SpreadOf;

QString Option(const QStringList& args, const QString& name, const QString& fallback = QString())
{
    const QString prefix = QStringLiteral("--") + name + u'=';
    for (const QString& arg : args)
        if (arg.startsWith(prefix))
            return arg.mid(prefix.size());
    return fallback;
}

// One report run in this process: exit code 0 when the file was written.
int Produce(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::ScriptedPrompter prompter;
    const QStringList args = QApplication::arguments();
    if (!core::OpenDatafile(Option(args, QStringLiteral("analysis"))))
        return 2;
    reports::ReportSelection selection;
    for (int i = 1; i <= reports::kSectionCount; ++i)
        selection.sections[i] = true;
    reports::SetLastSelection(selection);
    const printing::Output output =
        Option(args, QStringLiteral("produce")) == QLatin1String("rtf") ? printing::Output::Rtf : printing::Output::Pdf;
    if (!reports::RunReport(output, Option(args, QStringLiteral("file"))))
        return 3;
    std::printf("%d\n", reports::VSPrinter1().PageCount());
    std::fflush(nullptr);
    // Closing down is no part of the figure, and LibreOffice's conversion ends as abruptly.
    std::_Exit(0);
}

struct Run {
    double seconds = -1;   // negative when it failed
    double peakMiB = 0;
    QString said;          // the first line of its output
};

// Runs a command to its end; its output goes to the file out, its errors to out + ".err", shown
// when it fails.
Run TimeRun(const QStringList& command, const QString& out)
{
    std::vector<QByteArray> words;
    for (const QString& w : command)
        words.push_back(QFile::encodeName(w));
    std::vector<char*> argv;
    for (QByteArray& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray outName = QFile::encodeName(out);
    const QByteArray errName = QFile::encodeName(out + QStringLiteral(".err"));
    posix_spawn_file_actions_addopen(&actions, 1, outName.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errName.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    Run run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return run;
    int status = 0;
    rusage usage{};
    // The usage of a waited-for process takes in the descendants it waited for itself.
    if (wait4(pid, &status, 0, &usage) != pid)
        return run;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    QFile said(out);
    if (said.open(QIODevice::ReadOnly))
        run.said = QString::fromLocal8Bit(said.readLine()).trimmed();
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        run.seconds = seconds;
        run.peakMiB = usage.ru_maxrss / 1024.0;
    } else if (QFile errors(out + QStringLiteral(".err")); errors.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s failed:\n%s", qPrintable(command.value(0)), errors.readAll().constData());
    }
    return run;
}

int Drive(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int runs = std::max(1, Option(args, QStringLiteral("runs"), QStringLiteral("5")).toInt());
    const int alternatives = std::max(1, Option(args, QStringLiteral("alternatives"), QStringLiteral("26")).toInt());
    const QString keep = Option(args, QStringLiteral("keep"));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        std::fprintf(stderr, "LibreOffice (soffice) is not on the PATH: install libreoffice-writer-nogui\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString analysis = dir.filePath(QStringLiteral("Large.tlm"));
    if (!benchsupport::BuildLargeAnalysis(analysis, alternatives, false))
        return 1;
    QDir(dir.path()).mkdir(QStringLiteral("lo"));
    const QString self = QCoreApplication::applicationFilePath();
    const QString rtf = dir.filePath(QStringLiteral("Report.rtf"));
    const QString pdf = dir.filePath(QStringLiteral("Report.pdf"));
    const QString out = dir.filePath(QStringLiteral("out.txt"));
    const auto ours = [&](const char* kind, const QString& file) {
        return TimeRun({self, QStringLiteral("--produce=") + QLatin1String(kind), QStringLiteral("--analysis=") + analysis,
                        QStringLiteral("--file=") + file},
                       out);
    };
    const QStringList libreOffice{soffice, QStringLiteral("--headless"), QStringLiteral("--norestore"),
                                  QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                                  QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"),
                                  dir.filePath(QStringLiteral("lo")), rtf};
    // The RTF, then one of each uncounted: the files come into the cache and LibreOffice makes
    // its profile.
    const Run made = ours("rtf", rtf);
    const Run first = ours("pdf", pdf);
    if (made.seconds < 0 || first.seconds < 0) {
        std::fprintf(stderr, "the program did not write the report\n");
        return 1;
    }
    if (TimeRun(libreOffice, out).seconds < 0 || !QFile::exists(dir.filePath(QStringLiteral("lo/Report.pdf")))) {
        std::fprintf(stderr, "LibreOffice did not convert the report\n");
        return 1;
    }
    std::vector<double> oursTime, loTime, timeRatio, oursPeak, loPeak, peakRatio;
    for (int i = 0; i < runs; ++i) {
        Run a, b;
        if (i % 2) {
            b = TimeRun(libreOffice, out);
            a = ours("pdf", pdf);
        } else {
            a = ours("pdf", pdf);
            b = TimeRun(libreOffice, out);
        }
        if (a.seconds < 0 || b.seconds < 0) {
            std::fprintf(stderr, "a run failed\n");
            return 1;
        }
        oursTime.push_back(a.seconds);
        loTime.push_back(b.seconds);
        timeRatio.push_back(a.seconds / b.seconds);
        oursPeak.push_back(a.peakMiB);
        loPeak.push_back(b.peakMiB);
        peakRatio.push_back(a.peakMiB / b.peakMiB);
    }
    if (!keep.isEmpty() && QDir().mkpath(keep)) {
        const std::pair<QString, QString> files[] = {{pdf, QStringLiteral("Report.pdf")},
                                                     {rtf, QStringLiteral("Report.rtf")},
                                                     {dir.filePath(QStringLiteral("lo/Report.pdf")),
                                                      QStringLiteral("Report-LibreOffice.pdf")}};
        for (const auto& [from, name] : files) {
            QFile::remove(QDir(keep).filePath(name));
            QFile::copy(from, QDir(keep).filePath(name));
        }
    }
    const Spread ot = SpreadOf(oursTime), lt = SpreadOf(loTime), tr = SpreadOf(timeRatio);
    const Spread op = SpreadOf(oursPeak), lp = SpreadOf(loPeak), pr = SpreadOf(peakRatio);
    std::printf("%d paired runs of the whole report, %d alternatives, %s pages (median, min, max)\n", runs,
                alternatives, qPrintable(first.said));
    std::printf("  time, program (analysis to PDF):   %8.2f s   %8.2f %8.2f\n", ot.median, ot.min, ot.max);
    std::printf("  time, LibreOffice (RTF to PDF):    %8.2f s   %8.2f %8.2f\n", lt.median, lt.min, lt.max);
    std::printf("  program / LibreOffice:             %8.2f     %8.2f %8.2f  (goal: at most 0.12) %s\n", tr.median,
                tr.min, tr.max, tr.median <= 0.12 ? "ok" : "OVER GOAL");
    std::printf("  peak memory, program:              %8.0f MiB %8.0f %8.0f  (goal: under 300) %s\n", op.median,
                op.min, op.max, op.max < 300 ? "ok" : "OVER GOAL");
    std::printf("  peak memory, LibreOffice:          %8.0f MiB %8.0f %8.0f\n", lp.median, lp.min, lp.max);
    std::printf("  program / LibreOffice:             %8.2f     %8.2f %8.2f\n", pr.median, pr.min, pr.max);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]).startsWith("--produce="))
            return Produce(argc, argv);
    return Drive(argc, argv);
}
