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
    attachSeries();
    updateValueAxis();
}

BarChart::~BarChart() = default;

void BarChart::attachSeries()
{
    QAbstractBarSeries* series = mStacked ? static_cast<QAbstractBarSeries*>(new QStackedBarSeries)
                                          : static_cast<QAbstractBarSeries*>(new QBarSeries);
    for (QBarSet* s : mSets)
        series->append(s);
    mChart->addSeries(series);
    series->attachAxis(mCategories);
    series->attachAxis(mValues);
    mSeries = series;
}

void BarChart::clear()
{
    setColumnCount(0);
    setRowCount(0);
    setTitle(QString());
}

QBarSet* BarChart::set(int column) const
{
    return column >= 1 && column <= mSets.size() ? mSets.at(column - 1) : nullptr;
}

void BarChart::setRowCount(int rows)
{
    rows = std::max(0, rows);
    while (mRowLabels.size() > rows)
        mRowLabels.removeLast();
    while (mRowLabels.size() < rows)
        mRowLabels.append(QString());
    for (QBarSet* s : mSets) {
        if (s->count() > rows)
            s->remove(rows, s->count() - rows);
        while (s->count() < rows)
            s->append(0.0);
    }
    updateCategories();
    updateValueAxis();
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
    updateCategories();
}

// The category axis keeps each text once: a label met again (two alternatives cut to the
// same first characters, or two empty ones) is told apart by invisible zero-width spaces,
// so every row keeps its own group of bars. The axis drops empty texts too.
void BarChart::updateCategories()
{
    QStringList categories;
    for (const QString& label : mRowLabels) {
        QString text = label.isEmpty() ? QString(QChar(0x200B)) : label;
        while (categories.contains(text))
            text += QChar(0x200B);
        categories.append(text);
    }
    mCategories->setCategories(categories);
}

void BarChart::setColumnCount(int columns)
{
    columns = std::max(0, columns);
    while (mSets.size() > columns) {
        QBarSet* s = mSets.takeLast();
        mSeries->remove(s);   // deletes it
    }
    while (mSets.size() < columns) {
        auto* s = new QBarSet(QString());
        for (int r = 0; r < mRowLabels.size(); ++r)
            s->append(0.0);
        mSets.append(s);
        mSeries->append(s);
    }
    updateValueAxis();
}

QString BarChart::columnLabel(int column) const
{
    const QBarSet* s = set(column);
    return s ? s->label() : QString();
}

void BarChart::setColumnLabel(int column, const QString& label)
{
    if (QBarSet* s = set(column))
        s->setLabel(label);
}

double BarChart::data(int row, int column) const
{
    const QBarSet* s = set(column);
    return s && row >= 1 && row <= s->count() ? s->at(row - 1) : 0.0;
}

void BarChart::setData(int row, int column, double value)
{
    QBarSet* s = set(column);
    if (!s || row < 1 || row > s->count())
        return;
    s->replace(row - 1, value);
    updateValueAxis();
}

void BarChart::setStacked(bool stacked)
{
    if (stacked == mStacked)
        return;
    mStacked = stacked;
    // A taken set still has the old series as its parent, which would delete it.
    for (QBarSet* s : mSets) {
        mSeries->take(s);
        s->setParent(nullptr);
    }
    mChart->removeSeries(mSeries);
    delete mSeries;
    mSeries = nullptr;
    attachSeries();
    updateValueAxis();
}

void BarChart::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    updateValueAxis();
}

bool BarChart::showLegend() const { return mChart->legend()->isVisible(); }
void BarChart::setShowLegend(bool show) { mChart->legend()->setVisible(show); }
QString BarChart::title() const { return mChart->title(); }
void BarChart::setTitle(const QString& title) { mChart->setTitle(title); }
double BarChart::axisMin() const { return mValues->min(); }
double BarChart::axisMax() const { return mValues->max(); }

// From 0 to the farthest bar on each side (stacked bars add up, the negative ones downwards),
// rounded out to tidy ticks.
void BarChart::updateValueAxis()
{
    double low = 0;
    double high = 0;
    for (int r = 0; r < mRowLabels.size(); ++r) {
        double below = 0;
        double above = 0;
        for (const QBarSet* s : mSets) {
            const double v = s->at(r);
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
