#include "core/u14properties.h"
#include "model/c63burnarealist.h"
#include "model/g64burnareas.h"
#include "model_tables_fixture.h"

#include <stdexcept>

using namespace model;

namespace {

struct FILCase {
    std::array<int, 6> portions;
    std::array<int, 6> percents;
};

TEST(FILPercent, RoundsHalfToEvenAndGivesSixteenWhenNothingIsSet)
{
    const FILCase cases[] = {
        {{0, 0, 0, 0, 0, 0}, {16, 16, 16, 16, 16, 16}},
        {{1, 1, 1, 0, 0, 0}, {33, 33, 33, 0, 0, 0}},
        {{1, 7, 0, 0, 0, 0}, {12, 88, 0, 0, 0, 0}},     // 12.5 and 87.5
        {{1, 1, 1, 1, 1, 1}, {17, 17, 17, 17, 17, 17}},
        {{1, 199, 0, 0, 0, 0}, {0, 100, 0, 0, 0, 0}},   // 0.5 and 99.5
        {{0, 0, 0, 5, 0, 0}, {0, 0, 0, 100, 0, 0}},
        {{3, 0, 0, 0, 0, 5}, {38, 0, 0, 0, 0, 62}},     // 37.5 and 62.5
        {{1, 2, 0, 0, 0, 0}, {33, 67, 0, 0, 0, 0}},
        {{5, 3, 0, 0, 0, 0}, {62, 38, 0, 0, 0, 0}},     // 62.5 and 37.5
        {{2147483647, 1, 0, 0, 0, 0}, {100, 0, 0, 0, 0, 0}},
        {{2147483647, 2147483647, 2147483647, 2147483647, 2147483647, 2147483647}, {17, 17, 17, 17, 17, 17}},
        {{-1, 3, 0, 0, 0, 0}, {-50, 150, 0, 0, 0, 0}},  // a damaged file's negative portion
    };
    for (const FILCase& c : cases) {
        c64BurnArea area;
        for (int i = 1; i <= 6; ++i)
            area.SetFILPortion(i, c.portions[i - 1]);
        for (int i = 1; i <= 6; ++i)
            EXPECT_EQ(area.FILPercent(i), c.percents[i - 1]) << "level " << i << " of case " << c.portions[0] << ","
                                                             << c.portions[1];
    }
    // Asked again after a portion changed, the percents follow it.
    c64BurnArea changed;
    changed.SetFILPortion(2, 1);
    EXPECT_EQ(changed.FILPercents(), (std::array<int, 6>{0, 100, 0, 0, 0, 0}));
    changed.SetFILPortion(5, 3);
    EXPECT_EQ(changed.FILPercents(), (std::array<int, 6>{0, 25, 0, 0, 75, 0}));
    changed.InitializeWith(0, 0, 0, {1, 1, 1, 1, 1, 1});
    EXPECT_EQ(changed.FILPercents(), (std::array<int, 6>{17, 17, 17, 17, 17, 17}));
    changed.InitializeWith(0, 0, 0, {});
    EXPECT_EQ(changed.FILPercents(), (std::array<int, 6>{16, 16, 16, 16, 16, 16}));

    c64BurnArea area;
    EXPECT_THROW(area.FILPercent(7), std::out_of_range);
    EXPECT_THROW(area.SetFILPortion(0, 1), std::out_of_range);
}

class BurnAreas : public ModelTablesFixture {
protected:
    static constexpr int kOutcome = 1;  // the Extreme outcome of every file

