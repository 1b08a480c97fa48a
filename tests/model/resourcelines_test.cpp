#include "decision_fixture.h"

#include "model/c51alternative.h"
#include "model/c67sruselist.h"
#include "model/g38srtypes.h"
#include "model/g51alternatives.h"
#include "model/g68sruses.h"

#include "core/u14properties.h"

#include <vector>

using model::OutcomeKind;
using namespace model;

namespace {

class ResourceLines : public DecisionFixture {
protected:
    void SetUp() override
    {
        DecisionFixture::SetUp();
        crew = addSRType(QStringLiteral("Crew"), QStringLiteral("time"), 250);
        pump = addSRType(QStringLiteral("Pump"), QStringLiteral("item"), 1000);
        tender = addSRType(QStringLiteral("Tender"), QStringLiteral("Time"), 500);
        alt = AddAlternative(QStringLiteral("A"));
    }
    std::shared_ptr<c68SRUse> line(c53Outcome& o, int type, int quantity, int periods)
    {
        auto l = o.SRUseList().NewSRUse(type);
        l->SetQuantity(quantity);
        l->SetTimePeriods(periods);
        l->SaveChanges();
        return l;
    }
    QList<int> storedIndexes(int outcomeKey)
    {
        QList<int> result;
        auto rs = db().OpenRecordset(
            QStringLiteral("SELECT ItemIndex FROM SRUses WHERE OutcomeKey = ? ORDER BY ItemIndex"), {outcomeKey});
        for (; !rs->Eof(); rs->MoveNext())
            result.append(rs->Field(0).toInt());
        return result;
    }
    int crew = 0, pump = 0, tender = 0;
    std::shared_ptr<c51Alternative> alt;
};

TEST_F(ResourceLines, TimeUnitsCountPeriodsPiecesDoNot)
{
    auto o = alt->Outcome(OutcomeKind::Target);
    struct Case { int type; int quantity; int periods; float cost; };
    const Case cases[] = {
        {crew, 3, 4, 3000},        // 250 x 3 x 4
        {pump, 2, 5, 2000},        // periods ignored
        {tender, 2, 5, 1000},      // "Time" is not "time": costed per piece
        {crew, 100000, 100000, 2.5e12f},   // no 32-bit wrap-around
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(line(*o, c.type, c.quantity, c.periods)->UseCost(), c.cost) << c.quantity;
}

TEST_F(ResourceLines, OutcomeCostIsTheSumRoundedToThreeDigits)
{
    auto o = alt->Outcome(OutcomeKind::Target);
    EXPECT_EQ(o->SRUseCost(), 0);
    line(*o, crew, 3, 4);
    line(*o, pump, 2, 5);
    line(*o, pump, 1, 1);
    line(*o, crew, 1, 1);    // 3,000 + 2,000 + 1,000 + 250 = 6,250
    EXPECT_FLOAT_EQ(o->SRUseList().SRUseCost(), 6250);
    EXPECT_FLOAT_EQ(o->SRUseCost(), 6250);
    line(*o, crew, 1, 1);    // 6,500
    line(*o, pump, 0, 0);
    line(*o, crew, 17, 1);   // 10,750 -> 10,800
    EXPECT_FLOAT_EQ(o->SRUseCost(), 10800);
}

TEST_F(ResourceLines, KeysFollowTheHighestAcrossOutcomesAndFiles)
{
    EXPECT_EQ(line(*alt->Outcome(OutcomeKind::Target), crew, 1, 1)->ItemKey(), 1);
    EXPECT_EQ(line(*alt->Outcome(OutcomeKind::Fallback), crew, 1, 1)->ItemKey(), 2);
    EXPECT_EQ(line(*alt->Outcome(OutcomeKind::Target), pump, 1, 1)->ItemKey(), 3);
    db().Execute(QStringLiteral("UPDATE SRUses SET ItemKey = 40 WHERE ItemKey = 3"));
    reload();
    auto reopened = GetAlternative(alt->ItemKey());
    EXPECT_EQ(line(*reopened->Outcome(OutcomeKind::Target), crew, 1, 1)->ItemKey(), 41);
    // A row written past the counter by another writer is stepped over, not collided with.
    db().Execute(QStringLiteral("INSERT INTO SRUses (ItemKey, OutcomeKey, ItemIndex, SRTypeKey, Quantity, Periods) "
                                "VALUES (42, 1, 1, ?, 1, 1)"), {crew});
    EXPECT_EQ(line(*reopened->Outcome(OutcomeKind::Target), crew, 1, 1)->ItemKey(), 43);
}

TEST_F(ResourceLines, NewLinesNeverShareAPositionAfterDeletesAndMoves)
{
    auto o = alt->Outcome(OutcomeKind::Target);
    auto first = line(*o, crew, 1, 1);
    auto second = line(*o, pump, 1, 1);
    auto third = line(*o, crew, 2, 1);
    EXPECT_EQ(storedIndexes(o->ItemKey()), (QList<int>{1, 2, 3}));
    o->SRUseList().DeleteSRUse(second->ItemKey());
    auto fourth = line(*o, pump, 4, 1);
    EXPECT_EQ(fourth->ItemIndex(), 4);
    // Move the new line to the top, as the worksheet renumbers when a position is retyped.
    fourth->SetItemIndex(1);
    first->SetItemIndex(2);
    third->SetItemIndex(3);
    auto fifth = line(*o, crew, 5, 1);
    EXPECT_EQ(fifth->ItemIndex(), 4);
    o->Reset();
    QList<int> order;
    for (const auto& l : o->SRUseList().SRUseCollection())
        order.append(l->Quantity());
    EXPECT_EQ(order, (QList<int>{4, 1, 2, 5}));
    EXPECT_EQ(OutcomeSRUseCount(o->ItemKey()), 4);
}

// Lines written in one order and read in that of their position and then their key, as the
// engine orders the stored values: whole numbers, ties of position, and the values only a damaged
// file holds (no position, a fraction, text).
TEST_F(ResourceLines, LinesLoadInTheOrderOfPositionThenKey)
{
    struct Line { int key; QVariant index; };
    const std::vector<std::vector<Line>> cases = {
        {{7, 3}, {3, 1}, {9, 2}},
        {{9, 1}, {5, 1}, {7, 0}, {2, 4}},
        {{4, -2}, {8, 2000000000}, {1, 0}},
        {{6, 2}, {4, QVariant()}, {5, 1.5}, {3, QStringLiteral("2x")}, {8, 1}},
        {{5, 2}, {6, QStringLiteral("1")}, {4, 2.0}},
    };
    for (size_t c = 0; c < cases.size(); ++c) {
        SCOPED_TRACE(c);
        auto o = alt->Outcome(OutcomeKind::Target);
        db().Execute(QStringLiteral("DELETE FROM SRUses"));
        for (const Line& l : cases[c])
            db().Execute(QStringLiteral("INSERT INTO SRUses (ItemKey, OutcomeKey, ItemIndex, SRTypeKey, Quantity, Periods) "
                                        "VALUES (?, ?, ?, ?, ?, 1)"),
                         {l.key, o->ItemKey(), l.index, crew, l.key * 10});
        QList<int> stored;
        auto rs = db().OpenRecordset(
            QStringLiteral("SELECT ItemKey FROM SRUses WHERE OutcomeKey = ? ORDER BY ItemIndex, ItemKey"), {o->ItemKey()});
        for (; !rs->Eof(); rs->MoveNext())
            stored.append(rs->Field(0).toInt());
        rs->Close();
        o->Reset();
        QList<int> keys, quantities;
        for (const auto& l : o->SRUseList().SRUseCollection()) {
            keys.append(l->ItemKey());
            quantities.append(l->Quantity());
        }
        EXPECT_EQ(keys, stored);
        for (int i = 0; i < keys.size(); ++i)
            EXPECT_EQ(quantities[i], keys[i] * 10);
    }
}

TEST_F(ResourceLines, AppendAndReplaceCopyLinesUnderNewKeys)
{
    auto source = alt->Outcome(OutcomeKind::Target);
    line(*source, crew, 3, 4);
    line(*source, pump, 2, 5);
    auto target = alt->Outcome(OutcomeKind::Fallback);
    line(*target, pump, 9, 9);

    target->SRUseList().AppendList(source->SRUseList());
    ASSERT_EQ(target->SRUseList().SRUseCount(), 3);
    EXPECT_EQ(target->SRUseList().SRUseCollection().At(1)->ItemIndex(), 2);
    EXPECT_EQ(target->SRUseList().SRUseCollection().At(2)->Quantity(), 2);
    EXPECT_EQ(source->SRUseList().SRUseCount(), 2);

    target->SRUseList().ReplaceList(source->SRUseList());
    EXPECT_EQ(target->SRUseList().SRUseCount(), 2);
    EXPECT_FLOAT_EQ(target->SRUseCost(), 5000);
    target->Reset();
    EXPECT_FLOAT_EQ(target->SRUseCost(), 5000);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM SRUses")), 4);
}

TEST_F(ResourceLines, LineOfAMissingTypeCostsNothing)
{
    auto o = alt->Outcome(OutcomeKind::Target);
    line(*o, pump, 2, 1);
    DeleteSRTypeRecord(pump);
    ClearSRTypes();
    o->Reset();
    EXPECT_EQ(o->SRUseList().SRUseCount(), 1);
    EXPECT_EQ(o->SRUseCost(), 0);
}

TEST_F(ResourceLines, TypesListInChildIndexOrderAndSaveTheirEdits)
{
    db().Execute(QStringLiteral("UPDATE SRTypes SET ChildIndex = 3 WHERE ItemKey = ?"), {crew});
    db().Execute(QStringLiteral("UPDATE SRTypes SET ChildIndex = 2 WHERE ItemKey = ?"), {tender});
    const auto entries = SRTypeListEntries();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].Text, QStringLiteral("Pump"));
    EXPECT_EQ(entries[2].Key, crew);

