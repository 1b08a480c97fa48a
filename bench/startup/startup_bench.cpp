// Start-up to the first paint: the program opening the large analysis, against an empty window
// with a menu bar and a page of text, each a process of its own, in turn, many times. Each run
// ends as soon as its window has been painted once, so neither includes closing down.
//
//   startup_bench [--runs=N]   the paired runs (60 unless told), with medians, min and max
//   startup_bench --program=F  one run of the program on the data file F (as the driver starts it)
//   startup_bench --empty      one run of the empty window
//   startup_bench --make=F     only writes the large analysis to F (for profiling a run)

#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "platform/ui/application.h"
#include "platform/ui/qtprompter.h"
#include "shell/frm0_tolmar.h"
#include "shell/programsetup.h"
#include "support/analysis_builder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kTimeoutMs = 60000;

// Ends the process once the window (or anything inside it) has been painted: after the paint
// events of that first frame have all been delivered.
class FirstPaint : public QObject {
public:
    // loaded: whether the run has shown what it was to show by then (exit code 4 when not).
    FirstPaint(QWidget* window, std::function<bool()> loaded) : mWindow(window), mLoaded(std::move(loaded)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !mSeen && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget == mWindow || mWindow->isAncestorOf(widget)) {
                mSeen = true;
                const int code = mLoaded() ? 0 : 4;
                QTimer::singleShot(0, [code] {
                    std::fflush(nullptr);
                    std::_Exit(code);
                });
            }
        }
        return false;
    }

private:
    QWidget* mWindow;
    std::function<bool()> mLoaded;
    bool mSeen = false;
};

// As main() starts the program, up to the event loop.
int RunProgram(int argc, char** argv, const QString& file)
{
    shell::PrepareFontReading();
    ui::Application app(argc, argv);
    ui::QtPrompter prompter;
    shell::SetUpProgram(prompter);
    shell::frm0_Tolmar window;
    prompter.setParent(&window);
    FirstPaint watch(&window, [] { return core::gFileOpen(); });
    app.installEventFilter(&watch);
    window.Startup(file);
    window.show();
    app.exec();
    return 3;   // closed without ever painting
}

QString PageOfText()
{
    QStringList paragraphs;
    for (int p = 0; p < 8; ++p) {
        QStringList words;
        for (int w = 0; w < 60; ++w)
            words << QStringLiteral("fire%1").arg((p * 13 + w * 7) % 101);
        paragraphs << words.join(u' ');
    }
    return paragraphs.join(QStringLiteral("\n\n"));
}

int RunEmpty(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    for (const char* title : {"&File", "&Edit", "&View", "&Help"}) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromLatin1(title));
        for (int i = 1; i <= 6; ++i)
            menu->addAction(QStringLiteral("Item %1").arg(i));
    }
    auto* text = new QTextEdit;
    text->setReadOnly(true);
    text->setPlainText(PageOfText());
    window.setCentralWidget(text);
    window.resize(1024, 768);
    FirstPaint watch(&window, [] { return true; });
    app.installEventFilter(&watch);
    window.show();
    app.exec();
    return 3;
}

struct Spread {
    double median, min, max;
};

Spread SpreadOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return {n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2, v.front(), v.back()};
}

// One child run in milliseconds, from its start to its end; negative when it failed.
double TimeChild(const QString& self, const QStringList& args)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    child.start(self, args);
    if (!child.waitForFinished(kTimeoutMs)) {
        child.kill();
        child.waitForFinished();
        return -1;
    }
    const double ms = clock.nsecsElapsed() / 1e6;
    return child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 ? ms : -1;
}

int Drive(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int runs = 60;
    for (const QString& arg : QCoreApplication::arguments())
        if (arg.startsWith(QLatin1String("--runs=")))
            runs = std::max(1, arg.mid(7).toInt());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("Large.tlm"));
    for (const QString& arg : QCoreApplication::arguments())
        if (arg.startsWith(QLatin1String("--make=")))
            file = arg.mid(7);
    QString error;
    if (!testsupport::CreateAnalysisFile(core::JoinPath(core::AppPath(), QStringLiteral("TLM.new")), file,
                                         testsupport::kLargeAnalysis, &error)) {
        std::fprintf(stderr, "cannot build the analysis: %s\n", qPrintable(error));
        return 1;
    }
    if (file != dir.filePath(QStringLiteral("Large.tlm")))
        return 0;
    const QString self = QCoreApplication::applicationFilePath();
    const QStringList program{QStringLiteral("--program=") + file};
    const QStringList empty{QStringLiteral("--empty")};
    // One of each first, uncounted: the file and the libraries come into the cache.
    if (TimeChild(self, program) < 0 || TimeChild(self, empty) < 0) {
        std::fprintf(stderr, "a run did not reach its first paint\n");
        return 1;
    }
    std::vector<double> programTimes, emptyTimes, ratios;
    for (int i = 0; i < runs; ++i) {
        double p = 0, e = 0;
        if (i % 2) {
            e = TimeChild(self, empty);
            p = TimeChild(self, program);
        } else {
            p = TimeChild(self, program);
            e = TimeChild(self, empty);
        }
        if (p < 0 || e < 0) {
            std::fprintf(stderr, "a run did not reach its first paint\n");
            return 1;
        }
        programTimes.push_back(p);
        emptyTimes.push_back(e);
        ratios.push_back(p / e);
    }
    const Spread ps = SpreadOf(programTimes), es = SpreadOf(emptyTimes), rs = SpreadOf(ratios);
    std::printf("%d paired runs to the first paint (median, min, max), %s\n", runs,
                qgetenv("QT_QPA_PLATFORM").constData());
    std::printf("  program, large analysis: %.1f ms  %.1f  %.1f\n", ps.median, ps.min, ps.max);
    std::printf("  empty window:             %.1f ms  %.1f  %.1f\n", es.median, es.min, es.max);
    std::printf("  program / empty window: %.2f  %.2f  %.2f (goal: at most 1.3)\n", rs.median, rs.min, rs.max);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(QLatin1String("--program=")))
            return RunProgram(argc, argv, arg.mid(10));
        if (arg == QLatin1String("--empty"))
            return RunEmpty(argc, argv);
    }
    return Drive(argc, argv);
}
