#pragma once

#include "platform/grid/gridmodel.h"

#include <QColor>
#include <QRect>
#include <QTableView>
#include <QVariant>

#include <set>

namespace grid {

class GridDelegate;
class GridEdit;

// The data grid of the worksheets. Rows and columns are numbered from 0 and the header
// (fixed) rows are rows of the grid: with one fixed row, row 0 is the header and rows 1 to
// rows() - 1 hold the data; the fixed rows and columns stay in view while the data scrolls.
// Sizes are in twips (1440 to the logical inch).
//
// Events are Qt signals. A handler that answers (cancel an edit, discard a character,
// swallow a key) does so through the reference argument of the signal; such signals must
// be connected directly (the default within the one user-interface thread). Handlers are
// connected through ui::Guarded: an error one meets while the program moves the current cell,
// starts or ends an edit (setRow, setCol, setCurrentCell, editCell, finishEdit) is thrown from
// that call; raised by the user's own mouse or keys, it is reported.
//
// Current cell. EnterCell and LeaveCell are raised on every change of the current cell,
// whether the user or the program makes it: leaveCell() while row()/col() still name the
// old cell, enterCell() once they name the new one. Setting the cell it already is raises
// nothing. A new grid has cell (0, 0) current (its header cell), and so has a grid whose
// rows come back after it had none. Changing the shape does not raise them:
// - a row inserted at or above the current row moves the current row down with its content;
// - removing a row above the current row moves it up with its content; removing the current
//   row makes the row that took its place current, or the new last row when it was the last;
// - with no data row left (clear(), setRows() below the current row), the last remaining row
//   is current (the header row), or -1 when the grid has no rows at all;
// - sorting keeps the current row's content current, at its new position.
// Mouse: a press on a data cell first makes it current, then mouseDown is raised; while
// the left button is held, moving over another data cell makes that one current before
// mouseMove is raised, so a bar drag that wanders into another cell stops updating; outside
// the cells the current cell stays, and positions past the bar's edges clamp. With
// setCurrentFollowsDrag(false) the pressed cell stays current for the whole drag, so a bar
// dragged past its edges reads 0 or 1 even where other cells lie. Positions are in twips
// from the top left of the cell area, as are cellLeft() and cellWidth().
//
// Editing. editCell() raises beforeEdit (which may cancel), then opens the editor on the
// current cell with its raw text selected. Each character typed is offered to keyPressEdit,
// which may change or discard it (code 0); a paste goes in as it is, within the editor's
// length, for the end of the edit to judge whole; every change of the editor's text
// raises changeEdit; each key release raises keyUpEdit. Enter, Tab, Up, Down, a click on
// another cell, a change of current cell or the focus leaving the grid ends the edit: the
// cell gets the editor's text, then afterEdit is raised. Escape closes the editor and leaves
// the cell as it was, then raises editCancelled instead of afterEdit. Shape changes and
// sorting end an edit in progress first. On an editable grid (setEditable) the user also
// starts edits: a printable character (which then goes through keyPressEdit), F2, Enter or
// a double click; a check box cell toggles on a click or Space, between beforeEdit (which
// may cancel) and afterEdit.
class Grid : public QTableView {
    Q_OBJECT
public:
    explicit Grid(QWidget* parent = nullptr);
    ~Grid() override;

    // --- shape
    int rows() const { return mModel->rows(); }
    int cols() const { return mModel->cols(); }
    void setRows(int n);
    void setCols(int n);
    int fixedRows() const { return mModel->fixedRows(); }
    int fixedCols() const { return mModel->fixedCols(); }
    void setFixedRows(int n);
    void setFixedCols(int n);
    // A column is never narrower than its widest figure (a cell whose text shows as a number):
    // a figure set, typed or newly formatted widens its column so that it shows whole, and a
    // width set below that is raised to it; a figure merged across a row's cells widens them
    // alike. Other text keeps the width it is given.
    int colWidth(int col) const;
    void setColWidth(int col, int twips);
    int rowHeight(int row) const;
    void setRowHeight(int row, int twips);                // 0 hides the row
    void setDefaultRowHeight(int twips);
    bool colHidden(int col) const;
    void setColHidden(int col, bool hidden);
    // Header texts of row 0, one per "|"-separated part; sets the column count and sizes each
    // column to its text. A part may start with "<", "^" or ">": left, centred, right column.
    void setFormatString(const QString& format);
    // Sizes the columns to their widest text.
    void autoSizeCols();
    // The column's text breaks into lines at word boundaries within the column's width.
    void setColWordWrap(int col, bool wrap);
    bool colWordWrap(int col) const;
    // Gives every shown data row the height its wrapped text needs, and at least minTwips; a
    // text merged across its row wraps within the merged cell's width.
    void autoSizeRows(int minTwips);

