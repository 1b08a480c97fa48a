#include "platform/grid/grid.h"
#include "platform/grid/griddelegate.h"
#include "platform/grid/numberformat.h"
#include "platform/ui/guard.h"
#include "platform/ui/screen.h"
#include "platform/ui/scriptedprompter.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>

using grid::Grid;

namespace {

// A grid of one header row and three columns, with every event written to a log.
class GridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g = std::make_unique<Grid>();
        g->resize(600, 300);
        g->setFormatString("Name|Qty|Bar");
        for (int c = 0; c < 3; ++c)
            g->setColWidth(c, 1500);
        g->addItem("alpha\t1\t");
        g->addItem("beta\t2\t");
        g->addItem("gamma\t3\t");
        g->show();
        QApplication::processEvents();

        QObject::connect(g.get(), &Grid::enterCell, [this] { log << QString("enter %1,%2").arg(g->row()).arg(g->col()); });
        QObject::connect(g.get(), &Grid::leaveCell, [this] { log << QString("leave %1,%2").arg(g->row()).arg(g->col()); });
        QObject::connect(g.get(), &Grid::beforeEdit, [this](int r, int c, bool& cancel) {
            log << QString("before %1,%2").arg(r).arg(c);
            cancel = cancelEdits;
        });
        QObject::connect(g.get(), &Grid::keyPressEdit, [this](int, int, int& code) {
            log << QString("press %1").arg(QChar(code));
            if (digitsOnly && code >= 32 && code <= 126 && !QChar(code).isDigit())
                code = 0;
        });
        QObject::connect(g.get(), &Grid::changeEdit, [this] { log << "change " + g->editText(); });
        QObject::connect(g.get(), &Grid::afterEdit, [this](int r, int c) { log << QString("after %1,%2 %3").arg(r).arg(c).arg(g->text(r, c)); });
        QObject::connect(g.get(), &Grid::editCancelled, [this](int r, int c) { log << QString("cancel %1,%2").arg(r).arg(c); });
        QObject::connect(g.get(), &Grid::mouseDown, [this](int b, int, double, double) { log << QString("down %1 at %2,%3").arg(b).arg(g->row()).arg(g->col()); });
        QObject::connect(g.get(), &Grid::mouseUp, [this](int b, int, double, double) { log << QString("up %1").arg(b); });
        QObject::connect(g.get(), &Grid::click, [this] { log << "click"; });
    }

    QPoint centre(int row, int col) const { return g->visualRect(g->gridModel()->index(row, col)).center(); }
    QPoint at(int row, int col, double fraction) const
    {
        const QRect r = g->visualRect(g->gridModel()->index(row, col));
        return QPoint(r.left() + int(std::lround(fraction * r.width())), r.center().y());
    }
    void mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent e(type, pos, g->viewport()->mapToGlobal(pos), button, held, Qt::NoModifier);
        QApplication::sendEvent(g->viewport(), &e);
    }
    QLineEdit* editor() const { return g->viewport()->findChild<QLineEdit*>(); }

    std::unique_ptr<Grid> g;
    QStringList log;
    bool cancelEdits = false;
    bool digitsOnly = false;
};

} // namespace

TEST_F(GridTest, ProgramSetsTheCurrentCellWithLeaveThenEnter)
{
    EXPECT_EQ(g->row(), 0);
    g->setRow(2);
    g->setRow(2);                 // the cell it already is: nothing
    g->setCol(1);
    g->setCurrentCell(99, 0);     // out of range: ignored
    EXPECT_EQ(log, QStringList({"leave 0,0", "enter 2,0", "leave 2,0", "enter 2,1"}));
    EXPECT_EQ(g->row(), 2);
    EXPECT_EQ(g->col(), 1);
}

TEST_F(GridTest, LeaveHandlerThatRemovesTheTargetRowLeavesTheNearestRowToEnter)
{
    g->setRow(1);
    bool removeOnce = true;
    QObject::connect(g.get(), &Grid::leaveCell, [&] {
        if (std::exchange(removeOnce, false))
            g->removeItem(3);
    });
    int enteredRow = -1;
    QString enteredText;
    QObject::connect(g.get(), &Grid::enterCell, [&] {
        enteredRow = g->row();
        enteredText = g->text(g->row(), 0);
    });
    g->setRow(3);
    EXPECT_EQ(enteredRow, 2);
    EXPECT_EQ(enteredText, "beta");
}

