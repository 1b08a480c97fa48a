#include "support/worksheet_fixture.h"

#include "worksheets/objectives_alternatives/frm34prioritize.h"

#include "support/keeppicture.h"
#include "support/placedarea.h"
#include "platform/ui/screen.h"

#include <QClipboard>
#include <QLineEdit>

using worksheets::frm34Prioritize;

namespace {

constexpr int kPriority = frm34Prioritize::ColPriority;
constexpr int kBar = frm34Prioritize::ColBar;
constexpr int kPercent = frm34Prioritize::ColPercent;

// Three safety issues and two objectives under the first category, one under the third.
class PrioritizeTest : public WorksheetFixture<> {
protected:
    PrioritizeTest() : WorksheetFixture({.size = {1100, 650}, .saveAllOrNothing = true}) {}
    void SetUp() override
    {
        WorksheetFixture::SetUp();
        issues = {storedNode(2, "Snags", 10), storedNode(2, "Power lines", 10), storedNode(2, "Smoke on Hwy 9", 0)};
        objectives = {storedNode(3, "Protect owl stands", 6), storedNode(3, "Keep retardant out of Elk Creek", 4),
                      storedNode(5, "Hold costs under $2M", 0)};
    }

    frm34Prioritize& page() { return static_cast<frm34Prioritize&>(*form); }
    grid::Grid& safety() { return *page().grdSafety(); }
    grid::Grid& objectivesGrid() { return *page().Grid1(); }

    void send(grid::Grid& grid, QEvent::Type type, QPoint pos, Qt::MouseButtons held)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, pos, grid.viewport()->mapToGlobal(pos), button, held, Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &e);
    }
    QPoint barPoint(grid::Grid& grid, int row, double fraction) { return cellPoint(grid, row, kBar, fraction); }

    // What one row shows: its priority, its bar and its percentage.
    struct Shown {
        QString priority;
        double bar;
        QString percent;
        bool operator==(const Shown&) const = default;
        friend void PrintTo(const Shown& s, std::ostream* os)
        {
            *os << "{" << s.priority.toStdString() << ", " << s.bar << ", " << s.percent.toStdString() << "}";
        }
    };
    Shown shown(grid::Grid& grid, int row)
    {
        return {grid.text(row, kPriority), grid.cellFloodPercent(row, kBar), grid.text(row, kPercent)};
    }

    QList<int> issues;
    QList<int> objectives;
};

TEST_F(PrioritizeTest, GridsShowTheTreesWithPrioritiesBarsAndWeights)
{
    open<frm34Prioritize>();
    EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab34");
    EXPECT_EQ(columnTexts(safety(), 0), QStringList({"Safety Issues", "    Snags", "    Power lines", "    Smoke on Hwy 9"}));
    EXPECT_EQ(safety().text(0, 0), "Safety Issue");
    EXPECT_EQ(safety().text(0, kPriority), "Priority (0 low, 10 high)");
    EXPECT_EQ(safety().mergedRange(0, kPriority), QRect(kPriority, 0, 2, 1));
    EXPECT_EQ(safety().text(0, kPercent), "%");
    EXPECT_EQ(safety().cellBackColor(1, kPercent), QColor(192, 255, 192));
    EXPECT_EQ(columnTexts(safety(), kPriority), QStringList({"Safety Issues", "10", "10", "0"}));
    EXPECT_EQ(columnTexts(safety(), kPercent), QStringList({"Safety Issues", "50", "50", "0"}));
    EXPECT_DOUBLE_EQ(safety().cellFloodPercent(1, kBar), -1);
    EXPECT_DOUBLE_EQ(safety().cellFloodPercent(2, kBar), 100);

    // The objectives' root is no row; each category is a green row above its objectives.
    EXPECT_EQ(objectivesGrid().text(0, 0), "Objective");
    EXPECT_EQ(columnTexts(objectivesGrid(), 0),
              QStringList({"Natural and Cultural Resources", "    Protect owl stands", "    Keep retardant out of Elk Creek",
                           "Property and Improvements", "Economic", "    Hold costs under $2M", "Social and Political",
                           "Other"}));
    // A group row's name runs over the cells after it, which carry it.
    const QString nature = "Natural and Cultural Resources", property = "Property and Improvements",
                  social = "Social and Political";
    EXPECT_EQ(columnTexts(objectivesGrid(), kPriority),
              QStringList({nature, "6", "4", property, "Economic", "0", social, "Other"}));
    EXPECT_EQ(columnTexts(objectivesGrid(), kPercent),
              QStringList({nature, "60", "40", property, "Economic", "0", social, "Other"}));
    for (int row : {1, 4, 5, 7, 8})
        EXPECT_EQ(objectivesGrid().mergedRange(row, kPercent), QRect(0, row, frm34Prioritize::ColCount, 1)) << row;
    EXPECT_EQ(objectivesGrid().mergedRange(2, kPriority), QRect(kPriority, 2, 1, 1));
    EXPECT_EQ(safety().mergedRange(1, 0), QRect(0, 1, frm34Prioritize::ColCount, 1));
}

