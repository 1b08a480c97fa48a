#include "platform/chart/barchart.h"

#include "platform/chart/chartmodule.h"

#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace chart {

BarChart::BarChart(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    mDrawing = MakeDrawing(this);
    if (mDrawing) {
        layout->addWidget(mDrawing->widget());
    } else {
        mMissing = new QLabel(ChartModuleFailure(), this);
        mMissing->setObjectName(QStringLiteral("lblChartMissing"));
        mMissing->setWordWrap(true);
        mMissing->setAlignment(Qt::AlignCenter);
        mMissing->setFrameShape(QFrame::StyledPanel);
        layout->addWidget(mMissing);
    }
    mSeriesStale = mAxisStale = true;
    applyChanges();
}

BarChart::~BarChart() = default;

void BarChart::clear()
{
    setColumnCount(0);
    setRowCount(0);
    setTitle(QString());
}

bool BarChart::isCell(int row, int column) const
{
    return row >= 1 && row <= mContent.rowLabels.size() && column >= 1 && column <= mContent.columnLabels.size();
}

void BarChart::setRowCount(int rows)
{
    rows = std::max(0, rows);
    mContent.rowLabels.resize(rows);
    for (QList<double>& column : mContent.cells)
        column.resize(rows, 0.0);
    seriesChanged();
}

QString BarChart::rowLabel(int row) const
{
    return row >= 1 && row <= mContent.rowLabels.size() ? mContent.rowLabels.at(row - 1) : QString();
}

void BarChart::setRowLabel(int row, const QString& label)
{
    if (row < 1 || row > mContent.rowLabels.size())
        return;
    mContent.rowLabels[row - 1] = label;
    seriesChanged();
}

void BarChart::setColumnCount(int columns)
{
    columns = std::max(0, columns);
    mContent.columnLabels.resize(columns);
    mContent.cells.resize(columns, QList<double>(mContent.rowLabels.size(), 0.0));
    seriesChanged();
}

QString BarChart::columnLabel(int column) const
{
    return column >= 1 && column <= mContent.columnLabels.size() ? mContent.columnLabels.at(column - 1) : QString();
}

void BarChart::setColumnLabel(int column, const QString& label)
{
    if (column < 1 || column > mContent.columnLabels.size())
        return;
    mContent.columnLabels[column - 1] = label;
    seriesChanged();
}

double BarChart::data(int row, int column) const
{
    return isCell(row, column) ? mContent.cells.at(column - 1).at(row - 1) : 0.0;
}

void BarChart::setData(int row, int column, double value)
{
    if (!isCell(row, column))
        return;
    mContent.cells[column - 1][row - 1] = value;
    seriesChanged();
}

void BarChart::setStacked(bool stacked)
{
    if (stacked == mContent.stacked)
        return;
    mContent.stacked = stacked;
    seriesChanged();
}

void BarChart::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    axisChanged();
}

void BarChart::setShowLegend(bool show)
{
    mShowLegend = show;
    if (mDrawing)
        mDrawing->setShowLegend(show);
}

void BarChart::setTitle(const QString& title)
{
    mTitle = title;
    if (mDrawing)
        mDrawing->setTitle(title);
}

double BarChart::axisMin() const
{
    applyChanges();
    return mDrawing ? mDrawing->axisMin() : 0.0;
}

double BarChart::axisMax() const
{
    applyChanges();
    return mDrawing ? mDrawing->axisMax() : 0.0;
}

QChart* BarChart::chart() const
{
    applyChanges();
    return mDrawing ? mDrawing->chart() : nullptr;
}

// Qt Charts lays a shown chart's axes out again on every change of their categories or range,
// and a chart filled cell by cell would be laid out once a cell: the changes are kept here and
// handed over together, once the caller is done.
void BarChart::seriesChanged()
{
    mSeriesStale = true;
    axisChanged();
}

void BarChart::axisChanged()
{
    mAxisStale = true;
    if (mQueued)
        return;
    mQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            mQueued = false;
            applyChanges();
        },
        Qt::QueuedConnection);
}

void BarChart::applyChanges() const
{
    if (mSeriesStale)
        applySeries();
    if (mAxisStale)
        applyValueAxis();
}

void BarChart::applySeries() const
{
    mSeriesStale = false;
    if (mDrawing)
        mDrawing->setContent(mContent);
}

// From 0 to the farthest bar on each side (stacked bars add up, the negative ones downwards),
// rounded out to tidy ticks.
void BarChart::applyValueAxis() const
{
    mAxisStale = false;
    if (!mDrawing)
        return;
    double low = 0;
    double high = 0;
    for (int r = 0; r < mContent.rowLabels.size(); ++r) {
        double below = 0;
        double above = 0;
        for (const QList<double>& column : mContent.cells) {
            const double v = column.at(r);
            if (mContent.stacked) {
                (v < 0 ? below : above) += v;
            } else {
                below = std::min(below, v);
                above = std::max(above, v);
            }
        }
        low = std::min(low, below);
        high = std::max(high, above);
    }
    if (low == high)
        high = low + 1;
    // As many ticks as the height has room for (a label every 30 pixels or so), so that a
    // short chart keeps its scale readable.
    mDrawing->setValueRange(low, high, std::clamp(height() / 30, 2, 6));
}

} // namespace chart
