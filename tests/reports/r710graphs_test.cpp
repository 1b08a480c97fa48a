#include "comparison_fixture.h"

#include "model/c41objective.h"
#include "model/g41objectives.h"
#include "reports/sections/barcharts.h"

#include <QDir>
#include <QFile>

namespace barcharts = reports::sections::barcharts;
using barcharts::FinancialFigures;

TEST(BarChartAxis, TheAxisTableGivesStepIntervalsAndTheSpacingOfEachChart)
{
    const struct { float r; float step; int intervals; int safety, objectives, financial; } cases[] = {
        {0.0f, 0.1f, 10, 240, 300, 450},
        {1.0f, 0.1f, 10, 240, 300, 450},
        {1.001f, 0.2f, 10, 240, 300, 450},   // a value on a threshold goes to the next row
        {4.0f, 0.5f, 8, 300, 375, 562},      // 562.5 twips: half to even
        {4.5f, 1.0f, 5, 480, 600, 900},
        {6.0f, 1.0f, 6, 400, 500, 750},
        {10.0f, 1.0f, 10, 240, 300, 450},
    };
    for (const auto& c : cases) {
        const barcharts::AxisStep axis = barcharts::AxisScaleRule(c.r);
        EXPECT_EQ(axis.step, c.step) << c.r;
        EXPECT_EQ(axis.intervals, c.intervals) << c.r;
        EXPECT_EQ(barcharts::TickSpacing(axis, 2400), c.safety) << c.r;
        EXPECT_EQ(barcharts::TickSpacing(axis, 3000), c.objectives) << c.r;
        EXPECT_EQ(barcharts::TickSpacing(axis, 4500), c.financial) << c.r;
    }
}

TEST(BarChartAxis, TheFinancialAxisReducesByTensAndMovesItsZeroLineForValuesProtected)
{
    // Cost plus loss of $45,000 and nothing protected: 45 thousands, read as 4.5 tens.
    barcharts::FinancialAxis a = barcharts::ComputeFinancialAxis({{40000, 0, 5000}, {1000, 0, 0}}, 1000);
    EXPECT_EQ(a.multiplier, 10);
    EXPECT_EQ(a.axis.step, 1.0f);
    EXPECT_EQ(a.tick, 900);
    EXPECT_EQ(a.topValue, 0.0f);
    EXPECT_EQ(a.zeroLine, 0);
    EXPECT_EQ(a.height, 4500);
    // $12,000 protected as well: 57 thousands; the zero line goes down two steps of 10 to cover it
    // and the axis grows by one spacing.
    a = barcharts::ComputeFinancialAxis({{40000, 12000, 5000}}, 1000);
    EXPECT_EQ(a.multiplier, 10);
    EXPECT_EQ(a.tick, 750);
    EXPECT_EQ(a.topValue, 20.0f);
    EXPECT_EQ(a.zeroLine, 1500);
    EXPECT_EQ(a.height, 4500 + 750);
    // Millions: no reduction below ten chart units.
    a = barcharts::ComputeFinancialAxis({{2500000, 0, 0}}, 1000000);
    EXPECT_EQ(a.multiplier, 1);
    EXPECT_EQ(a.axis.step, 0.5f);
}

// A gain is drawn upward and raises the total; the cost bar of an alternative with a gain reaches
// below cost plus loss. Every bar stays inside the axis and is drawn to the axis' scale.
TEST(BarChartAxis, BarsForGainsAndTotalsRaisedByAGainStayInsideTheAxis)
{
    const struct { const char* name; QList<FinancialFigures> figures; std::array<int, 4> expected; } cases[] = {
        // A gain of 30 thousand beside 5 protected: axis 0 to 30 above, 10 below, in steps of 5.
        {"gain above values protected", {{10000, 5000, -30000}}, {-1124, 562, 3372, 2810}},
        // A gain that makes the total the highest bar.
        {"total raised by a gain", {{1000, 20000, -15000}}, {-112, 2248, 1686, 3822}},
        // Without gains the axis is as before: values protected above, cost plus loss below.
        {"no gain", {{40000, 12000, 5000}}, {-3000, 900, -375, -2475}},
    };
    for (const auto& c : cases) {
        const barcharts::FinancialAxis axis = barcharts::ComputeFinancialAxis(c.figures, 1000);
        const std::array<int, 4> h = barcharts::FinancialBarHeights(c.figures.first(), axis, 1000);
        EXPECT_EQ(h, c.expected) << c.name;
        for (int v : h) {
            EXPECT_LE(v, axis.zeroLine) << c.name;
            EXPECT_GE(v, -(axis.height - axis.zeroLine)) << c.name;
        }
    }
}

