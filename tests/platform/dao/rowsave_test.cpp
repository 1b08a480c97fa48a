#include "platform/dao/rowsave.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace dao;

namespace {

class RowSaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = Database::Create(dir.filePath("a.tlm"));
        db->Execute("CREATE TABLE Pairs (OutcomeKey LONG INTEGER, ItemKey LONG INTEGER, Share SINGLE REAL, "
                    "PRIMARY KEY (OutcomeKey, ItemKey))");
    }
    QVariant share(int outcome, int item)
    {
        auto rs = db->OpenRecordset("SELECT Share FROM Pairs WHERE OutcomeKey = ? AND ItemKey = ?", {outcome, item});
        return rs->Eof() ? QVariant() : rs->Field(0);
    }

    QTemporaryDir dir;
    std::unique_ptr<Database> db;
};

TEST_F(RowSaveTest, AddsOrEditsByPrimaryKeyAndClearsTheFlagOnCommit)
{
    ChangeFlag changed = true;
    SaveRow(*db, "Pairs", {1, 2}, {{"Share", 0.5}}, IfMissing::Add, changed);
    EXPECT_FALSE(changed);
    EXPECT_EQ(share(1, 2).toFloat(), 0.5f);

    changed = true;
    SaveRow(*db, "Pairs", {1, 2}, {{"Share", 0.25}}, IfMissing::Report, changed);
    EXPECT_EQ(share(1, 2).toFloat(), 0.25f);
    EXPECT_EQ(db->OpenRecordset("SELECT COUNT(*) FROM Pairs")->Field(0).toInt(), 1);

    changed = true;
    EXPECT_THROW(SaveRow(*db, "Pairs", {1, 3}, {{"Share", 1}}, IfMissing::Report, changed), Error);
    EXPECT_TRUE(changed);
    EXPECT_FALSE(share(1, 3).isValid());
}

TEST_F(RowSaveTest, ARolledBackScopeSetsAgainTheFlagsClearedInsideIt)
{
    ChangeFlag kept = true;
    ChangeFlag inner = true;
    auto gone = std::make_unique<ChangeFlag>(true);
    {
        SaveScope outer(*db);
        SaveRow(*db, "Pairs", {1, 1}, {{"Share", 1}}, IfMissing::Add, kept);
        {
            SaveScope nested(*db);
            SaveRow(*db, "Pairs", {1, 2}, {{"Share", 2}}, IfMissing::Add, inner);
            SaveRow(*db, "Pairs", {1, 3}, {{"Share", 3}}, IfMissing::Add, *gone);
            nested.commit();
        }
        gone.reset();   // an object dropped before the outer save ends is passed over
        EXPECT_FALSE(kept);
        EXPECT_FALSE(inner);
    }
    EXPECT_TRUE(kept);
    EXPECT_TRUE(inner);
    EXPECT_EQ(db->OpenRecordset("SELECT COUNT(*) FROM Pairs")->Field(0).toInt(), 0);

    {
        SaveScope outer(*db);
        SaveRow(*db, "Pairs", {1, 1}, {{"Share", 1}}, IfMissing::Add, kept);
        outer.commit();
    }
    EXPECT_FALSE(kept);
    EXPECT_EQ(share(1, 1).toFloat(), 1.0f);
}

} // namespace