    // Appends a row (index -1) or inserts it before row index; its cells are the
    // tab-separated parts of text.
    void addItem(const QString& text, int index = -1);
    void removeItem(int row);
    // Back to the header rows.
    void clear();

    // --- content
    QString text(int row, int col) const;
    void setText(int row, int col, const QString& text);
    // The text as shown, after the column's format.
    QString displayText(int row, int col) const;
    // The number the cell's text stands for ("$1,000" is 1000, empty is 0); a checked box
    // reads -1, an unchecked one 0.
    double value(int row, int col) const;

    QVariant rowData(int row) const;
    void setRowData(int row, const QVariant& data);
    // Rows may hold model objects: the pointer is kept, never owned.
    template <class T> void setRowObject(int row, T* object) { setRowData(row, QVariant::fromValue(static_cast<void*>(object))); }
    template <class T> T* rowObject(int row) const { return static_cast<T*>(rowData(row).value<void*>()); }
    // First data row from startRow on whose data equals data; -1 when none.
    int findRow(const QVariant& data, int startRow = -1) const;
    template <class T> int findRowObject(const T* object) const { return findRow(QVariant::fromValue(static_cast<void*>(const_cast<T*>(object)))); }

    QString colFormat(int col) const;
    void setColFormat(int col, const QString& format);
    DataType colDataType(int col) const;
    void setColDataType(int col, DataType type);          // Boolean shows a check box
    void setColAlignment(int col, Qt::Alignment alignment);
    void setFixedAlignment(int col, Qt::Alignment alignment);   // header cells of the column
    // Range settings cover rows row1..row2 and columns col1..col2.
    void setCellAlignment(int row1, int col1, int row2, int col2, Qt::Alignment alignment);
    void setCellBackColor(int row1, int col1, int row2, int col2, const QColor& color);
    void setCellForeColor(int row1, int col1, int row2, int col2, const QColor& color);
    QColor cellBackColor(int row, int col) const;         // invalid when not set
    QColor cellForeColor(int row, int col) const;
    // A bar filling percent of the cell's width (painted clamped to 0 ... 100); below 0 none.
    void setCellFloodPercent(int row, int col, double percent);
    double cellFloodPercent(int row, int col) const;
    void setFloodColor(const QColor& color);
    bool cellChecked(int row, int col) const;
    void setCellChecked(int row, int col, bool checked);

    // Equal neighbouring texts merge into one cell: across a row whose merging is on, down a
    // column whose merging is on. Empty texts never merge, nor header cells with data cells.
    // A row's setting moves with the row when rows are inserted or removed above it, and goes
    // with it when it is removed.
    void setMergeRow(int row, bool merge);
    // headerOnly: only the column's header cells merge (one header over two header rows),
    // so equal amounts in its data cells stay cells of their own.
    void setMergeCol(int col, bool merge, bool headerOnly = false);
    // The rows and columns of the merged cell that holds (row, col): x = first column,
    // y = first row.
    QRect mergedRange(int row, int col) const;

    // --- current cell and view
    int row() const { return mRow; }
    int col() const { return mCol; }
    void setRow(int row);
    void setCol(int col);
    void setCurrentCell(int row, int col);
    int cellLeft() const;       // of the current cell, twips
    int cellTop() const;
    int cellWidth() const;
    int cellHeight() const;
    // Where x lies across the current cell, as a fraction 0 to 1 rounded to tenths: the
    // reading of a bar that is set by the mouse.
    double barFraction(double xTwips) const;
    void showCell(int row, int col);
    int topRow() const;
    void setTopRow(int row);
    // Off: changes are not painted (nor merges recomputed) until it is turned on again.
    void setRedraw(bool redraw);
    bool currentFollowsDrag() const { return mCurrentFollowsDrag; }
    void setCurrentFollowsDrag(bool follows) { mCurrentFollowsDrag = follows; }

