#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QStyledItemDelegate>

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

// Paints a cell as the worksheets set it: colours, bar, check box, formatted text and the
// frame of the current cell.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    GridDelegate(const GridModel* model, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    int currentRow = -1;
    int currentCol = -1;
    QColor floodColor = QColor(0, 96, 192);

private:
    const GridModel* mModel;
};

} // namespace grid
