#pragma once

#include <QList>

#include <optional>

namespace model {
class c51Alternative;
}

// What the comparison graphs on screen and in the report share, so that both agree: each
// series' colour and fill pattern, and the scale of the financial graph. No widgets, no state.
namespace model::mgrGraphData {

// The colour of series 1 to 5 as a Windows RGB value (&HBBGGRR): red, green, blue, yellow,
// magenta; nothing for any other series (callers then draw in black, 0).
std::optional<int> GraphColor(int series);
// The printer's hatch code of series 1 to 5: 2, 3, 5, 4, 7; nothing (pattern 0) otherwise.
std::optional<int> GraphPattern(int series);

// The expected dollar figures of one alternative that the financial graph shows.
struct FinancialFigures {
    double cost = 0;         // ExpectedCost
    double protection = 0;   // ExpectedProtection
    double nvcLoss = 0;      // ExpectedNVCLoss: positive for a loss
};
FinancialFigures FiguresOf(model::c51Alternative& alt);

// Dollars per graph unit: 1000000 when any alternative's cost, protection or NVC loss is
// over one million dollars (a gain, being negative, never is), else 1000.
int FinancialScaleOf(const QList<FinancialFigures>& figures);
// The same over every alternative of the open file.
int GetFinancialScale();

} // namespace model::mgrGraphData
