#include "platform/chart/barchart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QStackedBarSeries>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace chart {

BarChart::BarChart(QWidget* parent) : QWidget(parent)
{
    mChart = new QChart;
    mChart->setAnimationOptions(QChart::NoAnimation);
    mChart->setMargins(QMargins(4, 4, 4, 4));
    mChart->setBackgroundRoundness(0);
    mChart->legend()->setAlignment(Qt::AlignRight);
    mChart->legend()->setVisible(false);
    mCategories = new QBarCategoryAxis;
    mValues = new QValueAxis;
    mValues->setLabelFormat(QStringLiteral("%g"));
    // Row labels a size smaller than the chart's other texts, so that more of each fits
    // under its group before the axis cuts it short.
    QFont small = mCategories->labelsFont();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() - 1));
    mCategories->setLabelsFont(small);
    mValues->setLabelsFont(small);
    mChart->addAxis(mCategories, Qt::AlignBottom);
    mChart->addAxis(mValues, Qt::AlignLeft);
    mView = new QChartView(mChart, this);
    mView->setRenderHint(QPainter::Antialiasing);
    mView->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mView);
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
    return row >= 1 && row <= mRowLabels.size() && column >= 1 && column <= mColumnLabels.size();
}

void BarChart::setRowCount(int rows)
{
    rows = std::max(0, rows);
    mRowLabels.resize(rows);
    for (QList<double>& column : mCells)
        column.resize(rows, 0.0);
    seriesChanged();
}

QString BarChart::rowLabel(int row) const
{
    return row >= 1 && row <= mRowLabels.size() ? mRowLabels.at(row - 1) : QString();
}

void BarChart::setRowLabel(int row, const QString& label)
{
    if (row < 1 || row > mRowLabels.size())
        return;
    mRowLabels[row - 1] = label;
    seriesChanged();
}

void BarChart::setColumnCount(int columns)
{
    columns = std::max(0, columns);
    mColumnLabels.resize(columns);
    mCells.resize(columns, QList<double>(mRowLabels.size(), 0.0));
    seriesChanged();
}

QString BarChart::columnLabel(int column) const
{
    return column >= 1 && column <= mColumnLabels.size() ? mColumnLabels.at(column - 1) : QString();
}

void BarChart::setColumnLabel(int column, const QString& label)
{
    if (column < 1 || column > mColumnLabels.size())
        return;
    mColumnLabels[column - 1] = label;
    seriesChanged();
}

double BarChart::data(int row, int column) const
{
    return isCell(row, column) ? mCells.at(column - 1).at(row - 1) : 0.0;
}

void BarChart::setData(int row, int column, double value)
{
    if (!isCell(row, column))
        return;
    mCells[column - 1][row - 1] = value;
    seriesChanged();
}

void BarChart::setStacked(bool stacked)
{
    if (stacked == mStacked)
        return;
    mStacked = stacked;
    seriesChanged();
}

void BarChart::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    axisChanged();
}

bool BarChart::showLegend() const { return mChart->legend()->isVisible(); }
void BarChart::setShowLegend(bool show) { mChart->legend()->setVisible(show); }
QString BarChart::title() const { return mChart->title(); }
void BarChart::setTitle(const QString& title) { mChart->setTitle(title); }
double BarChart::axisMin() const
{
    applyChanges();
    return mValues->min();
}

double BarChart::axisMax() const
{
    applyChanges();
    return mValues->max();
}

QChart* BarChart::chart() const
{
    applyChanges();
    return mChart;
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

// A new series in place of the old one. Its bar sets join it one by one once it is in the chart,
// each with all its values, so that each takes the theme's colour for its place as it always has.
void BarChart::applySeries() const
{
    mSeriesStale = false;
    if (mSeries) {
        mChart->removeSeries(mSeries);
        delete mSeries;
    }
    // The category axis keeps each text once: a label met again (two alternatives cut to the
    // same first characters, or two empty ones) is told apart by invisible zero-width spaces,
    // so every row keeps its own group of bars. The axis drops empty texts too.
    QStringList categories;
    for (const QString& label : mRowLabels) {
        QString text = label.isEmpty() ? QString(QChar(0x200B)) : label;
        while (categories.contains(text))
            text += QChar(0x200B);
        categories.append(text);
    }
    if (mCategories->categories() != categories)
        mCategories->setCategories(categories);
    mSeries = mStacked ? static_cast<QAbstractBarSeries*>(new QStackedBarSeries)
                       : static_cast<QAbstractBarSeries*>(new QBarSeries);
    mChart->addSeries(mSeries);
    mSeries->attachAxis(mCategories);
    mSeries->attachAxis(mValues);
    for (int c = 0; c < mColumnLabels.size(); ++c) {
        auto* set = new QBarSet(mColumnLabels.at(c));
        set->append(mCells.at(c));
        mSeries->append(set);
    }
}

// From 0 to the farthest bar on each side (stacked bars add up, the negative ones downwards),
// rounded out to tidy ticks.
void BarChart::applyValueAxis() const
{
    mAxisStale = false;
    double low = 0;
    double high = 0;
    for (int r = 0; r < mRowLabels.size(); ++r) {
        double below = 0;
        double above = 0;
        for (const QList<double>& column : mCells) {
            const double v = column.at(r);
            if (mStacked) {
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
    mValues->setTickCount(std::clamp(height() / 30, 2, 6));
    mValues->setRange(low, high);
    mValues->applyNiceNumbers();
}

} // namespace chart
