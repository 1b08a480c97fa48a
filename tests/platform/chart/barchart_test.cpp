#include "platform/chart/barchart.h"
#include "platform/chart/chartmodule.h"
#include "platform/ui/scriptedprompter.h"

#include <QAbstractBarSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QLabel>
#include <QLegend>
#include <QTest>
#include <QValueAxis>

#include <gtest/gtest.h>

using chart::BarChart;

namespace {

QAbstractBarSeries* Series(const BarChart& c)
{
    const auto all = c.chart()->series();
    return all.size() == 1 ? qobject_cast<QAbstractBarSeries*>(all.first()) : nullptr;
}

QStringList Categories(const BarChart& c)
{
    const auto axes = c.chart()->axes(Qt::Horizontal);
    auto* axis = axes.isEmpty() ? nullptr : qobject_cast<QBarCategoryAxis*>(axes.first());
    return axis ? axis->categories() : QStringList();
}

// Two alternatives, three series, the values a comparison would hand over.
void Fill(BarChart& c)
{
    c.setRowCount(2);
    c.setRowLabel(1, "A. Direct");
    c.setRowLabel(2, "B. Confine");
    c.setColumnCount(3);
    c.setColumnLabel(1, "Cost");
    c.setColumnLabel(2, "Protected");
    c.setColumnLabel(3, "Total");
    const double values[2][3] = {{-200, 50, -150}, {-80, 120, 40}};
    for (int r = 1; r <= 2; ++r)
        for (int col = 1; col <= 3; ++col)
            c.setData(r, col, values[r - 1][col - 1]);
}

TEST(BarChart, RowsColumnsAndCellsReachTheDrawnSeries)
{
    BarChart c;
    Fill(c);
    c.setShowLegend(true);
    c.setTitle("Financial");
    ASSERT_NE(Series(c), nullptr);
    EXPECT_EQ(Series(c)->type(), QAbstractSeries::SeriesTypeBar);
    ASSERT_EQ(Series(c)->count(), 3);
    EXPECT_EQ(Series(c)->barSets()[1]->label(), "Protected");
    EXPECT_EQ(Series(c)->barSets()[2]->at(1), 40);
    EXPECT_EQ(Categories(c), QStringList({"A. Direct", "B. Confine"}));
    EXPECT_EQ(c.data(1, 1), -200);
    EXPECT_EQ(c.data(3, 1), 0);   // outside: 0
    c.setData(9, 9, 5);            // outside: ignored
    EXPECT_TRUE(c.chart()->legend()->isVisible());
    EXPECT_EQ(c.chart()->title(), "Financial");
    // Side by side: the axis runs from the lowest to the highest single bar, 0 included.
    EXPECT_LE(c.axisMin(), -200);
    EXPECT_GE(c.axisMax(), 120);
    EXPECT_GT(c.axisMin(), -300);
    EXPECT_LE(c.axisMax(), 200);
}

TEST(BarChart, StackingKeepsTheCellsAndStretchesTheAxisToTheSums)
{
    BarChart c;
    Fill(c);
    c.setStacked(true);
    ASSERT_NE(Series(c), nullptr);
    EXPECT_EQ(Series(c)->type(), QAbstractSeries::SeriesTypeStackedBar);
    ASSERT_EQ(Series(c)->count(), 3);
    EXPECT_EQ(Series(c)->barSets()[0]->at(0), -200);
    EXPECT_EQ(c.columnLabel(3), "Total");
    EXPECT_LE(c.axisMin(), -350);   // -200 + -150 on the first row
    EXPECT_GE(c.axisMax(), 160);    // 120 + 40 on the second
    c.setStacked(false);
    EXPECT_EQ(Series(c)->type(), QAbstractSeries::SeriesTypeBar);
    EXPECT_EQ(c.data(2, 2), 120);
}

TEST(BarChart, ClearEmptiesAndShrinkingDropsCells)
{
    BarChart c;
    Fill(c);
    c.setTitle("Financial");
    c.setRowCount(1);
    EXPECT_EQ(Series(c)->barSets()[0]->count(), 1);
    EXPECT_EQ(Categories(c), QStringList{"A. Direct"});
    c.setColumnCount(1);
    EXPECT_EQ(Series(c)->count(), 1);
    c.clear();
    EXPECT_EQ(c.rowCount(), 0);
    EXPECT_EQ(c.columnCount(), 0);
    EXPECT_EQ(Series(c)->count(), 0);
    EXPECT_TRUE(Categories(c).isEmpty());
    EXPECT_EQ(c.title(), "");
    // Growing again starts from zeros.
    c.setRowCount(2);
    c.setColumnCount(1);
    EXPECT_EQ(c.data(2, 1), 0);
    EXPECT_EQ(c.axisMin(), 0);
}

TEST(BarChart, RowsWithTheSameLabelKeepAGroupEach)
{
    BarChart c;
    c.setRowCount(3);
    c.setRowLabel(1, "A. Strategy");
    c.setRowLabel(2, "A. Strategy");
    c.setColumnCount(1);
    EXPECT_EQ(Categories(c).size(), 3);
    EXPECT_EQ(c.rowLabel(2), "A. Strategy");
    EXPECT_EQ(c.rowLabel(3), "");
}

// Qt Charts lays a shown chart's axes out again on every change of their categories or range;
// a chart filled cell by cell must not change them once a cell.
TEST(BarChart, AShownChartFilledCellByCellChangesItsAxesOnce)
{
    BarChart c;
    c.resize(400, 300);
    c.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&c));
    QChart* drawn = c.chart();
    auto* values = qobject_cast<QValueAxis*>(drawn->axes(Qt::Vertical).value(0));
    auto* categories = qobject_cast<QBarCategoryAxis*>(drawn->axes(Qt::Horizontal).value(0));
    ASSERT_NE(values, nullptr);
    ASSERT_NE(categories, nullptr);
    int rangeChanges = 0;
    int categoryChanges = 0;
    QObject::connect(values, &QValueAxis::rangeChanged, [&] { ++rangeChanges; });
    QObject::connect(categories, &QBarCategoryAxis::categoriesChanged, [&] { ++categoryChanges; });

    c.setRowCount(12);
    c.setColumnCount(4);
    for (int r = 1; r <= 12; ++r) {
        c.setRowLabel(r, QString("Alternative %1").arg(r));
        for (int col = 1; col <= 4; ++col)
            c.setData(r, col, r * 10 - col);
    }
    // Handed over once the program waits for events, without anyone asking.
    QTest::qWait(0);
    ASSERT_EQ(drawn->series().size(), 1);
    const auto* series = qobject_cast<QAbstractBarSeries*>(drawn->series().first());
    ASSERT_EQ(series->count(), 4);
    EXPECT_EQ(series->barSets()[3]->at(11), 116);
    EXPECT_EQ(categories->categories().value(11), "Alternative 12");
    EXPECT_GE(values->max(), 119);
    EXPECT_EQ(categoryChanges, 1);
    EXPECT_LE(rangeChanges, 2);   // the range, then rounded out to tidy ticks
}

