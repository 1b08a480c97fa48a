#include "decision_fixture.h"

#include "core/g0items.h"
#include "core/u14properties.h"
#include "model/c51alternative.h"
#include "model/c62rating.h"
#include "model/c66itemimpact.h"
#include "model/c67sruselist.h"
#include "model/g36threateneditems.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"

using model::OutcomeKind;
using namespace model;

namespace {

class Alternatives : public DecisionFixture {
protected:
    int childIndex(int key)
    {
        return count(QStringLiteral("SELECT ChildIndex FROM Items WHERE ItemKey = ?"), {key});
    }
    int rowsUnder(const char* table, const char* field, int key)
    {
        return count(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = ?").arg(QLatin1String(table), QLatin1String(field)),
                     {key});
    }
};

TEST_F(Alternatives, NewAlternativeHasATargetAndAHiddenFallback)
{
    // The list was never loaded: adding must neither fail nor list the alternative twice.
    auto alt = AddAlternative(QStringLiteral("A"));
    EXPECT_EQ(GetAlternatives().Count(), 1);
    EXPECT_EQ(alt->Label(), QStringLiteral("A. "));
    EXPECT_EQ(alt->Body(), core::kDefaultItemBody);
    EXPECT_EQ(alt->Outcome(OutcomeKind::Target)->Success(), 100);
    EXPECT_FALSE(alt->Outcome(OutcomeKind::Fallback)->bShow());
    EXPECT_EQ(alt->OutcomePercent(OutcomeKind::Target), 100);
    EXPECT_EQ(alt->OutcomePercent(OutcomeKind::Extreme), 0);
    EXPECT_EQ(alt->Outcome(OutcomeKind::Target)->ItemKey(), 2);   // above the template's Extreme outcome
    EXPECT_EQ(alt->Outcome(OutcomeKind::Fallback)->ItemKey(), 3);
    EXPECT_EQ(alt->Outcome(OutcomeKind::Extreme), nullptr);
    EXPECT_EQ(rowsUnder("OutcomeFMZs", "OutcomeKey", 2), 1);

    alt->SetHeading(QStringLiteral("Direct attack"));
    SaveAlternatives();
    reload();
    EXPECT_EQ(GetAlternative(alt->ItemKey())->Label(), QStringLiteral("A. Direct attack"));
    EXPECT_EQ(AlternativeListEntries(), (QList<core::ListEntry>{{QStringLiteral("A. Direct attack"), alt->ItemKey()}}));
}

TEST_F(Alternatives, NewOutcomesGetABurnAreaInEveryFMU)
{
    NewFMU(QString(), QStringLiteral("North"));
    NewFMU(QString(), QStringLiteral("South"));
    ClearFMUs();
    auto alt = AddAlternative(QStringLiteral("A"));
    for (const OutcomeKind kind : kAlternativeOutcomeKinds)
        EXPECT_EQ(rowsUnder("OutcomeFMZs", "OutcomeKey", alt->Outcome(kind)->ItemKey()), 3) << int(kind);
}

TEST_F(Alternatives, DeletingKeepsTheOthersPlacesAndRemovesEveryDependentRow)
{
    auto a = AddAlternative(QStringLiteral("A"));
    auto b = AddAlternative(QStringLiteral("B"));
    auto c = AddAlternative(QStringLiteral("C"));
    const int bTarget = b->Outcome(OutcomeKind::Target)->ItemKey();
    DeleteAlternative(b->ItemKey());
    EXPECT_EQ(GetAlternatives().Count(), 2);
    EXPECT_EQ(GetAlternative(b->ItemKey()), nullptr);
    EXPECT_EQ(childIndex(a->ItemKey()), 1);
    EXPECT_EQ(childIndex(c->ItemKey()), 3);
    EXPECT_EQ(rowsUnder("Outcomes", "ParentKey", b->ItemKey()), 0);
    EXPECT_EQ(rowsUnder("OutcomeFMZs", "OutcomeKey", bTarget), 0);
    DeleteAlternative(b->ItemKey());   // already gone: nothing happens
    EXPECT_EQ(GetAlternatives().Count(), 2);
}

TEST_F(Alternatives, ReAddedAlternativeInheritsNothingFromADeletedOne)
{
    auto item = AddThreatenedItem(QStringLiteral("Cabins"));
    item->SetPotentialLoss(10000);
    item->SaveChanges();
    auto old = AddAlternative(QStringLiteral("A"));
    auto target = old->Outcome(OutcomeKind::Target);
    target->SetSuccess(40);
    target->SaveChanges();
    c66ItemImpact impact;
    impact.Initialize(target->ItemKey(), item->ItemKey());
    impact.SetbProtected(true);
    impact.SaveChanges();
    c62Rating rating;
    rating.Initialize(target->ItemKey(), 3, model::Criteria::Objectives, model::RatingLevel::Criterion);
    rating.SetRawScore(9);
    rating.SaveChanges();
    db().Execute(QStringLiteral("INSERT INTO SRUses (ItemKey, OutcomeKey, ItemIndex, SRTypeKey, Quantity, Periods) "
                                "VALUES (77, ?, 1, 1, 1, 1)"), {target->ItemKey()});
    db().Execute(QStringLiteral("INSERT INTO ItemImpacts (OutcomeKey, ItemKey, ItemLoss) VALUES (?, ?, 5)"),
                 {target->ItemKey(), item->ItemKey()});
    const int oldTargetKey = target->ItemKey();
    EXPECT_DOUBLE_EQ(target->ValueProtected(), 5000);

    DeleteAlternative(old->ItemKey());
    for (const char* table : {"ValuesProtected", "Scores", "SRUses", "ItemImpacts", "OutcomeFMZs", "Outcomes"}) {
        const char* field = QLatin1String(table) == QLatin1String("Outcomes") ? "ItemKey" : "OutcomeKey";
        EXPECT_EQ(rowsUnder(table, field, oldTargetKey), 0) << table;
    }

    auto fresh = AddAlternative(QStringLiteral("B"));
    ASSERT_EQ(fresh->Outcome(OutcomeKind::Target)->ItemKey(), oldTargetKey);
    EXPECT_EQ(fresh->OutcomePercent(OutcomeKind::Target), 100);
    EXPECT_DOUBLE_EQ(fresh->Outcome(OutcomeKind::Target)->ValueProtected(), 0);
    EXPECT_EQ(fresh->Outcome(OutcomeKind::Target)->SRUseList().SRUseCount(), 0);
    EXPECT_DOUBLE_EQ(fresh->ExpectedProtection(), 0);
}

TEST_F(Alternatives, SelectedKeyNamesAListedAlternativeOrNothing)
{
    EXPECT_EQ(GetSelectedAlternativeKey(), 0);
    auto alt = AddAlternative(QStringLiteral("A"));
    const QString key = QString::number(alt->ItemKey());
    const std::pair<QString, int> cases[] = {
        {QString(), 0}, {QStringLiteral("0"), 0}, {QStringLiteral("abc"), 0}, {QStringLiteral("-3"), 0},
        {QStringLiteral("7"), 0}, {QStringLiteral("99999999999"), 0}, {key, alt->ItemKey()},
        {QStringLiteral("  ") + key + QStringLiteral(" (A)"), alt->ItemKey()}};
    for (const auto& [text, expected] : cases) {
        core::Property_Set(QStringLiteral("SelectedAlternativeKey"), text);
        EXPECT_EQ(GetSelectedAlternativeKey(), expected) << text.toStdString();
    }
    SetSelectedAlternative(*alt);
    EXPECT_EQ(core::Property_Get(QStringLiteral("SelectedAlternativeKey")), key);
    EXPECT_EQ(GetSelectedAlternative(), alt);
}

TEST_F(Alternatives, OutcomeNamesCarryTheAlternativesLabel)
{
    auto alt = AddAlternative(QStringLiteral("A"));
    alt->SetHeading(QStringLiteral("Confine with natural barriers and burnout"));   // label of 44 characters
    auto target = alt->Outcome(OutcomeKind::Target);
    EXPECT_EQ(target->ShortName(), QStringLiteral("Target"));
    EXPECT_EQ(target->LongName(), alt->Label() + QStringLiteral(" - Target"));
    EXPECT_EQ(target->FullName(), alt->Label().left(32) + QStringLiteral(" - Target"));
    EXPECT_EQ(alt->Outcome(OutcomeKind::Fallback)->ShortName(), QStringLiteral("Fallback"));
    EXPECT_EQ(target->Alternative(), alt);

    auto ex = GetExtremeOutcome();
    EXPECT_EQ(ex, GetExtremeOutcome());
    EXPECT_EQ(ex->ItemKey(), 1);
    EXPECT_EQ(ex->OutcomeIndex(), 1);
    EXPECT_EQ(ex->Alternative(), nullptr);
    for (const QString& name : {ex->ShortName(), ex->LongName(), ex->FullName()})
        EXPECT_EQ(name, QStringLiteral("Extreme Outcome"));
    const std::pair<int, const char*> labels[] = {{0, ""}, {1, "Tgt"}, {2, "FB"}, {3, "Ex"}, {4, ""}};
    for (const auto& [idx, label] : labels)
        EXPECT_EQ(OutcomeShortLabel(OutcomeKind(idx)), QString::fromLatin1(label));
}

TEST_F(Alternatives, OutcomeFieldsReadTypedTextAsUsersExpect)
{
    auto o = AddAlternative(QStringLiteral("A"))->Outcome(OutcomeKind::Fallback);
    o->SetbShow(true);
    EXPECT_EQ(o->Success(), 0);
    o->SetSuccess(40);
    o->SetbShow(true);
    EXPECT_EQ(o->Success(), 40);
    o->SetbShow(false);
    EXPECT_EQ(o->Success(), -1);

    EXPECT_EQ(o->ContainTimeString(), QString());
    const std::pair<const char*, int> times[] = {
        {"2.5", 2}, {"3.5", 4}, {"1,500", 1}, {"", 0}, {"days", 0}, {" 1 2", 12}, {"4 days", 4}};
    for (const auto& [text, days] : times) {
        o->SetContainTimeString(QString::fromLatin1(text));
        EXPECT_EQ(o->ContainTime(), days) << text;
    }
    EXPECT_EQ(o->ContainTimeString(), QStringLiteral("4"));

    EXPECT_TRUE(o->SetFireSize(QStringLiteral("1234.6")));
    EXPECT_EQ(o->FireSize(), QStringLiteral("1234.6"));
    EXPECT_FALSE(o->SetFireSize(QStringLiteral("big")));
    EXPECT_FALSE(o->SetFireSize(QStringLiteral("1e400")));   // beyond any number: refused, not read as 0
    EXPECT_EQ(o->FireSize(), QStringLiteral("1234.6"));
    EXPECT_TRUE(o->SetFireSize(QStringLiteral("12,000")));
    EXPECT_EQ(o->FireSize(), QStringLiteral("12000"));
}

TEST_F(Alternatives, EstimatedSizeIsWholeAcresThenTwoDigits)
{
    auto alt = AddAlternative(QStringLiteral("A"));
    alt->Outcome(OutcomeKind::Target)->SetFireSize(QStringLiteral("1234.6"));
    EXPECT_EQ(alt->EstimatedSize(), 1200);
}

TEST_F(Alternatives, SavingWritesOnlyChangedOutcomes)
{
    auto alt = AddAlternative(QStringLiteral("A"));
    auto o = alt->Outcome(OutcomeKind::Target);
    db().Execute(QStringLiteral("UPDATE Outcomes SET FireSize = 77 WHERE ItemKey = ?"), {o->ItemKey()});
    o->SaveChanges();   // clean: the row keeps what another writer put there
    EXPECT_EQ(count(QStringLiteral("SELECT FireSize FROM Outcomes WHERE ItemKey = ?"), {o->ItemKey()}), 77);
    o->SetCostRationale(QStringLiteral("Same as last year"));
    o->SaveChanges();
    EXPECT_EQ(count(QStringLiteral("SELECT FireSize FROM Outcomes WHERE ItemKey = ?"), {o->ItemKey()}), 0);
    EXPECT_FALSE(o->IsDirty());
}

TEST_F(Alternatives, OutcomeWhoseRowWasLostKeepsItsEditsWhenSaved)
{
    auto alt = AddAlternative(QStringLiteral("A"));
    db().Execute(QStringLiteral("DELETE FROM Outcomes WHERE ParentKey = ? AND ChildIndex = 2"), {alt->ItemKey()});
    reload();
    auto fallback = GetAlternative(alt->ItemKey())->Outcome(OutcomeKind::Fallback);
    EXPECT_FALSE(fallback->Exists());
    EXPECT_EQ(fallback->ShortName(), QStringLiteral("Fallback"));
    fallback->SetSuccess(30);
    fallback->SaveChanges();
    EXPECT_TRUE(fallback->Exists());
    reload();
    fallback = GetAlternative(alt->ItemKey())->Outcome(OutcomeKind::Fallback);
    EXPECT_EQ(fallback->Success(), 30);
    EXPECT_EQ(GetAlternative(alt->ItemKey())->OutcomePercent(OutcomeKind::Fallback), 0);   // Target still at 100
}

TEST_F(Alternatives, GridRowsListShownOutcomesThenTheExtreme)
{
    auto rows = OutcomeRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0].extreme);
    EXPECT_EQ(rows[0].label, QStringLiteral("Extreme Outcome"));

    auto a = AddAlternative(QStringLiteral("A"));
    auto b = AddAlternative(QStringLiteral("B"));
    b->Outcome(OutcomeKind::Fallback)->SetSuccess(50);
    rows = OutcomeRows();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].outcome, a->Outcome(OutcomeKind::Target));
    EXPECT_EQ(rows[2].outcome, b->Outcome(OutcomeKind::Fallback));
    EXPECT_EQ(rows[2].shortName, QStringLiteral("Fallback"));
    EXPECT_EQ(rows[2].label, QStringLiteral("B. "));
    EXPECT_EQ(AlternativeOutcomeRows().size(), 3);

    const std::pair<const char*, const char*> acres[] = {{"9999", " 9999 "}, {"10000", " 10,000 "}, {"0", " 0 "}};
    for (const auto& [size, text] : acres) {
        a->Outcome(OutcomeKind::Target)->SetFireSize(QString::fromLatin1(size));
        EXPECT_EQ(OutcomeAcresText(*a->Outcome(OutcomeKind::Target)), QString::fromLatin1(text));
    }
}

