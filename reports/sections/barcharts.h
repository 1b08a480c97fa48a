#pragma once

#include "model/mgrgraphdata.h"

#include <QList>

#include <array>

// The three bar charts of the comparison graphs, drawn line by line and box by box into the
// report document: the expected safety score, the expected objectives score stacked by category,
// and the expected financial impact. Each chart has a frame of three slots, one per alternative of
// the page's group, and its axis is worked out from all alternatives so every page shares it.
// Positions are page twips; a chart drawn lower on its page (or on a page of its own) is moved
// down by dy as a whole.
namespace reports::sections::barcharts {

using model::mgrGraphData::FinancialFigures;

// The row of the axis table a value falls in: its step and its number of intervals.
struct AxisStep {
    float step = 0.1f;
    int intervals = 10;
};
AxisStep AxisScaleRule(float r);
// Twips between two gridlines of an axis of the given height, whole twips, halves to even.
int TickSpacing(const AxisStep& axis, int axisHeight);

// The value axis of the financial chart. Chart units are the scale times the multiplier dollars.
struct FinancialAxis {
    AxisStep axis;
    int tick = 450;
    int multiplier = 1;
    float topValue = 0;   // the label of the top gridline
    int zeroLine = 0;     // twips below the top gridline of the one labelled 0
    int height = 4500;    // twips from the top gridline to the bottom one
};
// An axis that holds every bar of every alternative: values protected, gains and totals raised by
// a gain above the zero line, costs and losses below it.
FinancialAxis ComputeFinancialAxis(const QList<FinancialFigures>& figures, int scale);
// The four bars of one alternative (cost, values protected, resource values, total) as heights in
// twips, positive up from the zero line and negative down; none passes the ends of the axis.
std::array<int, 4> FinancialBarHeights(const FinancialFigures& figures, const FinancialAxis& axis, int scale);

// Fixed places of the charts on the page.
constexpr int kSafetyTitleTop = 1560;
constexpr int kSafetyBottom = 4320;
constexpr int kObjectivesTitleTop = 4940;
constexpr int kObjectivesBottom = 8300;
constexpr int kFinancialTitleTop = 8920;
constexpr int kFinancialTop = 9220;
constexpr int kFinancialLegendTop = 11820;
constexpr int kLabelGap = 60;
constexpr int kLegendGap = 120;   // between one legend entry and the next

// The charts of the alternatives first to last (1-based numbers of the collection).
void DrawSafetyChart(int first, int last, int dy);
void DrawObjectivesChart(int first, int last, int dy);
void DrawFinancialChart(const FinancialAxis& axis, int scale, int first, int last, int dy);
// The lowest point of the objectives legend, before any move.
int ObjectivesLegendBottom();
// The height of the tallest alternative label of the group as the charts print it.
int LabelsHeight(int first, int last);

}  // namespace reports::sections::barcharts
