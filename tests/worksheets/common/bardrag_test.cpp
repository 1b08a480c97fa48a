#include "worksheets/common/bardrag.h"

#include "platform/grid/grid.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace {

// A grid whose column 1 holds bars; row 2 is a group row that takes no bar.
class BarDragTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.resize(500, 200);
        grid.setCols(3);
        grid.setRows(4);
        for (int c = 0; c < 3; ++c)
            grid.setColWidth(c, 1440);
        grid.show();
        QApplication::processEvents();
        drag.canDrag = [](int row) { return row != 2; };
        drag.set = [this](int row, double f) { sets << QString("%1:%2").arg(row).arg(f); };
    }

    QPoint at(int row, int col, double fraction) const
    {
        const QRect r = grid.visualRect(grid.gridModel()->index(row, col));
        return QPoint(r.left() + int(std::lround(fraction * r.width())), r.center().y());
    }
    void send(QEvent::Type type, QPoint pos, Qt::MouseButtons held)
    {
        QMouseEvent e(type, pos, grid.viewport()->mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      held, Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &e);
    }

    grid::Grid grid;
    worksheets::BarDrag drag{grid, 1};
    QStringList sets;
};

} // namespace

TEST_F(BarDragTest, PressAndDragSetTheBarOfThePressedRowOnly)
{
    send(QEvent::MouseButtonPress, at(1, 1, 0.44), Qt::LeftButton);
    send(QEvent::MouseMove, at(1, 1, 0.46), Qt::LeftButton);
    send(QEvent::MouseMove, at(1, 2, 1.5), Qt::LeftButton);      // right of every cell: full
    send(QEvent::MouseMove, at(1, 1, 0.7), Qt::NoButton);        // no button held: nothing
    send(QEvent::MouseMove, at(1, 1, 0.2), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, at(1, 1, 0.2), Qt::NoButton);
    send(QEvent::MouseMove, at(1, 1, 0.9), Qt::LeftButton);      // after the release: nothing
    EXPECT_EQ(sets, QStringList({"1:0.4", "1:0.5", "1:1", "1:0.2"}));
    EXPECT_EQ(drag.dragRow(), 0);
}

TEST_F(BarDragTest, GroupRowsOtherColumnsAndTheReleaseRule)
{
    send(QEvent::MouseButtonPress, at(2, 1, 0.5), Qt::LeftButton);   // group row
    send(QEvent::MouseMove, at(2, 1, 0.8), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, at(2, 1, 0.8), Qt::NoButton);
    send(QEvent::MouseButtonPress, at(3, 2, 0.5), Qt::LeftButton);   // not the bar column
    send(QEvent::MouseButtonRelease, at(3, 2, 0.5), Qt::NoButton);
    EXPECT_TRUE(sets.isEmpty());

    drag.setOnRelease = true;
    send(QEvent::MouseButtonPress, at(3, 1, 0), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, at(3, 1, 0.67), Qt::NoButton);
    EXPECT_EQ(sets, QStringList({"3:0", "3:0.7"}));
}

// Leaving the bar while pressed clamps to the nearer end, even where other cells lie (the
// drag used to stop at the value it had when it crossed into another cell); over another row
// the reading follows the pointer across the bar.
TEST_F(BarDragTest, PastEitherEndOverOtherCellsTheBarClampsToThatEnd)
{
    send(QEvent::MouseButtonPress, at(1, 1, 0.5), Qt::LeftButton);
    send(QEvent::MouseMove, at(1, 0, 0.5), Qt::LeftButton);      // over the cell on the left
    send(QEvent::MouseMove, at(3, 2, 0.5), Qt::LeftButton);      // over another row, on the right
    send(QEvent::MouseMove, at(2, 1, 0.3), Qt::LeftButton);      // over the group row's bar
    send(QEvent::MouseButtonRelease, at(3, 0, 0.5), Qt::NoButton);
    EXPECT_EQ(sets, QStringList({"1:0.5", "1:0", "1:1", "1:0.3"}));
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.col(), 1);
}
