#include "platform/grid/grid.h"

#include <map>
#include <vector>

namespace grid {

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

} // namespace grid