TEST_F(Alternatives, ClearingForgetsTheOpenFile)
{
    auto alt = AddAlternative(QStringLiteral("A"));
    auto ex = GetExtremeOutcome();
    ClearAlternatives();
    EXPECT_NE(GetExtremeOutcome(), ex);
    EXPECT_NE(GetAlternative(alt->ItemKey()), alt);
    EXPECT_EQ(GetAlternatives().Count(), 1);
}

TEST_F(Alternatives, FileWithoutTheExtremeRowWeighsItAsZeroAndSavingWritesItBack)
{
    auto alt = AddAlternative(QStringLiteral("A"));
    db().Execute(QStringLiteral("DELETE FROM Outcomes WHERE ParentKey = 0"));
    reload();
    alt = GetAlternative(alt->ItemKey());
    auto target = alt->Outcome(OutcomeKind::Target);
    target->SetSuccess(60);
    target->SetCostSource(CostSource::Entered);
    target->SetAdjustedCost(10000);
    EXPECT_FLOAT_EQ(alt->ExpectedCost(), 6000);
    EXPECT_DOUBLE_EQ(alt->ExpectedProtection(), 0);
    ASSERT_EQ(OutcomeRows().size(), 2);
    EXPECT_EQ(OutcomeCostBySizeText(*OutcomeRows().last().outcome), QStringLiteral("0"));

    GetExtremeOutcome()->SetFireSize(QStringLiteral("100"));
    GetExtremeOutcome()->SaveChanges();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Outcomes WHERE ParentKey = 0 AND ChildIndex = 1")), 1);
}

