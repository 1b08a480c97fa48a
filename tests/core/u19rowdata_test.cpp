#include "support/datafile_fixture.h"

#include "core/u19rowdata.h"

namespace {

class RowDataTest : public DatafileFixture {
protected:
    void SetUp() override
    {
        DatafileFixture::SetUp();
        db().Execute("INSERT INTO Items (ItemKey, ItemName, Body, ParentKey) VALUES (11, NULL, 'Blue Ridge', 2.5)");
        db().Execute("INSERT INTO ValuesAtRisk (ItemKey, PotentialLoss, Probability) VALUES (1, 3.5, NULL)");
        db().Execute("INSERT INTO ValuesAtRisk (ItemKey, PotentialLoss, Probability) VALUES (2, -2.5, 95)");
    }
};

TEST_F(RowDataTest, ReadsValuesAndNulls)
{
    auto items = db().OpenTable("Items");
    items->Seek(11);
    EXPECT_EQ(core::GetFieldText(*items, "Body"), "Blue Ridge");
    EXPECT_EQ(core::GetFieldText(*items, "ItemName"), "");
    EXPECT_EQ(core::GetFieldText(*items, "ItemKey"), "11");
    EXPECT_EQ(core::GetFieldLong(*items, "ChildIndex"), 0);

    auto values = db().OpenTable("ValuesAtRisk");
    const struct {
        int key;
        int asLong;
        float asSingle;
        int probability;
    } rows[] = {{1, 4, 3.5f, 0}, {2, -2, -2.5f, 95}};   // halves go to the even neighbour
    for (const auto& r : rows) {
        values->Seek(r.key);
        EXPECT_EQ(core::GetFieldLong(*values, "PotentialLoss"), r.asLong);
        EXPECT_EQ(core::GetFieldSingle(*values, "PotentialLoss"), r.asSingle);
        EXPECT_EQ(core::GetFieldLong(*values, "Probability"), r.probability);
        EXPECT_EQ(core::GetFieldText(*values, "PotentialLoss"), QString::number(r.asSingle));
    }
}

TEST_F(RowDataTest, NoRowGivesDefaults)
{
    auto values = db().OpenTable("ValuesAtRisk");
    values->Seek(99);
    ASSERT_TRUE(values->NoMatch());
    EXPECT_EQ(core::GetFieldText(*values, "PotentialLoss"), "");
    EXPECT_EQ(core::GetFieldLong(*values, "PotentialLoss"), 0);
    EXPECT_EQ(core::GetFieldSingle(*values, "PotentialLoss"), 0.0f);
    // A failed seek is checked before the field: even an unknown name gives the default.
    EXPECT_EQ(core::GetFieldText(*values, "NoSuchField"), "");

    auto query = db().OpenRecordset("SELECT * FROM ValuesAtRisk WHERE ItemKey > 100");
    EXPECT_TRUE(query->Eof());
    EXPECT_EQ(core::GetFieldLong(*query, "Probability"), 0);

    auto all = db().OpenRecordset("SELECT * FROM ValuesAtRisk ORDER BY ItemKey");
    all->MoveLast();
    all->MoveNext();
    EXPECT_EQ(core::GetFieldSingle(*all, "PotentialLoss"), 0.0f);
}

TEST_F(RowDataTest, UnknownFieldOnARowIsAnError)
{
    auto values = db().OpenTable("ValuesAtRisk");
    values->Seek(1);
    EXPECT_THROW(core::GetFieldText(*values, "NoSuchField"), dao::Error);
}

} // namespace
