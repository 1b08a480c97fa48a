#include "decision_fixture.h"

#include "model/c51alternative.h"
#include "model/c65itemimpactlist.h"
#include "model/c66itemimpact.h"
#include "model/g36threateneditems.h"
#include "model/g51alternatives.h"

using model::OutcomeKind;
using namespace model;

namespace {

TEST(ProbabilityLabels, NamedValuesShowTheirLabelOthersTheirDigits)
{
    const std::pair<int, const char*> cases[] = {
        {0, ""}, {5, "Very Low (5%)"}, {25, "Low (25%)"}, {50, "Medium (50%)"},
        {75, "High (75%)"}, {95, "Very High (95%)"}, {30, "30"}, {100, "100"}};
    for (const auto& [probability, label] : cases)
        EXPECT_EQ(c36ThreatenedItem::LabelForProbability(probability), QString::fromLatin1(label)) << probability;
}

TEST(ProbabilityLabels, TextReadsAsNumberLabelOrLeadingNumber)
{
    const std::pair<const char*, int> cases[] = {
        {"Very Low (5%)", 5}, {"Low (25%)", 25}, {"Medium (50%)", 50}, {"High (75%)", 75},
        {"Very High (95%)", 95}, {"medium (50%)", 0}, {"30 %", 30}, {"  40", 40}, {"12.5", 12},
        {"13.5", 14}, {"1,500", 1500}, {"", 0}, {"abc", 0}, {"99999999", 32767}, {"1e400", 32767}};
    for (const auto& [text, probability] : cases)
        EXPECT_EQ(c36ThreatenedItem::ProbabilityFromLabel(QString::fromLatin1(text)), probability) << text;
}

TEST(ProtectionLabels, BothWays)
{
    const std::pair<int, const char*> labels[] = {
        {0, "No (0%)"}, {25, "Slightly (25%)"}, {50, "Partly (50%)"}, {75, "Mostly (75%)"},
        {100, "Yes (100%)"}, {40, "40"}};
    for (const auto& [level, label] : labels) {
        EXPECT_EQ(c66ItemImpact::LabelForLevel(level), QString::fromLatin1(label)) << level;
        EXPECT_EQ(c66ItemImpact::LevelFromLabel(QString::fromLatin1(label)), level) << label;
    }
    EXPECT_EQ(c66ItemImpact::LevelFromLabel(QStringLiteral("partly (50%)")), 0);
    EXPECT_EQ(c66ItemImpact::LevelFromLabel(QStringLiteral("60% of it")), 60);
    EXPECT_EQ(c66ItemImpact::LevelFromLabel(QStringLiteral("-40000")), -32768);
}

class ValuesAtRisk : public DecisionFixture {
protected:
    // Stores a value at risk as an older file or another program would have left it.
    int storedItem(double loss, int probability)
    {
        auto item = AddThreatenedItem(QStringLiteral("Barn"));
        db().Execute(QStringLiteral("INSERT INTO ValuesAtRisk (ItemKey, PotentialLoss, Probability) VALUES (?, ?, ?)"),
                     {item->ItemKey(), loss, probability});
        ClearThreatenedItems();
        return item->ItemKey();
    }
};

TEST_F(ValuesAtRisk, NewItemReadsDefaultsAndWritesNothingUntilChanged)
{
    auto item = AddThreatenedItem(QStringLiteral("Barn"));
    EXPECT_EQ(item->PotentialLoss(), 0);
    EXPECT_EQ(item->Probability(), 50);
    EXPECT_EQ(item->ProbabilityLabel(), QStringLiteral("Medium (50%)"));
    EXPECT_EQ(item->ValueAtRisk(), 0);
    item->SaveChanges();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ValuesAtRisk")), 0);
    ClearThreatenedItems();
    item = GetThreatenedItem(item->ItemKey());
    ASSERT_TRUE(item);
    EXPECT_EQ(item->Probability(), 50);
    item->SetNotes(QStringLiteral("Old barn"));
    item->SaveChanges();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ValuesAtRisk WHERE Probability = 50")), 1);
}

TEST_F(ValuesAtRisk, ValueAtRiskIsProbabilityTimesTheShownLossToTwoDigits)
{
    struct Case {
        double stored;
        int probability;
        double shown;
        double valueAtRisk;
    };
    const Case cases[] = {
        {12345, 50, 12300, 6200},    // 6,150: the half goes to the even 62 hundreds
        {13490, 50, 13500, 6800},    // from the shown 13,500, not the stored 13,490 (6,700)
        {1251, 100, 1250, 1200},     // 1,250 to two digits, half to even
        {2500, 5, 2500, 120},        // 125 -> 120
        {0, 95, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        auto item = GetThreatenedItem(storedItem(c.stored, c.probability));
        ASSERT_TRUE(item);
        EXPECT_EQ(item->PotentialLoss(), c.shown);
        EXPECT_EQ(item->ValueAtRisk(), c.valueAtRisk);
    }

    auto item = GetThreatenedItem(storedItem(12345, 50));
    item->SetPotentialLoss(2500);
    item->SetProbabilityLabel(QStringLiteral("Very Low (5%)"));
    EXPECT_EQ(item->ValueAtRisk(), 120);
}

// A typed chance outside 0 ... 100 is taken as its nearest end, on screen, in the value at
// risk and in the file.
TEST_F(ValuesAtRisk, ProbabilityIsKeptWithinNoneAndCertain)
{
    const std::pair<const char*, int> cases[] = {
        {"150", 100}, {"-5", 0}, {"100", 100}, {"0", 0}, {"1e9", 100}, {"-40000", 0}, {"250 %", 100}, {"99.5", 100}};
    auto item = AddThreatenedItem(QStringLiteral("Barn"));
    item->SetPotentialLoss(10000);
    for (const auto& [text, probability] : cases) {
        item->SetProbabilityLabel(QString::fromLatin1(text));
        EXPECT_EQ(item->Probability(), probability) << text;
        EXPECT_EQ(item->ValueAtRisk(), 100.0 * probability) << text;
    }
    item->SetProbabilityLabel(QStringLiteral("150"));
    item->SaveChanges();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ValuesAtRisk WHERE Probability = 100")), 1);
}

TEST_F(ValuesAtRisk, SavingNotesKeepsTheStoredLossUnrounded)
{
    const int key = storedItem(12345, 50);
    auto item = GetThreatenedItem(key);
    item->SetNotes(QStringLiteral("Rebuilt in 2019"));
    item->SetPotentialLoss(item->PotentialLoss());   // a grid writing back what it shows
    item->SaveChanges();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ValuesAtRisk WHERE PotentialLoss = 12345")), 1);

    item->SetPotentialLoss(8000);
    item->SaveChanges();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ValuesAtRisk WHERE PotentialLoss = 8000")), 1);
    reload();
    EXPECT_EQ(GetThreatenedItem(key)->Notes(), QStringLiteral("Rebuilt in 2019"));
}

TEST_F(ValuesAtRisk, NegativeStoredLossCountsAsNone)
{
    auto item = GetThreatenedItem(storedItem(-500, 50));
    EXPECT_EQ(item->ValueAtRisk(), 0);
    EXPECT_EQ(item->PotentialLoss(), 0);

    item->SetPotentialLoss(-800);   // typed, saved before anything read it back
    EXPECT_EQ(item->ValueAtRisk(), 0);
    item->SaveChanges();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM ValuesAtRisk WHERE PotentialLoss < 0")), 0);
}

TEST_F(ValuesAtRisk, ListIsInKeyOrderWithTotalsAndRows)
{
    EXPECT_EQ(TotalValueAtRisk(), 0);
    EXPECT_TRUE(ValuesAtRiskRows().isEmpty());
    for (auto [name, loss] : {std::pair{"Bridge", 250000.0}, std::pair{"Cabin", 3000.0}}) {
        auto item = AddThreatenedItem(QString::fromLatin1(name));
        item->SetPotentialLoss(loss);
        item->SaveChanges();
    }
    reload();
    const auto rows = ValuesAtRiskRows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].cells, (QStringList{"Bridge", "250,000", "50", "120,000"}));   // 125,000, half to even
    EXPECT_EQ(ValueAtRiskSummaryRows()[1].cells, (QStringList{"Cabin", "1,500"}));
    EXPECT_EQ(TotalValueAtRisk(), rows[0].item->ValueAtRisk() + 1500);
}

