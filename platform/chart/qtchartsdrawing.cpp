// The chart module: bar charts drawn by Qt Charts.

#include "platform/chart/barchartdrawing.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QStackedBarSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QWidget>

#include <algorithm>

namespace chart {

namespace {

class QtChartsDrawing : public QWidget, public BarChartDrawing {
public:
    explicit QtChartsDrawing(QWidget* parent) : QWidget(parent)
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
        auto* view = new QChartView(mChart, this);
        view->setRenderHint(QPainter::Antialiasing);
        view->setFrameShape(QFrame::StyledPanel);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view);
    }

    QWidget* widget() override { return this; }

    // A new series in place of the old one. Its bar sets join it one by one once it is in the
    // chart, each with all its values, so that each takes the theme's colour for its place as it
    // always has.
    void setContent(const BarChartContent& content) override
    {
        if (mSeries) {
            mChart->removeSeries(mSeries);
            delete mSeries;
        }
        // The category axis keeps each text once: a label met again (two alternatives cut to
        // the same first characters, or two empty ones) is told apart by invisible zero-width
        // spaces, so every row keeps its own group of bars. The axis drops empty texts too.
        QStringList categories;
        for (const QString& label : content.rowLabels) {
            QString text = label.isEmpty() ? QString(QChar(0x200B)) : label;
            while (categories.contains(text))
                text += QChar(0x200B);
            categories.append(text);
        }
        if (mCategories->categories() != categories)
            mCategories->setCategories(categories);
        mSeries = content.stacked ? static_cast<QAbstractBarSeries*>(new QStackedBarSeries)
                                  : static_cast<QAbstractBarSeries*>(new QBarSeries);
        mChart->addSeries(mSeries);
        mSeries->attachAxis(mCategories);
        mSeries->attachAxis(mValues);
        for (int c = 0; c < content.columnLabels.size(); ++c) {
            auto* set = new QBarSet(content.columnLabels.at(c));
            set->append(content.cells.at(c));
            mSeries->append(set);
        }
    }

    void setValueRange(double low, double high, int ticks) override
    {
        mValues->setTickCount(ticks);
        mValues->setRange(low, high);
        mValues->applyNiceNumbers();
    }

    double axisMin() const override { return mValues->min(); }
    double axisMax() const override { return mValues->max(); }
    void setShowLegend(bool show) override { mChart->legend()->setVisible(show); }
    void setTitle(const QString& title) override { mChart->setTitle(title); }
    QChart* chart() const override { return mChart; }

private:
    QChart* mChart = nullptr;
    QAbstractBarSeries* mSeries = nullptr;
    QBarCategoryAxis* mCategories = nullptr;
    QValueAxis* mValues = nullptr;
};

} // namespace

} // namespace chart

extern "C" Q_DECL_EXPORT chart::BarChartDrawing* tolmar_make_bar_chart_drawing(QWidget* parent)
{
    return new chart::QtChartsDrawing(parent);
}
