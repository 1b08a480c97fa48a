#include "core/u14properties.h"
#include "core/u19rowdata.h"
#include "model/c33fmu.h"
#include "model/c35aactable.h"
#include "model/c62rating.h"
#include "model/c64burnarea.h"
#include "model/g33fmus.h"
#include "model/g64burnareas.h"
#include "model_tables_fixture.h"

#include <stdexcept>

using namespace model;

namespace {

struct CostCase {
    const char* table;
    std::vector<float> tops;
    std::vector<float> costs;
    float size;
    float expected;
};

TEST(CostForSize, PicksTheBracketOrTheFallbackForLargerFires)
{
    const std::vector<float> aTops{10, 100, 0}, aCosts{500, 300, 200};
    const std::vector<float> bTops{10, 100, 1000}, bCosts{500, 300, 0};
    const std::vector<float> cTops{10, 0, 0}, cCosts{500, 0, 250};
    const CostCase cases[] = {
        {"A", aTops, aCosts, 0, 500},      {"A", aTops, aCosts, 10, 500},
        {"A", aTops, aCosts, 10.5f, 300},  {"A", aTops, aCosts, 100, 300},
        {"A", aTops, aCosts, 5000, 200},   {"A", aTops, aCosts, -5, 500},
        {"B", bTops, bCosts, 5000, 300},   {"B", bTops, bCosts, 500, 0},
        {"C", cTops, cCosts, 50, 500},     {"C", cTops, cCosts, 5, 500},
        {"zero", {}, {}, 0, 0},            {"zero", {}, {}, 1000, 0},
        {"zero", {}, {}, -1, 0},
    };
    for (const CostCase& c : cases) {
        c35AACTable table;
        for (size_t i = 0; i < c.tops.size(); ++i)
            table.SetTopSize(int(i) + 1, c.tops[i]);
        for (size_t i = 0; i < c.costs.size(); ++i)
            table.SetCost(int(i) + 1, c.costs[i]);
        EXPECT_FLOAT_EQ(table.CostForSize(c.size), c.expected) << "table " << c.table << ", size " << c.size;
    }
    c35AACTable table;
    EXPECT_THROW(table.Cost(0), std::out_of_range);
    EXPECT_THROW(table.SetTopSize(10, 1), std::out_of_range);
}

TEST(ModelWithoutFile, CallsAreRefusedWithAnErrorNotACrash)
{
    ASSERT_EQ(core::gDatabase(), nullptr);
    ClearFMUs();
    ClearNVCResources();
    ClearObjectives();
    ClearSafetyIssues();
    EXPECT_THROW(FMUCount(), dao::Error);
    EXPECT_THROW(GetNVCTable(0), dao::Error);
    EXPECT_THROW(GetResourceName(1), dao::Error);
    EXPECT_THROW(GetObjective(1), dao::Error);
    EXPECT_THROW(GetSafetyIssue(2), dao::Error);
    EXPECT_THROW(NewObjectiveKey("", 1), dao::Error);
    EXPECT_THROW(DeleteOutcomeFMZs(1), dao::Error);
    c35AACTable costs;
    EXPECT_THROW(costs.Initialize(0), dao::Error);
    c64BurnArea area;
    EXPECT_THROW(area.Initialize(1, 0), dao::Error);
    c62Rating rating;
    EXPECT_THROW(rating.Initialize(1, 10, model::Criteria::Objectives, model::RatingLevel::Criterion), dao::Error);
    rating.SetRawScore(5);
    EXPECT_THROW(rating.SaveChanges(), dao::Error);
}

class FMUTables : public ModelTablesFixture {
protected:
    // Every cell of the whole fire's tables is what a seek for its row reads.
    void expectCellsAsSeeksReadThem()
    {
        auto nvc = db().OpenTable("NVCPerAcre");
        nvc->SetIndex("PrimaryKey");
        for (int r = 1; r <= kNVCResourceCount; ++r) {
            nvc->Seek(0, r);
            for (int i = 1; i <= kFILCount; ++i)
                EXPECT_EQ(GetNVCTable(0)->NVCCellValue(r, i), core::GetFieldSingle(*nvc, QStringLiteral("FIL%1").arg(i)))
                    << "resource " << r << " level " << i;
        }
        nvc->Close();
        auto aac = db().OpenTable("SuppressionPerAcreCost");
        aac->SetIndex("PrimaryKey");
        for (int s = 1; s <= kCostBracketCount; ++s) {
            aac->Seek(0, s);
            EXPECT_EQ(GetAACTable(0)->TopSize(s), core::GetFieldSingle(*aac, "TopSize")) << "bracket " << s;
            EXPECT_EQ(GetAACTable(0)->Cost(s), core::GetFieldSingle(*aac, "Cost")) << "bracket " << s;
        }
        aac->Close();
    }
};

// FMUs list in the order of their keys, whatever the order their rows were written in, each with
// its code and name (none where the row holds none).
TEST_F(FMUTables, FMUsListByKeyWithTheirCodesAndNames)
{
    struct Row { int key; QVariant code; QVariant name; };
    const Row rows[] = {{30, "C", "Canyon"}, {10, QVariant(), "Alder"}, {20, "B", QVariant()}, {25, "", "Ridge"}};
    for (const Row& r : rows)
        db().Execute("INSERT INTO FMZList (\"Key\", FMZCode, Name) VALUES (?, ?, ?)", {r.key, r.code, r.name});
    ClearFMUs();
    QStringList listed;
    for (const c33FMU* fmu : GetFMUs())
        listed << QStringLiteral("%1 %2 %3").arg(fmu->ItemKey()).arg(fmu->FMZCode(), fmu->ItemName());
    EXPECT_EQ(listed, (QStringList{"10  Alder", "20 B ", "25  Ridge", "30 C Canyon"}));
    EXPECT_EQ(FMUCount(), 4);
    EXPECT_EQ(GetFMU(25)->ItemName(), QStringLiteral("Ridge"));
}

TEST_F(FMUTables, WithoutFMUsEveryKeyAnswersWithTheWholeFireTables)
{
    EXPECT_EQ(FMUCount(), 0);
    EXPECT_TRUE(FMUListEntries().isEmpty());
    c34NVCTable* nvc = GetNVCTable(7);
    EXPECT_EQ(nvc, GetNVCTable(0));
    EXPECT_EQ(nvc->FMUKey(), 0);
    EXPECT_EQ(GetAACTable(3), GetAACTable(0));

    // Served from memory: a change in the file is not seen until ClearFMUs.
    setNVC(0, 2, 3, -40);
    EXPECT_FLOAT_EQ(GetNVCTable(0)->NVCCellValue(2, 3), 0);
    EXPECT_FALSE(AnyFMUResourceValue(2));
    ClearFMUs();
    EXPECT_FLOAT_EQ(GetNVCTable(0)->NVCCellValue(2, 3), -40);
    EXPECT_TRUE(AnyFMUResourceValue(2));
}

TEST_F(FMUTables, NewFMUGivesEveryOutcomeABurnAreaAndJoinsTheListAfterAClear)
{
    addOutcome(2, 300, 1);
    addOutcome(3, 300, 2);
    EXPECT_EQ(FMUCount(), 0);  // the list is loaded before the FMU is made

    auto fmu = NewFMU("", "North-1");
    ASSERT_GT(fmu->ItemKey(), 0);
    EXPECT_EQ(fmu->ItemName(), "North-1");
    EXPECT_EQ(count("SELECT COUNT(*) FROM OutcomeFMZs WHERE FMZKey = ? AND Portion = 50 AND FIL4Portion = 5",
                    {fmu->ItemKey()}),
              3);
    EXPECT_EQ(FMUCount(), 0);

    ClearFMUs();
    auto second = NewFMU("B", "South-1");
    ClearFMUs();
    EXPECT_EQ(FMUCount(), 2);
    EXPECT_EQ(FMUListEntries(), (QList<core::ListEntry>{{"North-1", fmu->ItemKey()}, {"South-1", second->ItemKey()}}));
    EXPECT_EQ(GetFMU(second->ItemKey())->FMZCode(), "B");
    EXPECT_THROW(GetFMU(999), std::out_of_range);
    EXPECT_THROW(GetNVCTable(0), std::out_of_range);
}

TEST_F(FMUTables, AnyResourceValueConsultsTheFMUTablesOnly)
{
    auto fmu = NewFMU("", "A-1");
    setNVC(0, 5, 1, -100);        // the default table is not in use once FMUs exist
    setNVC(fmu->ItemKey(), 6, 2, -3);
    ClearFMUs();
    EXPECT_FALSE(AnyFMUResourceValue(5));
    EXPECT_TRUE(AnyFMUResourceValue(6));
    EXPECT_FALSE(bNVCTableEmpty());
}

TEST_F(FMUTables, DeletingAnFMURemovesItsRowsAndNothingElse)
{
    auto keep = NewFMU("", "Keep-1");
    auto gone = NewFMU("", "Gone-1");
    for (int k : {keep->ItemKey(), gone->ItemKey()}) {
        setNVC(k, 1, 1, -5);
        setCosts(k, {10}, {100});
    }
    ClearFMUs();
    c33FMU* held = GetFMU(gone->ItemKey());

    DeleteFMU(gone->ItemKey());
    EXPECT_EQ(held->ItemName(), "Gone-1") << "a held pointer stays valid until ClearFMUs";
    EXPECT_EQ(FMUCount(), 1);
    const int g = gone->ItemKey();
    EXPECT_EQ(count("SELECT COUNT(*) FROM FMZList WHERE \"Key\" = ?", {g}), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM OutcomeFMZs WHERE FMZKey = ?", {g}), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM NVCPerAcre WHERE FMZKey = ?", {g}), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM SuppressionPerAcreCost WHERE FMZKey = ?", {g}), 0);
    const int k = keep->ItemKey();
    EXPECT_EQ(count("SELECT COUNT(*) FROM OutcomeFMZs WHERE FMZKey IN (0, ?)", {k}), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM NVCPerAcre WHERE FMZKey IN (0, ?)", {k}), 15);
    EXPECT_EQ(count("SELECT COUNT(*) FROM SuppressionPerAcreCost WHERE FMZKey IN (0, ?)", {k}), 18);
}

TEST_F(FMUTables, DeletingAnFMUIsAllOrNothing)
{
    auto fmu = NewFMU("", "Half-1");
    setNVC(fmu->ItemKey(), 1, 1, -5);
    db().DropTable("SuppressionPerAcreCost");  // the last step fails
    EXPECT_THROW(fmu->Delete(), dao::Error);
    EXPECT_EQ(count("SELECT COUNT(*) FROM FMZList"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM OutcomeFMZs WHERE FMZKey = ?", {fmu->ItemKey()}), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM NVCPerAcre WHERE FMZKey = ?", {fmu->ItemKey()}), 1);
}

struct GainsCase {
    const char* property;  // nullptr: the file has no such property
    bool gainsCount;
};

TEST_F(FMUTables, GainsCountUnlessTheOptionIsExactlyNo)
{
    ASSERT_EQ(count("SELECT COUNT(*) FROM Properties WHERE Property = 'UseNVCGains'"), 0);
    c34NVCTable table;
    table.SetNVCCellValue(1, 1, 250);
    table.SetNVCCellValue(2, 1, -250);
    EXPECT_FLOAT_EQ(table.NVCCellFilteredValue(1, 1), 0);
    EXPECT_EQ(core::Property_Get("UseNVCGains"), "No") << "the first read adds the option";

    const GainsCase cases[] = {{"No", false}, {"Yes", true}, {"no", true}, {"", true}};
    for (const GainsCase& c : cases) {
        core::Property_Set("UseNVCGains", c.property);
        EXPECT_EQ(UseNVCGains(), c.gainsCount) << c.property;
        EXPECT_FLOAT_EQ(table.NVCCellFilteredValue(1, 1), c.gainsCount ? 250 : 0) << c.property;
        EXPECT_FLOAT_EQ(table.NVCCellFilteredValue(2, 1), -250) << c.property;
        EXPECT_FLOAT_EQ(table.NVCCellFilteredValue(3, 1), 0) << c.property;
        EXPECT_FLOAT_EQ(table.FilTotal(1), c.gainsCount ? 0 : -250) << c.property;
    }
    EXPECT_THROW(table.NVCCellValue(15, 1), std::out_of_range);
    EXPECT_THROW(table.NVCCellValue(1, 0), std::out_of_range);
}

TEST_F(FMUTables, FilTotalsAreRoundedToThreeSignificantDigits)
{
    core::Property_Set("UseNVCGains", "No");
    c34NVCTable table;
    table.SetNVCCellValue(1, 2, -12000);
    table.SetNVCCellValue(2, 2, -345);
    table.SetNVCCellValue(3, 2, 500);
    EXPECT_FLOAT_EQ(table.FilTotal(2), -12300);
    EXPECT_FLOAT_EQ(table.FilTotal(1), 0);
    core::Property_Set("UseNVCGains", "Yes");
    EXPECT_FLOAT_EQ(table.FilTotal(2), -11800);  // -11845
    EXPECT_FLOAT_EQ(table.FilTotals(false)[1], -12300);
    EXPECT_FLOAT_EQ(table.FilTotals(true)[1], -11800);
    table.SetNVCCellValue(2, 2, -1345);
    EXPECT_FLOAT_EQ(table.FilTotal(2), -12800);  // -12845: a changed cell is summed again
    const std::array<float, kFILCount> withGains = {0, -12800, 0, 0, 0, 0};
    EXPECT_EQ(table.FilTotals(true), withGains);
    EXPECT_FLOAT_EQ(table.FilTotals(false)[1], -13300);  // -13345
}

TEST_F(FMUTables, TableOfGainsOnlyIsEmptyWhileGainsDoNotCount)
{
    core::Property_Set("UseNVCGains", "No");
    setNVC(0, 4, 6, 75);
    EXPECT_FALSE(GetNVCTable(0)->bResourceValue(4));
    EXPECT_TRUE(bNVCTableEmpty());
    core::Property_Set("UseNVCGains", "Yes");
    EXPECT_TRUE(GetNVCTable(0)->bResourceValue(4));
    EXPECT_FALSE(bNVCTableEmpty());
}

// An FMU's tables are read with one query each; every cell must come out as a seek for its row
// reads it: missing rows and numbers that are no row's (fractions, out of range) read as zeros.
TEST_F(FMUTables, TablesReadEachRowAsASeekForItsNumberReadsIt)
{
    db().Execute("DELETE FROM NVCPerAcre WHERE FMZKey = 0 AND ResourceNumber IN (3, 9)");
    db().Execute("INSERT INTO NVCPerAcre (FMZKey, ResourceNumber, FIL1) VALUES (0, 3.4, -96), (0, 2.5, -99), "
                 "(0, 15, -98), (0, 0, -97)");
    db().Execute("UPDATE NVCPerAcre SET FIL1 = -5, FIL2 = 'x', FIL3 = 1e300, FIL4 = NULL, FIL5 = 2.5 "
                 "WHERE FMZKey = 0 AND ResourceNumber = 1");
    db().Execute("DELETE FROM SuppressionPerAcreCost WHERE FMZKey = 0 AND Sequence = 4");
    db().Execute("INSERT INTO SuppressionPerAcreCost (FMZKey, Sequence, TopSize, Cost) VALUES (0, 4.4, 7, 7), "
                 "(0, 10, 8, 8)");
    ClearFMUs();
    expectCellsAsSeeksReadThem();
    EXPECT_EQ(GetNVCTable(0)->NVCCellValue(3, 1), 0);
    EXPECT_EQ(GetNVCTable(0)->NVCCellValue(1, 1), -5);
    EXPECT_EQ(GetNVCTable(0)->NVCCellValue(1, 5), 2.5f);
    EXPECT_EQ(GetAACTable(0)->Cost(4), 0);
}

// A number that is no row's, in place of the row of number 3: the tables read for every FMU at
// once leave it out as a seek for each number does, also where it is not stored as a whole number
// or lies beyond a whole number's 32 bits.
TEST_F(FMUTables, TablesReadTogetherLeaveOutEachNumberThatIsNoRows)
{
    db().Execute("DELETE FROM NVCPerAcre WHERE FMZKey = 0 AND ResourceNumber = 3");
    db().Execute("DELETE FROM SuppressionPerAcreCost WHERE FMZKey = 0 AND Sequence = 3");
    const char* const numbers[] = {"0", "15", "-3", "3.4", "2.5", "4294967299", "'3x'", "X'03'", "' 3'"};
    for (const char* number : numbers) {
        SCOPED_TRACE(number);
        db().Execute(QStringLiteral("DELETE FROM NVCPerAcre WHERE FMZKey = 0 AND ResourceNumber NOT BETWEEN 1 AND 14 "
                                    "OR typeof(ResourceNumber) <> 'integer'"));
        db().Execute(QStringLiteral("DELETE FROM SuppressionPerAcreCost WHERE FMZKey = 0 AND Sequence NOT BETWEEN 1 AND 9 "
                                    "OR typeof(Sequence) <> 'integer'"));
        db().Execute(QStringLiteral("INSERT INTO NVCPerAcre (FMZKey, ResourceNumber, FIL2) VALUES (0, %1, -91)").arg(number));
        db().Execute(QStringLiteral("INSERT INTO SuppressionPerAcreCost (FMZKey, Sequence, TopSize, Cost) "
                                    "VALUES (0, %1, 91, 92)").arg(number));
        ClearFMUs();
        expectCellsAsSeeksReadThem();
    }
}

// The FMUs' tables are read for every FMU at once, and again once the file has changed. A row
// whose FMU key is stored as a fraction (only a damaged file holds one) is no FMU's, and every
// table is then read by its own query.
TEST_F(FMUTables, TablesReadTogetherFollowEditsAndLeaveARowOfAFractionalKeyOut)
{
    const int first = NewFMU("", "North")->ItemKey();
    const int second = NewFMU("", "South")->ItemKey();
    setNVC(first, 2, 3, -40);
    setNVC(second, 2, 3, -60);
    ClearFMUs();
    EXPECT_FLOAT_EQ(GetNVCTable(first)->NVCCellValue(2, 3), -40);
    setNVC(second, 2, 3, -65);
    EXPECT_FLOAT_EQ(GetNVCTable(second)->NVCCellValue(2, 3), -65) << "read after the edit";

    db().Execute("INSERT INTO NVCPerAcre (FMZKey, ResourceNumber, FIL3) VALUES (?, 2, -99)", {first + 0.5});
    db().Execute("INSERT INTO SuppressionPerAcreCost (FMZKey, Sequence, Cost) VALUES (?, 1, 99)", {second + 0.5});
    db().Execute("INSERT OR REPLACE INTO SuppressionPerAcreCost (FMZKey, Sequence, Cost) VALUES (?, 1, 700)", {second});
    ClearFMUs();
    EXPECT_FLOAT_EQ(GetNVCTable(first)->NVCCellValue(2, 3), -40);
    EXPECT_FLOAT_EQ(GetNVCTable(second)->NVCCellValue(2, 3), -65);
    EXPECT_FLOAT_EQ(GetAACTable(second)->Cost(1), 700);
}

// A table whose read fails part way must not be kept: a later visit would show, and a save
// would write, the zeros it was left with.
TEST_F(FMUTables, ATableWhoseReadFailsIsReadAgainNotKeptHalfRead)
{
    struct Case {
        const char* table;
        bool withFMU;
    };
    // The whole fire's tables first: once an FMU exists they are no longer read.
    const Case cases[] = {{"NVCPerAcre", false}, {"SuppressionPerAcreCost", false},
                          {"NVCPerAcre", true}, {"SuppressionPerAcreCost", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.table) + (c.withFMU ? " of an FMU" : " of the whole fire"));
        int key = 0;
        if (c.withFMU)
            key = NewFMU("", QStringLiteral("Unit %1").arg(FMUCount() + 1))->ItemKey();
        setNVC(key, 2, 3, -40);
        db().Execute("DELETE FROM SuppressionPerAcreCost WHERE FMZKey = ?", {key});
        db().Execute("INSERT INTO SuppressionPerAcreCost (FMZKey, Sequence, TopSize, Cost) VALUES (?, 1, 10, 700)",
                     {key});
        ClearFMUs();
        EXPECT_EQ(FMUCount() > 0, c.withFMU);   // the FMU list is read before the table goes

        const bool nvc = std::string(c.table) == "NVCPerAcre";
        db().Execute(QStringLiteral("ALTER TABLE %1 RENAME TO Held").arg(c.table));
        if (nvc)
            EXPECT_THROW(GetNVCTable(key), dao::Error);
        else
            EXPECT_THROW(GetAACTable(key), dao::Error);
        db().Execute(QStringLiteral("ALTER TABLE Held RENAME TO %1").arg(c.table));

        if (nvc)
            EXPECT_FLOAT_EQ(GetNVCTable(key)->NVCCellValue(2, 3), -40);
        else
            EXPECT_FLOAT_EQ(GetAACTable(key)->Cost(1), 700);
        ClearFMUs();
    }
}

TEST_F(FMUTables, TablesSaveEveryRowAndAddTheRowsThatAreMissing)
{
    // Half the default rows lost: the edit must still reach the file.
    db().Execute("DELETE FROM NVCPerAcre WHERE FMZKey = 0 AND ResourceNumber > 7");
    db().Execute("DELETE FROM SuppressionPerAcreCost WHERE FMZKey = 0 AND Sequence > 2");
    c34NVCTable* nvc = GetNVCTable(0);
    c35AACTable* aac = GetAACTable(0);
    EXPECT_FLOAT_EQ(nvc->NVCCellValue(9, 1), 0);
    nvc->SetNVCCellValue(9, 4, -60);
    nvc->SetNVCCellValue(1, 1, -2);
    aac->SetTopSize(3, 500);
    aac->SetCost(3, 120);
    nvc->SaveChanges();
    aac->SaveChanges();
    EXPECT_FALSE(nvc->Changed());
    EXPECT_EQ(count("SELECT COUNT(*) FROM NVCPerAcre WHERE FMZKey = 0"), 14);
    EXPECT_EQ(count("SELECT COUNT(*) FROM SuppressionPerAcreCost WHERE FMZKey = 0"), 9);

    ClearFMUs();
    EXPECT_FLOAT_EQ(GetNVCTable(0)->NVCCellValue(9, 4), -60);
    EXPECT_FLOAT_EQ(GetNVCTable(0)->NVCCellValue(1, 1), -2);
    EXPECT_FLOAT_EQ(GetAACTable(0)->TopSize(3), 500);
    EXPECT_FLOAT_EQ(GetAACTable(0)->Cost(3), 120);

    // The same value set again still writes all rows back.
    db().Execute("UPDATE SuppressionPerAcreCost SET Cost = 1 WHERE FMZKey = 0");
    GetAACTable(0)->SetCost(3, 120);
    GetAACTable(0)->SaveChanges();
    EXPECT_EQ(count("SELECT COUNT(*) FROM SuppressionPerAcreCost WHERE FMZKey = 0 AND Cost = 1"), 0);
}

TEST_F(FMUTables, ResourceNamesAreWrittenOnlyWhenChanged)
{
    const QString timber = GetResourceName(1);
    EXPECT_FALSE(timber.isEmpty());
    EXPECT_THROW(GetResourceName(15), std::out_of_range);

    db().Execute("UPDATE NVCResources SET ResourceName = 'outside' WHERE ResourceNumber = 2");
    SaveNVCResources();
    EXPECT_EQ(count("SELECT COUNT(*) FROM NVCResources WHERE ResourceName = 'outside'"), 1);

    SetResourceName(14, "Cultural Sites");
    db().Execute("DELETE FROM NVCResources WHERE ResourceNumber = 14");
    SaveNVCResources();
    ClearNVCResources();
    EXPECT_EQ(GetResourceName(14), "Cultural Sites");
    EXPECT_EQ(GetResourceName(1), timber);
}

} // namespace
