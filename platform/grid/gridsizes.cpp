#include "platform/grid/grid.h"

#include "platform/grid/grid_p.h"
#include "platform/grid/griddelegate.h"
#include "platform/ui/screen.h"
#include "platform/ui/showntext.h"

#include <QEvent>
#include <QHeaderView>

#include <algorithm>
#include <cmath>

namespace grid {

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
            // The view draws a cell one pixel narrower than its column where it draws the grid.
            int width = showGrid() ? -1 : 0;
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

} // namespace grid