// In the worksheet area of the placed window the name column narrows; a category's name
// still shows whole across its row.
TEST_F(PrioritizeTest, CategoryNamesShowWholeInTheWorksheetAreaOfThePlacedWindow)
{
    open<frm34Prioritize>();
    testsupport::PlacedWorksheetArea placed(*form);
    grid::Grid& g = objectivesGrid();
    for (int row : {1, 4, 7}) {
        SCOPED_TRACE(g.text(row, 0).toStdString());
        const QRect cell = g.visualRect(g.gridModel()->index(row, 0));
        EXPECT_LE(g.fontMetrics().horizontalAdvance(g.text(row, 0)) + 6, cell.width());
        EXPECT_LE(cell.right(), g.viewport()->width());
    }
    testsupport::KeepPicture(placed.host(), "tab34_placed.png");
}

// Long names break into lines under their indent, each row as tall as its name needs, in the
// placed window; with room enough they stay on one line, and the rows one line tall.
TEST_F(PrioritizeTest, LongNamesShowWholeOnLinesOfTheirOwnInThePlacedWindow)
{
    const QString issue = "Aircraft and ground crews working under the same smoke column near the airport";
    const QString objective = "Keep retardant and foam out of the Elk Creek municipal watershed intake";
    storedNode(2, issue, 3);
    storedNode(3, objective, 3);
    open<frm34Prioritize>();
    struct Row {
        grid::Grid* grid;
        int row;
    };
    const QList<Row> rows = {{&safety(), 1}, {&safety(), 2}, {&safety(), 5}, {&objectivesGrid(), 1},
                             {&objectivesGrid(), 3}, {&objectivesGrid(), 4}, {&objectivesGrid(), 5}};
    const int line = safety().fontMetrics().lineSpacing();
    // The lines a row's name takes where it is drawn: under its indent, within its cell (a
    // category's across its row).
    auto linesNeeded = [](grid::Grid& g, int row) {
        const QString text = g.text(row, 0);
        const QString name = text.trimmed();
        const int indent = g.fontMetrics().horizontalAdvance(text.left(text.indexOf(name)));
        const QRect cell = g.visualRect(g.gridModel()->index(row, 0));
        const QRect room(0, 0, cell.width() - 6 - indent, 1 << 20);
        const QRect used = g.fontMetrics().boundingRect(room, Qt::TextWordWrap, name);
        EXPECT_LE(used.width(), room.width());
        EXPECT_LE(used.height() + 2, cell.height());
        return used.height() / g.fontMetrics().lineSpacing();
    };
    {
        testsupport::PlacedWorksheetArea placed(*form);
        for (const Row& r : rows) {
            SCOPED_TRACE(r.grid->text(r.row, 0).toStdString());
            linesNeeded(*r.grid, r.row);
        }
        EXPECT_EQ(safety().text(5, 0), "    " + issue);
        EXPECT_GE(linesNeeded(safety(), 5), 3);
        EXPECT_GE(linesNeeded(objectivesGrid(), 4), 3);
        // Short names and categories keep one line.
        EXPECT_LT(safety().rowHeight(2), ui::PixelsToTwips(2 * line));
        EXPECT_LT(objectivesGrid().rowHeight(5), ui::PixelsToTwips(2 * line));
        testsupport::KeepPicture(placed.host(), "tab34_placed_long.png");
    }
    form->resize(1600, 900);
    form->show();
    QApplication::processEvents();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.grid->text(r.row, 0).toStdString());
        EXPECT_EQ(linesNeeded(*r.grid, r.row), 1);
        EXPECT_LT(r.grid->rowHeight(r.row), ui::PixelsToTwips(2 * line));
    }
    testsupport::KeepPicture(*form, "tab34_wide_long.png");
}

