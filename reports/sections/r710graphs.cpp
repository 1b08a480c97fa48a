#include "reports/sections/sections.h"
#include "reports/sections/comparisongroups.h"

#include "model/g51alternatives.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"
#include "reports/sections/barcharts.h"

#include <algorithm>

// The comparison graphs: for every group of up to three alternatives a page with the safety,
// objectives and financial charts at fixed places.
namespace reports::sections {

namespace {

using namespace barcharts;

// One chart's band on the page: from its title to the foot of its labels and legend.
struct Band {
    int titleTop;
    int bottom;
};

// Moves a band that would run past the foot of the page to the top of a new page (where the first
// chart of a page stands); a band already at the top stays. Returns how far the band is moved.
int PlaceBand(const Band& band, int dy)
{
    printing::ReportDocument& vp = VSPrinter1();
    if (band.titleTop + dy <= kSafetyTitleTop || band.bottom + dy <= vp.BottomLimit())
        return dy;
    vp.NewPage();
    return kSafetyTitleTop - band.titleTop;
}

void PrintChartTitle(const QString& title, int top)
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetFontSize(10);
    vp.SetFontBold(false);
    vp.TextBox(title, 1000, top, 5000, 0);
}

// How far the next chart moves down so that what it puts at nextTop stands clear of what the
// chart above ends with at bottom: long names wrap to more lines than the room there holds.
int Overrun(int bottom, int nextTop, int gap = kLabelGap)
{
    return std::max(0, bottom + gap - nextTop);
}

void DrawComparisonGraphs(int first, int last)
{
    const int labels = LabelsHeight(first, last);
    int dy = PlaceBand({kSafetyTitleTop, kSafetyBottom + kLabelGap + labels}, 0);
    PrintChartTitle(QStringLiteral("Safety Score (0=worst, 10=best)"), kSafetyTitleTop + dy);
    DrawSafetyChart(first, last, dy);

    dy += Overrun(kSafetyBottom + kLabelGap + labels, kObjectivesTitleTop);
    dy = PlaceBand({kObjectivesTitleTop, std::max(kObjectivesBottom + kLabelGap + labels, ObjectivesLegendBottom())}, dy);
    PrintChartTitle(QStringLiteral("Objectives Score (0=worst, 10=best)"), kObjectivesTitleTop + dy);
    DrawObjectivesChart(first, last, dy);

    const int scale = model::mgrGraphData::GetFinancialScale();
    QList<FinancialFigures> figures;
    for (const auto& alternative : model::GetAlternatives())
        figures.append(model::mgrGraphData::FiguresOf(*alternative));
    const FinancialAxis axis = ComputeFinancialAxis(figures, scale);
    // The objectives legend stands right of the financial title but above the financial legend:
    // long category names may reach down to it.
    dy += std::max(Overrun(kObjectivesBottom + kLabelGap + labels, kFinancialTitleTop),
                   Overrun(ObjectivesLegendBottom(), kFinancialLegendTop, kLegendGap));
    dy = PlaceBand({kFinancialTitleTop, kFinancialTop + axis.height + kLabelGap + labels}, dy);
    PrintChartTitle(scale != 1000000 ? QStringLiteral("Financial impact (in $000)")
                                     : QStringLiteral("Financial impact (in $000,000)"),
                    kFinancialTitleTop + dy);
    DrawFinancialChart(axis, scale, first, last, dy);
}

}  // namespace

void PrintGraphs()
{
    PushPrintSettings();
    SetPageHeaderFooter();
    PrintSectionTitle(QStringLiteral("Comparison of Alternatives"));
    ForEachGroupOfThree(&DrawComparisonGraphs);
    PopPrintSettings();
}

}  // namespace reports::sections
