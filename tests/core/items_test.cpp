#include "core/g0items.h"
#include "core/g13rmas.h"
#include "core/g2situation.h"
#include "core/g8summary.h"
#include "core/u11datafile.h"
#include "core/u19rowdata.h"
#include "support/datafile_fixture.h"

using namespace core;

namespace {

class ItemsTest : public DatafileFixture {
protected:
    void SetUp() override
    {
        DatafileFixture::SetUp();
        ClearItems();
    }
    void TearDown() override
    {
        ClearItems();
        DatafileFixture::TearDown();
    }

    // The row as stored: null stays distinguishable from "".
    QVariant stored(int key, const QString& field)
    {
        auto rs = db().OpenTable("Items");
        rs->Seek(key);
        return rs->NoMatch() ? QVariant(QStringLiteral("<no row>")) : rs->Field(field);
    }
    bool hasRow(int key) { return stored(key, "ItemKey") != QVariant(QStringLiteral("<no row>")); }
};

TEST_F(ItemsTest, NewItemsTakeKeysAboveEveryFixedKeyAndCountTheirSiblings)
{
    // The template's highest key is a fixed item; new keys never fall on a fixed key.
    const int first = NewItem("Access", kSituationGroupKey);
    const int second = NewItem("Weather", kSituationGroupKey);
    EXPECT_GT(first, kLastFixedItemKey);
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(stored(first, "ChildIndex").toInt(), 1);
    EXPECT_EQ(stored(second, "ChildIndex").toInt(), 2);
    EXPECT_EQ(stored(first, "ParentKey").toInt(), kSituationGroupKey);
    EXPECT_EQ(stored(first, "ItemName").toString(), "Access");
    EXPECT_EQ(stored(first, "Body").toString(), kDefaultItemBody);
    EXPECT_EQ(kDefaultItemBody.size(), 161);
    EXPECT_TRUE(stored(first, "Heading").isNull());
}

TEST_F(ItemsTest, FileWhoseRowsStayBelowTheFixedKeysNeverHandsOneOut)
{
    db().Execute("DELETE FROM Items");
    db().Execute("INSERT INTO Items (ItemKey, ParentKey, ChildIndex) VALUES (37, 25, 1)");
    EXPECT_EQ(NewItem("first", kRMAGroupKey), kLastFixedItemKey + 1);

    // A fixed item saved for the first time must not pull the counter below its own key.
    ClearItems();
    db().Execute("DELETE FROM Items WHERE ItemKey > 37");
    EXPECT_EQ(GetLastItemKey(), 37);
    c0Item* decision = GetSummaryItem(292);
    decision->SetBody("rationale");
    decision->SaveChanges();
    const int next = NewItem("second", kRMAGroupKey);
    EXPECT_EQ(next, kLastFixedItemKey + 1);
    EXPECT_EQ(stored(292, "Body").toString(), "rationale");
    EXPECT_EQ(stored(next, "ItemName").toString(), "second");
}

TEST_F(ItemsTest, KeyCounterStaysAboveRowsAddedBySavingAnUnknownKey)
{
    const int before = NewItem("a", kSituationGroupKey);
    c0Item* far = GetItem(before + 10);
    far->SetBody("x");
    far->SaveChanges();
    EXPECT_EQ(NewItem("b", kSituationGroupKey), before + 11);

    // After ClearItems the counter is read again from the file.
    ClearItems();
    EXPECT_EQ(NewItem("c", kSituationGroupKey), before + 12);
}

TEST_F(ItemsTest, FixedItemWithoutRowReadsEmptyAndItsFirstSaveAddsTheRow)
{
    ASSERT_FALSE(hasRow(11));
    c0Item* name = GetSituationItem(11);
    EXPECT_EQ(name->ItemName(), "");
    EXPECT_EQ(name->Body(), "");
    SaveSituation();
    EXPECT_FALSE(hasRow(11)) << "an unchanged item writes nothing";

    name->SetBody("Cedar Ridge");
    SaveSituation();
    ASSERT_TRUE(hasRow(11));
    EXPECT_EQ(stored(11, "Body").toString(), "Cedar Ridge");
    EXPECT_TRUE(stored(11, "ParentKey").isNull());

    reopen();
    ClearItems();
    EXPECT_EQ(GetSituationItem(11)->Body(), "Cedar Ridge");
}

TEST_F(ItemsTest, SettingTheSameValueStillWritesAndTheCacheServesOneObjectPerKey)
{
    c0Item* item = GetSummaryItem(291);
    EXPECT_EQ(item, GetItem(291));
    EXPECT_EQ(item->Heading(), "Selected Alternative Description");
    item->SetHeading(item->Heading());
    EXPECT_TRUE(item->Changed());
    // Someone else changes the row: a save of the cached item writes its own copy back.
    db().Execute("UPDATE Items SET Heading = 'other' WHERE ItemKey = 291");
    SaveSummary();
    EXPECT_FALSE(item->Changed());
    EXPECT_EQ(stored(291, "Heading").toString(), "Selected Alternative Description");
}

TEST_F(ItemsTest, ChildListsFollowChildIndexWithTiesInKeyOrder)
{
    EXPECT_TRUE(GetChildKeys(kSituationGroupKey).isEmpty());
    EXPECT_EQ(CountChildItems(kSituationGroupKey), 0);

    const int a = NewItem("a", kSituationGroupKey);
    const int b = NewItem("b", kSituationGroupKey);
    const int c = NewItem("c", kSituationGroupKey);
    DeleteItem(b);
    // The others keep 1 and 3; the next child gets count + 1 = 3 and sorts after c by key.
    const int d = NewItem("d", kSituationGroupKey);
    EXPECT_EQ(stored(a, "ChildIndex").toInt(), 1);
    EXPECT_EQ(stored(c, "ChildIndex").toInt(), 3);
    EXPECT_EQ(stored(d, "ChildIndex").toInt(), 3);
    EXPECT_EQ(GetChildKeys(kSituationGroupKey), (QList<int>{a, c, d}));

    // Stored out of key order: the list still follows ChildIndex, then key.
    db().Execute("UPDATE Items SET ChildIndex = 0 WHERE ItemKey = ?", {d});
    const QList<c0Item*> items = GetSituationTopics();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->ItemKey(), d);
    EXPECT_EQ(items[1]->ItemKey(), a);
    EXPECT_EQ(items[2]->ItemKey(), c);
    EXPECT_EQ(items[1], GetItem(a));
}