// A program whose chart module is missing or damaged keeps running: each chart keeps what it is
// given and shows why it draws nothing, and the user is told once, not once a chart.
TEST(BarChart, WithoutTheChartModuleItSaysWhyAndKeepsItsData)
{
    ui::ScriptedPrompter prompter;
    const struct Restore {
        ui::Prompter* before;
        ~Restore()
        {
            chart::LoadChartModule(chart::ChartModulePath());
            ui::setPrompter(before);
        }
    } restore{ui::setPrompter(&prompter)};
    ASSERT_NE(chart::LoadChartModule("/nonexistent/tolmar_charts.so"), "");
    {
        BarChart a;
        BarChart b;
        Fill(a);
        a.setStacked(true);
        a.setShowLegend(true);
        a.setTitle("Financial");
        a.resize(400, 300);
        a.show();
        QTest::qWait(0);   // the handing over that a drawn chart gets
        EXPECT_EQ(a.chart(), nullptr);
        EXPECT_EQ(a.axisMax(), 0);
        EXPECT_EQ(a.data(2, 3), 40);
        EXPECT_EQ(a.columnLabel(2), "Protected");
        EXPECT_TRUE(a.isStacked());
        EXPECT_TRUE(a.showLegend());
        EXPECT_EQ(a.title(), "Financial");
        const auto* why = a.findChild<QLabel*>("lblChartMissing");
        ASSERT_NE(why, nullptr);
        EXPECT_TRUE(why->text().startsWith("The charts cannot be drawn: the chart module \"/nonexistent/tolmar_charts.so\""))
            << why->text().toStdString();
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_EQ(prompter.messages()[0].text, why->text());
        EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Warning);
    }
    // The module beside the program draws again.
    EXPECT_EQ(chart::LoadChartModule(chart::ChartModulePath()), "");
    BarChart c;
    Fill(c);
    ASSERT_NE(Series(c), nullptr);
    EXPECT_EQ(Series(c)->barSets()[2]->at(1), 40);
    EXPECT_EQ(prompter.messages().size(), 1);
}

} // namespace
