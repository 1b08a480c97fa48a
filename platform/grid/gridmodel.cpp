#include "platform/grid/gridmodel.h"

#include "platform/grid/numberformat.h"

namespace grid {

GridModel::GridModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows(); }
int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols(); }

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !valid(index.row(), index.column()))
        return QVariant();
    const Cell& c = cell(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole: return displayText(index.row(), index.column());
    case Qt::EditRole: return c.text;
    case Qt::TextAlignmentRole: return QVariant::fromValue(alignment(index.row(), index.column()));
    case Qt::BackgroundRole: return c.back.isValid() ? QVariant(c.back) : QVariant();
    case Qt::ForegroundRole: return c.fore.isValid() ? QVariant(c.fore) : QVariant();
    default: return QVariant();
    }
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return isFixed(index.row(), index.column()) ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void GridModel::setRows(int n)
{
    n = std::max(0, n);
    const int old = rows();
    if (n > old) {
        beginInsertRows(QModelIndex(), old, n - 1);
        mRows.resize(size_t(n));
        for (int r = old; r < n; ++r)
            mRows[size_t(r)].cells.resize(mCols.size());
        endInsertRows();
    } else if (n < old) {
        beginRemoveRows(QModelIndex(), n, old - 1);
        mRows.resize(size_t(n));
        endRemoveRows();
    }
}

void GridModel::setCols(int n)
{
    n = std::max(0, n);
    const int old = cols();
    if (n > old) {
        beginInsertColumns(QModelIndex(), old, n - 1);
        mCols.resize(size_t(n));
        for (auto& r : mRows)
            r.cells.resize(size_t(n));
        endInsertColumns();
    } else if (n < old) {
        beginRemoveColumns(QModelIndex(), n, old - 1);
        mCols.resize(size_t(n));
        for (auto& r : mRows)
            r.cells.resize(size_t(n));
        endRemoveColumns();
    }
}

void GridModel::setText(int row, int col, const QString& text)
{
    Cell& c = cellRef(row, col);
    if (c.text == text)
        return;
    c.text = text;
    const QModelIndex i = index(row, col);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
}

QString GridModel::displayText(int row, int col) const
{
    const Cell& c = cell(row, col);
    const Column& column = mCols[size_t(col)];
    if (column.format.isEmpty() || row < mFixedRows || c.text.isEmpty() || !IsNumericText(c.text))
        return c.text;
    return FormatNumber(NumericValue(c.text), column.format);
}

Qt::Alignment GridModel::alignment(int row, int col) const
{
    const Cell& c = cell(row, col);
    if (c.alignment)
        return c.alignment;
    const Column& column = mCols[size_t(col)];
    if (row < mFixedRows && column.fixedAlignment)
        return column.fixedAlignment;
    if (column.alignment)
        return column.alignment;
    if (row >= mFixedRows && IsNumericText(c.text))
        return Qt::AlignRight | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

bool GridModel::isChecked(int row, int col) const
{
    const QString& t = cell(row, col).text;
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    return NumericValue(t) != 0.0;
}

void GridModel::insertRow(int at, const QStringList& texts)
{
    at = std::clamp(at, 0, rows());
    beginInsertRows(QModelIndex(), at, at);
    Row r;
    r.cells.resize(mCols.size());
    for (int c = 0; c < cols() && c < texts.size(); ++c)
        r.cells[size_t(c)].text = texts[c];
    mRows.insert(mRows.begin() + at, std::move(r));
    endInsertRows();
}

void GridModel::removeRowAt(int at)
{
    beginRemoveRows(QModelIndex(), at, at);
    mRows.erase(mRows.begin() + at);
    endRemoveRows();
}

void GridModel::reorderDataRows(const std::vector<int>& order)
{
    emit layoutAboutToBeChanged();
    std::vector<Row> moved;
    moved.reserve(order.size());
    for (int r : order)
        moved.push_back(std::move(mRows[size_t(r)]));
    for (size_t i = 0; i < moved.size(); ++i)
        mRows[size_t(mFixedRows) + i] = std::move(moved[i]);
    emit layoutChanged();
}

void GridModel::cellsChanged(int row1, int col1, int row2, int col2)
{
    if (rows() == 0 || cols() == 0)
        return;
    emit dataChanged(index(row1, col1), index(row2, col2));
}

} // namespace grid
