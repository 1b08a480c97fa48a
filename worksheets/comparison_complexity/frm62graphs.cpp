#include "worksheets/comparison_complexity/frm62graphs.h"

#include "core/u91trace.h"
#include "model/c41objective.h"
#include "model/c51alternative.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/g51alternatives.h"
#include "platform/chart/barchart.h"
#include "platform/ui/screen.h"
#include "model/mgrgraphdata.h"
#include "worksheets/comparison_complexity/noalternatives.h"

#include <QLabel>
#include <QResizeEvent>

#include <functional>

namespace worksheets::comparison_complexity {

namespace {

// Places a widget at a rectangle given in twips.
void Place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(ui::TwipsToPixels(left), ui::TwipsToPixels(top), ui::TwipsToPixels(width),
                   ui::TwipsToPixels(std::max(0, height)));
}

// The row labels: the alternatives' labels, cut so that all of them together keep to about
// 84 characters.
void SetAlternativeRows(chart::BarChart& graph)
{
    const auto& alts = model::GetAlternatives();
    const int n = alts.Count();
    graph.setRowCount(n);
    if (n == 0)
        return;
    for (int r = 1; r <= n; ++r)
        graph.setRowLabel(r, alts.At(r - 1)->Label().left(84 / n));
}

// A chart of scores: one series per node, named after it, one value per alternative.
void FillScoreChart(chart::BarChart& graph, const QList<model::c41Objective*>& series,
                    const std::function<float(model::c51Alternative&, const model::c41Objective&)>& score)
{
    graph.clear();
    SetAlternativeRows(graph);
    graph.setColumnCount(int(series.size()));
    const auto& alts = model::GetAlternatives();
    for (int c = 1; c <= series.size(); ++c) {
        const model::c41Objective& node = *series.at(c - 1);
        graph.setColumnLabel(c, node.ItemName());
        for (int r = 1; r <= alts.Count(); ++r)
            graph.setData(r, c, score(*alts.At(r - 1), node));
    }
}

} // namespace

frm62Graphs::frm62Graphs(QWidget* parent) : WorksheetForm(QStringLiteral("frm62Graphs"), parent)
{
    const char* const captions[] = {"Safety Score  (0=worst, 10=best)", "Objectives Score  (0=worst, 10=best)",
                                    "Expected Financial Impact  (in $000)"};
    for (int i = 0; i < 3; ++i) {
        Label1[i] = new QLabel(QString::fromLatin1(captions[i]), this);
        Label1[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i + 1));
        QFont f = Label1[i]->font();
        f.setBold(true);
        Label1[i]->setFont(f);
    }
    mSafety = new chart::BarChart(this);
    mSafety->setObjectName(QStringLiteral("chtSafety"));
    mCriteria = new chart::BarChart(this);
    mCriteria->setObjectName(QStringLiteral("chtCriteria"));
    mCosts = new chart::BarChart(this);
    mCosts->setObjectName(QStringLiteral("chtCosts"));
    mEmpty = new QLabel(NoAlternativesText(), this);
    mEmpty->setObjectName(QStringLiteral("lblNoAlternatives"));
    mEmpty->setWordWrap(true);
    mEmpty->hide();
    ArrangeCharts();
}

void frm62Graphs::Setup()
{
    BeginSetup(QStringLiteral("frm62Graphs.Setup"));
    DisplaySafetyChart(*mSafety);
    DisplayCriteriaChart(*mCriteria);
    DisplayCostChart(*mCosts);
    ShowCharts(model::GetAlternatives().Count() > 0);
}

void frm62Graphs::ShowCharts(bool shown)
{
    for (QWidget* w : {static_cast<QWidget*>(mSafety), static_cast<QWidget*>(mCriteria),
                       static_cast<QWidget*>(mCosts), static_cast<QWidget*>(Label1[0]),
                       static_cast<QWidget*>(Label1[1]), static_cast<QWidget*>(Label1[2])})
        w->setVisible(shown);
    mEmpty->setVisible(!shown);
}

void frm62Graphs::DisplaySafetyChart(chart::BarChart& graph)
{
    core::Trace(QStringLiteral("DisplaySafetyChart"));
    FillScoreChart(graph, model::GetSafetyRootList(),
                   [](model::c51Alternative& alt, const model::c41Objective&) { return alt.ExpectedSafetyScore(); });
    graph.setShowLegend(true);
}

void frm62Graphs::DisplayCriteriaChart(chart::BarChart& graph)
{
    core::Trace(QStringLiteral("DisplayCriteriaChart"));
    FillScoreChart(graph, model::GetPrioritizedCategories(), [](model::c51Alternative& alt, const model::c41Objective& c) {
        return alt.ExpectedCategoryScore(c.ItemKey());
    });
    graph.setStacked(true);
    graph.setShowLegend(true);
}

void frm62Graphs::DisplayCostChart(chart::BarChart& graph)
{
    core::Trace(QStringLiteral("DisplayCostChart"));
    graph.clear();
    SetAlternativeRows(graph);
    const auto& alts = model::GetAlternatives();
    QList<model::mgrGraphData::FinancialFigures> figures;
    for (const auto& alt : alts)
        figures.append(model::mgrGraphData::FiguresOf(*alt));
    const int scale = model::mgrGraphData::FinancialScaleOf(figures);
    Label1[2]->setText(scale == 1000000 ? QStringLiteral("Expected Financial Impact  (in $000,000)")
                                        : QStringLiteral("Expected Financial Impact  (in $000)"));
    const char* const series[] = {"Suppression Cost", "Values Protected", "Resource Values", "Total"};
    graph.setColumnCount(4);
    for (int c = 1; c <= 4; ++c)
        graph.setColumnLabel(c, QString::fromLatin1(series[c - 1]));
    const double s = scale;
    for (int r = 1; r <= figures.size(); ++r) {
        const model::mgrGraphData::FinancialFigures& f = figures.at(r - 1);
        graph.setData(r, 1, -f.cost / s);
        graph.setData(r, 2, f.protection / s);
        graph.setData(r, 3, -f.nvcLoss / s);
        graph.setData(r, 4, (f.protection - f.nvcLoss - f.cost) / s);
    }
    graph.setStacked(false);
    graph.setShowLegend(true);
}

void frm62Graphs::resizeEvent(QResizeEvent* event)
{
    WorksheetForm::resizeEvent(event);
    ArrangeCharts();
}

// The height in 14 parts: 3 for the safety chart, 4 for the objectives, the rest for money.
void frm62Graphs::ArrangeCharts()
{
    const int formHeight = ui::PixelsToTwips(height());
    const int unit = (formHeight - 60) / 14;
    // A title takes the height its font needs, laid over the top edge of its chart's frame.
    const int titleHeight = std::max(180, ui::PixelsToTwips(Label1[0]->fontMetrics().height()));
    Place(mSafety, 720, 240, 10095, 3 * unit - 180);
    Place(Label1[0], 720, 60, 10095, titleHeight);
    Place(mCriteria, 720, 3 * unit + 240, 10095, 4 * unit - 180);
    Place(Label1[1], 720, 3 * unit + 60, 10095, titleHeight);
    Place(mCosts, 240, 7 * unit + 240, 11295, formHeight - (7 * unit + 240));
    Place(Label1[2], 240, 7 * unit + 60, 11295, titleHeight);
    for (QLabel* title : Label1)
        title->raise();
    Place(mEmpty, 720, 240, 10095, 1200);
}

} // namespace worksheets::comparison_complexity
