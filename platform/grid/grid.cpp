#include "platform/grid/grid.h"

#include "platform/grid/griddelegate.h"
#include "platform/grid/gridedit.h"
#include "platform/grid/numberformat.h"
#include "platform/ui/guard.h"
#include "platform/ui/screen.h"
#include "platform/ui/showntext.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

namespace grid {

namespace {

constexpr int kDefaultColTwips = 960;

QStringList SplitTabs(const QString& text) { return text.split('\t'); }

int twipsToPixels(int twips) { return ui::TwipsToPixels(twips); }
double pixelsToTwips(double pixels) { return pixels / ui::PixelsPerTwip(); }

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

QTableView* Grid::makeOverlay()
{
    auto* v = new QTableView(this);
    v->setItemDelegate(mDelegate);
    v->horizontalHeader()->hide();
    v->verticalHeader()->hide();
    v->horizontalHeader()->setMinimumSectionSize(0);
    v->verticalHeader()->setMinimumSectionSize(0);
    v->horizontalHeader()->setDefaultSectionSize(horizontalHeader()->defaultSectionSize());
    v->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    v->setSelectionMode(QAbstractItemView::NoSelection);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setFocusPolicy(Qt::NoFocus);
    v->setFrameShape(QFrame::NoFrame);
    v->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    v->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    v->setWordWrap(false);
    v->viewport()->setMouseTracking(true);
    v->viewport()->installEventFilter(this);
    v->hide();
    return v;
}

Grid::~Grid()
{
    // A form being unloaded hears nothing more from its grid, an open edit included.
    if (mEditor)
        mEditor->disconnect(this);
    mEditRow = mEditCol = -1;
    blockSignals(true);
}

// ---------------------------------------------------------------- helpers



bool Grid::inFixedRange(int row, int col) const { return mModel->isFixed(row, col); }

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

int Grid::headerHeight() const
{
    int height = 0;
    for (int r = 0; r < std::min(fixedRows(), rows()); ++r)
        if (!isRowHidden(r))
            height += QTableView::rowHeight(r);
    return height;
}

int Grid::fixedWidth() const
{
    int width = 0;
    for (int c = 0; c < std::min(fixedCols(), cols()); ++c)
        if (!isColumnHidden(c))
            width += columnWidth(c);
    return width;
}

void Grid::attachOverlay(QTableView* v, bool needed)
{
    // An overlay follows the model only while it is shown, so it costs nothing otherwise.
    // A view keeps its spans across a change of model: an overlay starts each use without any.
    if (!needed) {
        if (v->model()) {
            v->clearSpans();
            v->setModel(nullptr);
            v->hide();
        }
        return;
    }
    if (v->model())
        return;
    v->setModel(mModel);
    v->clearSpans();
    for (int c = 0; c < cols(); ++c) {
        v->setColumnHidden(c, isColumnHidden(c));
        v->setColumnWidth(c, columnWidth(c));
    }
    for (int r = 0; r < rows(); ++r) {
        if (isRowHidden(r))
            v->setRowHidden(r, true);
        else if (QTableView::rowHeight(r) != mDefaultRowHeightPx)
            v->setRowHeight(r, QTableView::rowHeight(r));
    }
    for (const QRect& span : mAppliedSpans)
        v->setSpan(span.y(), span.x(), span.height(), span.width());
}

void Grid::placeOverlays()
{
    if (!mCorner)
        return;
    attachOverlay(mTop, fixedRows() > 0);
    attachOverlay(mLeft, fixedCols() > 0);
    attachOverlay(mCorner, fixedRows() > 0 && fixedCols() > 0);
    const QRect port = viewport()->geometry();
    const int height = std::min(headerHeight(), port.height());
    const int width = std::min(fixedWidth(), port.width());
    auto place = [](QTableView* v, bool shown, const QRect& r) {
        if (!shown || !v->model()) {
            v->hide();
            return;
        }
        v->setGeometry(r);
        v->show();
        v->raise();
    };
    place(mLeft, width > 0, QRect(port.x(), port.y(), width, port.height()));
    mLeft->horizontalScrollBar()->setValue(0);
    mLeft->verticalScrollBar()->setRange(verticalScrollBar()->minimum(), verticalScrollBar()->maximum());
    mLeft->verticalScrollBar()->setValue(verticalScrollBar()->value());
    place(mTop, height > 0, QRect(port.x(), port.y(), port.width(), height));
    mTop->verticalScrollBar()->setValue(0);
    mTop->horizontalScrollBar()->setRange(horizontalScrollBar()->minimum(), horizontalScrollBar()->maximum());
    mTop->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
    place(mCorner, width > 0 && height > 0, QRect(port.x(), port.y(), width, height));
    mCorner->horizontalScrollBar()->setValue(0);
    mCorner->verticalScrollBar()->setValue(0);
}

QModelIndex Grid::cellAt(const QPoint& pos) const
{
    if (mCorner->isVisible() && mCorner->geometry().contains(pos + viewport()->pos()))
        return mCorner->indexAt(pos);
    if (mTop->isVisible() && pos.y() < mTop->height())
        return mTop->indexAt(pos);
    if (mLeft->isVisible() && pos.x() < mLeft->width())
        return mLeft->indexAt(pos);
    return indexAt(pos);
}

void Grid::updateGeometries()
{
    fitPendingFigures();
    QTableView::updateGeometries();
    placeOverlays();
}

void Grid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    QTableView::scrollTo(index, hint);
    if (!index.isValid() || index.row() < fixedRows())
        return;
    // A data cell must not end up under the fixed rows or columns.
    const QRect rect = visualRect(index);
    const int header = mTop->isVisible() ? mTop->height() : 0;
    if (rect.top() < header)
        verticalScrollBar()->setValue(verticalScrollBar()->value() - (header - rect.top()));
    const int left = mLeft->isVisible() ? mLeft->width() : 0;
    if (index.column() >= fixedCols() && rect.left() < left)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - (left - rect.left()));
}

