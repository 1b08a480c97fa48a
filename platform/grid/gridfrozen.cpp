#include "platform/grid/grid.h"

#include "platform/grid/griddelegate.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace grid {

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

} // namespace grid