// With every priority of a grid at 0, its members weigh alike.
TEST_F(PrioritizeTest, AllZeroPrioritiesWeighAlike)
{
    open<frm34Prioritize>();
    for (int row : {1, 2}) {
        send(safety(), QEvent::MouseButtonPress, barPoint(safety(), row + 1, 0), Qt::LeftButton);
        send(safety(), QEvent::MouseButtonRelease, barPoint(safety(), row + 1, 0), Qt::NoButton);
    }
    EXPECT_EQ(columnTexts(safety(), kPriority), QStringList({"Safety Issues", "0", "0", "0"}));
    EXPECT_EQ(columnTexts(safety(), kPercent), QStringList({"Safety Issues", "33", "33", "33"}));
}

// The bar reads tenths of its width; past either end it clamps to that end, even over the
// neighbouring cells, and on release the priority is the one shown.
TEST_F(PrioritizeTest, APressOnTheBarSetsThePriorityInTenths)
{
    open<frm34Prioritize>();
    struct Case { double fraction; QString priority; double bar; };
    const Case cases[] = {{0.0, "0", 0}, {0.44, "4", 40}, {0.46, "5", 50}, {1.0, "10", 100},
                          {-0.3, "0", 0}, {1.4, "10", 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fraction);
        send(safety(), QEvent::MouseButtonPress, barPoint(safety(), 2, 0.7), Qt::LeftButton);
        send(safety(), QEvent::MouseMove, barPoint(safety(), 2, c.fraction), Qt::LeftButton);
        send(safety(), QEvent::MouseButtonRelease, barPoint(safety(), 2, c.fraction), Qt::NoButton);
        EXPECT_EQ(safety().text(2, kPriority), c.priority);
        EXPECT_DOUBLE_EQ(safety().cellFloodPercent(2, kBar), c.bar);
        EXPECT_EQ(model::GetSafetyIssue(issues[0])->Priority(), c.priority.toInt());
    }
    // 10 against 10 and 0.
    EXPECT_EQ(columnTexts(safety(), kPercent), QStringList({"Safety Issues", "50", "50", "0"}));

    // Dragged past the left end into another row: the bar empties and stays on its own row.
    send(safety(), QEvent::MouseButtonPress, barPoint(safety(), 3, 0.5), Qt::LeftButton);
    send(safety(), QEvent::MouseMove, cellPoint(safety(), 4, 0, 0.5), Qt::LeftButton);
    send(safety(), QEvent::MouseButtonRelease, cellPoint(safety(), 4, 0, 0.5), Qt::NoButton);
    EXPECT_EQ(safety().row(), 3);
    EXPECT_EQ(columnTexts(safety(), kPriority), QStringList({"Safety Issues", "10", "0", "0"}));
    EXPECT_EQ(columnTexts(safety(), kPercent), QStringList({"Safety Issues", "100", "0", "0"}));

    // A group row takes no priority.
    send(safety(), QEvent::MouseButtonPress, barPoint(safety(), 1, 0.5), Qt::LeftButton);
    send(safety(), QEvent::MouseButtonRelease, barPoint(safety(), 1, 0.5), Qt::NoButton);
    EXPECT_EQ(safety().text(1, kPriority), "Safety Issues");
    EXPECT_DOUBLE_EQ(safety().cellFloodPercent(1, kBar), -1);

    leave();
    EXPECT_EQ(stored("Objectives", issues[0], "Priority").toInt(), 10);
    EXPECT_EQ(stored("Objectives", issues[1], "Priority").toInt(), 0);
}