TEST_F(Alternatives, NewAlternativeIgnoresOutcomesADamagedFileKeptUnderItsKey)
{
    auto item = AddThreatenedItem(QStringLiteral("Cabins"));
    item->SetPotentialLoss(10000);
    item->SaveChanges();
    AddAlternative(QStringLiteral("A"));
    auto b = AddAlternative(QStringLiteral("B"));
    const int bKey = b->ItemKey();
    auto oldTarget = b->Outcome(OutcomeKind::Target);
    oldTarget->SetSuccess(30);
    oldTarget->SaveChanges();
    c66ItemImpact impact;
    impact.Initialize(oldTarget->ItemKey(), item->ItemKey());
    impact.SetbProtected(true);
    impact.SaveChanges();
    // The Items row went, the outcomes stayed.
    db().Execute(QStringLiteral("DELETE FROM Items WHERE ItemKey = ?"), {bKey});
    reload();

    auto c = AddAlternative(QStringLiteral("C"));
    ASSERT_EQ(c->ItemKey(), bKey);
    EXPECT_EQ(c->Outcome(OutcomeKind::Target)->Success(), 100);
    EXPECT_EQ(c->OutcomePercent(OutcomeKind::Target), 100);
    EXPECT_DOUBLE_EQ(c->ExpectedProtection(), 0);
    EXPECT_EQ(rowsUnder("Outcomes", "ParentKey", bKey), 2);
    EXPECT_EQ(rowsUnder("ValuesProtected", "OutcomeKey", oldTarget->ItemKey()), 0);
}

} // namespace
