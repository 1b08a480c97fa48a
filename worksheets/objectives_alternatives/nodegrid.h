#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace grid {
class Grid;
}
namespace model {
class c41Objective;
}

namespace worksheets {

// The rows of the objectives and safety grids: one row per node of a tree, in tree order,
// its node as the row data. A group node (the safety root, a category) shows its name in
// light green across the row; a member's name is indented below it.
using NodeTest = std::function<bool(const model::c41Objective&)>;

// The grid's data rows become the nodes, the first (the tree's root) left out unless
// showsRoot; lastCol is the last column a group row's colour spans.
void FillNodeRows(grid::Grid& grid, const QList<model::c41Objective*>& nodes, bool showsRoot, const NodeTest& isGroup,
                  int lastCol);
// The name cell's text of a node's row.
QString NodeRowText(const QString& name, bool group);
// The node of a data row; null for the header and outside the rows.
model::c41Objective* NodeOfRow(const grid::Grid& grid, int row);

} // namespace worksheets