TEST_F(ComparisonFixture, GraphsPutEachGroupOfThreeOnItsPageInTheSlotsOfEveryChart)
{
    const struct { int alternatives; int pages; } cases[] = {{0, 1}, {1, 1}, {3, 1}, {4, 2}, {7, 3}};
    for (const auto& c : cases) {
        SetAlternativeCount(c.alternatives);
        ASSERT_TRUE(Produce({18}));
        const printing::ReportDocument& vp = reports::VSPrinter1();
        ASSERT_EQ(vp.PageCount(), c.pages) << c.alternatives;
        EXPECT_EQ(Calls().filter(QStringLiteral("Paragraph \"Comparison of Alternatives\"")).size(), 1);
        EXPECT_EQ(Calls().filter(QStringLiteral("TextBox \"Safety Score (0=worst, 10=best)\"")).size(),
                  (c.alternatives + 2) / 3) << c.alternatives;
        for (int page = 0; page < vp.PageCount(); ++page) {
            // Each alternative of the page's group under its slot of the three charts.
            for (int i = 3 * page; i < std::min(3 * page + 3, c.alternatives); ++i) {
                QList<int> lefts, tops;
                for (const sectionrecord::Printed& p : sectionrecord::PrintedOn(page))
                    if (p.text == LabelOf(i))
                        lefts << p.x, tops << p.y;
                EXPECT_EQ(lefts, (QList<int>(3, 1440 + (i % 3) * 2400))) << LabelOf(i).toStdString();
                ASSERT_EQ(tops.size(), 3);
                EXPECT_EQ(tops[0], 4380);
                EXPECT_EQ(tops[1], 8360);
                EXPECT_GT(tops[2], 13720);
            }
        }
        if (c.alternatives > 0) {
            // The frame is drawn whole on every page: four slot lines in each chart.
            const QStringList frames = Calls().filter(QRegularExpression(QStringLiteral("^DrawLine 8640,\\d+ 8640,")));
            EXPECT_EQ(frames.size(), 3 * c.pages) << c.alternatives;
        } else {
            EXPECT_EQ(sectionrecord::TextsOn(0), QStringList{QStringLiteral("Comparison of Alternatives")});
        }
        EXPECT_EQ(reports::PrintSettingsStack().size(), 1);
    }
}

