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
    send(QEvent::MouseMove, at(1, 0, 0.5), Qt::LeftButton);      // into another cell: stops
    send(QEvent::MouseMove, at(1, 1, 0.2), Qt::LeftButton);      // back on the bar: goes on
    send(QEvent::MouseButtonRelease, at(1, 1, 0.2), Qt::NoButton);
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

TEST_F(BarDragTest, ClampingBarReadsZeroAndOnePastEitherEdgeOverOtherCells)
{
    grid::Grid g3;
    g3.resize(500, 200);
    g3.setCols(3);
    g3.setRows(3);
    for (int c = 0; c < 3; ++c)
        g3.setColWidth(c, 1440);
    g3.show();
    QApplication::processEvents();
    worksheets::BarDrag clamping(g3, 1, worksheets::BarDrag::OffBar::Clamps);
    clamping.set = [&](int row, double f) { sets << QString("%1:%2").arg(row).arg(f); };
    auto send3 = [&](QEvent::Type type, int row, int col, double fraction, Qt::MouseButtons held) {
        const QRect r = g3.visualRect(g3.gridModel()->index(row, col));
        const QPoint pos(r.left() + int(std::lround(fraction * r.width())), r.center().y());
        QMouseEvent e(type, pos, g3.viewport()->mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      held, Qt::NoModifier);
        QApplication::sendEvent(g3.viewport(), &e);
    };
    send3(QEvent::MouseButtonPress, 1, 1, 0.5, Qt::LeftButton);
    send3(QEvent::MouseMove, 1, 0, 0.5, Qt::LeftButton);        // over the cell on the left
    send3(QEvent::MouseMove, 2, 2, 0.5, Qt::LeftButton);        // over another row, on the right
    send3(QEvent::MouseButtonRelease, 2, 2, 0.5, Qt::NoButton);
    EXPECT_EQ(sets, QStringList({"1:0.5", "1:0", "1:1"}));
    EXPECT_EQ(g3.col(), 1);
}
