#include "worksheets/common/itemlist.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/outcomegrids.h"

#include "core/uimode.h"
#include "model/g33fmus.h"
#include "model/g36threateneditems.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "platform/grid/grid.h"
#include "platform/ui/itemdata.h"
#include "platform/ui/screen.h"
#include "support/datafile_fixture.h"

#include <QComboBox>
#include <QListWidget>

using model::OutcomeKind;
using worksheets::ItemList;

namespace {

// A data file with alternatives A (Fallback shown, Target 9999 acres, Fallback 10000) and
// B (Fallback hidden).
class FillTest : public DatafileFixture {
protected:
    void SetUp() override
    {
        DatafileFixture::SetUp();
        model::ClearAlternatives();
        a = model::AddAlternative("A");
        a->SetHeading("Direct attack");
        a->Outcome(OutcomeKind::Fallback)->SetbShow(true);
        a->Outcome(OutcomeKind::Target)->SetFireSize("9999");
        a->Outcome(OutcomeKind::Fallback)->SetFireSize("10000");
        b = model::AddAlternative("B");
        b->SetHeading("Confine");
        model::SaveAlternatives();
        g.setCols(5);
        worksheets::SetupOutcomeAcresGrid(g);
    }
    void TearDown() override
    {
        model::ClearAlternatives();
        model::ClearThreatenedItems();
        model::ClearFMUs();
        DatafileFixture::TearDown();
    }

    QStringList column(int c) const
    {
        QStringList texts;
        for (int r = 0; r < g.rows(); ++r)
            texts << g.text(r, c);
        return texts;
    }

    grid::Grid g;
    std::shared_ptr<model::c51Alternative> a;
    std::shared_ptr<model::c51Alternative> b;
};

} // namespace

TEST_F(FillTest, OutcomeRowsListShownOutcomesWithTheirObjectsAndTheExtremeRowLast)
{
    bool idleDuringFill = true;
    QObject::connect(&g, &grid::Grid::enterCell, [&] { idleDuringFill = core::IsIdle(); });
    worksheets::ShowOutcomeAcres(g);

    EXPECT_EQ(column(0), QStringList({"Outcomes", "A. Direct attack", "A. Direct attack", "B. Confine", "Extreme Outcome"}));
    EXPECT_EQ(column(1), QStringList({"Outcomes", "Target", "Fallback", "Target", "Extreme Outcome"}));
    EXPECT_EQ(column(2), QStringList({"Acres", " 9999 ", " 10,000 ", " 0 ", " 0 "}));
    EXPECT_EQ(g.rowObject<model::c53Outcome>(2), a->Outcome(OutcomeKind::Fallback).get());
    EXPECT_EQ(g.rowObject<model::c53Outcome>(4), model::GetExtremeOutcome().get());
    EXPECT_EQ(g.mergedRange(0, 1), QRect(0, 0, 2, 1));
    EXPECT_EQ(g.mergedRange(4, 1), QRect(0, 4, 2, 1));
    EXPECT_EQ(g.mergedRange(1, 1), QRect(1, 1, 1, 1));   // data rows of equal text stay apart
    EXPECT_EQ(g.gridModel()->alignment(4, 0), Qt::AlignCenter);
    EXPECT_TRUE(core::IsIdle());

    // A refill with fewer rows leaves no merged row behind where the Extreme row was.
    a->Outcome(OutcomeKind::Fallback)->SetbShow(false);
    worksheets::FillOutcomeRows(g);
    ASSERT_EQ(g.rows(), 4);
    EXPECT_EQ(g.mergedRange(3, 1), QRect(0, 3, 2, 1));
    g.addItem("x\tx");
    EXPECT_EQ(g.mergedRange(4, 1), QRect(1, 4, 1, 1));
}

TEST_F(FillTest, AlternativeRowsAloneWithNoAlternativesLeaveTheHeader)
{
    worksheets::FillAlternativeOutcomeRows(g);
    EXPECT_EQ(g.rows(), 4);
    model::DeleteAlternative(a->ItemKey());
    model::DeleteAlternative(b->ItemKey());
    worksheets::FillAlternativeOutcomeRows(g);
    EXPECT_EQ(g.rows(), 1);
    worksheets::FillOutcomeRows(g);
    EXPECT_EQ(column(0), QStringList({"Outcomes", "Extreme Outcome"}));
}