TEST_F(ItemsTest, DeletingRemovesTheRowAndAStaleReferenceNeverBringsItBack)
{
    const int child = NewItem("parent", kSituationGroupKey);
    const int grandchild = NewItem("child", child);
    c0Item* stale = GetItem(child);
    stale->SetHeading("edited");

    DeleteItem(child);
    EXPECT_FALSE(hasRow(child));
    EXPECT_TRUE(hasRow(grandchild)) << "children are left in place";

    stale->SetBody("late edit");
    stale->SaveChanges();
    SaveAllItems();
    EXPECT_FALSE(hasRow(child));
    EXPECT_NE(GetItem(child), stale) << "a later GetItem reads the key afresh";
}

TEST_F(ItemsTest, DeletingAKeyWithoutRowDeletesNothing)
{
    const int a = NewItem("a", kSituationGroupKey);
    const int rowsBefore = db().OpenRecordset("SELECT COUNT(*) FROM Items")->Field(0).toInt();
    DeleteItem(a + 100);
    DeleteItem(11);
    EXPECT_EQ(db().OpenRecordset("SELECT COUNT(*) FROM Items")->Field(0).toInt(), rowsBefore);
    EXPECT_TRUE(hasRow(a));
}

TEST_F(ItemsTest, DeleteTheFileRefusesIsReportedAndTheItemStays)
{
    const int key = NewItem("Fuels", kSituationGroupKey);
    c0Item* item = GetItem(key);
    db().Execute("CREATE TEMP TRIGGER keep_items BEFORE DELETE ON Items BEGIN SELECT RAISE(ABORT, 'the disk is full'); END");
    EXPECT_THROW(DeleteItem(key), dao::Error);
    db().Execute("DROP TRIGGER keep_items");
    EXPECT_TRUE(hasRow(key));
    EXPECT_EQ(GetItem(key), item) << "still the one copy the worksheet edits";
    item->SetHeading("Fuels and moisture");
    SaveAllItems();
    EXPECT_EQ(stored(key, "Heading").toString(), "Fuels and moisture");
}

TEST_F(ItemsTest, NewAreaIsListedBeforeTheSaveAndStoredByIt)
{
    EXPECT_TRUE(RMAListEntries().isEmpty());
    c0Item* north = NewRMA("North Zone", "{\\rtf1 objectives\\par }");
    c0Item* south = NewRMA("South Zone", "");
    EXPECT_EQ(RMAListEntries(), (QList<ListEntry>{{"North Zone", north->ItemKey()}, {"South Zone", south->ItemKey()}}));
    EXPECT_EQ(stored(north->ItemKey(), "Heading").toString(), "");

    SaveRMAs();
    EXPECT_EQ(stored(north->ItemKey(), "Heading").toString(), "North Zone");
    EXPECT_EQ(stored(north->ItemKey(), "ItemName").toString(), "");

    DeleteRMA(north->ItemKey());
    EXPECT_EQ(stored(south->ItemKey(), "ChildIndex").toInt(), 2);
    ASSERT_EQ(GetRMAs().size(), 1);
    EXPECT_EQ(GetRMAs()[0]->Heading(), "South Zone");
}

TEST_F(ItemsTest, SummaryListShowsTheDecisionTopicsInOrder)
{
    EXPECT_EQ(SummaryListEntries(),
              (QList<ListEntry>{{"Selected Alternative Description", 291},
                                {"Rationale for selecting this Alternative", 292}}));
    const int topic = NewSituationTopic("Fuels");
    EXPECT_EQ(GetSituationTopics().size(), 1);
    EXPECT_EQ(GetSituationTopics()[0]->ItemName(), "Fuels");
    EXPECT_EQ(GetSituationTopics()[0]->ItemKey(), topic);
}

TEST(ItemsWithoutFile, CallsAreRefusedWithAnErrorNotACrash)
{
    ASSERT_EQ(gDatabase(), nullptr);
    ClearItems();
    EXPECT_THROW(GetItem(11), dao::Error);
    EXPECT_THROW(GetChildKeys(kSituationGroupKey), dao::Error);
    EXPECT_THROW(NewItem("x", kSituationGroupKey), dao::Error);
    EXPECT_THROW(DeleteItem(11), dao::Error);
    c0Item item;
    EXPECT_THROW(item.Initialize(11), dao::Error);
    item.SetBody("text");
    EXPECT_THROW(item.SaveChanges(), dao::Error);
    EXPECT_TRUE(item.Changed()) << "the edit is kept";
}

} // namespace