TEST_F(ComparisonFixture, BarFillsFollowTheGraphOptionAndAreSolidColourInAnRtfFile)
{
    const QString rtf = QDir(tempDir()).filePath(QStringLiteral("Graphs.rtf"));
    const struct { reports::GraphColors option; bool rtf; const char* safety; const char* cost; } cases[] = {
        {reports::GraphColors::BWPatterns, false, "#000000 2", "#000000 5"},
        {reports::GraphColors::ColoredPatterns, false, "#ff0000 2", "#ff0000 5"},
        {reports::GraphColors::Solid, false, "#ff0000 0", "#ff0000 0"},
        {reports::GraphColors::BWPatterns, true, "#ff0000 0", "#ff0000 0"},
        {reports::GraphColors::ColoredPatterns, true, "#ff0000 0", "#ff0000 0"},
        {reports::GraphColors::Solid, true, "#ff0000 0", "#ff0000 0"},
    };
    for (const auto& c : cases) {
        reports::ReportSelection selection;
        selection.sections[18] = true;
        selection.graphColors = c.option;
        reports::SetLastSelection(selection);
        ASSERT_TRUE(reports::RunReport(c.rtf ? printing::Output::Rtf : printing::Output::Preview, rtf));
        const QStringList bars = Calls().filter(QStringLiteral("TextBox \"\" "));
        // The first bar is A's safety bar; its first financial bar is the cost.
        const QStringList safety = bars.filter(QRegularExpression(QStringLiteral("^TextBox \"\" 2240,\\d+ 800x")));
        const QStringList cost = bars.filter(QRegularExpression(QStringLiteral("^TextBox \"\" 1600,\\d+ 400x")));
        ASSERT_FALSE(safety.isEmpty());
        ASSERT_FALSE(cost.isEmpty());
        EXPECT_TRUE(safety[0].contains(QStringLiteral(" fill ") + QLatin1String(c.safety))) << safety[0].toStdString();
        EXPECT_TRUE(cost[0].contains(QStringLiteral(" fill ") + QLatin1String(c.cost))) << cost[0].toStdString();
    }
    QFile file(rtf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(file.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("{\\sn fillColor}{\\sv 255}"))) << "red bars as filled shapes";
    EXPECT_TRUE(text.contains(QStringLiteral("{\\sn shapeType}{\\sv 20}"))) << "gridlines as line shapes";
    // A shape outside an instruction group is skipped by word processors.
    EXPECT_FALSE(text.contains(QStringLiteral("{\\shp{\\shpleft")));
}

TEST_F(ComparisonFixture, AChartWhoseLabelsWouldRunOffThePageMovesToTheNextPage)
{
    // A long strategy name under the financial chart.
    SetAlternativeCount(4);
    model::c51Alternative& a = *model::GetAlternatives().At(0);
    a.SetHeading(QStringLiteral("Hold the ridge with engines and crews, burn out from the county road to the river, "
                                "then mop up a hundred feet in along the whole east flank before the wind shifts"));
    a.SaveChanges();
    ASSERT_TRUE(Produce({18}));
    const printing::ReportDocument& vp = reports::VSPrinter1();
    ASSERT_EQ(vp.PageCount(), 3);
    EXPECT_EQ(sectionrecord::Find(1, QStringLiteral("Financial impact (in $000,000)")).y, 1560);
    EXPECT_EQ(sectionrecord::Find(0, QStringLiteral("Financial impact (in $000,000)")).text, QString());
    EXPECT_EQ(sectionrecord::Find(2, QStringLiteral("Financial impact (in $000,000)")).y, 8920) << "D's page as before";
    ExpectNothingPastTheFoot();

    // A landscape page has no room for the financial chart of any group below the other two.
    model::c51Alternative& again = *model::GetAlternatives().At(0);
    again.SetHeading(QStringLiteral("Strategy 1"));
    again.SaveChanges();
    ProduceOnPage({18}, 15840, 12240);
    EXPECT_EQ(vp.PageCount(), 4);
    EXPECT_EQ(sectionrecord::Find(2, QStringLiteral("Safety Score (0=worst, 10=best)")).y, 1560);
    ExpectNothingPastTheFoot();
}

// Legend names that wrap push the entries under them down: no two names of a legend overlap,
// and the objectives chart's band still moves whole to the next page when the legend needs it.
TEST_F(ComparisonFixture, WrappedLegendNamesNeverRunIntoTheNextEntry)
{
    SetAlternativeCount(3);
    const QList<model::c41Objective*> categories = model::GetPrioritizedCategories();
    ASSERT_GE(categories.size(), 2);
    categories[0]->SetItemName(QStringLiteral("Natural and cultural resources of the upper basin and its tributaries"));
    categories[0]->SaveChanges();
    ASSERT_TRUE(Produce({18}));
    QList<sectionrecord::Printed> legend;
    for (const sectionrecord::Printed& p : sectionrecord::PrintedOn(0))
        if (p.x == 9840 && !p.text.isEmpty())
            legend.append(p);
    ASSERT_GE(legend.size(), categories.size() + 4);
    std::sort(legend.begin(), legend.end(), [](const auto& a, const auto& b) { return a.y < b.y; });
    for (qsizetype i = 1; i < legend.size(); ++i)
        EXPECT_GE(legend[i].y, legend[i - 1].y + legend[i - 1].height) << legend[i].text.toStdString();
    EXPECT_EQ(legend[0].y, 6660) << "the first entry stands where it always did";
    ExpectNothingPastTheFoot();
}

