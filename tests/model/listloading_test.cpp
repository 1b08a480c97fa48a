// The outcome's lists read all their rows with one query; every object must come out as the
// one-row Initialize of the same object reads it, also for missing rows and odd stored values.

#include "model/c52outcomelist.h"
#include "model/c53outcome.h"
#include "model/c61ratinglist.h"
#include "model/c63burnarealist.h"
#include "model/c65itemimpactlist.h"
#include "model/g33fmus.h"
#include "model/g36threateneditems.h"
#include "model/rowvalues.h"
#include "model_tables_fixture.h"

#include <limits>

using model::OutcomeKind;
using namespace model;

namespace {

struct LongCase {
    QVariant stored;
    int expected;
};

TEST(RowValues, ConvertAsTheFieldReadersDo)
{
    const double inf = std::numeric_limits<double>::infinity();
    const LongCase longs[] = {
        {QVariant(), 0},        {QVariant(7), 7},          {QVariant(2.5), 2},   {QVariant(3.5), 4},
        {QVariant(-2.5), -2},   {QVariant(-3.5), -4},      {QVariant(4.49), 4},  {QVariant(QStringLiteral("12")), 12},
        {QVariant(QStringLiteral("x")), 0}, {QVariant(1e12), std::numeric_limits<int>::max()},
        {QVariant(-1e12), std::numeric_limits<int>::min()}, {QVariant(inf), 0},
    };
    for (const LongCase& c : longs)
        EXPECT_EQ(rowvalue::Long(c.stored), c.expected) << c.stored.toString().toStdString();
    EXPECT_EQ(rowvalue::Single(QVariant()), 0.0f);
    EXPECT_EQ(rowvalue::Single(QVariant(QStringLiteral("x"))), 0.0f);
    EXPECT_EQ(rowvalue::Single(QVariant(7.25f)), 7.25f);
    EXPECT_EQ(rowvalue::Text(QVariant()), QString());
    EXPECT_EQ(rowvalue::Text(QVariant(QStringLiteral("note"))), QStringLiteral("note"));
}

class ListLoading : public ModelTablesFixture {
protected:
    static constexpr int kOutcome = 1;   // the Extreme outcome of every file
    static constexpr int kOther = 901;
};

TEST_F(ListLoading, RatingsMatchTheirOneRowReadsAndTakeNoOtherOutcomesRows)
{
    db().Execute("DELETE FROM Objectives");
    const QVariantList tree[] = {
        // Key, ParentKey, ChildKey, SiblingKey, Priority
        {1, 0, 3, 0, 10}, {2, 0, 20, 0, 10}, {3, 1, 10, 0, 10}, {10, 3, 0, 11, 4},
        {11, 3, 0, 0, 6}, {20, 2, 0, 21, 10}, {21, 2, 0, 0, 5},
    };
    for (const QVariantList& r : tree)
        db().Execute("INSERT INTO Objectives (\"Key\", ParentKey, ChildKey, SiblingKey, Priority) "
                     "VALUES (?, ?, ?, ?, ?)",
                     r);
    const QVariantList scores[] = {
        {kOutcome, 10, 7.5, "habitat"}, {kOutcome, 11, QVariant(), "no value"}, {kOutcome, 3, 9, "category"},
        {kOutcome, 20, 3, QVariant()},  {kOther, 21, 8, "other outcome"},      {kOther, 10, 1, "other outcome"},
    };
    for (const QVariantList& r : scores)
        db().Execute("INSERT INTO Scores (OutcomeKey, CriterionKey, Value, Description) VALUES (?, ?, ?, ?)", r);
    ClearObjectives();
    ClearSafetyIssues();

    c61RatingList list;
    list.Initialize(kOutcome);
    QList<int> keys;
    for (const c62Rating* r : list.ObjectiveRatings())
        keys.append(r->CriterionKey());
    for (const c62Rating* r : list.SafetyRatings())
        keys.append(r->CriterionKey());
    EXPECT_EQ(keys, (QList<int>{1, 3, 10, 11, 2, 20, 21}));

    struct Expected { int key; float raw; const char* description; };
    const Expected expected[] = {{1, 0, ""}, {3, 0, ""}, {10, 7.5f, "habitat"}, {11, 0, "no value"},
                                 {2, 0, ""}, {20, 3, ""}, {21, 0, ""}};
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.key);
        const bool safety = e.key == 2 || e.key >= 20;
        const c62Rating* loaded = safety ? list.SafetyRatings().Find(e.key) : list.ObjectiveRatings().Find(e.key);
        ASSERT_NE(loaded, nullptr);
        c62Rating single;
        single.Initialize(kOutcome, e.key, safety ? Criteria::Safety : Criteria::Objectives,
                          loaded->bCategory() ? RatingLevel::Category : RatingLevel::Criterion);
        EXPECT_EQ(loaded->RawScore(), e.raw);
        EXPECT_EQ(loaded->Description(), QString::fromLatin1(e.description));
        EXPECT_EQ(single.RawScore(), loaded->RawScore());
        EXPECT_EQ(single.Description(), loaded->Description());
        EXPECT_FALSE(loaded->Changed());
    }
    EXPECT_FLOAT_EQ(list.TotalScore(), 0.4f * 7.5f);
    EXPECT_FLOAT_EQ(list.CategoryScore(3), 0.4f * 7.5f);

    // A score saved from a fresh list, its note never shown, keeps the note stored with it.
    list.Initialize(kOutcome);
    c62Rating* rated = list.ObjectiveRatings().Find(10);
    ASSERT_NE(rated, nullptr);
    rated->SetRawScore(8);
    rated->SaveChanges();
    auto rs = db().OpenRecordset(QStringLiteral("SELECT Value, Description FROM Scores WHERE OutcomeKey = 1 "
                                                "AND CriterionKey = 10"));
    ASSERT_FALSE(rs->Eof());
    EXPECT_EQ(rs->Field(0).toDouble(), 8.0);
    EXPECT_EQ(rs->Field(1).toString(), QStringLiteral("habitat"));
}