TEST_F(FillTest, ListsCarryTheRecordKeyAndFillingSelectsNothing)
{
    QListWidget listBox;
    QComboBox combo;
    ItemList lists[] = {ItemList(&listBox), ItemList(&combo)};
    for (ItemList& list : lists) {
        int clicks = 0;
        const auto counting = QObject::connect(&list, &ItemList::click, [&] { ++clicks; });
        list.addItem("stale", 99);
        worksheets::FillAlternativeList(list);
        ASSERT_EQ(list.count(), 2);
        EXPECT_EQ(list.itemText(1), "B. Confine");
        EXPECT_EQ(list.itemData(1), b->ItemKey());
        EXPECT_EQ(list.listIndex(), -1);
        EXPECT_EQ(clicks, 0);
        list.setListIndex(1);                // the program selecting raises the click
        list.setListIndex(1);
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(list.currentKey(), b->ItemKey());
        list.setItemText(1, "B. Indirect");       // the entry follows typing, keeps its key
        list.setItemText(5, "nowhere");
        EXPECT_EQ(list.text(), "B. Indirect");
        EXPECT_EQ(list.currentKey(), b->ItemKey());
        EXPECT_EQ(clicks, 1);
        list.setListIndex(-1);
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(list.currentKey(), 0);
        QObject::disconnect(counting);   // its counter ends with this pass
    }
    // The user's pick raises it as well, and so does a selection by key.
    int clicks = 0;
    QObject::connect(&lists[0], &ItemList::click, [&] { ++clicks; });
    QObject::connect(&lists[1], &ItemList::click, [&] { ++clicks; });
    listBox.setCurrentRow(0);
    ui::SelectComboItemByData(&combo, a->ItemKey());
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(lists[1].currentKey(), a->ItemKey());
}

TEST_F(FillTest, FMUListAndGridShowEveryFMUWithItsKey)
{
    model::NewFMU("N", "North");
    model::NewFMU("S", "South");
    model::ClearFMUs();
    QListWidget listBox;
    ItemList list(&listBox);
    worksheets::FillFMUList(list);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.itemText(0), "North");

    g.setFormatString("FMU|%|$/acre|FMU% x $/acre");
    g.addItem("left over\tfrom\tan earlier\tfill");
    worksheets::FillFMUGrid(g);
    EXPECT_EQ(column(0), QStringList({"FMU", "North", "South"}));
    EXPECT_EQ(g.rowData(2).toInt(), list.itemData(1));
    EXPECT_EQ(g.findRow(list.itemData(0)), 1);
}

TEST_F(FillTest, ValuesAtRiskGridKeepsItemsAndItsColumnsReadBackAsNumbers)
{
    auto house = model::AddThreatenedItem("House");
    house->SetPotentialLoss(250000);
    house->SetProbabilityLabel("High (75%)");
    auto bridge = model::AddThreatenedItem("Bridge\twith a tab");
    bridge->SetPotentialLoss(1234);
    g.setCols(4);
    worksheets::FillValuesAtRiskGrid(g);
    ASSERT_EQ(g.rows(), 3);
    EXPECT_EQ(g.text(1, 0), "House");
    EXPECT_EQ(g.text(1, 1), "250,000");
    EXPECT_EQ(g.text(1, 2), "75");
    EXPECT_EQ(g.value(1, 3), house->ValueAtRisk());
    EXPECT_EQ(g.text(2, 0), "Bridge\twith a tab");          // a tab in a name stays in its cell
    EXPECT_EQ(g.rowObject<model::c36ThreatenedItem>(2), bridge.get());

    worksheets::FillValueAtRiskSummaryGrid(g);
    EXPECT_EQ(g.value(1, 1), house->ValueAtRisk());
    EXPECT_EQ(g.text(1, 2), "");
}

