#include "platform/richtext/rtfreader_p.h"

#include "platform/richtext/units.h"

#include <algorithm>
#include <array>

namespace richtext::rtfread {

namespace {
// Qt's cost of adding a row grows with the table: longer tables go on in a new one.
constexpr int kMaxTableRows = 500;
constexpr int kRowsAhead = 64;   // rows a table is given at a time
} // namespace

bool Reader::tableWord(const QString& word, int param)
{
    ParaState& p = mState.para;
    if (word == u"intbl") {
        p.inTable = true;
    } else if (word == u"itap") {
        p.inTable = param > 0;
    } else if (word == u"trowd") {
        mCellDefs.clear();
        mNextCell = CellDef();
    } else if (word == u"clmgf") {
        mNextCell.mergeFirst = true;
    } else if (word == u"clmrg") {
        mNextCell.mergeNext = true;
    } else if (word == u"clvmgf") {
        mNextCell.vMergeFirst = true;
    } else if (word == u"clvmrg") {
        mNextCell.vMergeNext = true;
    } else if (word == u"cellx") {
        if (mCellDefs.size() < kMaxColumns) {
            // edges must grow: a damaged row keeps at least a twip per cell
            const int previous = mCellDefs.isEmpty() ? 0 : mCellDefs.last().x;
            mNextCell.x = qBound(previous + 1, param, 31680 + kMaxColumns);
            mCellDefs.append(mNextCell);
        }
        mNextCell = CellDef();
    } else if (word == u"cell") {
        p.inTable = true;
        // The cell mark after a nested table adds no empty paragraph of its own, and a cell
        // merged into its neighbour adds nothing to it.
        const bool empty = mBlockPending || !mParagraphHasContent;
        const bool merged = mTable && mCellOpen == false && continuesMergedCell(mCol) && mPending.isEmpty()
            && !mParagraphHasContent;
        if (merged && empty) {
            ensureRow();  // a row of merged cells only is a row all the same
        } else if (!(mAfterNestedCell && mBlockPending && mPending.isEmpty())) {
            ensureParagraph();
            finishParagraph();
        }
        mAfterNestedCell = false;
        ++mCol;
        mCellOpen = false;
        mBlockPending = false;
    } else if (word == u"row") {
        flushText();
        if (mTable && mRowHasCells) {
            ++mRow;
            mCol = 0;
            mCellOpen = false;
            mRowHasCells = false;
        }
    } else if (word == u"nestcell") {
        // A table inside a cell: its cells stand as paragraphs of the outer cell.
        ensureParagraph();
        finishParagraph();
        mBlockPending = true;
        mAfterNestedCell = true;
    } else {
        return false;
    }
    return true;
}

void Reader::startTable()
{
    QTextTableFormat f;
    f.setBorder(1);
    f.setCellPadding(3);
    f.setCellSpacing(0);
    f.setBorderCollapse(true);
    mEdges.clear();
    mMergedCells.clear();
    mFinishedMerges.clear();
    for (const CellDef& d : std::as_const(mCellDefs))
        mEdges.append(d.x);
    mColumns = qMax(1, int(mEdges.size()));
    QString key;
    const QList<QTextLength> widths = columnWidths(&key);
    if (!widths.isEmpty() && takeLayoutSet(mWidthSets, key))
        f.setColumnWidthConstraints(widths);
    mWidthsStale = false;
    // A paragraph ended just before: the table itself separates, so no empty block in between.
    mTable = mCursor.insertTable(1, mColumns, f);
    mRows = 1;
    mRow = 0;
    mCol = 0;
    beginRow();
    mCellOpen = false;
    enterCell();
}

int Reader::columnOfEdge(int x) const
{
    // the column whose right edge is nearest (the edges ascend)
    if (mEdges.isEmpty())
        return 0;
    const int above = int(std::lower_bound(mEdges.begin(), mEdges.end(), x) - mEdges.begin());
    if (above >= mEdges.size())
        return int(mEdges.size()) - 1;
    if (above > 0 && x - mEdges.at(above - 1) <= mEdges.at(above) - x)
        return above - 1;
    return above;
}

bool Reader::continuesMergedCell(int cell) const
{
    if (cell < 0 || cell >= mCellDefs.size())
        return false;
    return (mCellDefs.at(cell).mergeNext && cell > 0) || (mCellDefs.at(cell).vMergeNext && mRow > 0);
}

void Reader::merge(int row, int column, int rows, int columns)
{
    // Qt takes any rectangle on trust; a damaged file must not ask it for one that leaves the
    // table or cuts through a cell merged before.
    if (row < 0 || column < 0 || rows < 1 || columns < 1 || row + rows > mRows || column + columns > mColumns)
        return;
    for (int r = row; r < row + rows; ++r) {
        for (int c = column; c < column + columns; ++c) {
            const QTextTableCell cell = mTable->cellAt(r, c);
            if (cell.row() < row || cell.column() < column || cell.row() + cell.rowSpan() > row + rows
                || cell.column() + cell.columnSpan() > column + columns)
                return;
        }
    }
    mTable->mergeCells(row, column, rows, columns);
}

QList<QTextLength> Reader::columnWidths(QString* key) const
{
    QList<QTextLength> widths;
    int prev = 0;
    for (int x : std::as_const(mEdges)) {
        widths.append(QTextLength(QTextLength::FixedLength, TwipsToPixels(qMax(1, x - prev))));
        *key += QString::number(qMax(1, x - prev)) + u';';
        prev = x;
    }
    // Qt keeps one width a column and trusts the list to be that long when it inserts columns.
    while (!widths.isEmpty() && widths.size() < mColumns)
        widths.append(widths.last());
    return widths;
}

void Reader::setColumnWidths()
{
    mWidthsStale = false;
    QString key;
    const QList<QTextLength> widths = columnWidths(&key);
    if (!widths.isEmpty() && takeLayoutSet(mWidthSets, key)) {
        QTextTableFormat f = mTable->format();
        f.setColumnWidthConstraints(widths);
        mTable->setFormat(f);
    }
}

void Reader::beginRow()
{
    // Cells sit under the columns their right edges name: an edge the table has not seen
    // splits the column it falls in. Merges wait for the end of the table, when the columns
    // are known: Qt's tables do not take column changes across merged cells well.
    constexpr int kSlack = 20;  // twips: writers round edges
    for (const CellDef& d : std::as_const(mCellDefs)) {
        if (mEdges.size() >= kMaxColumns)
            break;
        int p = 0;
        while (p < mEdges.size() && mEdges.at(p) < d.x - kSlack)
            ++p;
        if (p < mEdges.size() && qAbs(mEdges.at(p) - d.x) <= kSlack)
            continue;
        mEdges.insert(p, d.x);
        mWidthsStale = true;
        if (mEdges.size() > mColumns) {
            mTable->insertColumns(qMin(p + 1, mColumns), 1);
            ++mColumns;
        }
    }
    if (mWidthsStale)
        setColumnWidths();

    // Cells that can no longer grow downwards are set aside: only those reaching the row
    // above can be joined. A later row may still split their columns.
    for (int m = 0; m < mMergedCells.size();) {
        if (mMergedCells.at(m).row + mMergedCells.at(m).rows >= mRow) {
            ++m;
            continue;
        }
        mFinishedMerges.append(mMergedCells.takeAt(m));
    }

    // Where each cell of the row starts, and the cells it makes with its merges.
    mRowCellColumn.clear();
    int left = 0;
    int previous = -1;  // the record the cell before belongs to
    for (int k = 0; k < mCellDefs.size(); ++k) {
        const CellDef& d = mCellDefs.at(k);
        mRowCellColumn.append(qMin(columnOfEdge(left) + (left > 0 ? 1 : 0), mColumns - 1));
        int joined = -1;
        if (d.vMergeNext && mRow > 0) {
            for (int m = 0; m < mMergedCells.size(); ++m) {
                MergedCell& above = mMergedCells[m];
                const int end = above.row + above.rows;
                // the cell above that holds this cell's middle
                const int twiceMiddle = left + d.x;
                if ((end == mRow || end == mRow + 1) && 2 * above.left < twiceMiddle && 2 * above.right > twiceMiddle) {
                    if (end == mRow)
                        ++above.rows;
                    above.right = qMax(above.right, d.x);
                    joined = m;
                    break;
                }
            }
        }
        if (joined < 0 && d.mergeNext && previous >= 0) {
            mMergedCells[previous].right = qMax(mMergedCells.at(previous).right, d.x);
            joined = previous;
        }
        if (joined < 0) {
            mMergedCells.append(MergedCell{mRow, 1, left, d.x});
            joined = int(mMergedCells.size()) - 1;
        }
        previous = joined;
        left = d.x;
    }
    mRowHasCells = true;
}

void Reader::applyMerges()
{
    QList<std::array<int, 4>> merges;  // row, column, rows, columns
    const auto collect = [&](const QList<MergedCell>& cells) {
        for (const MergedCell& m : cells) {
            const int first = m.left > 0 ? columnOfEdge(m.left) + 1 : 0;
            const int last = columnOfEdge(m.right);
            if (m.rows > 1 || last > first)
                merges.append({m.row, first, m.rows, last - first + 1});
        }
    };
    collect(mFinishedMerges);
    collect(mMergedCells);
    mMergedCells.clear();
    mFinishedMerges.clear();
    if (merges.isEmpty())
        return;
    // Qt's merge can hand a neighbouring cell's paragraph the format of a cell merged away:
    // the paragraphs of every cell get their own formats back afterwards.
    QList<QList<QTextBlockFormat>> formats(mRows * mColumns);
    for (int r = 0; r < mRows; ++r)
        for (int c = 0; c < mColumns; ++c)
            for (auto it = mTable->cellAt(r, c).begin(); !it.atEnd(); ++it)
                if (!it.currentFrame())
                    formats[r * mColumns + c].append(it.currentBlock().blockFormat());
    for (const auto& m : std::as_const(merges))
        merge(m[0], m[1], m[2], m[3]);
    for (int r = 0; r < mRows; ++r) {
        for (int c = 0; c < mColumns; ++c) {
            const QTextTableCell cell = mTable->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            const QList<QTextBlockFormat>& kept = formats.at(r * mColumns + c);
            int i = 0;
            for (auto it = cell.begin(); !it.atEnd() && i < kept.size(); ++it) {
                if (it.currentFrame())
                    continue;
                QTextCursor(it.currentBlock()).setBlockFormat(kept.at(i++));
            }
        }
    }
}

bool Reader::ensureRow()
{
    if (mRow < mRows)
        return false;
    if (mRows >= kMaxTableRows) {
        flushText();
        endTable();
        startTable();  // enters its first cell
        return true;
    }
    if (mRows >= mTable->rows())
        mTable->appendRows(qMin(kRowsAhead, kMaxTableRows - mRows));
    ++mRows;
    beginRow();
    return false;
}

void Reader::enterCell()
{
    if (ensureRow())
        return;
    int column = mCol < mRowCellColumn.size() ? mRowCellColumn.at(mCol) : mCol;
    if (column >= mColumns) {
        if (mColumns >= kMaxColumns) {
            column = mColumns - 1;
        } else {
            mTable->appendColumns(column - mColumns + 1);
            mColumns = column + 1;
        }
    }
    mRowHasCells = true;
    const QTextTableCell cell = mTable->cellAt(qMin(mRow, mRows - 1), column);
    mCursor = cell.lastCursorPosition();
    // Extra cells of a row wider than the table, and cells merged into another, add a paragraph.
    if (cell.firstPosition() != cell.lastPosition())
        mCursor.insertBlock();
    mCellOpen = true;
}

void Reader::dropRowsAhead()
{
    if (mTable->rows() > mRows)
        mTable->removeRows(mRows, mTable->rows() - mRows);
}

void Reader::endTable()
{
    dropRowsAhead();
    applyMerges();
    mCursor.setPosition(mTable->lastPosition() + 1);
    mTable = nullptr;
    mCellOpen = false;
}

} // namespace richtext::rtfread