TEST_F(ListLoading, BurnAreasMatchTheirOneRowReadsWithMissingRowsAndOddValues)
{
    // Without FMUs the whole fire reads the FMU-0 row.
    setFMZ(kOutcome, 0, 3, {1, 2, 3, 4, 5, 6});
    {
        c63BurnAreaList list;
        list.Initialize(kOutcome);
        ASSERT_NE(list.BurnArea(0), nullptr);
        EXPECT_EQ(list.BurnArea(0)->FMUPortion(), 3);
        EXPECT_EQ(list.BurnArea(0)->FILPortion(6), 6);
    }

    QList<int> fmus;
    for (int i = 1; i <= 4; ++i)
        fmus.append(NewFMU("", QStringLiteral("Unit-%1").arg(i))->ItemKey());
    ClearFMUs();
    setFMZ(kOutcome, fmus[0], 40, {0, 0, 0, 5, 0, 0});
    db().Execute("DELETE FROM OutcomeFMZs WHERE OutcomeKey = ? AND FMZKey = ?", {kOutcome, fmus[1]});
    db().Execute("UPDATE OutcomeFMZs SET Portion = NULL, FIL1Portion = 2.5, FIL2Portion = 3.5, FIL3Portion = '12' "
                 "WHERE OutcomeKey = ? AND FMZKey = ?",
                 {kOutcome, fmus[2]});
    setFMZ(kOther, fmus[3], 99, {9, 9, 9, 9, 9, 9});
    db().Execute("DELETE FROM OutcomeFMZs WHERE OutcomeKey = ? AND FMZKey = ?", {kOutcome, fmus[3]});

    c63BurnAreaList list;
    list.Initialize(kOutcome);
    ASSERT_EQ(list.BurnAreaCollection().size(), 4);
    for (int j = 0; j < 4; ++j) {
        SCOPED_TRACE(j);
        const c64BurnArea* loaded = list.BurnAreaCollection()[j];
        EXPECT_EQ(loaded->FMUKey(), fmus[j]);
        c64BurnArea single;
        single.Initialize(kOutcome, fmus[j]);
        EXPECT_EQ(loaded->FMUPortion(), single.FMUPortion());
        for (int i = 1; i <= 6; ++i)
            EXPECT_EQ(loaded->FILPortion(i), single.FILPortion(i)) << "level " << i;
        EXPECT_FALSE(loaded->Changed());
    }
    EXPECT_EQ(list.BurnArea(fmus[0])->FMUPortion(), 40);
    EXPECT_EQ(list.BurnArea(fmus[1])->FMUPortion(), 0);
    EXPECT_EQ(list.BurnArea(fmus[1])->FILPercent(1), 16);
    EXPECT_EQ(list.BurnArea(fmus[2])->FMUPortion(), 0);
    EXPECT_EQ(list.BurnArea(fmus[2])->FILPortion(1), 2);
    EXPECT_EQ(list.BurnArea(fmus[2])->FILPortion(2), 4);
    EXPECT_EQ(list.BurnArea(fmus[2])->FILPortion(3), 12);
    EXPECT_EQ(list.BurnArea(fmus[3])->FILPortion(1), 0) << "another outcome's row";

    // Saving a loaded area whose row was missing adds the row.
    list.BurnArea(fmus[1])->SetFMUPortion(7);
    list.BurnArea(fmus[1])->SaveChanges();
    EXPECT_EQ(count("SELECT Portion FROM OutcomeFMZs WHERE OutcomeKey = ? AND FMZKey = ?", {kOutcome, fmus[1]}), 7);
}

