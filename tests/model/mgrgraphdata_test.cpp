#include "model/mgrgraphdata.h"

#include "decision_fixture.h"
#include "model/c51alternative.h"
#include "model/g51alternatives.h"

#include <gtest/gtest.h>

namespace gd = model::mgrGraphData;

namespace {

TEST(GraphData, SeriesOneToFiveHaveAColourAndAPatternAndNoOtherDoes)
{
    struct Case {
        int series;
        std::optional<int> color;
        std::optional<int> pattern;
    };
    const Case cases[] = {
        {0, std::nullopt, std::nullopt}, {1, 255, 2},      {2, 65280, 3}, {3, 16711680, 5},
        {4, 65535, 4},                   {5, 16711935, 7}, {6, std::nullopt, std::nullopt},
        {-1, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(gd::GraphColor(c.series), c.color) << c.series;
        EXPECT_EQ(gd::GraphPattern(c.series), c.pattern) << c.series;
    }
    EXPECT_EQ(gd::GraphColor(7).value_or(0), 0);   // what callers draw with
}

TEST(GraphData, OnlyAFigureStrictlyOverAMillionSwitchesToMillions)
{
    struct Case {
        const char* what;
        QList<gd::FinancialFigures> figures;
        int scale;
    };
    const Case cases[] = {
        {"no alternatives", {}, 1000},
        {"all small", {{200000, 50000, 30000}, {90000, 0, 0}}, 1000},
        {"cost of exactly one million", {{1000000, 1000000, 1000000}}, 1000},
        {"one cost just over, among small ones", {{5000, 0, 0}, {1000001, 0, 0}, {7000, 0, 0}}, 1000000},
        {"protection over", {{0, 1500000, 0}}, 1000000},
        {"NVC loss over", {{0, 0, 1200000}}, 1000000},
        {"a large NVC gain", {{0, 0, -2000000}}, 1000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gd::FinancialScaleOf(c.figures), c.scale) << c.what;
}

class GraphDataFile : public DecisionFixture {
protected:
    static void addAlternative(const testsupport::CostedAlternative& a) { testsupport::AddCostedAlternative(a); }
};

TEST_F(GraphDataFile, TheScaleWalksTheAlternativesOfTheFile)
{
    EXPECT_EQ(gd::GetFinancialScale(), 1000);   // no alternatives
    addAlternative({"Direct attack", 200000});
    addAlternative({"Confine", 90000});
    reload();
    EXPECT_EQ(gd::GetFinancialScale(), 1000);
    addAlternative({"Full suppression", 1500000});
    reload();
    EXPECT_EQ(gd::GetFinancialScale(), 1000000);
    const auto figures = gd::FiguresOf(*model::GetAlternatives().At(2));
    EXPECT_EQ(figures.cost, 1500000);
}

} // namespace