    // --- editing
    void setEditable(bool editable) { mEditable = editable; }   // may the user start edits
    bool editable() const { return mEditable; }
    void editCell();
    bool isEditing() const;
    QString editText() const;
    void setEditText(const QString& text);
    int editMaxLength() const { return mEditMaxLength; }
    void setEditMaxLength(int length);                    // 0: no limit
    // Ends an edit in progress as Enter would.
    void finishEdit();

    void sortNumeric(int col);                           // data rows, ascending, stable

    GridModel* gridModel() const { return mModel; }

public slots:
    void cut();
    void copy();
    void paste();

signals:
    // Keys are Qt::Key values, shift the Qt::KeyboardModifiers as an int, code a character's
    // Unicode value; a mouse button is 1 left, 2 right, 4 middle (mouseMove: those held).
    void enterCell();
    void leaveCell();
    void click();
    void dblClick();
    void keyDown(int& key, int shift);                    // key 0: swallowed
    void beforeEdit(int row, int col, bool& cancel);
    void keyPressEdit(int row, int col, int& code);       // code 0: discarded
    void changeEdit();
    void keyUpEdit(int row, int col, int key, int shift);
    void afterEdit(int row, int col);
    void editCancelled(int row, int col);
    void mouseDown(int button, int shift, double x, double y);
    void mouseMove(int button, int shift, double x, double y);
    void mouseUp(int button, int shift, double x, double y);
    void lostFocus();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void updateGeometries() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public:
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

private:
    bool isDataCell(int row, int col) const;
    void moveCurrent(int row, int col);
    void shapeChanged(int newRow, int newCol);
    void syncDelegate();
    QRect cellRectPixels(int row, int col) const;
    void applyRowHeight(int row);
    // Widens the column to the cell's figure, or to the widest figure of the column; a figure
    // of a row that merges widens the columns it spans, once the row is filled.
    void fitFigure(int row, int col);
    void fitFigures(int col);
    void fitPendingFigures() const;
    // Pixels a column needs for the text when it is a figure, its grid line included; 0 else.
    int figureWidth(const QString& text) const;
    // The text's width as its characters' widths added up, not laid out.
    int estimatedWidth(const QString& text) const;
    // Widens the columns first to end - 1 alike until together they show that many pixels.
    void widenTo(int first, int end, int pixels);
    void markMergesDirty();
    void shiftMergeRows(int from, int by);
    void applyMerges() const;
    QRect computeMerge(int row, int col) const;
    bool startEdit(const QString* replaceWith);
    void commitEdit();
    void cancelEdit();
    void placeEditor();
    void toggleCheck();
    int buttonOf(Qt::MouseButtons buttons) const;
    // The cell under a point of the viewport; the header rows stay at the top.
    QModelIndex cellAt(const QPoint& pos) const;
    int headerHeight() const;
    int fixedWidth() const;
    QTableView* makeOverlay();
    QList<QTableView*> overlays() const { return {mTop, mLeft, mCorner}; }
    void placeOverlays();
    void attachOverlay(QTableView* view, bool needed);

    GridModel* mModel;
    GridDelegate* mDelegate;
    GridEdit* mEditor = nullptr;
    // The fixed rows, the fixed columns and their corner, kept in place over the scrolling cells.
    QTableView* mTop = nullptr;
    QTableView* mLeft = nullptr;
    QTableView* mCorner = nullptr;
    int mRow = 0;
    int mCol = 0;
    int mEditRow = -1;
    int mEditCol = -1;
    int mEditMaxLength = 0;
    bool mEditable = false;
    bool mSettingEditText = false;
    bool mRedraw = true;
    bool mCurrentFollowsDrag = true;
    int mDefaultRowHeightPx = 0;
    std::set<int> mMergeRows;
    std::set<int> mMergeCols;
    std::set<int> mMergeColsHeaderOnly;
    mutable bool mMergesDirty = false;
    mutable std::vector<QRect> mAppliedSpans;
    mutable bool mFiguresPending = false;
    mutable std::vector<qreal> mCharWidths;   // of the characters 0 to 127 in the grid's font
    Qt::MouseButtons mPressed;
};

} // namespace grid