bool Grid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != mTop->viewport() && watched != mLeft->viewport() && watched != mCorner->viewport())
        return QTableView::eventFilter(watched, event);
    // A fixed cell never becomes current; the mouse events are the grid's all the same.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::MouseButtonDblClick: {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPointF pos = e->position();
        QMouseEvent forwarded(e->type(), pos, e->globalPosition(), e->button(), e->buttons(), e->modifiers());
        switch (event->type()) {
        case QEvent::MouseButtonPress: mousePressEvent(&forwarded); break;
        case QEvent::MouseButtonRelease: mouseReleaseEvent(&forwarded); break;
        case QEvent::MouseMove: mouseMoveEvent(&forwarded); break;
        default: mouseDoubleClickEvent(&forwarded); break;
        }
        return true;
    }
    case QEvent::Wheel:
        QApplication::sendEvent(viewport(), event);
        return true;
    default:
        return false;
    }
}

QRect Grid::cellRectPixels(int row, int col) const
{
    if (!mModel->valid(row, col))
        return QRect();
    const_cast<Grid*>(this)->applyMerges();
    return visualRect(mModel->index(row, col));
}

// ---------------------------------------------------------------- shape

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

int Grid::colWidth(int col) const
{
    if (col < 0 || col >= cols())
        return 0;
    fitPendingFigures();
    const int twips = mModel->column(col).widthTwips;
    return twips >= 0 ? twips : int(std::lround(pixelsToTwips(columnWidth(col))));
}

void Grid::setColWidth(int col, int twips)
{
    if (col < 0 || col >= cols())
        return;
    mModel->columnRef(col).widthTwips = std::max(0, twips);
    setColumnWidth(col, twipsToPixels(std::max(0, twips)));
    fitFigures(col);
}

void Grid::fitFigure(int row, int col)
{
    if (mModel->column(col).type == DataType::Boolean && !mModel->isFixed(row, col))
        return;   // a check box
    if (mMergeRows.count(row)) {
        // Whether it spans its neighbours is known once the row is filled.
        mFiguresPending = true;
        return;
    }
    // Most texts fit their column by far, their characters' widths added up: they need not be
    // laid out to know it.
    const QString text = mModel->displayText(row, col);
    if (estimatedWidth(text) + 8 <= twipsToPixels(colWidth(col)))
        return;
    widenTo(col, col + 1, figureWidth(text));
}

