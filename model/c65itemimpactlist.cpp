#include "model/c65itemimpactlist.h"

#include "model/g36threateneditems.h"
#include "model/outcomerows.h"
#include "model/textnumbers.h"

namespace model {

namespace {

// The held loss of an impact that has been read but not edited.
constexpr double kUnedited = 0;

} // namespace

float c65ItemImpactList::ImpactOnAllItems() const
{
    float total = 0;
    const auto add = [&total](double amount) {
        const double asCurrency = textnum::RoundToCurrency(double(total));
        total = float(asCurrency + amount);
    };
    if (mBuilt) {
        for (const auto& impact : mItems)
            add(impact->Amount());
    } else {
        const ThreatenedItemCollection& items = GetThreatenedItems();
        for (size_t i = 0; i < mStored.size(); ++i) {
            const c36ThreatenedItem* item = itemAt(items, i, mStored[i].itemKey);
            add(c66ItemImpact::AmountWithin(kUnedited, item ? item->ValueAtRisk() : 0.0));
        }
    }
    return total;
}

float c65ItemImpactList::SingleItemImpact(int itemKey) const
{
    if (mBuilt) {
        const auto impact = mItems.Find(itemKey);
        return impact ? float(impact->Amount()) : 0.0f;
    }
    if (positionOf(itemKey) < 0)
        return 0.0f;
    return float(c66ItemImpact::AmountWithin(kUnedited, c66ItemImpact::ValueAtRiskOf(itemKey)));
}

double c65ItemImpactList::TotalProtected() const
{
    float total = 0;
    if (mBuilt) {
        for (const auto& impact : mItems)
            total = float(double(total) + impact->ProtectedValue());
    } else {
        const ThreatenedItemCollection& items = GetThreatenedItems();
        for (size_t i = 0; i < mStored.size(); ++i) {
            const c36ThreatenedItem* item = itemAt(items, i, mStored[i].itemKey);
            const int level = mStored[i].level;
            const double value = item ? item->ProtectedValueAt(level) : c66ItemImpact::ProtectedValueAt(0.0, level);
            total = float(double(total) + value);
        }
    }
    return total;
}

double c65ItemImpactList::SingleItemProtection(int itemKey) const
{
    if (mBuilt) {
        const auto impact = mItems.Find(itemKey);
        return impact ? impact->ProtectedValue() : 0.0;
    }
    const int at = positionOf(itemKey);
    if (at < 0)
        return 0.0;
    return c66ItemImpact::ProtectedValueAt(c66ItemImpact::ValueAtRiskOf(itemKey), mStored[size_t(at)].level);
}

int c65ItemImpactList::positionOf(int itemKey) const
{
    if (mPositions.isEmpty() && !mStored.empty()) {
        mPositions.reserve(qsizetype(mStored.size()));
        for (size_t i = 0; i < mStored.size(); ++i)
            mPositions.insert(mStored[i].itemKey, int(i));
    }
    return mPositions.value(itemKey, -1);
}

const ItemImpactCollection& c65ItemImpactList::Items() const
{
    if (!mBuilt) {
        mItems.Reserve(int(mStored.size()));
        for (const Stored& s : mStored) {
            auto impact = std::make_shared<c66ItemImpact>();
            impact->InitializeWith(mOutcomeKey, s.itemKey, s.level);
            mItems.Add(s.itemKey, std::move(impact));
        }
        mBuilt = true;
    }
    return mItems;
}

void c65ItemImpactList::Initialize(int outcomeKey)
{
    mOutcomeKey = outcomeKey;
    mStored.clear();
    mPositions.clear();
    mItems = ItemImpactCollection();
    mBuilt = false;
    const auto& items = GetThreatenedItems();
    if (items.IsEmpty())
        return;
    // One read of the outcome's levels instead of one seek per value at risk.
    const ByKey<int> levels = StoredProtectionOf(outcomeKey);
    mStored.reserve(size_t(items.Count()));
    qsizetype from = 0;
    for (const auto& item : items)
        mStored.push_back({item->ItemKey(), levels.ValueFrom(item->ItemKey(), &from, 0)});
}

} // namespace model
