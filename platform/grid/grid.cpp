#include "platform/grid/grid.h"

#include "platform/grid/grid_p.h"
#include "platform/grid/griddelegate.h"
#include "platform/grid/gridedit.h"
#include "platform/grid/numberformat.h"

#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace grid {

namespace {

constexpr int kDefaultColTwips = 960;

QStringList SplitTabs(const QString& text) { return text.split('\t'); }

} // namespace

Grid::Grid(QWidget* parent)
    : QTableView(parent)
    , mModel(new GridModel(this))
    , mDelegate(new GridDelegate(mModel, this))
{
    setModel(mModel);
    setItemDelegate(mDelegate);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setDefaultSectionSize(twipsToPixels(kDefaultColTwips));
    mDefaultRowHeightPx = fontMetrics().height() + 4;
    verticalHeader()->setDefaultSectionSize(mDefaultRowHeightPx);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    mLeft = makeOverlay();
    mTop = makeOverlay();
    mCorner = makeOverlay();
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        for (QTableView* v : overlays())
            if (v->model())
                v->setColumnWidth(col, size);
        placeOverlays();
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, mTop->horizontalScrollBar(), &QScrollBar::setValue);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, mLeft->verticalScrollBar(), &QScrollBar::setValue);

    mModel->setCols(2);
    mModel->setRows(1);
    syncDelegate();
    placeOverlays();
}

Grid::~Grid()
{
    // A form being unloaded hears nothing more from its grid, an open edit included.
    if (mEditor)
        mEditor->disconnect(this);
    mEditRow = mEditCol = -1;
    blockSignals(true);
}

bool Grid::isDataCell(int row, int col) const
{
    return mModel->valid(row, col) && !mModel->isFixed(row, col) && !isRowHidden(row) && !isColumnHidden(col);
}

void Grid::syncDelegate()
{
    mDelegate->currentRow = mRow;
    mDelegate->currentCol = mCol;
    viewport()->update();
}

QRect Grid::cellRectPixels(int row, int col) const
{
    if (!mModel->valid(row, col))
        return QRect();
    const_cast<Grid*>(this)->applyMerges();
    return visualRect(mModel->index(row, col));
}

void Grid::shapeChanged(int newRow, int newCol)
{
    if (rows() == 0 || cols() == 0) {
        newRow = -1;
        newCol = -1;
    } else {
        newRow = newRow < 0 ? 0 : std::min(newRow, rows() - 1);
        newCol = newCol < 0 ? 0 : std::min(newCol, cols() - 1);
    }
    mRow = newRow;
    mCol = newCol;
    syncDelegate();
    markMergesDirty();
}

void Grid::setRows(int n)
{
    finishEdit();
    mModel->setRows(n);   // new rows come with the default height
    mMergeRows.erase(mMergeRows.lower_bound(rows()), mMergeRows.end());
    shapeChanged(mRow, mCol);
}

void Grid::setCols(int n)
{
    finishEdit();
    const int before = cols();
    mModel->setCols(n);
    for (int c = before; c < cols(); ++c)
        setColumnWidth(c, twipsToPixels(kDefaultColTwips));
    mMergeCols.erase(mMergeCols.lower_bound(cols()), mMergeCols.end());
    mMergeColsHeaderOnly.erase(mMergeColsHeaderOnly.lower_bound(cols()), mMergeColsHeaderOnly.end());
    shapeChanged(mRow, mCol);
}

void Grid::setFixedRows(int n)
{
    mModel->setFixedRows(std::max(0, n));
    markMergesDirty();
    placeOverlays();
    viewport()->update();
}

void Grid::setFixedCols(int n)
{
    mModel->setFixedCols(std::max(0, n));
    markMergesDirty();
    placeOverlays();
    viewport()->update();
}

void Grid::addItem(const QString& text, int index)
{
    finishEdit();
    const int at = index < 0 || index > rows() ? rows() : index;
    const bool hadCell = mRow >= 0;
    mModel->insertRow(at, SplitTabs(text));
    for (int c = 0; c < cols(); ++c)
        fitFigure(at, c);
    shiftMergeRows(at, +1);
    int newRow = mRow;
    if (hadCell && at <= mRow)
        ++newRow;
    shapeChanged(newRow, mCol);
}

void Grid::removeItem(int row)
{
    finishEdit();
    // Checked after the edit ends: its after-edit handler may have changed the rows.
    if (row < 0 || row >= rows())
        return;
    int newRow = mRow;
    if (row < mRow)
        --newRow;
    mModel->removeRowAt(row);
    mMergeRows.erase(row);
    shiftMergeRows(row + 1, -1);
    shapeChanged(newRow, mCol);
}

void Grid::clear()
{
    setRows(fixedRows());
}

void Grid::sortNumeric(int col)
{
    finishEdit();
    if (col < 0 || col >= cols() || rows() <= fixedRows())
        return;
    std::vector<int> order(static_cast<size_t>(rows() - fixedRows()));
    std::iota(order.begin(), order.end(), fixedRows());
    std::vector<double> keys(static_cast<size_t>(rows()));
    for (int r = fixedRows(); r < rows(); ++r)
        keys[size_t(r)] = value(r, col);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
    int newRow = mRow;
    std::set<int> mergeRows;
    for (int r : mMergeRows)
        if (r < fixedRows())
            mergeRows.insert(r);
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] == mRow)
            newRow = fixedRows() + int(i);
        if (mMergeRows.count(order[i]))
            mergeRows.insert(fixedRows() + int(i));
    }
    mMergeRows = std::move(mergeRows);
    mModel->reorderDataRows(order);
    for (int r = fixedRows(); r < rows(); ++r)
        applyRowHeight(r);
    shapeChanged(newRow, mCol);
}

