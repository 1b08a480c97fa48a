#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QStyledItemDelegate>

class QFont;
class QFontMetrics;

namespace grid {

class GridModel;

// Where a cell's text is drawn: the cell less its inner margins. A wrapped text's leading
// blanks indent every one of its lines, not only the first, so an indented name that breaks
// stays under its own level.
struct CellText {
    QRect rect;
    QString text;
};
CellText LayOutCellText(const QFontMetrics& metrics, const QRect& cell, const QString& text, bool wrap);

// Pixels a column needs to show the text whole when it is a figure (a number as the display
// formats write it, or a percentage); 0 for any other text, which may be cut.
int FigureWidth(const QFontMetrics& metrics, const QString& text);

// A wrapped text with more lines than the room holds: the lines that fit, one to a line, the
// last ending in an ellipsis; empty when the text fits (or breaks its lines itself).
QString WrappedLines(const QFont& font, const QRect& room, const QString& text);

// Whether the text, laid out in the cell, shows whole.
bool CellTextFits(const QFontMetrics& metrics, const QRect& cell, const QString& text, bool wrap);

// Paints a cell as the worksheets set it: colours, bar, check box, formatted text and the
// frame of the current cell. A line of text wider than its cell (a long name in a column of set
// width) shows its beginning and its end with an ellipsis between; a wrapped text taller than
// its cell shows the lines that fit, the last ending in an ellipsis. Either way the whole text
// is the cell's tooltip.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    GridDelegate(const GridModel* model, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    int currentRow = -1;
    int currentCol = -1;
    QColor floodColor = QColor(0, 96, 192);

private:
    // The cell's text as painted, its line breaks made newlines; empty for a check box.
    QString shownText(int row, int col) const;

    const GridModel* mModel;
};

} // namespace grid