TEST_F(ValuesAtRisk, ProtectedValueIsThreeDigitsOfTheValueAtRisk)
{
    auto alt = AddAlternative(QStringLiteral("A"));
    const int outcomeKey = alt->Outcome(OutcomeKind::Target)->ItemKey();
    auto a = AddThreatenedItem(QStringLiteral("Homes"));
    a->SetPotentialLoss(12400);    // 6,200
    a->SaveChanges();
    auto b = AddThreatenedItem(QStringLiteral("Lines"));
    b->SetPotentialLoss(19800);    // 9,900
    b->SaveChanges();

    c66ItemImpact impact;
    impact.Initialize(outcomeKey, a->ItemKey());
    EXPECT_EQ(impact.ProtectionLabel(), QStringLiteral("No (0%)"));
    EXPECT_FALSE(impact.bProtected());
    EXPECT_EQ(impact.ProtectedValue(), 0);
    impact.SetProtectionLabel(QStringLiteral("Mostly (75%)"));
    EXPECT_EQ(impact.ProtectedValue(), 4650);
    impact.SaveChanges();

    c66ItemImpact other;
    other.Initialize(outcomeKey, b->ItemKey());
    other.SetProtectionLabel(QStringLiteral("75"));
    EXPECT_EQ(other.ProtectedValue(), 7420);   // 7,425 -> 7,420
    other.SetAmount(50000);
    EXPECT_EQ(other.Amount(), 9900);
    other.SetAmount(-5);
    EXPECT_EQ(other.Amount(), 0);
    other.SaveChanges();

    c65ItemImpactList list;
    list.Initialize(outcomeKey);
    EXPECT_EQ(list.TotalProtected(), 4650 + 7420);
    EXPECT_EQ(list.SingleItemProtection(b->ItemKey()), 7420);
    EXPECT_EQ(list.ImpactOnAllItems(), 0);
    EXPECT_EQ(list.SingleItemProtection(999999), 0);
    EXPECT_DOUBLE_EQ(alt->Outcome(OutcomeKind::Target)->ValueProtected(), 12000);   // 12,070 -> 12,000
}