TEST_F(GridTest, UserMovesRaiseTheSameEventsAndStayOutOfTheHeader)
{
    QTest::keyClick(g.get(), Qt::Key_Down);              // from the header into the data
    QTest::keyClick(g.get(), Qt::Key_Up);                // the header cannot be entered
    mouse(QEvent::MouseButtonPress, centre(0, 1), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, centre(0, 1), Qt::LeftButton, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, centre(3, 2), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, centre(3, 2), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(log, QStringList({"leave 0,0", "enter 1,0", "down 1 at 1,0", "up 1", "click",
                                "leave 1,0", "enter 3,2", "down 1 at 3,2", "up 1", "click"}));
}

TEST_F(GridTest, ArrowKeysStepOverHiddenRowsAndColumnsAndNeverHangOnAHiddenCurrentCell)
{
    g->addItem("delta\t4\t");
    struct { int row, col; Qt::Key key; int hiddenRow, hiddenCol; int toRow, toCol; } cases[] = {
        {1, 0, Qt::Key_Down, 2, -1, 3, 0},
        {3, 0, Qt::Key_Up, 2, -1, 1, 0},
        {1, 0, Qt::Key_Right, -1, 1, 1, 2},
        // A current cell hidden under it: keys along the hidden row or column do nothing
        // (they used to hang the program), keys across lead out of it.
        {2, 1, Qt::Key_Right, 2, -1, 2, 1},
        {2, 1, Qt::Key_Down, 2, -1, 3, 1},
        {2, 1, Qt::Key_Down, -1, 1, 2, 1},
        {2, 1, Qt::Key_Left, -1, 1, 2, 0},
        {2, 1, Qt::Key_End, 2, 1, 2, 1},
    };
    for (const auto& c : cases) {
        for (int r = 0; r < g->rows(); ++r)
            g->setRowHeight(r, r == c.hiddenRow ? 0 : 300);
        for (int col = 0; col < g->cols(); ++col)
            g->setColHidden(col, col == c.hiddenCol);
        g->setCurrentCell(c.row, c.col);
        QTest::keyClick(g.get(), c.key);
        EXPECT_EQ(g->row(), c.toRow) << c.row << "," << c.col << " key " << c.key;
        EXPECT_EQ(g->col(), c.toCol) << c.row << "," << c.col << " key " << c.key;
    }
}

TEST_F(GridTest, KeyDownHandlerCanSwallowAKey)
{
    g->setRow(1);
    QObject::connect(g.get(), &Grid::keyDown, [](int& key, int) {
        if (key == Qt::Key_Down)
            key = 0;
    });
    QTest::keyClick(g.get(), Qt::Key_Down);
    EXPECT_EQ(g->row(), 1);
    QTest::keyClick(g.get(), Qt::Key_Right);
    EXPECT_EQ(g->col(), 1);
}

struct ShapeCase {
    const char* what;
    int current;
    std::function<void(Grid&)> change;
    int expectedRow;
};

TEST_F(GridTest, RemovingClearingAndInsertingMoveTheCurrentRowWithoutEvents)
{
    const ShapeCase cases[] = {
        {"remove above", 2, [](Grid& x) { x.removeItem(1); }, 1},
        {"remove below", 2, [](Grid& x) { x.removeItem(3); }, 2},
        {"remove current", 2, [](Grid& x) { x.removeItem(2); }, 2},
        {"remove current last", 3, [](Grid& x) { x.removeItem(3); }, 2},
        {"insert above", 2, [](Grid& x) { x.addItem("new", 1); }, 3},
        {"insert below", 2, [](Grid& x) { x.addItem("new", 3); }, 2},
        {"append", 2, [](Grid& x) { x.addItem("new"); }, 2},
        {"clear", 2, [](Grid& x) { x.clear(); }, 0},
        {"shrink", 3, [](Grid& x) { x.setRows(2); }, 1},
        {"no rows", 3, [](Grid& x) { x.setRows(0); }, -1},
    };
    for (const ShapeCase& c : cases) {
        SetUp();
        g->setRow(c.current);
        const QString content = g->text(c.expectedRow >= 0 && c.expectedRow < g->rows() ? c.expectedRow : 0, 0);
        log.clear();
        c.change(*g);
        EXPECT_EQ(g->row(), c.expectedRow) << c.what;
        EXPECT_TRUE(log.isEmpty()) << c.what << ": " << log.join(", ").toStdString();
        Q_UNUSED(content);
    }
    // The current row's content stays current when a row is inserted above it.
    SetUp();
    g->setRow(2);
    g->addItem("new", 1);
    EXPECT_EQ(g->text(g->row(), 0), "beta");
}

TEST_F(GridTest, EditSequenceEndsWithAfterEditOrIsCancelledByEscape)
{
    g->setCurrentCell(2, 1);
    log.clear();
    g->editCell();
    ASSERT_TRUE(g->isEditing());
    EXPECT_EQ(editor()->text(), "2");
    QTest::keyClicks(editor(), "15");
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_FALSE(g->isEditing());
    EXPECT_EQ(log, QStringList({"before 2,1", "press 1", "change 1", "press 5", "change 15", "after 2,1 15"}));

    log.clear();
    g->editCell();
    QTest::keyClicks(editor(), "9");
    QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_FALSE(g->isEditing());
    EXPECT_EQ(g->text(2, 1), "15");
    EXPECT_EQ(log, QStringList({"before 2,1", "press 9", "change 9", "cancel 2,1"}));
}

// A worksheet's handler that throws (the data layer does, by design) is caught by the guard it
// is connected through: the error is shown once, the typed value stays in its cell, and the
// grid goes on.
TEST_F(GridTest, AHandlerThatThrowsIsReportedAndTheGridGoesOn)
{
    ui::ScriptedPrompter prompter;
    bool failSave = true;
    bool failPress = false;
    QObject::connect(g.get(), &Grid::afterEdit, ui::Guarded([&](int, int) {
        if (std::exchange(failSave, false))
            throw std::runtime_error("The file is locked.");
    }));
    QObject::connect(g.get(), &Grid::mouseDown, ui::Guarded([&](int, int, double, double) {
        if (std::exchange(failPress, false))
            throw std::runtime_error("No data file is open.");
    }));

    // Typed and committed through the event queue, as the user's keys arrive.
    g->setCurrentCell(2, 1);
    g->editCell();
    QCoreApplication::postEvent(editor(), new QKeyEvent(QEvent::KeyPress, Qt::Key_4, Qt::NoModifier, "4"));
    QCoreApplication::postEvent(editor(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
    QCoreApplication::processEvents();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "An error occurred.\r\nThe file is locked.");
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Critical);
    EXPECT_FALSE(g->isEditing());
    EXPECT_EQ(g->text(2, 1), "4") << "the edit is kept for the next save";

    // A press whose handler throws still moves the current cell; the press after it works.
    failPress = true;
    QCoreApplication::postEvent(g->viewport(), new QMouseEvent(QEvent::MouseButtonPress, centre(1, 0), g->viewport()->mapToGlobal(centre(1, 0)),
                                                               Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(g->viewport(), new QMouseEvent(QEvent::MouseButtonRelease, centre(1, 0), g->viewport()->mapToGlobal(centre(1, 0)),
                                                               Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    QCoreApplication::processEvents();
    ASSERT_EQ(prompter.messages().size(), 2);
    EXPECT_EQ(prompter.messages()[1].text, "An error occurred.\r\nNo data file is open.");
    EXPECT_EQ(g->row(), 1);
    EXPECT_EQ(g->col(), 0);

    log.clear();
    mouse(QEvent::MouseButtonPress, centre(3, 1), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, centre(3, 1), Qt::LeftButton, Qt::NoButton);
    g->editCell();
    QTest::keyClicks(editor(), "8");
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(g->text(3, 1), "8");
    EXPECT_TRUE(log.contains("after 3,1 8")) << log.join(" | ").toStdString();
    EXPECT_EQ(prompter.messages().size(), 2);
}

TEST_F(GridTest, MovingTheCurrentCellEndsTheEditFirst)
{
    g->setCurrentCell(1, 1);
    g->editCell();
    QTest::keyClicks(editor(), "7");
    log.clear();
    g->setRow(2);
    EXPECT_EQ(log, QStringList({"after 1,1 7", "leave 1,1", "enter 2,1"}));
}

TEST_F(GridTest, ShapeChangesMadeWhileTheOpenEditEndsAreCheckedAfterIt)
{
    std::function<void()> onAfterEdit;
    QObject::connect(g.get(), &Grid::afterEdit, [&] {
        if (auto f = std::exchange(onAfterEdit, nullptr))
            f();
    });
    // The after-edit handler removes the row the program is about to remove.
    g->setCurrentCell(1, 1);
    g->editCell();
    onAfterEdit = [&] { g->removeItem(3); };
    g->removeItem(3);
    EXPECT_EQ(g->rows(), 3);
    EXPECT_EQ(g->text(2, 0), "beta");

    // It empties the grid before a sort.
    g->editCell();
    onAfterEdit = [&] { g->setRows(0); };
    g->sortNumeric(1);
    EXPECT_EQ(g->rows(), 0);
    EXPECT_EQ(g->row(), -1);
}

TEST_F(GridTest, BeforeEditCanCancelAndHeaderCellsAreNeverEdited)
{
    g->setCurrentCell(1, 1);
    cancelEdits = true;
    g->editCell();
    EXPECT_FALSE(g->isEditing());
    cancelEdits = false;
    g->setCurrentCell(0, 1);
    log.clear();
    g->editCell();
    EXPECT_FALSE(g->isEditing());
    EXPECT_TRUE(log.isEmpty());
}

// Typed characters pass the filter; a paste goes in as it is, for the end of the edit to judge
// whole (a filter would make "1.5" 15 and "-3" 3 without a word). The length stops both, and
// says so.
TEST_F(GridTest, KeyPressEditFiltersTypedCharactersAndThePasteGoesInWholeWithinTheLengthLimit)
{
    digitsOnly = true;
    g->show();
    g->setEditMaxLength(4);
    g->setCurrentCell(1, 1);
    g->editCell();
    QTest::keyClicks(editor(), "1a2");
    EXPECT_EQ(editor()->text(), "12");
    QTest::keyClick(editor(), Qt::Key_Backspace);          // control keys pass the filter
    EXPECT_EQ(editor()->text(), "1");
    QToolTip::hideText();
    QApplication::clipboard()->setText("3x4 5\n6");
    QTest::keyClick(editor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor()->text(), "13x4");                   // the limit stops the rest
    EXPECT_EQ(QToolTip::text(), "At most 4 characters fit here.");
    QToolTip::hideText();
    QTest::keyClicks(editor(), "5");
    EXPECT_EQ(editor()->text(), "13x4");
    EXPECT_EQ(QToolTip::text(), "At most 4 characters fit here.");
    g->finishEdit();
    EXPECT_EQ(g->text(1, 1), "13x4");

    // A longer value already in the cell is never cut by opening and ending an edit; only
    // what the user adds is limited.
    g->setText(2, 1, "12345678");
    g->setCurrentCell(2, 1);
    g->editCell();
    EXPECT_EQ(editor()->text(), "12345678");
    editor()->end(false);
    QTest::keyClicks(editor(), "9");
    EXPECT_EQ(editor()->text(), "12345678");
    g->finishEdit();
    EXPECT_EQ(g->text(2, 1), "12345678");
}

TEST_F(GridTest, EditMenuCommandsOnTheCellGoThroughTheEditEvents)
{
    digitsOnly = true;
    g->setCurrentCell(3, 1);
    QApplication::clipboard()->setText("4a2");
    log.clear();
    g->paste();
    EXPECT_EQ(g->text(3, 1), "4a2");
    EXPECT_EQ(log.first(), "before 3,1");
    EXPECT_EQ(log.last(), "after 3,1 4a2");
    EXPECT_FALSE(log.contains("press a")) << "a paste is no typing";

    g->cut();
    EXPECT_EQ(QApplication::clipboard()->text(), "4a2");
    EXPECT_EQ(g->text(3, 1), "");
    EXPECT_EQ(log.last(), "after 3,1 ");

    g->setText(3, 1, "8");
    cancelEdits = true;
    g->paste();
    g->cut();
    EXPECT_EQ(g->text(3, 1), "8");                         // a cancelled edit takes nothing
    g->copy();
    EXPECT_EQ(QApplication::clipboard()->text(), "8");

    // The Edit menu reaches the open editor by its slot name: its paste goes in whole too.
    cancelEdits = false;
    g->editCell();
    QApplication::clipboard()->setText("9z9");
    QMetaObject::invokeMethod(editor(), "paste");
    g->finishEdit();
    EXPECT_EQ(g->text(3, 1), "9z9");
}

TEST_F(GridTest, BarIsSetByPressingAndDraggingAndStopsInAnotherCell)
{
    // The worksheets' bar handler: a press or a drag within the bar cell of the drag row.
    int dragRow = 0;
    auto setBar = [&](double x) { g->setCellFloodPercent(g->row(), 2, g->barFraction(x) * 100); };
    QObject::connect(g.get(), &Grid::mouseDown, [&](int, int, double x, double) {
        dragRow = g->col() == 2 && g->row() >= 1 ? g->row() : 0;
        if (dragRow)
            setBar(x);
    });
    QObject::connect(g.get(), &Grid::mouseMove, [&](int button, int, double x, double) {
        if (button == 1 && g->row() == dragRow && g->col() == 2)
            setBar(x);
    });

    struct { double fraction; double percent; } presses[] = {{0, 0}, {0.44, 40}, {0.46, 50}, {1, 100}};
    for (const auto& p : presses) {
        mouse(QEvent::MouseButtonPress, at(1, 2, p.fraction), Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, at(1, 2, p.fraction), Qt::LeftButton, Qt::NoButton);
        EXPECT_DOUBLE_EQ(g->cellFloodPercent(1, 2), p.percent) << p.fraction;
    }

    // Past the right edge, outside every cell, the cell stays current and the bar is full.
    mouse(QEvent::MouseButtonPress, at(2, 2, 0.5), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, at(2, 2, 1.3), Qt::NoButton, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(g->cellFloodPercent(2, 2), 100);
    // Past the left edge lies another cell: it becomes current and the bar keeps its value.
    mouse(QEvent::MouseMove, at(2, 2, -0.2), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(g->col(), 1);
    EXPECT_DOUBLE_EQ(g->cellFloodPercent(2, 2), 100);
    mouse(QEvent::MouseButtonRelease, at(2, 2, -0.2), Qt::LeftButton, Qt::NoButton);

    // A grid whose current cell stays put during a drag: past the left edge reads 0.
    g->setCurrentFollowsDrag(false);
    mouse(QEvent::MouseButtonPress, at(3, 2, 0.5), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, at(3, 2, -0.2), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(g->col(), 2);
    EXPECT_DOUBLE_EQ(g->cellFloodPercent(3, 2), 0);
    mouse(QEvent::MouseMove, at(2, 2, 0.7), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(g->row(), 3);
    mouse(QEvent::MouseButtonRelease, at(2, 2, 0.7), Qt::LeftButton, Qt::NoButton);

    // The reading clamps on both sides.
    g->setCurrentCell(2, 2);
    EXPECT_EQ(g->barFraction(g->cellLeft() - 500), 0.0);
    EXPECT_EQ(g->barFraction(g->cellLeft() + g->cellWidth() + 500), 1.0);
}

TEST_F(GridTest, MergingIsLimitedToTheChosenRowsAndColumns)
{
    g->setCols(4);
    g->setText(0, 1, "Priority");
    g->setText(0, 2, "Priority");
    for (int c = 0; c < 4; ++c) {
        g->setText(1, c, "same");
        g->setText(2, c, "same");
    }
    g->setText(3, 0, "same");
    g->setMergeRow(0, true);
    g->setMergeRow(2, true);
    g->setMergeCol(0, true);

    EXPECT_EQ(g->mergedRange(0, 2), QRect(1, 0, 2, 1));   // header cells merge across
    EXPECT_EQ(g->mergedRange(2, 3), QRect(0, 2, 4, 1));   // the chosen data row merges
    EXPECT_EQ(g->mergedRange(1, 1), QRect(1, 1, 1, 1));   // an equal row that was not chosen does not
    // Column 0 merges down, except where a merged row already holds the cell.
    EXPECT_EQ(g->mergedRange(1, 0), QRect(0, 1, 1, 1));
    EXPECT_EQ(g->mergedRange(0, 3), QRect(3, 0, 1, 1));   // empty cells never merge

    g->setText(2, 3, "other");                            // merges follow the texts
    EXPECT_EQ(g->mergedRange(2, 0), QRect(0, 2, 3, 1));
    g->setMergeRow(2, false);
    EXPECT_EQ(g->mergedRange(2, 0), QRect(0, 1, 1, 3));   // now column 0 merges rows 1 to 3

    // A header cell does not merge with the data cell below it.
    g->setText(1, 3, "Total");
    g->setText(0, 3, "Total");
    g->setMergeCol(3, true);
    EXPECT_EQ(g->mergedRange(0, 3), QRect(3, 0, 1, 1));
}

TEST_F(GridTest, HeaderOnlyColumnMergeKeepsEqualDataCellsApart)
{
    g->setFixedRows(2);
    g->setRows(5);
    g->setText(0, 2, "Cost");
    g->setText(1, 2, "Cost");
    for (int r = 2; r < 5; ++r)
        g->setText(r, 2, "0");
    g->setMergeCol(2, true, true);
    EXPECT_EQ(g->mergedRange(0, 2), QRect(2, 0, 1, 2));
    EXPECT_EQ(g->mergedRange(3, 2), QRect(2, 3, 1, 1));
    g->setMergeCol(2, true);
    EXPECT_EQ(g->mergedRange(3, 2), QRect(2, 2, 1, 3));
}

TEST_F(GridTest, FormatsApplyOnScreenWhileTheEditorGetsTheRawText)
{
    struct { const char* format; const char* raw; const char* shown; double value; } cases[] = {
        {"0", "1234.6", "1235", 1234.6},
        {"#", "0", "", 0},
        {"#,0", "1234567", "1,234,567", 1234567},
        {"$#,0", "-45035", "-$45,035", -45035},
        {"$#,#", "1500", "$1,500", 1500},
        {"#.00", "0", ".00", 0},
        {"#,#.00", "1234.567", "1,234.57", 1234.567},
        {"#,0", "not a number", "not a number", 0},
        {"#,0", "$2,500", "2,500", 2500},                 // text written already formatted
    };
    for (const auto& c : cases) {
        g->setColFormat(1, c.format);
        g->setText(1, 1, c.raw);
        EXPECT_EQ(g->displayText(1, 1), c.shown) << c.format << " " << c.raw;
        EXPECT_DOUBLE_EQ(g->value(1, 1), c.value) << c.format << " " << c.raw;
    }
    g->setColFormat(1, "#,0");
    g->setText(1, 1, "1234.5");
    g->setCurrentCell(1, 1);
    g->editCell();
    EXPECT_EQ(editor()->text(), "1234.5");
    g->finishEdit();
}

TEST_F(GridTest, SortIsNumericStableAndKeepsTheCurrentRowsContentCurrent)
{
    g->clear();
    const char* rows[] = {"d\t10", "a\t2", "b\t$1,000", "c\t2", "e\t"};
    for (const char* r : rows)
        g->addItem(r);
    for (int r = 1; r < g->rows(); ++r)
        g->setRowData(r, r);
    g->setCurrentCell(4, 1);             // "c"
    g->setText(1, 2, "10");
    g->setMergeRow(1, true);             // "d" merges its equal cells wherever it goes
    log.clear();
    g->sortNumeric(1);
    QStringList order;
    for (int r = 1; r < g->rows(); ++r)
        order << g->text(r, 0);
    EXPECT_EQ(order, QStringList({"e", "a", "c", "d", "b"}));
    EXPECT_EQ(g->text(0, 0), "Name");
    EXPECT_EQ(g->rowData(2).toInt(), 2);   // row data moves with its row
    EXPECT_EQ(g->text(g->row(), 0), "c");
    EXPECT_EQ(g->mergedRange(4, 2), QRect(1, 4, 2, 1));
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(GridTest, RangeSettingsReachOnlyCellsOfTheGrid)
{
    struct { int row1, col1, row2, col2; int changed; } ranges[] = {
        {-1, 2, -1, 2, 0},         // the current row of a grid without rows
        {1, 5, 1, 9, 0},
        {3, 2, 9, 2, 1},           // cut back to the last row
        {2, -4, 2, 0, 1},
        {3, 2, 1, 2, 3},           // given from the far corner
    };
    for (const auto& r : ranges) {
        g->setCellBackColor(0, 0, g->rows() - 1, g->cols() - 1, QColor());
        g->setCellBackColor(r.row1, r.col1, r.row2, r.col2, Qt::red);
        int changed = 0;
        for (int row = 0; row < g->rows(); ++row)
            for (int col = 0; col < g->cols(); ++col)
                changed += g->cellBackColor(row, col).isValid() ? 1 : 0;
        EXPECT_EQ(changed, r.changed) << r.row1 << "," << r.col1;
    }
    g->setCellFloodPercent(-1, 2, 50);
    EXPECT_LT(g->cellFloodPercent(0, 2), 0);
}

TEST_F(GridTest, CheckBoxCellToggledByClickReadsMinusOne)
{
    g->setColDataType(1, grid::DataType::Boolean);
    g->setEditable(true);
    g->setCellChecked(1, 1, false);
    mouse(QEvent::MouseButtonPress, centre(1, 1), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, centre(1, 1), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(g->cellChecked(1, 1));
    EXPECT_EQ(g->value(1, 1), -1.0);
    EXPECT_TRUE(log.contains("before 1,1"));
    EXPECT_TRUE(log.contains("after 1,1 -1"));
    cancelEdits = true;
    QTest::keyClick(g.get(), Qt::Key_Space);
    EXPECT_TRUE(g->cellChecked(1, 1));
    cancelEdits = false;
    QTest::keyClick(g.get(), Qt::Key_Space);
    EXPECT_EQ(g->value(1, 1), 0.0);
}

TEST_F(GridTest, RowsKeepTheirObjectsAndAreFoundByThem)
{
    int a = 1;
    int b = 2;
    g->setRowObject(2, &a);
    g->setRowObject(3, &b);
    EXPECT_EQ(g->rowObject<int>(3), &b);
    EXPECT_EQ(g->findRowObject(&a), 2);
    EXPECT_EQ(g->findRowObject(static_cast<int*>(nullptr)), -1);  // rows without data hold no object
    g->removeItem(2);
    EXPECT_EQ(g->findRowObject(&a), -1);
    EXPECT_EQ(g->findRowObject(&b), 2);
}

TEST_F(GridTest, SizesAreInTwipsAndHeightZeroHidesARow)
{
    g->setColWidth(1, 2700);
    EXPECT_EQ(g->colWidth(1), 2700);
    EXPECT_NEAR(g->columnWidth(1), ui::TwipsToPixels(2700), 1);
    g->setRowHeight(2, 0);
    EXPECT_TRUE(g->isRowHidden(2));
    g->setRow(1);
    QTest::keyClick(g.get(), Qt::Key_Down);               // the hidden row is passed over
    EXPECT_EQ(g->row(), 3);
    g->setRowHeight(2, 480);
    EXPECT_FALSE(g->isRowHidden(2));
    // A row hidden before the grid was cut back does not hide its successor.
    g->setRowHeight(2, 0);
    g->setRows(1);
    g->setRows(4);
    EXPECT_FALSE(g->isRowHidden(2));
    EXPECT_EQ(g->rowHeight(2), g->rowHeight(1));
    g->setFormatString("FMU" + QString(39, ' ') + "|%   |$/acre  |FMU% x $/acre");
    EXPECT_EQ(g->cols(), 4);
    EXPECT_EQ(g->text(0, 3), "FMU% x $/acre");
    EXPECT_GT(g->colWidth(0), g->colWidth(1));            // the blanks size the column
}

TEST_F(GridTest, HeaderRowsStayInViewWhileTheDataScrolls)
{
    for (int i = 0; i < 60; ++i)
        g->addItem(QString("row %1\t%1").arg(i));
    g->setCurrentCell(50, 1);
    g->showCell(50, 1);
    QApplication::processEvents();
    ASSERT_GT(g->verticalScrollBar()->value(), 0);

    // The header is a view of its own over the top of the cells, the only one without a
    // fixed column.
    QTableView* header = nullptr;
    for (auto* v : g->findChildren<QTableView*>())
        if (v != g.get() && v->isVisible())
            header = v;
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->indexAt(QPoint(5, 5)).row(), 0);
    // The row brought into view lies below it, not under it.
    EXPECT_GE(g->visualRect(g->gridModel()->index(50, 1)).top(), header->height());
    g->showCell(45, 1);
    EXPECT_GE(g->visualRect(g->gridModel()->index(45, 1)).top(), header->height());

    // A press on the header is reported but does not move the current cell.
    log.clear();
    const QPoint onHeader = header->visualRect(g->gridModel()->index(0, 1)).center();
    QMouseEvent press(QEvent::MouseButtonPress, onHeader, header->viewport()->mapToGlobal(onHeader), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &press);
    EXPECT_EQ(log, QStringList({"down 1 at 50,1"}));
}

TEST_F(GridTest, TypingOnAnEditableGridStartsTheEditWithThatCharacter)
{
    g->setCurrentCell(1, 1);
    QStringList released;
    QObject::connect(g.get(), &Grid::keyUpEdit, [&](int r, int c, int, int) { released << QString("%1,%2 %3").arg(r).arg(c).arg(g->editText()); });
    QTest::keyClick(g.get(), Qt::Key_7);
    EXPECT_FALSE(g->isEditing());                           // not editable: a key starts nothing
    g->setEditable(true);
    log.clear();
    QTest::keyClick(g.get(), Qt::Key_7);
    ASSERT_TRUE(g->isEditing());
    QTest::keyClick(editor(), Qt::Key_5);
    EXPECT_EQ(log, QStringList({"before 1,1", "press 7", "change 7", "press 5", "change 75"}));
    EXPECT_EQ(released, QStringList({"1,1 75"}));          // the key that opened the editor was released on the grid
    QTest::keyClick(editor(), Qt::Key_Down);                // ends the edit and moves on
    EXPECT_EQ(g->text(1, 1), "75");
    EXPECT_EQ(g->row(), 2);
}

TEST_F(GridTest, FocusLeavingTheGridEndsTheEditAndIsReported)
{
    QWidget window;
    g->setParent(&window);
    auto* other = new QLineEdit(&window);
    other->move(0, 320);
    window.resize(600, 360);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    int lost = 0;
    QObject::connect(g.get(), &Grid::lostFocus, [&] { ++lost; });
    g->setCurrentCell(2, 1);
    g->editCell();
    ASSERT_TRUE(editor()->hasFocus());
    QTest::keyClicks(editor(), "4");
    log.clear();
    other->setFocus();
    EXPECT_EQ(log, QStringList({"after 2,1 4"}));
    EXPECT_EQ(lost, 1);
    g->setParent(nullptr);
}

TEST_F(GridTest, FixedColumnStaysInViewAndCannotBeEntered)
{
    g->setFixedCols(1);
    g->setCols(30);
    g->setCurrentCell(1, 1);
    g->showCell(1, 29);
    g->setCol(29);
    QApplication::processEvents();
    ASSERT_GT(g->horizontalScrollBar()->value(), 0);
    QTableView* left = nullptr;
    for (auto* v : g->findChildren<QTableView*>())
        if (v != g.get() && v->isVisible() && v->geometry().height() > 100)
            left = v;
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->indexAt(QPoint(5, centre(2, 0).y())).column(), 0);
    g->showCell(1, 5);
    EXPECT_GE(g->visualRect(g->gridModel()->index(1, 5)).left(), left->width());

    g->setCol(1);
    log.clear();
    QTest::keyClick(g.get(), Qt::Key_Left);
    const QPoint onFixed(5, left->visualRect(g->gridModel()->index(2, 0)).center().y());
    QMouseEvent press(QEvent::MouseButtonPress, onFixed, left->viewport()->mapToGlobal(onFixed), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(left->viewport(), &press);
    EXPECT_EQ(log, QStringList({"down 1 at 1,1"}));

    // The fixed column shows the merges of now, not those of when it was last shown.
    g->setFixedCols(2);
    g->setText(1, 0, "same");
    g->setText(1, 1, "same");
    g->setMergeRow(1, true);
    ASSERT_EQ(g->mergedRange(1, 0).width(), 2);
    QApplication::processEvents();
    ASSERT_EQ(left->columnSpan(1, 0), 2);
    g->setFixedCols(0);
    g->setText(1, 1, "other");
    ASSERT_EQ(g->mergedRange(1, 0).width(), 1);
    g->setFixedCols(2);
    ASSERT_EQ(g->mergedRange(1, 0).width(), 1);
    QApplication::processEvents();
    EXPECT_EQ(left->columnSpan(1, 0), 1);
}

// A name of tens of thousands of characters, as a damaged or foreign file may hold, grows its
// row no taller than the screen: laid out whole it would be thousands of lines.
TEST_F(GridTest, AHugeWrappedTextGrowsItsRowNoTallerThanTheScreen)
{
    g->setColWordWrap(0, true);
    g->setText(1, 0, QString("Upper watershed ").repeated(4000));
    g->setText(2, 0, QString("word ").repeated(40).trimmed());
    g->autoSizeRows(0);
    EXPECT_LE(g->rowHeight(1), ui::ScreenHeightTwips() + 120);
    EXPECT_GE(g->rowHeight(2), 4 * ui::PixelsToTwips(g->fontMetrics().lineSpacing())) << "a long name still wraps whole";
    g->grab();
}

TEST_F(GridTest, WrappedColumnsGiveRowsTheHeightTheirTextNeeds)
{
    const QString longText = QString("word ").repeated(40).trimmed();
    g->setText(1, 0, longText);
    g->setText(2, 0, "short");
    g->setText(3, 1, longText);   // not wrapped: its row keeps the least height
    g->setColWordWrap(0, true);
    EXPECT_TRUE(g->colWordWrap(0));
    EXPECT_FALSE(g->colWordWrap(1));
    g->setRowHeight(0, 300);
    g->autoSizeRows(480);

    EXPECT_EQ(g->rowHeight(0), 300);   // header rows are left alone
    EXPECT_NEAR(g->rowHeight(2), 480, 15);
    EXPECT_NEAR(g->rowHeight(3), 480, 15);
    // 40 words in a column 1500 twips wide need several lines.
    const int lineTwips = ui::PixelsToTwips(g->fontMetrics().lineSpacing());
    EXPECT_GE(g->rowHeight(1), 4 * lineTwips);

    // A hidden row stays hidden.
    g->setRowHeight(2, 0);
    g->autoSizeRows(480);
    EXPECT_EQ(g->rowHeight(2), 0);

    // A text merged across its row is painted across all its cells, and measured so: it needs
    // one line there, not the lines it would take in its first column alone.
    const QString across = "Natural and Cultural Resources";
    ASSERT_GT(g->fontMetrics().horizontalAdvance(across), g->columnWidth(0));
    ASSERT_LT(g->fontMetrics().horizontalAdvance(across), 3 * g->columnWidth(0) - 12);
    for (int c = 0; c < 3; ++c)
        g->setText(3, c, across);
    g->setMergeRow(3, true);
    g->autoSizeRows(0);
    ASSERT_EQ(g->mergedRange(3, 0).width(), 3);
    EXPECT_LT(g->rowHeight(3), 2 * lineTwips);
    EXPECT_GE(g->rowHeight(1), 4 * lineTwips);

    // An indented text that wraps keeps its indent on every line: it is laid out without its
    // blanks, right of them; one that does not wrap is drawn as it is.
    const QFontMetrics fm = g->fontMetrics();
    const QRect cell(10, 20, 200, 40);
    const grid::CellText wrapped = grid::LayOutCellText(fm, cell, "    Keep retardant out", true);
    EXPECT_EQ(wrapped.text, "Keep retardant out");
    EXPECT_EQ(wrapped.rect, QRect(13 + fm.horizontalAdvance("    "), 21, 194 - fm.horizontalAdvance("    "), 38));
    const grid::CellText plain = grid::LayOutCellText(fm, cell, "    Keep retardant out", false);
    EXPECT_EQ(plain.text, "    Keep retardant out");
    EXPECT_EQ(plain.rect, QRect(13, 21, 194, 38));
    g->setText(1, 0, "    " + longText);
    g->autoSizeRows(0);
    const QRect room(0, 0, g->columnWidth(0) - 6 - fm.horizontalAdvance("    "), 1 << 20);
    EXPECT_GE(g->rowHeight(1), ui::PixelsToTwips(fm.boundingRect(room, Qt::TextWordWrap, longText).height()));
}

// Amounts of nine digits and more in a column laid out for smaller ones: the column widens to
// show each whole, even when a width is set below it afterwards, where it showed "l10,000,000"
// for -110,000,000; a name longer than its column keeps the column's width and tells its whole
// text in the tooltip, while a name that fits has none.
TEST_F(GridTest, AFigureWidensItsColumnWhileANameKeepsItsWidthAndTellsItselfInTheTooltip)
{
    const QFontMetrics fm = g->fontMetrics();
    g->setColFormat(1, "#,0");
    g->setColWidth(1, 900);   // room for six digits, whatever the face
    const struct {
        const char* raw;
        const char* shown;
    } figures[] = {{"-110000000", "-110,000,000"}, {"123456789012", "123,456,789,012"}};
    for (const auto& f : figures) {
        g->setText(2, 1, f.raw);
        ASSERT_EQ(g->displayText(2, 1), f.shown);
        EXPECT_GE(g->columnWidth(1), fm.horizontalAdvance(f.shown) + 6) << f.shown;
    }
    const int widest = g->columnWidth(1);
    g->setColWidth(1, 300);
    EXPECT_EQ(g->columnWidth(1), widest);
    EXPECT_EQ(g->colWidth(1), ui::PixelsToTwips(widest));
    g->addItem(QStringLiteral("delta\t-9,876,543,210,987\t"));
    EXPECT_GE(g->columnWidth(1), fm.horizontalAdvance("-9,876,543,210,987") + 6);

    const QString name = QStringLiteral("Upper Kestrel Creek municipal watershed and spotted owl nesting habitat, North Half");
    g->setText(1, 0, name);
    EXPECT_EQ(g->colWidth(0), 1500);
    const auto tooltipAt = [&](int row, int col) {
        QToolTip::hideText();
        const QPoint at = g->visualRect(g->model()->index(row, col)).center();
        QHelpEvent help(QEvent::ToolTip, at, g->viewport()->mapToGlobal(at));
        QApplication::sendEvent(g->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tooltipAt(2, 0), "");
    EXPECT_EQ(tooltipAt(2, 1), "");
    EXPECT_EQ(tooltipAt(1, 0), name);
    QToolTip::hideText();
}
