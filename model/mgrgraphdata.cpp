#include "model/mgrgraphdata.h"

#include "model/c51alternative.h"
#include "model/g51alternatives.h"

namespace model::mgrGraphData {

namespace {

struct Series {
    int color;
    int pattern;
};
constexpr Series kSeries[] = {
    {255, 2},        // red
    {65280, 3},      // green
    {16711680, 5},   // blue
    {65535, 4},      // yellow
    {16711935, 7},   // magenta
};
constexpr int kSeriesCount = int(std::size(kSeries));

constexpr double kMillion = 1000000.0;

} // namespace

std::optional<int> GraphColor(int series)
{
    if (series < 1 || series > kSeriesCount)
        return std::nullopt;
    return kSeries[series - 1].color;
}

std::optional<int> GraphPattern(int series)
{
    if (series < 1 || series > kSeriesCount)
        return std::nullopt;
    return kSeries[series - 1].pattern;
}

FinancialFigures FiguresOf(model::c51Alternative& alt)
{
    return {double(alt.ExpectedCost()), alt.ExpectedProtection(), double(alt.ExpectedNVCLoss())};
}

int FinancialScaleOf(const QList<FinancialFigures>& figures)
{
    for (const FinancialFigures& f : figures)
        if (f.cost > kMillion || f.protection > kMillion || f.nvcLoss > kMillion)
            return 1000000;
    return 1000;
}

int GetFinancialScale()
{
    QList<FinancialFigures> figures;
    for (const auto& alt : model::GetAlternatives())
        figures.append(FiguresOf(*alt));
    return FinancialScaleOf(figures);
}

} // namespace model::mgrGraphData