// Outcomes ask each value at risk for its protected value at their own levels, one after the
// other: each must get the figure of its level and of the loss as it is now.
TEST_F(ValuesAtRisk, EachOutcomeGetsTheProtectedValueOfItsLevelAndTheCurrentLoss)
{
    auto a = AddAlternative(QStringLiteral("A"));
    auto b = AddAlternative(QStringLiteral("B"));
    auto item = AddThreatenedItem(QStringLiteral("Homes"));
    item->SetPotentialLoss(12400);   // 6,200 at risk
    item->SaveChanges();
    // Levels an item keeps its figures for in one place (25 and 33; 0, 8 and -8): each still
    // gives its own.
    const std::pair<std::shared_ptr<c51Alternative>, const char*> levels[] = {{a, "25"}, {b, "33"}};
    for (const auto& [alt, level] : levels) {
        c66ItemImpact impact;
        impact.Initialize(alt->Outcome(OutcomeKind::Target)->ItemKey(), item->ItemKey());
        impact.SetProtectionLabel(QString::fromLatin1(level));
        impact.SaveChanges();
    }
    const auto totals = [&] {
        QList<double> seen;
        for (const auto& alt : {a, b, a}) {
            c65ItemImpactList list;
            list.Initialize(alt->Outcome(OutcomeKind::Target)->ItemKey());
            seen.append(list.TotalProtected());
        }
        return seen;
    };
    EXPECT_EQ(totals(), (QList<double>{1550, 2050, 1550}));   // 2,046 -> 2,050
    item->SetPotentialLoss(19800);                            // 9,900 at risk
    EXPECT_EQ(totals(), (QList<double>{2480, 3270, 2480}));   // 2,475 -> 2,480; 3,267 -> 3,270
    item->SetPotentialLoss(0);
    EXPECT_EQ(totals(), (QList<double>{0, 0, 0}));
    EXPECT_EQ(item->ProtectedValueAt(0), 0);
    item->SetPotentialLoss(10000);   // 5,000 at risk
    EXPECT_EQ(item->ProtectedValueAt(0), 0);
    EXPECT_EQ(item->ProtectedValueAt(8), 400);
    EXPECT_EQ(item->ProtectedValueAt(0), 0);
    EXPECT_EQ(item->ProtectedValueAt(-8), -400);
}

TEST_F(ValuesAtRisk, DeletedItemTakesAllItsRowsAlongAndAReusedKeyStartsClean)
{
    auto alt = AddAlternative(QStringLiteral("A"));
    const int outcomeKey = alt->Outcome(OutcomeKind::Target)->ItemKey();
    auto item = AddThreatenedItem(QStringLiteral("Lookout"));
    item->SetPotentialLoss(40000);
    item->SetProbabilityLabel(QStringLiteral("High (75%)"));
    item->SaveChanges();
    const int key = item->ItemKey();
    c66ItemImpact impact;
    impact.Initialize(outcomeKey, key);
    impact.SetbProtected(true);
    impact.SaveChanges();
    db().Execute(QStringLiteral("INSERT INTO ItemImpacts (OutcomeKey, ItemKey, ItemLoss) VALUES (?, ?, 10)"),
                 {outcomeKey, key});

    DeleteThreatenedItem(alt->ItemKey());   // not a value at risk: nothing is deleted
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Items WHERE ItemKey = ?"), {alt->ItemKey()}), 1);

    DeleteThreatenedItem(key);
    EXPECT_EQ(GetThreatenedItem(key), nullptr);
    for (const char* table : {"Items", "ValuesAtRisk", "ValuesProtected", "ItemImpacts"})
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE ItemKey = ?").arg(QLatin1String(table)), {key}), 0)
            << table;

    reload();
    auto again = AddThreatenedItem(QStringLiteral("Corral"));
    EXPECT_EQ(again->ItemKey(), key);
    EXPECT_EQ(again->PotentialLoss(), 0);
    EXPECT_EQ(again->Probability(), 50);
    EXPECT_EQ(GetAlternative(alt->ItemKey())->Outcome(OutcomeKind::Target)->ValueProtected(), 0);
}

} // namespace