int Grid::estimatedWidth(const QString& text) const
{
    if (mCharWidths.empty()) {
        const QFontMetricsF metrics(font());
        mCharWidths.resize(128);
        for (int c = 32; c < 128; ++c)
            mCharWidths[size_t(c)] = metrics.horizontalAdvance(QChar(c));
    }
    qreal width = 0;
    for (const QChar ch : text) {
        if (ch.unicode() < 32 || ch.unicode() >= 128)
            return 1 << 20;   // beyond the table: measured as it is laid out
        width += mCharWidths[ch.unicode()];
    }
    return int(std::ceil(width));
}

void Grid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        mCharWidths.clear();
}

void Grid::fitFigures(int col)
{
    for (int r = 0; r < rows(); ++r)
        fitFigure(r, col);
}

int Grid::figureWidth(const QString& text) const
{
    const int need = FigureWidth(fontMetrics(), text);
    // A cell is painted inside the grid line at its right.
    return need > 0 && showGrid() ? need + 1 : need;
}

void Grid::widenTo(int first, int end, int pixels)
{
    int shown = 0;
    int visible = 0;
    for (int c = first; c < end; ++c)
        if (!colHidden(c)) {
            shown += twipsToPixels(colWidth(c));
            ++visible;
        }
    if (pixels <= shown || visible == 0)
        return;
    // The columns a figure spans grow alike.
    const int more = (pixels - shown + visible - 1) / visible;
    for (int c = first; c < end; ++c) {
        if (colHidden(c))
            continue;
        mModel->columnRef(c).widthTwips = int(std::ceil(pixelsToTwips(twipsToPixels(colWidth(c)) + more)));
        setColumnWidth(c, twipsToPixels(mModel->column(c).widthTwips));
    }
}

void Grid::fitPendingFigures() const
{
    if (!mFiguresPending)
        return;
    mFiguresPending = false;
    Grid* self = const_cast<Grid*>(this);
    for (int r : mMergeRows) {
        if (r >= rows())
            continue;
        // The runs of equal text that merge, as the painted row shows them.
        for (int c = 0; c < cols();) {
            const QString& t = mModel->cell(r, c).text;
            int e = c + 1;
            if (!t.isEmpty() && !colHidden(c))
                while (e < cols() && !colHidden(e) && (e < fixedCols()) == (c < fixedCols()) && mModel->cell(r, e).text == t)
                    ++e;
            if (!(mModel->column(c).type == DataType::Boolean && !mModel->isFixed(r, c)))
                self->widenTo(c, e, figureWidth(mModel->displayText(r, c)));
            c = e;
        }
    }
}

int Grid::rowHeight(int row) const
{
    if (row < 0 || row >= rows())
        return 0;
    const int twips = mModel->row(row).heightTwips;
    return twips >= 0 ? twips : int(std::lround(pixelsToTwips(mDefaultRowHeightPx)));
}

void Grid::setRowHeight(int row, int twips)
{
    if (row < 0 || row >= rows())
        return;
    mModel->rowRef(row).heightTwips = std::max(0, twips);
    applyRowHeight(row);
}

void Grid::applyRowHeight(int row)
{
    const int twips = mModel->row(row).heightTwips;
    const int px = twips < 0 ? mDefaultRowHeightPx : twipsToPixels(twips);
    setRowHidden(row, twips == 0);
    if (twips != 0)
        QTableView::setRowHeight(row, px);
    for (QTableView* v : overlays()) {
        if (!v->model())
            continue;
        v->setRowHidden(row, twips == 0);
        if (twips != 0)
            v->setRowHeight(row, px);
    }
    if (row < fixedRows())
        placeOverlays();
}

void Grid::setDefaultRowHeight(int twips)
{
    mDefaultRowHeightPx = std::max(1, twipsToPixels(twips));
    verticalHeader()->setDefaultSectionSize(mDefaultRowHeightPx);
    for (QTableView* v : overlays())
        v->verticalHeader()->setDefaultSectionSize(mDefaultRowHeightPx);
    for (int r = 0; r < rows(); ++r)
        applyRowHeight(r);
}