QString Grid::text(int row, int col) const
{
    return mModel->valid(row, col) ? mModel->cell(row, col).text : QString();
}

void Grid::setText(int row, int col, const QString& text)
{
    if (!mModel->valid(row, col))
        return;
    mModel->setText(row, col, text);
    fitFigure(row, col);
    if (mMergeRows.count(row) || mMergeCols.count(col))
        markMergesDirty();
}

QString Grid::displayText(int row, int col) const
{
    return mModel->valid(row, col) ? mModel->displayText(row, col) : QString();
}

double Grid::value(int row, int col) const
{
    if (!mModel->valid(row, col))
        return 0.0;
    if (mModel->column(col).type == DataType::Boolean && !mModel->isFixed(row, col))
        return mModel->isChecked(row, col) ? -1.0 : 0.0;
    return NumericValue(mModel->cell(row, col).text);
}

QVariant Grid::rowData(int row) const
{
    return row >= 0 && row < rows() ? mModel->row(row).data : QVariant();
}

void Grid::setRowData(int row, const QVariant& data)
{
    if (row >= 0 && row < rows())
        mModel->rowRef(row).data = data;
}

int Grid::findRow(const QVariant& data, int startRow) const
{
    for (int r = startRow < 0 ? fixedRows() : startRow; r < rows(); ++r)
        if (mModel->row(r).data == data)
            return r;
    return -1;
}

QString Grid::colFormat(int col) const { return col >= 0 && col < cols() ? mModel->column(col).format : QString(); }

void Grid::setColFormat(int col, const QString& format)
{
    if (col < 0 || col >= cols())
        return;
    mModel->columnRef(col).format = format;
    mModel->cellsChanged(0, col, rows() - 1, col);
    fitFigures(col);
}

DataType Grid::colDataType(int col) const { return col >= 0 && col < cols() ? mModel->column(col).type : DataType::Default; }

void Grid::setColDataType(int col, DataType type)
{
    if (col < 0 || col >= cols())
        return;
    mModel->columnRef(col).type = type;
    mModel->cellsChanged(0, col, rows() - 1, col);
}

void Grid::setColAlignment(int col, Qt::Alignment alignment)
{
    if (col < 0 || col >= cols())
        return;
    mModel->columnRef(col).alignment = alignment;
    mModel->cellsChanged(0, col, rows() - 1, col);
}

void Grid::setFixedAlignment(int col, Qt::Alignment alignment)
{
    if (col < 0 || col >= cols())
        return;
    mModel->columnRef(col).fixedAlignment = alignment;
    mModel->cellsChanged(0, col, rows() - 1, col);
}

namespace {

template <class F>
void ForRange(GridModel* model, int row1, int col1, int row2, int col2, F f)
{
    if (row1 > row2)
        std::swap(row1, row2);
    if (col1 > col2)
        std::swap(col1, col2);
    // A range that lies wholly outside the grid (row -1 of a grid without rows) sets nothing.
    row1 = std::max(0, row1);
    row2 = std::min(model->rows() - 1, row2);
    col1 = std::max(0, col1);
    col2 = std::min(model->cols() - 1, col2);
    if (row1 > row2 || col1 > col2)
        return;
    for (int r = row1; r <= row2; ++r)
        for (int c = col1; c <= col2; ++c)
            f(model->cellRef(r, c));
    model->cellsChanged(row1, col1, row2, col2);
}

} // namespace

void Grid::setCellAlignment(int row1, int col1, int row2, int col2, Qt::Alignment alignment)
{
    ForRange(mModel, row1, col1, row2, col2, [&](Cell& c) { c.alignment = alignment; });
}

void Grid::setCellBackColor(int row1, int col1, int row2, int col2, const QColor& color)
{
    ForRange(mModel, row1, col1, row2, col2, [&](Cell& c) { c.back = color; });
}

void Grid::setCellForeColor(int row1, int col1, int row2, int col2, const QColor& color)
{
    ForRange(mModel, row1, col1, row2, col2, [&](Cell& c) { c.fore = color; });
}

QColor Grid::cellBackColor(int row, int col) const { return mModel->valid(row, col) ? mModel->cell(row, col).back : QColor(); }
QColor Grid::cellForeColor(int row, int col) const { return mModel->valid(row, col) ? mModel->cell(row, col).fore : QColor(); }

void Grid::setCellFloodPercent(int row, int col, double percent)
{
    if (std::isnan(percent))
        percent = 0.0;
    ForRange(mModel, row, col, row, col, [&](Cell& c) { c.flood = percent; });
}

double Grid::cellFloodPercent(int row, int col) const
{
    return mModel->valid(row, col) ? mModel->cell(row, col).flood : -1.0;
}

void Grid::setFloodColor(const QColor& color)
{
    mDelegate->floodColor = color;
    viewport()->update();
}

bool Grid::cellChecked(int row, int col) const { return mModel->valid(row, col) && mModel->isChecked(row, col); }

void Grid::setCellChecked(int row, int col, bool checked) { setText(row, col, checked ? QStringLiteral("-1") : QStringLiteral("0")); }

void Grid::paintEvent(QPaintEvent* event)
{
    fitPendingFigures();
    applyMerges();
    QTableView::paintEvent(event);
}

void Grid::setRedraw(bool redraw)
{
    mRedraw = redraw;
    setUpdatesEnabled(redraw);
    if (redraw) {
        applyMerges();
        viewport()->update();
    }
}

} // namespace grid
