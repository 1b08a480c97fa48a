#pragma once

#include <QColor>
#include <QStyledItemDelegate>

namespace grid {

class GridModel;

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
