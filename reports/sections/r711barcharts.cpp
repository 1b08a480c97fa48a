#include "reports/sections/barcharts.h"

#include "model/c41objective.h"
#include "model/c51alternative.h"
#include "model/g41objectives.h"
#include "model/g51alternatives.h"
#include "model/textnumbers.h"
#include "platform/grid/numberformat.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"
#include "reports/reportproduction.h"

#include <algorithm>

namespace reports::sections::barcharts {

namespace {

namespace graphdata = model::mgrGraphData;
using model::textnum::RoundHalfEven;

constexpr int kGridLeft = 1440;
constexpr int kGridRight = 8640;
constexpr int kSlotWidth = 2400;
constexpr int kLegendLeft = 9540;
constexpr int kSwatch = 240;
constexpr int kLabelFontSize = 9;

constexpr int kSafetyAxis = 2400;
constexpr int kObjectivesAxis = 3000;
constexpr int kFinancialAxis = 4500;

int SlotLeft(int slot)
{
    return kGridLeft + (slot - 1) * kSlotWidth;
}

// The brush of a bar or swatch: colour by series unless black and white is chosen, the series'
// hatch unless solid colours are chosen (always solid colour in an RTF file).
void SetBarFill(int series, int pattern)
{
    printing::ReportDocument& vp = VSPrinter1();
    const GraphColors option = GraphColorOption();
    vp.SetBrushColor(option == GraphColors::BWPatterns ? QColor(Qt::black)
                                                       : printing::ColorFromBgr(graphdata::GraphColor(series).value_or(0)));
    vp.SetBrushStyle(option == GraphColors::Solid ? 0 : pattern);
}

int SeriesPattern(int series)
{
    return graphdata::GraphPattern(series).value_or(0);
}

void DrawBar(int series, int pattern, int left, int top, int width, int height)
{
    SetBarFill(series, pattern);
    if (height > 0)
        VSPrinter1().TextBox(QString(), left, top, width, height, true);
}

constexpr int kLegendTextWidth = 1440;
constexpr int kLegendSpacing = kSwatch + kLegendGap;

void DrawLegendItem(int series, int pattern, int top, const QString& text)
{
    DrawBar(series, pattern, kLegendLeft, top, kSwatch, kSwatch);
    VSPrinter1().TextBox(text, kLegendLeft + 300, top, kLegendTextWidth, 0);
}

struct LegendPlaces {
    QList<int> tops;
    int bottom = 0;
};

// Entries stand kLegendSpacing apart from the first top on; a name that wraps (a category is
// named by the user) pushes the entries below it down, so that no two names run into each other.
LegendPlaces PlaceLegend(const QStringList& texts, int firstTop)
{
    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    vp.SetFontSize(kLabelFontSize);
    LegendPlaces places;
    int top = firstTop;
    places.bottom = firstTop - kLegendSpacing + kSwatch;
    for (const QString& text : texts) {
        const int tall = std::max(kSwatch, vp.MeasureTextBox(text, kLegendTextWidth));
        places.tops.append(top);
        places.bottom = top + tall;
        top = std::max(top + kLegendSpacing, places.bottom + kLegendSpacing - kSwatch);
    }
    PopPrintSettings();
    return places;
}

QStringList CategoryNames()
{
    QStringList names;
    for (const model::c41Objective* category : model::GetPrioritizedCategories())
        names.append(category->ItemName());
    return names;
}

void ValueLabels(const QString& text, int gridline, int leftBox, int width)
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetTextAlign(printing::Align::RightMiddle);
    vp.TextBox(text, leftBox, gridline - 100, width, 0);
    vp.SetTextAlign(printing::Align::LeftMiddle);
    vp.TextBox(text, 8700, gridline - 100, width, 0);
}

void SlotLines(int top, int bottom)
{
    for (int x = kGridLeft; x <= kGridRight; x += kSlotWidth)
        RtfLineShape(x, top, x, bottom);
}

// The axis of the safety and objectives charts: 0 at the bottom, up by the step.
void DrawScoreAxis(const AxisStep& axis, int tick, int top, int bottom)
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetFontSize(kLabelFontSize);
    const QString format = axis.step == 1.0f ? QStringLiteral("0") : QStringLiteral("0.0");
    float value = 0;
    for (int offset = 0; offset <= bottom - top; offset += tick) {
        RtfLineShape(kGridLeft, bottom - offset, kGridRight, bottom - offset);
        ValueLabels(grid::FormatNumber(value, format), bottom - offset, 780, 600);
        value += axis.step;
    }
    SlotLines(top, bottom);
}