bool Grid::colHidden(int col) const { return col >= 0 && col < cols() && mModel->column(col).hidden; }

void Grid::setColHidden(int col, bool hidden)
{
    if (col < 0 || col >= cols())
        return;
    mModel->columnRef(col).hidden = hidden;
    setColumnHidden(col, hidden);
    for (QTableView* v : overlays())
        if (v->model())
            v->setColumnHidden(col, hidden);
    placeOverlays();
    markMergesDirty();
}

void Grid::setFormatString(const QString& format)
{
    const QStringList parts = format.split('|');
    setCols(int(parts.size()));
    if (rows() == 0)
        setRows(1);
    for (int c = 0; c < parts.size(); ++c) {
        QString text = parts[c];
        if (!text.isEmpty() && (text[0] == '<' || text[0] == '^' || text[0] == '>')) {
            const QChar a = text[0];
            text.remove(0, 1);
            setColAlignment(c, (a == '<' ? Qt::AlignLeft : a == '^' ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter);
        }
        setText(0, c, text);
        setColWidth(c, int(std::lround(pixelsToTwips(fontMetrics().horizontalAdvance(text) + 8))));
    }
}

void Grid::autoSizeCols()
{
    for (int c = 0; c < cols(); ++c) {
        int widest = 0;
        for (int r = 0; r < rows(); ++r) {
            QString text = displayText(r, c);
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            text.replace('\r', '\n');
            for (const QString& line : text.split('\n'))
                widest = std::max(widest, fontMetrics().horizontalAdvance(line));
        }
        setColWidth(c, int(std::lround(pixelsToTwips(widest + 10))));
    }
}

void Grid::setColWordWrap(int col, bool wrap)
{
    if (col < 0 || col >= cols())
        return;
    mModel->columnRef(col).wordWrap = wrap;
    mModel->cellsChanged(0, col, rows() - 1, col);
}

bool Grid::colWordWrap(int col) const { return col >= 0 && col < cols() && mModel->column(col).wordWrap; }

void Grid::autoSizeRows(int minTwips)
{
    const int minPx = twipsToPixels(std::max(0, minTwips));
    for (int r = fixedRows(); r < rows(); ++r) {
        if (mModel->row(r).heightTwips == 0)
            continue;
        int needed = mDefaultRowHeightPx;
        for (int c = 0; c < cols(); ++c) {
            const QString text = displayText(r, c);
            if (!mModel->column(c).wordWrap || text.isEmpty())
                continue;
            // The same inner rectangle as the painter's: a text merged across the row is
            // laid out over all of its cells.
            const QRect merged = mergedRange(r, c);
            if (merged.x() != c)
                continue;
            int width = 0;
            for (int m = c; m < c + (merged.height() == 1 ? merged.width() : 1); ++m)
                width += isColumnHidden(m) ? 0 : columnWidth(m);
            // A row grows no taller than the screen, however long its text.
            const int screen = ui::TwipsToPixels(ui::ScreenHeightTwips());
            const QSize area(std::max(7, width), screen > 0 ? screen : 1024);
            const CellText laid = LayOutCellText(fontMetrics(), QRect(QPoint(0, 0), area), ui::ShownText(text, fontMetrics(), area), true);
            needed = std::max(needed, std::min(area.height(), fontMetrics().boundingRect(laid.rect, Qt::TextWordWrap, laid.text).height() + 6));
        }
        setRowHeight(r, int(std::lround(pixelsToTwips(std::max(minPx, needed)))));
    }
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

// ---------------------------------------------------------------- content

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

// ---------------------------------------------------------------- merging

void Grid::setMergeRow(int row, bool merge)
{
    mFiguresPending = true;
    if (merge)
        mMergeRows.insert(row);
    else
        mMergeRows.erase(row);
    markMergesDirty();
    if (!merge && row >= 0 && row < rows())
        for (int c = 0; c < cols(); ++c)
            fitFigure(row, c);
}

void Grid::setMergeCol(int col, bool merge, bool headerOnly)
{
    if (merge)
        mMergeCols.insert(col);
    else
        mMergeCols.erase(col);
    if (merge && headerOnly)
        mMergeColsHeaderOnly.insert(col);
    else
        mMergeColsHeaderOnly.erase(col);
    markMergesDirty();
}

void Grid::shiftMergeRows(int from, int by)
{
    std::set<int> shifted;
    for (int r : mMergeRows)
        shifted.insert(r >= from ? r + by : r);
    mMergeRows = std::move(shifted);
}

void Grid::markMergesDirty()
{
    if (mMergesDirty || (mMergeRows.empty() && mMergeCols.empty() && mAppliedSpans.empty()))
        return;
    mMergesDirty = true;
    if (mRedraw)
        QMetaObject::invokeMethod(this, [this] { applyMerges(); }, Qt::QueuedConnection);
}

void Grid::applyMerges() const
{
    if (!mMergesDirty)
        return;
    mMergesDirty = false;
    Grid* self = const_cast<Grid*>(this);
    if (!mAppliedSpans.empty()) {
        self->clearSpans();
        for (QTableView* v : overlays())
            if (v->model())
                v->clearSpans();
    }
    mAppliedSpans.clear();

    const int nRows = rows();
    const int nCols = cols();
    const int fRows = fixedRows();
    const int fCols = fixedCols();
    std::map<int, std::vector<std::pair<int, int>>> across;   // row -> merged column runs

    for (int r : mMergeRows) {
        if (r < 0 || r >= nRows)
            continue;
        int c = 0;
        while (c < nCols) {
            const QString& t = mModel->cell(r, c).text;
            int e = c + 1;
            if (!t.isEmpty() && !colHidden(c)) {
                while (e < nCols && !colHidden(e) && (e < fCols) == (c < fCols) && mModel->cell(r, e).text == t)
                    ++e;
            }
            if (e - c > 1) {
                self->setSpan(r, c, 1, e - c);
                for (QTableView* v : overlays())
                    if (v->model())
                        v->setSpan(r, c, 1, e - c);
                mAppliedSpans.push_back(QRect(c, r, e - c, 1));
                across[r].push_back({c, e - 1});
            }
            c = e;
        }
    }
    auto coveredAcross = [&](int r, int c) {
        auto it = across.find(r);
        if (it == across.end())
            return false;
        for (const auto& run : it->second)
            if (c >= run.first && c <= run.second)
                return true;
        return false;
    };
    for (int c : mMergeCols) {
        if (c < 0 || c >= nCols || colHidden(c))
            continue;
        const int lastRow = mMergeColsHeaderOnly.count(c) ? std::min(nRows, fRows) : nRows;
        int r = 0;
        while (r < lastRow) {
            const QString& t = mModel->cell(r, c).text;
            int e = r + 1;
            if (!t.isEmpty() && !coveredAcross(r, c)) {
                while (e < lastRow && (e < fRows) == (r < fRows) && !coveredAcross(e, c) && mModel->cell(e, c).text == t)
                    ++e;
            }
            if (e - r > 1) {
                self->setSpan(r, c, e - r, 1);
                for (QTableView* v : overlays())
                    if (v->model())
                        v->setSpan(r, c, e - r, 1);
                mAppliedSpans.push_back(QRect(c, r, 1, e - r));
            }
            r = e;
        }
    }
    self->viewport()->update();
    for (QTableView* v : overlays())
        v->viewport()->update();
}

QRect Grid::mergedRange(int row, int col) const
{
    applyMerges();
    for (const QRect& span : mAppliedSpans)
        if (span.contains(col, row))
            return span;
    return QRect(col, row, 1, 1);
}

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

// ---------------------------------------------------------------- current cell and view

void Grid::moveCurrent(int row, int col)
{
    if (!mModel->valid(row, col))
        return;
    finishEdit();
    // The after-edit handler may have changed the shape.
    if (!mModel->valid(row, col) || (row == mRow && col == mCol))
        return;
    if (mRow >= 0 && mCol >= 0) {
        emit leaveCell();
        // A leave handler that removed rows or columns leaves the nearest cell to enter.
        if (!mModel->valid(row, col)) {
            if (rows() == 0 || cols() == 0) {
                shapeChanged(-1, -1);
                return;
            }
            row = std::clamp(row, 0, rows() - 1);
            col = std::clamp(col, 0, cols() - 1);
        }
    }
    mRow = row;
    mCol = col;
    syncDelegate();
    emit enterCell();
}

void Grid::setRow(int row) { setCurrentCell(row, mCol < 0 ? 0 : mCol); }
void Grid::setCol(int col) { setCurrentCell(mRow < 0 ? 0 : mRow, col); }
void Grid::setCurrentCell(int row, int col)
{
    ui::CallThroughQt([&] { moveCurrent(row, col); });
}

int Grid::cellLeft() const { return int(std::lround(pixelsToTwips(cellRectPixels(mRow, mCol).left()))); }
int Grid::cellTop() const { return int(std::lround(pixelsToTwips(cellRectPixels(mRow, mCol).top()))); }
int Grid::cellWidth() const { return int(std::lround(pixelsToTwips(cellRectPixels(mRow, mCol).width()))); }
int Grid::cellHeight() const { return int(std::lround(pixelsToTwips(cellRectPixels(mRow, mCol).height()))); }

double Grid::barFraction(double xTwips) const
{
    const int left = cellLeft();
    const int width = cellWidth();
    if (width <= 0)
        return 0.0;
    float f = float(xTwips - left) / float(width);
    f = std::clamp(f, 0.0f, 1.0f);
    // One decimal, as the bar's reading is shown; the float is widened first, so 0.45 reads 0.4.
    return std::round(double(f) * 10.0) / 10.0;
}

void Grid::showCell(int row, int col)
{
    if (!mModel->valid(row, col))
        return;
    // Rows just added may not be laid out yet, and the scroll range must know them.
    executeDelayedItemsLayout();
    updateGeometries();
    scrollTo(mModel->index(row, col), QAbstractItemView::EnsureVisible);
}

int Grid::topRow() const
{
    const int r = rowAt(0);
    return r < 0 ? 0 : r;
}

void Grid::setTopRow(int row)
{
    if (row < 0 || row >= rows())
        return;
    executeDelayedItemsLayout();
    updateGeometries();
    scrollTo(mModel->index(row, std::max(0, mCol)), QAbstractItemView::PositionAtTop);
}

// ---------------------------------------------------------------- editing

bool Grid::isEditing() const { return mEditRow >= 0; }

QString Grid::editText() const { return isEditing() ? mEditor->text() : text(mRow, mCol); }

void Grid::setEditText(const QString& text)
{
    if (!isEditing())
        return;
    mSettingEditText = true;
    mEditor->setText(text);
    mSettingEditText = false;
}

void Grid::setEditMaxLength(int length)
{
    mEditMaxLength = std::max(0, length);
    if (mEditor)
        mEditor->limit = mEditMaxLength;
}

void Grid::editCell()
{
    ui::CallThroughQt([this] { startEdit(nullptr); });
}

bool Grid::startEdit(const QString* replaceWith)
{
    if (isEditing())
        return true;
    if (!isDataCell(mRow, mCol) || mModel->column(mCol).type == DataType::Boolean)
        return false;
    bool cancel = false;
    emit beforeEdit(mRow, mCol, cancel);
    if (cancel || !isDataCell(mRow, mCol))
        return false;

    if (!mEditor) {
        mEditor = new GridEdit(viewport());
        mEditor->hide();
        mEditor->filter = [this](int& code) { emit keyPressEdit(mEditRow, mEditCol, code); };
        connect(mEditor, &QLineEdit::textChanged, this, [this] {
            if (!mSettingEditText && isEditing())
                emit changeEdit();
        });
        connect(mEditor, &GridEdit::cancelRequested, this, &Grid::cancelEdit);
        connect(mEditor, &GridEdit::keyReleased, this, [this](int key, int shift) {
            if (isEditing())
                emit keyUpEdit(mEditRow, mEditCol, key, shift);
        });
        connect(mEditor, &GridEdit::commitRequested, this, [this](int key) {
            commitEdit();
            int r = mRow;
            int c = mCol;
            if (key == Qt::Key_Up)
                --r;
            else if (key == Qt::Key_Down)
                ++r;
            else if (key == Qt::Key_Tab)
                ++c;
            else if (key == Qt::Key_Backtab)
                --c;
            if (isDataCell(r, c)) {
                moveCurrent(r, c);
                showCell(r, c);
            }
        });
        connect(mEditor, &GridEdit::focusLost, this, [this] {
            if (!isEditing())
                return;
            commitEdit();
            if (QApplication::focusWidget() != this)
                emit lostFocus();
        });
    }
    mEditRow = mRow;
    mEditCol = mCol;
    mSettingEditText = true;
    mEditor->setText(text(mRow, mCol));
    mEditor->limit = mEditMaxLength;
    mSettingEditText = false;
    mEditor->setAlignment(mModel->alignment(mRow, mCol));
    mEditor->setFont(font());
    mEditor->selectAll();
    placeEditor();
    mEditor->show();
    mEditor->setFocus(Qt::OtherFocusReason);
    if (replaceWith)
        mEditor->insertFiltered(*replaceWith);
    return true;
}

void Grid::placeEditor()
{
    if (!isEditing())
        return;
    mEditor->setGeometry(cellRectPixels(mEditRow, mEditCol).adjusted(1, 1, -1, -1));
}

void Grid::commitEdit()
{
    if (!isEditing())
        return;
    const int r = mEditRow;
    const int c = mEditCol;
    const QString typed = mEditor->text();
    mEditRow = mEditCol = -1;
    if (mEditor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    mEditor->hide();
    setText(r, c, typed);
    emit afterEdit(r, c);
}

void Grid::cancelEdit()
{
    if (!isEditing())
        return;
    const int r = mEditRow;
    const int c = mEditCol;
    mEditRow = mEditCol = -1;
    if (mEditor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    mEditor->hide();
    emit editCancelled(r, c);
}

void Grid::finishEdit()
{
    ui::CallThroughQt([this] { commitEdit(); });
}

void Grid::toggleCheck()
{
    if (!isDataCell(mRow, mCol) || mModel->column(mCol).type != DataType::Boolean)
        return;
    bool cancel = false;
    emit beforeEdit(mRow, mCol, cancel);
    if (cancel || !isDataCell(mRow, mCol))
        return;
    const int r = mRow;
    const int c = mCol;
    setCellChecked(r, c, !cellChecked(r, c));
    emit afterEdit(r, c);
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

// ---------------------------------------------------------------- clipboard

void Grid::copy()
{
    if (isEditing()) {
        mEditor->copy();
        return;
    }
    if (mModel->valid(mRow, mCol))
        QApplication::clipboard()->setText(text(mRow, mCol));
}

void Grid::cut()
{
    if (isEditing()) {
        mEditor->cut();
        return;
    }
    const QString was = text(mRow, mCol);
    if (!startEdit(nullptr))
        return;
    QApplication::clipboard()->setText(was);
    mEditor->selectAll();
    mEditor->del();
    commitEdit();
}

void Grid::paste()
{
    const QString clip = QApplication::clipboard()->text();
    if (isEditing()) {
        mEditor->insertPasted(clip);
        return;
    }
    if (!startEdit(nullptr))
        return;
    mEditor->insertPasted(clip);
    commitEdit();
}

// ---------------------------------------------------------------- events

void Grid::keyPressEvent(QKeyEvent* event)
{
    int key = event->key();
    const int shift = int(event->modifiers());
    emit keyDown(key, shift);
    if (key == 0)
        return;

    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        cut();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        paste();
        return;
    }

    int r = mRow;
    int c = mCol;
    const int page = std::max(1, viewport()->height() / std::max(1, mDefaultRowHeightPx) - 1);
    auto step = [&](int dr, int dc, int count) {
        // From a header cell the first move goes into the data.
        if (r < fixedRows())
            r = fixedRows() - 1;
        if (c < fixedCols())
            c = fixedCols() - 1;
        int rr = r;
        int cc = c;
        while (count-- > 0) {
            int nr = rr + dr;
            int nc = cc + dc;
            // Hidden rows and columns are stepped over in the direction of the move only: a
            // current cell that was hidden under it still moves sideways.
            while (dr != 0 && nr >= fixedRows() && nr < rows() && isRowHidden(nr))
                nr += dr;
            while (dc != 0 && nc >= fixedCols() && nc < cols() && isColumnHidden(nc))
                nc += dc;
            if (nr < fixedRows() || nr >= rows() || nc < fixedCols() || nc >= cols())
                break;
            rr = nr;
            cc = nc;
        }
        r = rr;
        c = cc;
    };
    switch (key) {
    case Qt::Key_Up: step(-1, 0, 1); break;
    case Qt::Key_Down: step(1, 0, 1); break;
    case Qt::Key_Left: step(0, -1, 1); break;
    case Qt::Key_Right: step(0, 1, 1); break;
    case Qt::Key_PageUp: step(-1, 0, page); break;
    case Qt::Key_PageDown: step(1, 0, page); break;
    case Qt::Key_Home: step(0, -1, cols()); break;
    case Qt::Key_End: step(0, 1, cols()); break;
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (mEditable)
            startEdit(nullptr);
        return;
    case Qt::Key_Space:
        if (mEditable && isDataCell(mRow, mCol) && mModel->column(mCol).type == DataType::Boolean) {
            toggleCheck();
            return;
        }
        [[fallthrough]];
    default: {
        const QString typed = event->text();
        if (mEditable && typed.size() == 1 && typed[0].isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            startEdit(&typed);
            return;
        }
        QWidget::keyPressEvent(event);
        return;
    }
    }
    if (isDataCell(r, c) && (r != mRow || c != mCol)) {
        moveCurrent(r, c);
        showCell(r, c);
    }
}

int Grid::buttonOf(Qt::MouseButtons buttons) const
{
    int b = 0;
    if (buttons & Qt::LeftButton)
        b |= 1;
    if (buttons & Qt::RightButton)
        b |= 2;
    if (buttons & Qt::MiddleButton)
        b |= 4;
    return b;
}

void Grid::mousePressEvent(QMouseEvent* event)
{
    applyMerges();
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);   // ends an edit in progress in another cell
    finishEdit();
    const QPoint pos = event->position().toPoint();
    const QModelIndex index = cellAt(pos);
    mPressed = event->buttons();
    if (event->button() == Qt::LeftButton && index.isValid() && isDataCell(index.row(), index.column()))
        moveCurrent(index.row(), index.column());
    emit mouseDown(buttonOf(event->button()), int(event->modifiers()), pixelsToTwips(pos.x()), pixelsToTwips(pos.y()));
    if (event->button() == Qt::LeftButton && mEditable && index.isValid() && index.row() == mRow && index.column() == mCol)
        toggleCheck();
}

void Grid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (mCurrentFollowsDrag && (event->buttons() & Qt::LeftButton) && (mPressed & Qt::LeftButton)) {
        const QModelIndex index = cellAt(pos);
        if (index.isValid() && isDataCell(index.row(), index.column()) && viewport()->rect().contains(pos))
            moveCurrent(index.row(), index.column());
    }
    emit mouseMove(buttonOf(event->buttons()), int(event->modifiers()), pixelsToTwips(pos.x()), pixelsToTwips(pos.y()));
}

void Grid::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    mPressed = event->buttons();
    emit mouseUp(buttonOf(event->button()), int(event->modifiers()), pixelsToTwips(pos.x()), pixelsToTwips(pos.y()));
    if (event->button() == Qt::LeftButton)
        emit click();
}

void Grid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = cellAt(event->position().toPoint());
    emit dblClick();
    if (mEditable && index.isValid() && index.row() == mRow && index.column() == mCol)
        startEdit(nullptr);
}

void Grid::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    if (mEditor && QApplication::focusWidget() == mEditor)
        return;
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit lostFocus();
}

void Grid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    placeEditor();
}

void Grid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    placeEditor();
}

} // namespace grid