// Every category named at length: the objectives legend reaches below where the financial
// legend begins, and the financial chart moves down (here onto the next page) so that the two
// legends never print over each other.
TEST_F(ComparisonFixture, ALongObjectivesLegendLeavesTheFinancialLegendClear)
{
    SetAlternativeCount(3);
    const QList<model::c41Objective*> categories = model::GetPrioritizedCategories();
    ASSERT_EQ(categories.size(), 5);
    for (model::c41Objective* category : categories) {
        category->SetItemName(category->ItemName() + QStringLiteral(" of the upper basin, its tributaries and the river bottoms below the dam"));
        category->SaveChanges();
    }
    ASSERT_TRUE(Produce({18}));
    const printing::ReportDocument& vp = reports::VSPrinter1();
    int entries = 0;
    for (int page = 0; page < vp.PageCount(); ++page) {
        QList<sectionrecord::Printed> legend;
        for (const sectionrecord::Printed& p : sectionrecord::PrintedOn(page))
            if (p.x == 9840 && !p.text.isEmpty())
                legend.append(p);
        entries += legend.size();
        std::sort(legend.begin(), legend.end(), [](const auto& a, const auto& b) { return a.y < b.y; });
        for (qsizetype i = 1; i < legend.size(); ++i)
            EXPECT_GE(legend[i].y, legend[i - 1].y + legend[i - 1].height)
                << legend[i].text.toStdString() << " under " << legend[i - 1].text.toStdString() << " on page " << page + 1;
    }
    EXPECT_EQ(entries, 5 + 4);
    EXPECT_EQ(vp.PageCount(), 2);
    ExpectNothingPastTheFoot();
}

// Names that wrap to four lines and more under a chart leave the next chart's title clear: they
// used to run over "Objectives Score" and "Financial impact".
TEST_F(ComparisonFixture, LongNamesUnderAChartLeaveTheNextTitleClear)
{
    SetAlternativeCount(3);
    for (int i = 0; i < 3; ++i) {
        model::c51Alternative& a = *model::GetAlternatives().At(i);
        a.SetHeading(QStringLiteral("Hold the ridge line from the county road to the river and burn out behind it with engines and crews"));
        a.SaveChanges();
    }
    ASSERT_TRUE(Produce({18}));
    const printing::ReportDocument& vp = reports::VSPrinter1();
    int titles = 0;
    for (int page = 0; page < vp.PageCount(); ++page) {
        const QList<sectionrecord::Printed> printed = sectionrecord::PrintedOn(page);
        for (const sectionrecord::Printed& title : printed) {
            if (!title.text.startsWith(QStringLiteral("Objectives Score")) && !title.text.startsWith(QStringLiteral("Financial impact")))
                continue;
            ++titles;
            for (const sectionrecord::Printed& p : printed)
                if (p.text.startsWith(QStringLiteral("A.")) || p.text.startsWith(QStringLiteral("B.")))
                    EXPECT_TRUE(p.y + p.height <= title.y || p.y >= title.y + title.height)
                        << p.text.toStdString() << " at " << p.y << "+" << p.height << " against " << title.text.toStdString()
                        << " at " << title.y << " on page " << page + 1;
        }
    }
    EXPECT_EQ(titles, 2);
    ExpectNothingPastTheFoot();
}
