#include "setup_fixture.h"

#include "worksheets/common/costsizegrid.h"
#include "worksheets/setup_situation/frm16costperacre.h"

#include "model/c35aactable.h"
#include "model/g33fmus.h"

#include <QComboBox>
#include <QLabel>

#include <memory>

using worksheets::CostSizeGrid;
using worksheets::frm16CostPerAcre;

namespace {

class CostPerAcreTest : public WorksheetTest<frm16CostPerAcre> {
protected:
    // Whole fire: to 10 acres $900, to 100 $600, to 1000 $400, above that $250.
    void SetUp() override
    {
        WorksheetTest::SetUp();
        model::c35AACTable* t = model::GetAACTable(0);
        const float tops[] = {10, 100, 1000};
        const float costs[] = {900, 600, 400, 250};
        for (int i = 0; i < 3; ++i)
            t->SetTopSize(i + 1, tops[i]);
        for (int i = 0; i < 4; ++i)
            t->SetCost(i + 1, costs[i]);
        t->SaveChanges();
        model::ClearFMUs();
    }



    std::pair<float, float> Stored(int fmuKey, int bracket)
    {
        auto rs = db().OpenRecordset("SELECT TopSize, Cost FROM SuppressionPerAcreCost WHERE FMZKey = ? AND Sequence = ?",
                                     {fmuKey, bracket});
        if (rs->Eof())
            return {0.0f, 0.0f};
        return {rs->Field("TopSize").toFloat(), rs->Field("Cost").toFloat()};
    }

    QStringList FromColumn()
    {
        QStringList texts;
        for (int r = 2; r <= 10; ++r)
            texts << g().text(r, CostSizeGrid::From);
        return texts;
    }