// Typing: only digits go in, the bar and weights follow each key, and what is left in the
// cell is the priority, never above 10. Escape puts back the priority before the edit.
TEST_F(PrioritizeTest, TypedPrioritiesStayWithinZeroToTenAndEscapeRestores)
{
    open<frm34Prioritize>();
    clickCell(objectivesGrid(), 2, kPriority);
    ASSERT_TRUE(objectivesGrid().isEditing());   // the editor opens at once
    QTest::keyClicks(QApplication::focusWidget(), "2");
    EXPECT_EQ(objectivesGrid().editText(), "2");
    EXPECT_EQ(shown(objectivesGrid(), 2), (Shown{"6", 20, "33"}));
    QTest::keyClicks(QApplication::focusWidget(), "x.5");   // letters and points are dropped
    EXPECT_EQ(objectivesGrid().editText(), "25");
    EXPECT_EQ(shown(objectivesGrid(), 2), (Shown{"6", 100, "71"}));
    EXPECT_EQ(model::GetObjective(objectives[0])->Priority(), 10);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(objectivesGrid().isEditing());
    EXPECT_EQ(shown(objectivesGrid(), 2), (Shown{"10", 100, "71"}));

    // Pasted text is judged whole, not through the typing filter (which would turn "-3" into 3):
    // below the range, it is held to 0.
    QApplication::clipboard()->setText("-3");
    clickCell(objectivesGrid(), 3, kPriority);
    ASSERT_TRUE(objectivesGrid().isEditing());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(shown(objectivesGrid(), 3), (Shown{"0", 0, "0"}));
    EXPECT_TRUE(prompter.messages().isEmpty());
    QApplication::clipboard()->setText("9999");
    objectivesGrid().editCell();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(shown(objectivesGrid(), 3), (Shown{"10", 100, "50"}));

    // Escape: the cell, the bar, the weights and the node go back to before the edit.
    objectivesGrid().editCell();
    QTest::keyClicks(QApplication::focusWidget(), "0");
    EXPECT_EQ(shown(objectivesGrid(), 3), (Shown{"10", 0, "0"}));
    EXPECT_EQ(objectivesGrid().text(2, kPercent), "100");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(shown(objectivesGrid(), 3), (Shown{"10", 100, "50"}));
    EXPECT_EQ(objectivesGrid().text(2, kPercent), "50");
    EXPECT_EQ(model::GetObjective(objectives[1])->Priority(), 10);

    // The group rows take no edit.
    clickCell(objectivesGrid(), 1, kPriority);
    objectivesGrid().editCell();
    EXPECT_FALSE(objectivesGrid().isEditing());

    leave();
    EXPECT_EQ(stored("Objectives", objectives[0], "Priority").toInt(), 10);
    EXPECT_EQ(stored("Objectives", objectives[1], "Priority").toInt(), 10);
}

// Moving on in either grid first stores the nodes current in both.
TEST_F(PrioritizeTest, MovingOnStoresTheNodesOfBothGrids)
{
    open<frm34Prioritize>();
    send(safety(), QEvent::MouseButtonPress, barPoint(safety(), 2, 0.3), Qt::LeftButton);
    send(safety(), QEvent::MouseButtonRelease, barPoint(safety(), 2, 0.3), Qt::NoButton);
    clickCell(objectivesGrid(), 2, kPriority);
    QTest::keyClicks(QApplication::focusWidget(), "7");
    EXPECT_EQ(stored("Objectives", issues[0], "Priority").toInt(), 3);
    EXPECT_EQ(stored("Objectives", objectives[0], "Priority").toInt(), 6);

    // Down ends the edit and enters the next row, whose editor opens at once.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(objectivesGrid().row(), 3);
    EXPECT_TRUE(objectivesGrid().isEditing());
    EXPECT_EQ(stored("Objectives", objectives[0], "Priority").toInt(), 7);
    EXPECT_EQ(page().currentObjective()->ItemKey(), objectives[1]);
}

} // namespace

namespace {

// Priorities set with the keyboard alone: arrows reach a priority cell, whose editor opens at
// once; Enter stores the typed value, Tab moves on to the other grid.
TEST_F(PrioritizeTest, KeyboardAlone)
{
    open<frm34Prioritize>();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    safety().setFocus();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Down})
        QTest::keyClick(QApplication::focusWidget(), key);
    ASSERT_TRUE(safety().isEditing());
    EXPECT_EQ(safety().row(), 2);
    QTest::keyClicks(QApplication::focusWidget(), "3");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(shown(safety(), 2), (Shown{"3", 30, "23"}));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), &objectivesGrid());
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right})
        QTest::keyClick(QApplication::focusWidget(), key);
    ASSERT_TRUE(objectivesGrid().isEditing());
    QTest::keyClicks(QApplication::focusWidget(), "4");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(shown(objectivesGrid(), 2), (Shown{"4", 40, "50"}));
    leave();
    EXPECT_EQ(stored("Objectives", issues[0], "Priority").toInt(), 3);
    EXPECT_EQ(stored("Objectives", objectives[0], "Priority").toInt(), 4);
}

} // namespace
