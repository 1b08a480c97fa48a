// Lays out a report of 100 pages of paragraphs and tables and writes it to PDF, against the same
// text written with QTextDocument::print.

#include "platform/printing/reportdocument.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <benchmark/benchmark.h>

namespace {

constexpr int kSections = 500;   // 100 pages of the report document

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

int LayOut(printing::ReportDocument& doc, const QString& pdf)
{
    doc.StartDoc(printing::Output::Pdf, pdf);
    doc.SetRunningLine(QStringLiteral("Tolmar No. 12|Ridge|Page %d"));
    for (int i = 0; i < kSections; ++i) {
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

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