void PrintAlternativeLabel(const model::c51Alternative& alternative, int slot, int top)
{
    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    vp.SetTextAlign(printing::Align::CenterMiddle);
    vp.TextBox(alternative.Label(), SlotLeft(slot), top, kSlotWidth, 0);
    PopPrintSettings();
}

// Height of a scaled value on an axis.
int BarHeight(double value, const AxisStep& axis, int tick)
{
    return RoundHalfEven(value * tick / axis.step);
}

template <typename DrawBars>
void ForEachOfGroup(int first, int last, DrawBars drawBars)
{
    model::AlternativeCollection& alternatives = model::GetAlternatives();
    for (int i = first; i <= last && i <= alternatives.Count(); ++i)
        drawBars(*alternatives.At(i - 1), i - first + 1);
}

float LargestOf(float (model::c51Alternative::*value)())
{
    float largest = 0;
    for (const auto& alternative : model::GetAlternatives())
        largest = std::max(largest, ((*alternative).*value)());
    return largest;
}

}  // namespace

AxisStep AxisScaleRule(float r)
{
    static const struct { float below; AxisStep axis; } kRows[] = {
        {1.001f, {0.1f, 10}}, {2.001f, {0.2f, 10}}, {4.001f, {0.5f, 8}},
        {5.001f, {1.0f, 5}},  {6.001f, {1.0f, 6}},  {8.001f, {1.0f, 8}},
    };
    for (const auto& row : kRows)
        if (r < row.below)
            return row.axis;
    return {1.0f, 10};
}

int TickSpacing(const AxisStep& axis, int axisHeight)
{
    return RoundHalfEven(double(axisHeight) / axis.intervals);
}

FinancialAxis ComputeFinancialAxis(const QList<FinancialFigures>& figures, int scale)
{
    // What each alternative draws above and below the zero line. Without gains that is the values
    // protected above and cost plus loss below; a gain draws upward, and the total it raises may
    // stand higher than the values protected, while the cost bar then reaches below cost plus loss.
    float above = 0, below = 0;
    for (const FinancialFigures& f : figures) {
        const float cost = float(f.cost), protection = float(f.protection), loss = float(f.nvcLoss);
        const float total = protection - cost - loss;
        above = std::max({above, protection, -loss, total});
        below = std::max({below, cost + std::max(loss, 0.0f), loss});
    }
    FinancialAxis a;
    float r = (above + below) / float(scale);
    while (r > 10) {
        r /= 10;
        a.multiplier *= 10;
    }
    a.axis = AxisScaleRule(r);
    a.tick = TickSpacing(a.axis, kFinancialAxis);
    const float unit = a.axis.step * float(a.multiplier);
    while (a.topValue * float(scale) < above) {
        a.topValue += unit;
        a.zeroLine += a.tick;
    }
    a.height = a.topValue > 0 ? kFinancialAxis + a.tick : kFinancialAxis;
    return a;
}

std::array<int, 4> FinancialBarHeights(const FinancialFigures& figures, const FinancialAxis& axis, int scale)
{
    const float u = float(scale) * float(axis.multiplier);
    const float c = float(figures.cost) / u;
    const float p = float(figures.protection) / u;
    const float l = float(figures.nvcLoss) / u;
    const float t = p - c - l;
    auto height = [&axis](float x) { return BarHeight(x, axis.axis, axis.tick); };
    std::array<int, 4> h = {-height(c), height(p), l < 0 ? height(-l) : -height(l), t <= 0 ? -height(c + l - p) : height(t)};
    // The axis is made to hold every bar; what a rounded threshold leaves over is cut at its ends.
    for (int& v : h)
        v = std::clamp(v, -(axis.height - axis.zeroLine), axis.zeroLine);
    return h;
}

