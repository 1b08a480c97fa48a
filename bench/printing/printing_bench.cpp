// Lays out a report of 100 pages of paragraphs and tables and writes it to PDF, against the same
// text written with QTextDocument::print.
//
// --report=PAGES --output=pdf|rtf|preview --file=F: only lays out a report of about PAGES pages, writes it
// to F and prints its page count and the peak memory of the process (bench/printing/memory.sh
// runs it beside LibreOffice converting the RTF of the same report).

#include "platform/printing/reportdocument.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>

namespace {

constexpr int kSections = 500;   // 100 pages of the report document
constexpr int kSectionsPerPage = 5;

QString Paragraph(int i)
{
    QStringList words;
    for (int w = 0; w < 70; ++w)
        words << QStringLiteral("fire%1").arg((i * 7 + w) % 97);
    return words.join(u' ');
}

QStringList Row(int i, int r)
{
    return {QStringLiteral("Value %1.%2").arg(i).arg(r), QStringLiteral("%1").arg(125000 + r * 1000),
            QStringLiteral("%1").arg(r * 10), QStringLiteral("%1").arg(38000 + r)};
}

int LayOut(printing::ReportDocument& doc, const QString& file, int sections = kSections,
           printing::Output output = printing::Output::Pdf)
{
    doc.StartDoc(output, file);
    doc.SetRunningLine(QStringLiteral("Tolmar No. 12|Ridge|Page %d"));
    for (int i = 0; i < sections; ++i) {
        doc.SetFontBold(true);
        doc.Paragraph(QStringLiteral("Section %1").arg(i));
        doc.SetFontBold(false);
        doc.Paragraph(Paragraph(i));
        doc.SetTableLineStyle(i % 2 ? printing::LineStyle::Grid : printing::LineStyle::RulesAboveAndBelow);
        for (int r = 0; r < 5; ++r)
            doc.TableRows(QStringLiteral("6470|>1630|^1070|>1630;") + Row(i, r).join(u'|') + u';');
    }
    doc.EndDoc();
    return doc.PageCount();
}

void BM_ReportDocumentToPdf(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    int pages = 0;
    for (auto _ : state) {
        printing::ReportDocument doc;
        pages = LayOut(doc, pdf);
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_ReportDocumentToPdf)->Unit(benchmark::kMillisecond);

void BM_QTextDocumentPrintToPdf(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("q.pdf"));
    for (auto _ : state) {
        QTextDocument doc;
        QFont font;
        font.setPointSize(10);
        doc.setDefaultFont(font);
        QTextCursor cursor(&doc);
        QTextCharFormat bold, plain;
        bold.setFontWeight(QFont::Bold);
        for (int i = 0; i < kSections; ++i) {
            cursor.insertText(QStringLiteral("Section %1").arg(i), bold);
            cursor.insertBlock();
            cursor.insertText(Paragraph(i), plain);
            cursor.insertBlock();
            QTextTableFormat tf;
            tf.setBorder(i % 2 ? 1 : 0);
            tf.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 60),
                                          QTextLength(QTextLength::PercentageLength, 15),
                                          QTextLength(QTextLength::PercentageLength, 10),
                                          QTextLength(QTextLength::PercentageLength, 15)});
            QTextTable* table = cursor.insertTable(5, 4, tf);
            for (int r = 0; r < 5; ++r) {
                const QStringList cells = Row(i, r);
                for (int c = 0; c < 4; ++c)
                    table->cellAt(r, c).firstCursorPosition().insertText(cells[c]);
            }
            cursor.movePosition(QTextCursor::End);
        }
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::Letter));
        doc.print(&writer);
    }
}
BENCHMARK(BM_QTextDocumentPrintToPdf)->Unit(benchmark::kMillisecond);

}  // namespace

long PeakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int ReportOnly(const QStringList& args)
{
    int pages = 0;
    QString file;
    printing::Output output = printing::Output::Pdf;
    for (const QString& arg : args) {
        if (arg.startsWith(QLatin1String("--report=")))
            pages = arg.mid(9).toInt();
        else if (arg.startsWith(QLatin1String("--file=")))
            file = arg.mid(7);
        else if (arg == QLatin1String("--output=rtf"))
            output = printing::Output::Rtf;
        else if (arg == QLatin1String("--output=preview"))
            output = printing::Output::Preview;
    }
    if (pages <= 0 || file.isEmpty()) {
        std::fprintf(stderr, "--report=PAGES needs --file=F\n");
        return 2;
    }
    const long before = PeakKiB();
    printing::ReportDocument doc;
    const int made = LayOut(doc, file, pages * kSectionsPerPage, output);
    std::printf("pages %d peak %ld KiB (%ld KiB before the report)\n", made, PeakKiB(), before);
    return 0;
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.filter(QStringLiteral("--report=")).size() == 1)
        return ReportOnly(args);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