TEST_F(FillTest, TimesGridLayoutAndColumnFillsKeepTheirColumnsAndRows)
{
    a->Outcome(OutcomeKind::Target)->SetContainTimeString("3");
    a->Outcome(OutcomeKind::Target)->SetControlTimeString("12");
    worksheets::SetupOutcomeTimesGrid(g);
    // The laid-out widths hold unless the grid's font needs more for the column's widest text
    // (the label column keeps its width: its text is cut on purpose).
    const QFontMetrics metrics(g.font());
    const auto fitted = [&](int twips, const char* widest) {
        return std::max(twips, ui::PixelsToTwips(metrics.horizontalAdvance(widest) + 12));
    };
    struct { const char* header; int width; Qt::Alignment align; } cols[] = {
        {"Outcomes", 2700, Qt::AlignLeft | Qt::AlignVCenter},
        {"Outcomes", fitted(675, "Fallback"), Qt::AlignCenter},
        {"Acres", fitted(900, "Acres"), Qt::AlignCenter},
        {"Contain", fitted(720, "Contain"), Qt::AlignCenter},
        {"Control", fitted(720, "Control"), Qt::AlignCenter},
    };
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(g.text(0, c), cols[c].header) << c;
        EXPECT_EQ(g.colWidth(c), cols[c].width) << c;
        EXPECT_EQ(g.gridModel()->column(c).alignment, cols[c].align) << c;
        EXPECT_EQ(g.gridModel()->alignment(0, c), Qt::AlignCenter) << c;
    }

    worksheets::ShowOutcomeTimes(g);
    ASSERT_EQ(g.rows(), 5);
    EXPECT_EQ(g.text(1, 2), " 9999 ");
    EXPECT_EQ(g.text(1, 3), "3");
    EXPECT_EQ(g.text(1, 4), " 12 ");

    // The loss and cost fills write columns 3 and 4 of every data row, the Extreme row
    // included, and leave the header and the row count alone.
    for (auto fill : {worksheets::FillOutcomeLossColumns, worksheets::FillOutcomeCostColumns}) {
        for (int r = 1; r < g.rows(); ++r) {
            g.setText(r, 3, QString());
            g.setText(r, 4, QString());
        }
        fill(g);
        EXPECT_EQ(g.rows(), 5);
        EXPECT_EQ(g.text(0, 3), "Contain");
        for (int r = 1; r < g.rows(); ++r) {
            EXPECT_FALSE(g.text(r, 3).isEmpty()) << r;
            EXPECT_FALSE(g.text(r, 4).isEmpty()) << r;
        }
    }
}

TEST_F(FillTest, OutcomeColumnsWidenToTheirTextsButNeverNarrow)
{
    worksheets::SetupOutcomeTimesGrid(g);
    QFont large = g.font();
    large.setPointSizeF(20);
    g.setFont(large);
    worksheets::FitOutcomeColumnsToFont(g);
    const QFontMetrics metrics(large);
    EXPECT_EQ(g.colWidth(0), 2700);   // the label column keeps its width
    EXPECT_GE(ui::TwipsToPixels(g.colWidth(1)), metrics.horizontalAdvance("Fallback"));
    EXPECT_GE(ui::TwipsToPixels(g.colWidth(3)), metrics.horizontalAdvance("Contain"));
    int total = 0;
    for (int c = 0; c < g.cols(); ++c)
        total += ui::TwipsToPixels(g.colWidth(c));
    EXPECT_GT(g.minimumWidth(), total);

    QFont tiny = large;
    tiny.setPointSizeF(4);
    g.setFont(tiny);
    worksheets::SetupOutcomeTimesGrid(g);
    worksheets::FitOutcomeColumnsToFont(g);
    EXPECT_EQ(g.colWidth(1), 675);
    EXPECT_EQ(g.colWidth(4), 720);

    // The worksheets that lay out only the shared columns (ratings, values protected, natural
    // resources, FIL percents) get the short names whole from the setup alone.
    g.setFont(large);
    g.setCols(4);
    worksheets::SetupOutcomeAcresGrid(g);
    EXPECT_GE(ui::TwipsToPixels(g.colWidth(1)), metrics.horizontalAdvance("Fallback"));
    EXPECT_GE(ui::TwipsToPixels(g.colWidth(2)), metrics.horizontalAdvance("Acres"));
    EXPECT_EQ(g.colWidth(0), 2700);
}
