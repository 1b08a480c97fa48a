// Converting the largest Jet fixture as the program does it (the converter in its child
// process, the copy checked), beside mdb-export writing every table of the same file as CSV,
// one process a table as that tool works. And opening the converted, upgraded analysis beside
// the same analysis written natively and upgraded alike. The figures to watch are the ratios
// (goals: at most 2 for the conversion, about 1 for the opening).

#include "bench/support/pairedruns.h"
#include "core/u11datafile.h"
#include "platform/jet/convert.h"
#include "platform/ui/scriptedprompter.h"
#include "upgrade/upgrader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct Files {
    QTemporaryDir dir;
    QString jet;           // the largest fixture
    QStringList tables;    // its tables, as mdb-tables lists them
    QString converted;     // converted and upgraded
    QString native;        // written from the fixture's scripts and upgraded
    QString problem;       // why the benchmarks cannot run
};
std::unique_ptr<Files> gFiles;

QString SourcePath(const QString& relative)
{
    return QDir(qEnvironmentVariable("TOLMAR_SOURCE_DIR", QStringLiteral(TOLMAR_SOURCE_DIR_DEFAULT))).filePath(relative);
}

void Convert()
{
    const QString out = gFiles->dir.filePath(QStringLiteral("convert.sqlite"));
    QFile::remove(out);
    const QString why = jet::ConvertToSqlite(gFiles->jet, out);
    if (!why.isEmpty()) {
        std::fprintf(stderr, "conversion failed: %s\n", qPrintable(why));
        std::abort();
    }
}

void Export()
{
    for (const QString& table : gFiles->tables) {
        QProcess p;
        p.setStandardOutputFile(gFiles->dir.filePath(table + QStringLiteral(".csv")));
        p.start(QStringLiteral("mdb-export"), {gFiles->jet, table});
        p.waitForFinished(-1);
    }
}

void Open(const QString& path)
{
    if (!core::OpenDatafile(path))
        std::abort();
    core::CloseDatafile();
}

// Opens the file once through the upgrade, agreeing to its two questions; "" when it failed.
QString Upgraded(ui::ScriptedPrompter& prompter, const QString& path)
{
    prompter.answer(ui::Answer::OK);
    prompter.answer(ui::Answer::Yes);
    const bool ok = core::OpenDatafile(path);
    core::CloseDatafile();
    return ok ? path : QString();
}

QString WriteNative(const QString& path)
{
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK;
    for (const char* script : {"tests/fixtures/common-tables.sql", "tests/fixtures/format-4.00.00.sql"}) {
        QFile file(SourcePath(QString::fromLatin1(script)));
        ok = ok && file.open(QIODevice::ReadOnly) &&
             sqlite3_exec(db, file.readAll().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    sqlite3_close(db);
    return ok ? path : QString();
}

void Prepare(ui::ScriptedPrompter& prompter)
{
    gFiles = std::make_unique<Files>();
    Files& f = *gFiles;
    f.jet = SourcePath(QStringLiteral("tests/fixtures/jet/format-4.00.00.tlm"));
    if (QStandardPaths::findExecutable(QStringLiteral("mdb-export")).isEmpty()) {
        f.problem = QStringLiteral("mdb-export is not installed (Debian package mdbtools)");
        return;
    }
    QProcess list;
    list.start(QStringLiteral("mdb-tables"), {QStringLiteral("-1"), f.jet});
    list.waitForFinished(-1);
    f.tables = QString::fromUtf8(list.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QString copy = f.dir.filePath(QStringLiteral("converted.tlm"));
    if (f.tables.isEmpty() || !jet::ConvertToSqlite(f.jet, copy).isEmpty()) {
        f.problem = QStringLiteral("the fixture cannot be read");
        return;
    }
    f.converted = Upgraded(prompter, copy);
    f.native = Upgraded(prompter, WriteNative(f.dir.filePath(QStringLiteral("native.tlm"))));
    if (f.converted.isEmpty() || f.native.isEmpty())
        f.problem = QStringLiteral("the files do not open");
}

bool Ready(benchmark::State& state)
{
    if (gFiles->problem.isEmpty())
        return true;
    state.SkipWithError(qPrintable(gFiles->problem));
    return false;
}

void BM_ConvertLargestFixture(benchmark::State& state)
{
    if (Ready(state))
        for (auto _ : state)
            Convert();
}
BENCHMARK(BM_ConvertLargestFixture)->Unit(benchmark::kMillisecond);

void BM_MdbExportAllTables(benchmark::State& state)
{
    if (Ready(state))
        for (auto _ : state)
            Export();
}
BENCHMARK(BM_MdbExportAllTables)->Unit(benchmark::kMillisecond);

void BM_OpenConverted(benchmark::State& state)
{
    if (Ready(state))
        for (auto _ : state)
            Open(gFiles->converted);
}
BENCHMARK(BM_OpenConverted)->Unit(benchmark::kMillisecond);

void BM_OpenNative(benchmark::State& state)
{
    if (Ready(state))
        for (auto _ : state)
            Open(gFiles->native);
}
BENCHMARK(BM_OpenNative)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ui::ScriptedPrompter prompter;
    upgrade::Install();
    const int pairs = benchsupport::TakePairsOption(argc, argv, 30);
    benchmark::Initialize(&argc, argv);
    Prepare(prompter);
    if (!gFiles->problem.isEmpty())
        std::printf("%s\n", qPrintable(gFiles->problem));
    else if (pairs > 0) {
        std::printf("%s: %lld tables\n", qPrintable(gFiles->jet), static_cast<long long>(gFiles->tables.size()));
        benchsupport::PrintPairs(pairs, benchsupport::TimePairs(pairs, Convert, Export), "conversion",
                                 "mdb-export of every table", "at most 2");
        benchsupport::PrintPairs(pairs,
                                 benchsupport::TimePairs(pairs, [] { Open(gFiles->converted); }, [] { Open(gFiles->native); }),
                                 "opening the converted file", "opening the native file", "about 1");
    }
    benchmark::RunSpecifiedBenchmarks();
    gFiles.reset();
    core::SetUpgrader(nullptr);
    benchmark::Shutdown();
    return 0;
}
