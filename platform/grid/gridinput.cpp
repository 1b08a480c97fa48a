#include "platform/grid/grid.h"

#include "platform/grid/grid_p.h"
#include "platform/grid/gridedit.h"
#include "platform/ui/guard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

namespace grid {

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
