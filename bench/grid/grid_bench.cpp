// Filling a 2,000-row, 8-column grid, against a plain QTableWidget given the same texts.

#include "platform/grid/grid.h"

#include <QApplication>
#include <QTableWidget>

#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = 2000;
constexpr int kCols = 8;

const QList<QStringList>& Texts()
{
    static const QList<QStringList> texts = [] {
        QList<QStringList> rows;
        for (int r = 0; r < kRows; ++r) {
            QStringList cells;
            cells << QStringLiteral("Alternative %1. Direct attack").arg(r) << QStringLiteral("Target");
            for (int c = 2; c < kCols; ++c)
                cells << QString::number((r * 7919 + c * 104729) % 1000000);
            rows << cells;
        }
        return rows;
    }();
    return texts;
}

void BM_GridAddItem(benchmark::State& state)
{
    const auto& texts = Texts();
    QStringList lines;
    for (const QStringList& cells : texts)
        lines << cells.join('\t');
    for (auto _ : state) {
        grid::Grid g;
        g.setCols(kCols);
        g.setColFormat(4, QStringLiteral("#,0"));
        for (const QString& line : lines)
            g.addItem(line);
        benchmark::DoNotOptimize(g.rows());
    }
}
BENCHMARK(BM_GridAddItem)->Unit(benchmark::kMillisecond);

void BM_GridSetText(benchmark::State& state)
{
    const auto& texts = Texts();
    for (auto _ : state) {
        grid::Grid g;
        g.setCols(kCols);
        g.setRows(kRows + 1);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                g.setText(r + 1, c, texts[r][c]);
        benchmark::DoNotOptimize(g.rows());
    }
}
BENCHMARK(BM_GridSetText)->Unit(benchmark::kMillisecond);

void BM_QTableWidget(benchmark::State& state)
{
    const auto& texts = Texts();
    for (auto _ : state) {
        QTableWidget t;
        t.setColumnCount(kCols);
        t.setRowCount(kRows + 1);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                t.setItem(r + 1, c, new QTableWidgetItem(texts[r][c]));
        benchmark::DoNotOptimize(t.rowCount());
    }
}
BENCHMARK(BM_QTableWidget)->Unit(benchmark::kMillisecond);

void BM_QTableWidgetAppend(benchmark::State& state)
{
    const auto& texts = Texts();
    for (auto _ : state) {
        QTableWidget t;
        t.setColumnCount(kCols);
        t.setRowCount(1);
        for (int r = 0; r < kRows; ++r) {
            const int row = t.rowCount();
            t.insertRow(row);
            for (int c = 0; c < kCols; ++c)
                t.setItem(row, c, new QTableWidgetItem(texts[r][c]));
        }
        benchmark::DoNotOptimize(t.rowCount());
    }
}
BENCHMARK(BM_QTableWidgetAppend)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
