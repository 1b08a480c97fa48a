#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QString>
#include <QVariant>

#include <vector>

namespace grid {

enum class DataType { Default, String, Boolean, Integer, Long, Single, Double, Currency, Date };

struct Cell {
    QString text;               // raw text, as set or typed; formats apply only on screen
    QColor back;                // invalid: the region's default
    QColor fore;
    double flood = -1.0;        // bar percentage; below 0: no bar
    Qt::Alignment alignment;    // empty: the column's (or header's) alignment
};

struct Column {
    int widthTwips = -1;        // -1: default width
    Qt::Alignment alignment;    // empty: numbers right, text left
    Qt::Alignment fixedAlignment;
    QString format;
    DataType type = DataType::Default;
    bool hidden = false;
    bool wordWrap = false;      // text breaks into lines at word boundaries within the width
};

struct Row {
    std::vector<Cell> cells;
    QVariant data;
    int heightTwips = -1;       // -1: default height; 0: hidden
};

// The cells of a grid: every row, the header rows included, as one table. The grid widget
// is its only writer; views read it through the usual roles.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int rows() const { return int(mRows.size()); }
    int cols() const { return int(mCols.size()); }
    void setRows(int n);
    void setCols(int n);
    int fixedRows() const { return mFixedRows; }
    int fixedCols() const { return mFixedCols; }
    void setFixedRows(int n) { mFixedRows = n; }
    void setFixedCols(int n) { mFixedCols = n; }
    bool isFixed(int row, int col) const { return row < mFixedRows || col < mFixedCols; }

    bool valid(int row, int col) const { return row >= 0 && row < rows() && col >= 0 && col < cols(); }
    const Cell& cell(int row, int col) const { return mRows[size_t(row)].cells[size_t(col)]; }
    Cell& cellRef(int row, int col) { return mRows[size_t(row)].cells[size_t(col)]; }
    const Row& row(int r) const { return mRows[size_t(r)]; }
    Row& rowRef(int r) { return mRows[size_t(r)]; }
    const Column& column(int c) const { return mCols[size_t(c)]; }
    Column& columnRef(int c) { return mCols[size_t(c)]; }

    void setText(int row, int col, const QString& text);
    // The text as painted: the column format applied to numeric text.
    QString displayText(int row, int col) const;
    Qt::Alignment alignment(int row, int col) const;
    bool isChecked(int row, int col) const;

    void insertRow(int at, const QStringList& texts);
    void removeRowAt(int at);
    // Moves the data rows into the given order (a permutation of the data row numbers).
    void reorderDataRows(const std::vector<int>& order);
    void cellsChanged(int row1, int col1, int row2, int col2);

private:
    std::vector<Row> mRows;
    std::vector<Column> mCols;
    int mFixedRows = 1;
    int mFixedCols = 0;
};

} // namespace grid
