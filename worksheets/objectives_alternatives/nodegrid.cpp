#include "worksheets/objectives_alternatives/nodegrid.h"

#include "model/c41objective.h"
#include "platform/grid/grid.h"

#include <QColor>

#include <algorithm>

namespace worksheets {

void FillNodeRows(grid::Grid& grid, const QList<model::c41Objective*>& nodes, bool showsRoot, const NodeTest& isGroup,
                  int lastCol)
{
    static const QColor kGroupRowColor(192, 255, 192);
    const int first = showsRoot ? 0 : 1;
    grid.setRows(1);
    grid.setRows(1 + std::max(0, int(nodes.size()) - first));
    for (int i = first; i < nodes.size(); ++i) {
        model::c41Objective* node = nodes[i];
        const int row = 1 + i - first;
        const bool group = isGroup(*node);
        grid.setText(row, 0, NodeRowText(node->ItemName(), group));
        if (group)
            grid.setCellBackColor(row, 0, row, lastCol, kGroupRowColor);
        grid.setRowObject(row, node);
    }
}

QString NodeRowText(const QString& name, bool group) { return group ? name : QStringLiteral("    ") + name; }

model::c41Objective* NodeOfRow(const grid::Grid& grid, int row)
{
    return row >= grid.fixedRows() && row < grid.rows() ? grid.rowObject<model::c41Objective>(row) : nullptr;
}

} // namespace worksheets