    grid::Grid& g() { return *form->grdCosts; }
};

TEST_F(CostPerAcreTest, ShowsTheBracketsWithFromValuesDerivedFromTheToValues)
{
    Show();
    EXPECT_FALSE(form->cboFMU->isVisible());
    EXPECT_FALSE(form->lblFMU->isVisible());
    EXPECT_EQ(FromColumn(), QStringList({"0", "11", "101", "1001", "", "", "", "", ""}));
    EXPECT_EQ(g().displayText(2, CostSizeGrid::From), ".00");
    EXPECT_EQ(g().displayText(3, CostSizeGrid::From), "11.00");
    EXPECT_EQ(g().displayText(4, CostSizeGrid::To), "1,000.00");
    EXPECT_EQ(g().text(5, CostSizeGrid::To), "");
    EXPECT_EQ(g().displayText(5, CostSizeGrid::Cost), "$250");
    EXPECT_EQ(g().displayText(6, CostSizeGrid::Cost), "$");
    EXPECT_EQ(g().text(0, CostSizeGrid::From), "Fire size, in acres");
    EXPECT_EQ(g().text(1, CostSizeGrid::To), "To");
}

TEST_F(CostPerAcreTest, OnlyTheHeaderRowsMerge)
{
    Show();
    // Two brackets of the same cost stay two cells.
    Type(g(), 6, CostSizeGrid::Cost, "250");
    Type(g(), 7, CostSizeGrid::Cost, "250");
    EXPECT_EQ(g().mergedRange(6, CostSizeGrid::Cost), QRect(CostSizeGrid::Cost, 6, 1, 1));
    EXPECT_EQ(g().mergedRange(5, CostSizeGrid::Cost), QRect(CostSizeGrid::Cost, 5, 1, 1));
    // Equal From and To texts in a data row do not merge either.
    Type(g(), 2, CostSizeGrid::To, "0.9");
    Type(g(), 3, CostSizeGrid::To, "1");
    EXPECT_EQ(g().text(3, CostSizeGrid::From), "1");
    EXPECT_EQ(g().mergedRange(3, CostSizeGrid::From), QRect(CostSizeGrid::From, 3, 1, 1));
    // The headers: "Fire size, in acres" across From and To, the cost header over both header rows.
    EXPECT_EQ(g().mergedRange(0, CostSizeGrid::To), QRect(CostSizeGrid::From, 0, 2, 1));
    EXPECT_EQ(g().mergedRange(1, CostSizeGrid::Cost), QRect(CostSizeGrid::Cost, 0, 1, 2));
}

TEST_F(CostPerAcreTest, FromValuesFollowTheToValuesWhenTheEditEnds)
{
    Show();
    Type(g(), 2, CostSizeGrid::To, "1000");
    EXPECT_EQ(g().text(3, CostSizeGrid::From), "1001");
    Type(g(), 3, CostSizeGrid::To, "2.5");
    EXPECT_EQ(g().text(4, CostSizeGrid::From), "2.6");
    Type(g(), 4, CostSizeGrid::To, "0");
    EXPECT_EQ(g().text(5, CostSizeGrid::From), "");
    EXPECT_EQ(g().text(4, CostSizeGrid::To), "");
    Type(g(), 10, CostSizeGrid::To, "50000");   // the last bracket has no next From
    EXPECT_EQ(FromColumn(), QStringList({"0", "1001", "2.6", "", "", "", "", "", ""}));
    Revisit();
    EXPECT_EQ(FromColumn(), QStringList({"0", "1001", "2.6", "", "", "", "", "", ""}));
    EXPECT_FLOAT_EQ(Stored(0, 9).first, 50000.0f);
}

TEST_F(CostPerAcreTest, TheFromColumnIsNeverEditedAndToAndCostOpenAtOnce)
{
    Show();
    g().setCurrentCell(3, CostSizeGrid::From);
    EXPECT_FALSE(g().isEditing());
    QTest::keyClick(&g(), Qt::Key_F2);
    EXPECT_FALSE(g().isEditing());
    g().setCurrentCell(3, CostSizeGrid::To);
    EXPECT_TRUE(g().isEditing());
    EXPECT_EQ(g().editMaxLength(), 9);
    g().setCurrentCell(3, CostSizeGrid::Cost);
    EXPECT_TRUE(g().isEditing());
    EXPECT_EQ(g().editMaxLength(), 7);
}

TEST_F(CostPerAcreTest, TypingReachesTheTableAtOnceEscapePutsItBackAndAPasteIsStored)
{
    Show();
    model::c35AACTable* table = form->currentTable();
    QLineEdit* editor = Enter(g(), 3, CostSizeGrid::Cost);
    editor->selectAll();
    QTest::keyClicks(editor, "55");
    EXPECT_FLOAT_EQ(table->Cost(2), 55.0f);
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FLOAT_EQ(table->Cost(2), 600.0f);
    EXPECT_EQ(g().displayText(3, CostSizeGrid::Cost), "$600");

    Type(g(), 3, CostSizeGrid::To, "5000", Qt::Key_Escape);
    EXPECT_FLOAT_EQ(table->TopSize(2), 100.0f);
    EXPECT_EQ(g().text(4, CostSizeGrid::From), "101");

    Paste(g(), 3, CostSizeGrid::To, "1,500");
    EXPECT_FLOAT_EQ(table->TopSize(2), 1500.0f);
    EXPECT_EQ(g().text(4, CostSizeGrid::From), "1501");
    Revisit();
    EXPECT_FLOAT_EQ(Stored(0, 2).first, 1500.0f);
    EXPECT_FLOAT_EQ(Stored(0, 2).second, 600.0f);
}

TEST_F(CostPerAcreTest, HostileValuesNeverCrashNorStoreGarbage)
{
    struct Case {
        const char* typed;
        int col;
        float stored;
        bool refused;
    };
    const Case cases[] = {
        {"-5", CostSizeGrid::To, 10.0f, true},
        {"1e309", CostSizeGrid::To, 10.0f, true},
        {"abc", CostSizeGrid::To, 10.0f, true},
        {"1,2,3", CostSizeGrid::To, 10.0f, true},
        {"12345678901234567890", CostSizeGrid::To, 123456789.0f, false},   // the editor takes 9 characters
        {"", CostSizeGrid::To, 0.0f, false},
        {"-5", CostSizeGrid::Cost, 900.0f, true},
        {"1e39", CostSizeGrid::Cost, 900.0f, true},
        {"12345678901234567890", CostSizeGrid::Cost, 1234567.0f, false},   // 7 characters
        {"0.5", CostSizeGrid::Cost, 0.5f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + (c.col == CostSizeGrid::To ? " To" : " Cost"));
        Show();
        prompter.clear();
        Type(g(), 2, c.col, c.typed);
        EXPECT_EQ(prompter.messages().size(), c.refused ? 1 : 0);
        Revisit();
        const auto stored = Stored(0, 1);
        EXPECT_FLOAT_EQ(c.col == CostSizeGrid::To ? stored.first : stored.second, c.stored);
        // Back to the first bracket as it was.
        Type(g(), 2, CostSizeGrid::To, "10");
        Type(g(), 2, CostSizeGrid::Cost, "900");
        form->SaveChanges();
    }
}

TEST_F(CostPerAcreTest, ChoosingAnotherFMUStoresThePreviousTableFirst)
{
    const int east = model::NewFMU("E", "East Zone")->ItemKey();
    const int west = model::NewFMU("W", "West Zone")->ItemKey();
    model::ClearFMUs();
    Show();
    EXPECT_FALSE(form->cboFMU->isHidden());
    EXPECT_EQ(form->currentFMUKey(), east);
    Type(g(), 2, CostSizeGrid::To, "20");
    Type(g(), 2, CostSizeGrid::Cost, "750");
    form->cboFMU->setCurrentIndex(1);
    EXPECT_EQ(Stored(east, 1), std::make_pair(20.0f, 750.0f));
    EXPECT_EQ(form->currentFMUKey(), west);
    EXPECT_EQ(g().text(2, CostSizeGrid::To), "");
    EXPECT_EQ(g().text(3, CostSizeGrid::From), "");
    form->cboFMU->setCurrentIndex(0);
    EXPECT_EQ(g().text(3, CostSizeGrid::From), "21");
}

} // namespace