// The lists of all outcomes are read together and kept; a list built after any change to the
// file, also one rolled back, reads the file as it is then.
TEST_F(ListLoading, ListsBuiltAfterAnEditOrARollbackReadTheFileAsItIsNow)
{
    const auto firstLevel = [](int outcomeKey) {
        c63BurnAreaList list;
        list.Initialize(outcomeKey);
        return list.BurnArea(0)->FILPortion(1);
    };
    setFMZ(kOutcome, 0, 3, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(firstLevel(kOutcome), 1);
    EXPECT_EQ(firstLevel(kOther), 0);
    setFMZ(kOther, 0, 5, {7, 0, 0, 0, 0, 0});
    EXPECT_EQ(firstLevel(kOther), 7);
    {
        dao::Transaction trans(db());
        db().Execute("UPDATE OutcomeFMZs SET FIL1Portion = 9 WHERE OutcomeKey = ?", {kOther});
        EXPECT_EQ(firstLevel(kOther), 9);
    }
    EXPECT_EQ(firstLevel(kOther), 7);
    EXPECT_EQ(firstLevel(kOutcome), 1);
}

// A key stored as a fraction (only a damaged file holds one) reads as its outcome's own query
// reads it: in key order, where the whole key comes before the fraction that rounds to it.
TEST_F(ListLoading, AnOutcomeWithAFractionalKeyReadsItsRowsInKeyOrder)
{
    db().Execute("INSERT INTO OutcomeFMZs (OutcomeKey, FMZKey, Portion, FIL1Portion) VALUES (?, 0.25, 1, 8)",
                 {kOutcome});
    setFMZ(kOutcome, 0, 3, {1, 2, 3, 4, 5, 6});
    setFMZ(kOther, 0, 5, {7, 0, 0, 0, 0, 0});
    const auto firstLevel = [](int outcomeKey) {
        c63BurnAreaList list;
        list.Initialize(outcomeKey);
        return list.BurnArea(0)->FILPortion(1);
    };
    c64BurnArea single;
    single.Initialize(kOutcome, 0);
    EXPECT_EQ(single.FILPortion(1), 1);
    EXPECT_EQ(firstLevel(kOutcome), 1);
    EXPECT_EQ(firstLevel(kOther), 7);
    // A fractional outcome key: no outcome's row, and every outcome read its own way.
    db().Execute("INSERT INTO OutcomeFMZs (OutcomeKey, FMZKey, Portion, FIL1Portion) VALUES (2.5, 0, 1, 8)");
    EXPECT_EQ(firstLevel(kOutcome), 1);
    EXPECT_EQ(firstLevel(kOther), 7);
    for (int key : {2, 3})
        EXPECT_EQ(firstLevel(key), 0) << "an outcome key of 2.5 is no outcome's";
}

// The alternatives' outcomes are read for every alternative at once; one whose outcome key is
// stored as a fraction (only a damaged file holds one) reads as its own query reads it, in key
// order, and the other alternatives read theirs as before.
TEST_F(ListLoading, AnAlternativeWithAFractionalOutcomeKeyReadsItsRowsInKeyOrder)
{
    const int odd = 960;
    const int plain = 961;
    db().Execute("INSERT INTO Outcomes (ItemKey, ParentKey, ChildIndex, FireSize) VALUES (921, ?, 1, 300), "
                 "(920.5, ?, 1, 200), (922, ?, 2, 400), (931, ?, 1, 500), (930, ?, 1, 600)",
                 {odd, odd, odd, plain, plain});
    const struct {
        int alt;
        model::OutcomeKind idx;
        int key;
        const char* size;
    } cases[] = {{odd, model::OutcomeKind::Target, 920, "200"},
                 {odd, model::OutcomeKind::Fallback, 922, "400"},
                 {plain, model::OutcomeKind::Target, 930, "600"},
                 {plain, model::OutcomeKind::Fallback, 0, "0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "alternative " << c.alt << " index " << int(c.idx));
        c52OutcomeList list;
        list.Initialize(c.alt);
        c53Outcome single;
        single.Initialize(c.alt, int(c.idx));
        EXPECT_EQ(list.Outcome(c.idx)->ItemKey(), single.ItemKey());
        EXPECT_EQ(list.Outcome(c.idx)->FireSize(), single.FireSize());
        EXPECT_EQ(list.Outcome(c.idx)->ItemKey(), c.key);
        EXPECT_EQ(list.Outcome(c.idx)->FireSize(), c.size);
    }
}

TEST_F(ListLoading, OutcomePairMatchesOneRowReadsTakesTheLowestKeyAndMarksAMissingRow)
{
    const int alt = 950;
    const QVariantList rows[] = {
        // ItemKey, ChildIndex, FireSize, ContainTime, Success, CostSource, Description
        {912, 1, 1200.5, 2.5, 60, 0, "target, second row"},
        {911, 1, 800, 3, 70, 2, "target"},
        {913, 3, 5, 5, 5, 5, "not an outcome index"},
    };
    for (const QVariantList& r : rows)
        db().Execute("INSERT INTO Outcomes (ItemKey, ParentKey, ChildIndex, FireSize, ContainTime, Success, CostSource, "
                     "Description) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                     {r[0], alt, r[1], r[2], r[3], r[4], r[5], r[6]});
    db().Execute("INSERT INTO Outcomes (ItemKey, ParentKey, ChildIndex, ContainTime) VALUES (914, ?, 2, NULL)", {alt});
    db().Execute("UPDATE Outcomes SET ControlTime = 'x', AdjustedCost = NULL WHERE ItemKey = 914");

    c52OutcomeList list;
    list.Initialize(alt);
    for (const OutcomeKind kind : kAlternativeOutcomeKinds) {
        SCOPED_TRACE(int(kind));
        const c53Outcome& loaded = *list.Outcome(kind);
        c53Outcome single;
        single.Initialize(alt, int(kind));
        EXPECT_EQ(loaded.ItemKey(), single.ItemKey());
        EXPECT_EQ(loaded.Exists(), single.Exists());
        EXPECT_EQ(loaded.FireSize(), single.FireSize());
        EXPECT_EQ(loaded.ContainTimeString(), single.ContainTimeString());
        EXPECT_EQ(loaded.ControlTimeString(), single.ControlTimeString());
        EXPECT_EQ(loaded.Success(), single.Success());
        EXPECT_EQ(loaded.CostSource(), single.CostSource());
        EXPECT_EQ(loaded.Description(), single.Description());
        EXPECT_FALSE(loaded.IsDirty());
    }
    EXPECT_EQ(list.Outcome(OutcomeKind::Target)->ItemKey(), 911);
    EXPECT_EQ(list.Outcome(OutcomeKind::Target)->Description(), "target");
    EXPECT_EQ(list.Outcome(OutcomeKind::Target)->CostSource(), CostSource::ResourceList);
    EXPECT_EQ(list.Outcome(OutcomeKind::Fallback)->ItemKey(), 914);
    EXPECT_EQ(list.Outcome(OutcomeKind::Fallback)->CostSource(), CostSource::BySize) << "an unset cost source reads as cost by size";
    EXPECT_EQ(list.Outcome(OutcomeKind::Fallback)->ContainTimeString(), "");

    // An alternative without rows: both outcomes exist as objects, marked as not stored.
    c52OutcomeList empty;
    empty.Initialize(alt + 1);
    EXPECT_FALSE(empty.Outcome(OutcomeKind::Target)->Exists());
    EXPECT_FALSE(empty.Outcome(OutcomeKind::Fallback)->Exists());
    EXPECT_EQ(empty.Outcome(OutcomeKind::Target)->ItemKey(), 0);
    EXPECT_EQ(empty.Outcome(OutcomeKind::Fallback)->CostSource(), CostSource::BySize);
}

} // namespace
