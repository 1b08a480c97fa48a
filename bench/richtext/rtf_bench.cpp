// Reading and writing a 1 MB body: the largest the program is expected to hold.
#include "platform/richtext/rtf.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

QString MegabyteRtf()
{
    QString rtf = QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg1252\\uc0\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0\\fprq2 Arial;}}"
        "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue255;\\red192\\green0\\blue0;}"
        "{\\*\\listtable{\\list\\listtemplateid1\\listsimple{\\listlevel\\levelnfc23{\\leveltext\\'01\\'95;}"
        "{\\levelnumbers;}}\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}}"
        "\\plain\\f0\\fs20 ");
    int n = 0;
    while (rtf.size() < 1024 * 1024) {
        switch (n++ % 4) {
        case 0:
            rtf += QStringLiteral("\\pard\\qj\\li360\\fi-180 The fire crossed the \\b ridge\\b0  near "
                                  "\\i Caf\\'e9 Creek\\i0  at 14:00; winds \\ul 20 mph\\ulnone  from the "
                                  "{\\cf3 southwest} \\{gusts\\} with \\u8364 costs.\\par ");
            break;
        case 1:
            rtf += QStringLiteral("\\pard{\\listtext\\'95\\tab}\\ls1\\ilvl0 Hold the line at the road\\tab "
                                  "and \\fs24 scout\\fs20  the draw.\\par ");
            break;
        case 2:
            rtf += QStringLiteral("\\trowd\\cellx3000\\cellx6000\\pard\\intbl Target\\cell 1,200 acres\\cell \\row "
                                  "\\pard after the table\\par ");
            break;
        default:
            rtf += QStringLiteral("\\pard\\tx720\\tx2880 Division A\\tab 3 engines\\tab 2 crews\\line "
                                  "second line of the same paragraph\\par ");
            break;
        }
    }
    return rtf + QStringLiteral("}");
}

const QString& Input()
{
    static const QString rtf = MegabyteRtf();
    return rtf;
}

void BM_ReadRtf(benchmark::State& state)
{
    for (auto _ : state) {
        QTextDocument doc;
        benchmark::DoNotOptimize(richtext::ReadRtf(Input(), &doc));
    }
    state.SetBytesProcessed(state.iterations() * Input().size());
}
BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMillisecond);

void BM_WriteRtf(benchmark::State& state)
{
    QTextDocument doc;
    richtext::ReadRtf(Input(), &doc);
    qint64 bytes = 0;
    for (auto _ : state) {
        const QString out = richtext::WriteRtf(doc);
        bytes += out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_WriteRtf)->Unit(benchmark::kMillisecond);

void BM_PlainText(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(richtext::RtfToPlainText(Input()).size());
}
BENCHMARK(BM_PlainText)->Unit(benchmark::kMillisecond);

// A 1 MB body that is one long table: reading must stay in step with the size.
void BM_ReadLongTable(benchmark::State& state)
{
    static const QString rtf = [] {
        QString s = QStringLiteral("{\\rtf1 \\trowd\\cellx500\\cellx1000 ");
        while (s.size() < 1024 * 1024)
            s += QStringLiteral("\\pard\\intbl a\\cell b\\cell\\row ");
        return s + QStringLiteral("}");
    }();
    for (auto _ : state) {
        QTextDocument doc;
        benchmark::DoNotOptimize(richtext::ReadRtf(rtf, &doc));
    }
}
BENCHMARK(BM_ReadLongTable)->Unit(benchmark::kMillisecond);

// Every run in a colour of its own: the colour table must not slow the writer down.
void BM_WriteManyColours(benchmark::State& state)
{
    QString rtf = QStringLiteral("{\\rtf1 {\\colortbl;");
    for (int i = 0; i < 25000; ++i)
        rtf += QStringLiteral("\\red%1\\green%2\\blue7;").arg(i % 256).arg(i / 256);
    rtf += u'}';
    for (int i = 1; i <= 25000; ++i)
        rtf += QStringLiteral("{\\cf%1 x}").arg(i);
    QTextDocument doc;
    richtext::ReadRtf(rtf + u'}', &doc);
    for (auto _ : state)
        benchmark::DoNotOptimize(richtext::WriteRtf(doc).size());
}
BENCHMARK(BM_WriteManyColours)->Unit(benchmark::kMillisecond);

// Every paragraph with tab stops of its own and every table with its own widths.
void BM_ReadDistinctLayouts(benchmark::State& state)
{
    static const QString rtf = [] {
        QString s = QStringLiteral("{\\rtf1 ");
        for (int i = 1; s.size() < 1024 * 1024; ++i)
            s += QStringLiteral("\\pard\\tx%1 x\\par \\trowd\\cellx%1\\pard\\intbl y\\cell\\row ").arg(i);
        return s + QStringLiteral("}");
    }();
    for (auto _ : state) {
        QTextDocument doc;
        benchmark::DoNotOptimize(richtext::ReadRtf(rtf, &doc));
    }
}
BENCHMARK(BM_ReadDistinctLayouts)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                      : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