void DrawSafetyChart(int first, int last, int dy)
{
    const AxisStep axis = AxisScaleRule(LargestOf(&model::c51Alternative::ExpectedSafetyScore));
    const int tick = TickSpacing(axis, kSafetyAxis);
    const int bottom = kSafetyBottom + dy;
    DrawScoreAxis(axis, tick, bottom - kSafetyAxis, bottom);
    ForEachOfGroup(first, last, [&](model::c51Alternative& alternative, int slot) {
        const int h = BarHeight(alternative.ExpectedSafetyScore(), axis, tick);
        DrawBar(1, SeriesPattern(1), SlotLeft(slot) + 800, bottom - h, 800, h);
        PrintAlternativeLabel(alternative, slot, bottom + kLabelGap);
    });
}

int ObjectivesLegendBottom()
{
    return PlaceLegend(CategoryNames(), 6300 + kLegendSpacing).bottom;
}

void DrawObjectivesChart(int first, int last, int dy)
{
    const AxisStep axis = AxisScaleRule(LargestOf(&model::c51Alternative::ExpectedScore));
    const int tick = TickSpacing(axis, kObjectivesAxis);
    const int bottom = kObjectivesBottom + dy;
    DrawScoreAxis(axis, tick, bottom - kObjectivesAxis, bottom);
    const QList<model::c41Objective*> categories = model::GetPrioritizedCategories();
    const QStringList names = CategoryNames();
    const LegendPlaces legend = PlaceLegend(names, 6300 + kLegendSpacing + dy);
    for (int k = 1; k <= categories.size(); ++k)
        DrawLegendItem(k, SeriesPattern(k), legend.tops.at(k - 1), names.at(k - 1));
    ForEachOfGroup(first, last, [&](model::c51Alternative& alternative, int slot) {
        int base = bottom;
        for (int k = 1; k <= categories.size(); ++k) {
            const int h = BarHeight(alternative.ExpectedCategoryScore(categories.at(k - 1)->ItemKey()), axis, tick);
            DrawBar(k, SeriesPattern(k), SlotLeft(slot) + 800, base - h, 800, h);
            base -= h;
        }
        PrintAlternativeLabel(alternative, slot, bottom + kLabelGap);
    });
}

void DrawFinancialChart(const FinancialAxis& axis, int scale, int first, int last, int dy)
{
    printing::ReportDocument& vp = VSPrinter1();
    const int top = kFinancialTop + dy;
    const int zero = top + axis.zeroLine;
    vp.SetFontSize(kLabelFontSize);
    const float unit = axis.axis.step * float(axis.multiplier);
    const QString format = unit < 1 ? QStringLiteral("0.0") : QStringLiteral("0");
    float value = axis.topValue;
    for (int offset = 0; offset <= axis.height; offset += axis.tick) {
        RtfLineShape(kGridLeft, top + offset, kGridRight, top + offset);
        ValueLabels(grid::FormatNumber(value, format), top + offset, 760, 680);
        value -= unit;
    }
    SlotLines(top, top + axis.height);

    static const struct { const char* text; int pattern; } kLegend[] = {
        {"Suppression Cost", 5}, {"Values Protected", 4}, {"Resource Values", 3}, {"Total", 7}};
    QStringList names;
    for (const auto& entry : kLegend)
        names.append(QString::fromLatin1(entry.text));
    const LegendPlaces legend = PlaceLegend(names, kFinancialLegendTop + dy);
    for (int k = 0; k < 4; ++k)
        DrawLegendItem(k + 1, kLegend[k].pattern, legend.tops.at(k), names.at(k));

    ForEachOfGroup(first, last, [&](model::c51Alternative& alternative, int slot) {
        const std::array<int, 4> heights = FinancialBarHeights(graphdata::FiguresOf(alternative), axis, scale);
        int left = (slot - 1) * kSlotWidth + 1600;
        for (int k = 0; k < 4; ++k) {
            const int h = heights[k];
            DrawBar(k + 1, kLegend[k].pattern, left, h > 0 ? zero - h : zero, 400, std::abs(h));
            left += 560;
        }
        PrintAlternativeLabel(alternative, slot, top + axis.height + kLabelGap);
    });
}

int LabelsHeight(int first, int last)
{
    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    vp.SetFontSize(kLabelFontSize);
    int tallest = 0;
    ForEachOfGroup(first, last, [&](model::c51Alternative& alternative, int) {
        tallest = std::max(tallest, vp.MeasureTextBox(alternative.Label(), kSlotWidth));
    });
    PopPrintSettings();
    return tallest;
}

}  // namespace reports::sections::barcharts