    auto held = GetSRType(crew);
    auto own = ReloadSRTypes();   // the worksheet's own copy; the cache is read again next time
    own->Find(crew)->SetUnitCost(300);
    own->Find(crew)->SaveChanges();
    EXPECT_FLOAT_EQ(GetSRType(crew)->UnitCost(), 300);
    EXPECT_FLOAT_EQ(held->UnitCost(), 250);
    EXPECT_EQ(GetSRType(crew)->UnitType(), QStringLiteral("time"));
    EXPECT_EQ(GetSRType(9999), nullptr);
}

TEST_F(ResourceLines, DataSourceTextIsReadAgainAfterEveryClear)
{
    EXPECT_EQ(GetSRDataSource(), QString());
    SaveSRDataSource();
    EXPECT_EQ(core::Property_Get(QStringLiteral("SRDataSource")), QString());
    SetSRDataSource(QStringLiteral("Region 5 rates"));
    SaveSRDataSource();
    EXPECT_EQ(core::Property_Get(QStringLiteral("SRDataSource")), QStringLiteral("Region 5 rates"));
    // The import writes the property directly; loading a file clears the caches.
    core::Property_Set(QStringLiteral("SRDataSource"), QStringLiteral("Imported list"));
    ClearSRTypes();
    EXPECT_EQ(GetSRDataSource(), QStringLiteral("Imported list"));
    core::Property_Set(QStringLiteral("SRDataSource"), QString());
    reload();
    EXPECT_EQ(GetSRDataSource(), QString());
}

} // namespace