    // FMUs with the given portions of the Extreme outcome's fire, all at FIL 4.
    QList<int> makeFMUs(std::initializer_list<int> portions)
    {
        QList<int> keys;
        for (int p : portions) {
            auto fmu = NewFMU("", QStringLiteral("Unit-%1").arg(keys.size() + 1));
            keys.append(fmu->ItemKey());
            setFMZ(kOutcome, fmu->ItemKey(), p, {0, 0, 0, 5, 0, 0});
        }
        ClearFMUs();
        return keys;
    }
    // A list built from the file as it is now.
    std::unique_ptr<c63BurnAreaList> list()
    {
        auto l = std::make_unique<c63BurnAreaList>();
        l->Initialize(kOutcome);
        return l;
    }
};

struct FMUCase {
    std::vector<int> portions;
    std::vector<int> percents;
};

TEST_F(BurnAreas, FMUPercentsTruncateAndSplitEvenlyWhenNothingIsSet)
{
    const FMUCase cases[] = {
        {{50, 50}, {50, 50}},
        {{50, 50, 50}, {33, 33, 33}},
        {{0, 0, 0}, {33, 33, 33}},
        {{1, 1, 0}, {50, 50, 0}},
        {{2, 1}, {66, 33}},
        {{0}, {100}},
        {{7}, {100}},
        {{0, 0, 0, 0, 0, 0}, {17, 17, 17, 17, 17, 17}},
        {{0, 0, 0, 0, 0, 0, 0, 0}, {12, 12, 12, 12, 12, 12, 12, 12}},
    };
    for (const FMUCase& c : cases) {
        db().Execute("DELETE FROM FMZList");
        ClearFMUs();
        for (int p : c.portions) {
            auto fmu = NewFMU("", "u");
            setFMZ(kOutcome, fmu->ItemKey(), p, {0, 0, 0, 5, 0, 0});
        }
        ClearFMUs();
        auto l = list();
        ASSERT_EQ(l->BurnAreaCollection().size(), qsizetype(c.portions.size()));
        for (size_t j = 0; j < c.percents.size(); ++j)
            EXPECT_EQ(l->FMUPercent(int(j) + 1), c.percents[j]) << "position " << j + 1 << " of " << c.portions.size();
        if (c.portions.size() > 1) {
            EXPECT_THROW(l->FMUPercent(int(c.portions.size()) + 1), std::out_of_range);
        }
    }
}

TEST_F(BurnAreas, WithoutFMUsTheWholeFireAreaStandsForTheFire)
{
    auto l = list();
    EXPECT_TRUE(l->BurnAreaCollection().isEmpty());
    EXPECT_EQ(l->FMUPercent(1), 100);
    ASSERT_NE(l->BurnArea(0), nullptr);
    EXPECT_EQ(l->BurnArea(0)->FMUPortion(), 50);
    EXPECT_EQ(l->BurnArea(0)->FILPercent(4), 100);

    makeFMUs({50});
    auto withFMUs = list();
    EXPECT_EQ(withFMUs->BurnArea(0), nullptr);
    EXPECT_THROW(withFMUs->BurnArea(12345), std::out_of_range);
}

TEST_F(BurnAreas, AverageNVCWithoutFMUsWeighsTheFilTotalsByTheFILPercents)
{
    core::Property_Set("UseNVCGains", "No");
    setNVC(0, 1, 1, -10);
    setNVC(0, 1, 4, -100);
    setNVC(0, 2, 4, -20);
    setNVC(0, 3, 6, -50);
    setNVC(0, 4, 4, 400);  // a gain: not counted
    EXPECT_FLOAT_EQ(list()->AverageNVCPerAcre(), -120);  // FIL 4 only

    setFMZ(kOutcome, 0, 50, {0, 0, 0, 0, 0, 0});  // 16 percent at every level
    EXPECT_FLOAT_EQ(list()->AverageNVCPerAcre(), 0.16f * (-10 - 120 - 50));

    setFMZ(kOutcome, 0, 50, {1, 0, 0, 3, 0, 0});  // 25 and 75
    EXPECT_FLOAT_EQ(list()->AverageNVCPerAcre(), -10 * 0.25f - 120 * 0.75f);
    EXPECT_FLOAT_EQ(list()->ResourceNVCPerAcre(1), -10 * 0.25f - 100 * 0.75f);
    EXPECT_FLOAT_EQ(list()->ResourceNVCPerAcre(4), 0);
    core::Property_Set("UseNVCGains", "Yes");
    EXPECT_FLOAT_EQ(list()->ResourceNVCPerAcre(4), 300);
}

TEST_F(BurnAreas, AverageNVCWithTwoFMUsWeighsEachTableByItsShare)
{
    core::Property_Set("UseNVCGains", "No");
    const QList<int> keys = makeFMUs({50, 50});
    setNVC(keys[0], 1, 4, -100);
    setNVC(keys[1], 1, 4, -300);
    setNVC(keys[1], 2, 4, 900);  // gains only: nothing while gains do not count
    setNVC(0, 1, 4, -99999);     // the whole-fire table is not used once FMUs exist
    ClearFMUs();
    EXPECT_FLOAT_EQ(list()->AverageNVCPerAcre(), -200);

    setFMZ(kOutcome, keys[0], 150, {0, 0, 0, 5, 0, 0});
    auto l = list();
    EXPECT_EQ(l->FMUPercent(1), 75);
    EXPECT_EQ(l->FMUPercent(2), 25);
    EXPECT_FLOAT_EQ(l->AverageNVCPerAcre(), -150);
    EXPECT_FLOAT_EQ(l->ResourceNVCPerAcre(1), -150);
    EXPECT_FLOAT_EQ(l->ResourceNVCPerAcre(2), 0);

    // A portion changed in memory is seen at the next call.
    l->BurnArea(keys[1])->SetFMUPortion(450);
    EXPECT_FLOAT_EQ(l->AverageNVCPerAcre(), -100 * 0.25f - 300 * 0.75f);
}

TEST_F(BurnAreas, FMUDeletedAfterTheListWasBuiltCountsForNothing)
{
    const QList<int> keys = makeFMUs({50, 50, 50});
    setNVC(keys[0], 1, 4, -100);
    setNVC(keys[1], 1, 4, -300);
    setCosts(keys[0], {1000}, {100});
    setCosts(keys[1], {1000}, {700});
    ClearFMUs();
    auto l = list();
    DeleteFMU(keys[1]);
    EXPECT_FLOAT_EQ(l->AverageNVCPerAcre(), -100 * 0.33f);
    EXPECT_FLOAT_EQ(l->CostPerAcre(10), 100 * 0.33f);
}

TEST_F(BurnAreas, CostBySizeUsesTheWholeFireSizeInEveryFMU)
{
    setCosts(0, {10, 100, 0}, {500, 300, 200});
    EXPECT_FLOAT_EQ(list()->CostPerAcre(50), 300);
    EXPECT_FLOAT_EQ(list()->CostBySize(50), 15000);
    EXPECT_FLOAT_EQ(list()->CostBySize(0), 0);

    const QList<int> keys = makeFMUs({150, 50});
    setCosts(keys[0], {10, 100, 0}, {500, 300, 200});
    setCosts(keys[1], {1000}, {100});
    ClearFMUs();
    auto l = list();
    EXPECT_FLOAT_EQ(l->CostPerAcre(50), 300 * 0.75f + 100 * 0.25f);
    EXPECT_FLOAT_EQ(l->CostBySize(50), 50 * 250.0f);
    // Above every bracket: each FMU's fallback, weighted by the FMU percents.
    EXPECT_FLOAT_EQ(l->CostPerAcre(5000), 200 * 0.75f + 100 * 0.25f);
    EXPECT_FLOAT_EQ(l->CostBySize(5000), 5000 * 175.0f);
}

TEST_F(BurnAreas, NewOutcomeRowsCopyTheFirstTargetSplitOrStartAtFIL4)
{
    const QList<int> keys = makeFMUs({50, 50});
    addOutcome(5);
    AddOutcomeFMZ(5, keys[0], 0);
    c64BurnArea area;
    area.Initialize(5, keys[0]);
    EXPECT_EQ(area.FMUPortion(), 50);
    EXPECT_EQ(area.FILPortion(4), 5);
    EXPECT_EQ(area.FILPercent(4), 100);

    setFMZ(5, keys[1], 20, {1, 2, 3, 0, 0, 4});
    addOutcome(6);
    AddOutcomeFMZ(6, keys[1], 5);
    AddOutcomeFMZ(6, 0, 5);  // outcome 5 has no whole-fire row: all zeros
    area.Initialize(6, keys[1]);
    EXPECT_EQ(area.FMUPortion(), 50);
    const int copied[] = {1, 2, 3, 0, 0, 4};
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(area.FILPortion(i), copied[i - 1]);
    area.Initialize(6, 0);
    EXPECT_EQ(area.FILPercent(1), 16);

    // A row left behind under the new outcome's key is replaced, not a duplicate.
    setFMZ(7, keys[0], 9, {9, 9, 9, 9, 9, 9});
    addOutcome(7);
    AddOutcomeFMZ(7, keys[0], 0);
    area.Initialize(7, keys[0]);
    EXPECT_EQ(area.FMUPortion(), 50);
    EXPECT_EQ(area.FILPercent(4), 100);
    EXPECT_EQ(count("SELECT COUNT(*) FROM OutcomeFMZs WHERE OutcomeKey = 7"), 1);

    DeleteOutcomeFMZs(6);
    EXPECT_EQ(count("SELECT COUNT(*) FROM OutcomeFMZs WHERE OutcomeKey = 6"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM OutcomeFMZs WHERE OutcomeKey = 5"), 2);
}

// "Use same FIL settings for all computations" holds for every burn area, also one made after
// the settings were chosen: a new FMU's areas, or the first Target's, take the set the others
// hold. Under the other options a new FMU starts at FIL 4 as ever.
TEST_F(BurnAreas, UnderOneSettingForAllNewBurnAreasTakeTheSetEveryOtherHolds)
{
    const int first = makeFMUs({50})[0];
    addOutcome(5);
    const std::array<int, 6> set{1, 2, 3, 0, 0, 4};
    setFMZ(kOutcome, first, 50, {1, 2, 3, 0, 0, 4});
    setFMZ(5, first, 50, {1, 2, 3, 0, 0, 4});
    const auto fil = [](int outcome, int fmu) {
        c64BurnArea area;
        area.Initialize(outcome, fmu);
        std::array<int, 6> out{};
        for (int i = 1; i <= 6; ++i)
            out[size_t(i - 1)] = area.FILPortion(i);
        return out;
    };

    const int second = NewFMU("", "Unit-2")->ItemKey();   // no "FIL option" yet: option 1
    EXPECT_EQ(fil(kOutcome, second), set);
    EXPECT_EQ(fil(5, second), set);
    addOutcome(6);
    AddOutcomeFMZ(6, second, 0);
    EXPECT_EQ(fil(6, second), set);

    core::Property_Set("FIL option", "2");
    const int third = NewFMU("", "Unit-3")->ItemKey();
    const std::array<int, 6> fil4{0, 0, 0, 5, 0, 0};
    EXPECT_EQ(fil(kOutcome, third), fil4);
    EXPECT_EQ(fil(5, third), fil4);
    ClearFMUs();
}

TEST_F(BurnAreas, SavingWritesOnlyRealChangesAndRestoresAMissingRow)
{
    c64BurnArea area;
    area.Initialize(kOutcome, 0);
    area.SetFILPortion(4, 5);
    EXPECT_FALSE(area.Changed()) << "the same FIL portion is no change";
    area.SetFMUPortion(50);
    EXPECT_TRUE(area.Changed()) << "the FMU portion marks the area whatever its value";

    area.SetFILPortion(2, 5);
    db().Execute("DELETE FROM OutcomeFMZs WHERE OutcomeKey = ? AND FMZKey = 0", {kOutcome});
    area.SaveChanges();
    EXPECT_FALSE(area.Changed());
    c64BurnArea again;
    again.Initialize(kOutcome, 0);
    EXPECT_EQ(again.FMUPortion(), 50);
    EXPECT_EQ(again.FILPercent(2), 50);
    EXPECT_EQ(again.FILPercent(4), 50);
}

} // namespace
