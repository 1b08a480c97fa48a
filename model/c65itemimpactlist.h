#pragma once

#include "model/c66itemimpact.h"
#include "model/keyedcollection.h"

namespace model {

using ItemImpactCollection = KeyedCollection<c66ItemImpact>;

// The protection of every value at risk under one outcome.
class c65ItemImpactList {
public:
    float ImpactOnAllItems() const;
    // 0 for a key that is not a listed value at risk.
    float SingleItemImpact(int itemKey) const;
    double TotalProtected() const;
    double SingleItemProtection(int itemKey) const;
    void Initialize(int outcomeKey);
    const ItemImpactCollection& Items() const { return mItems; }

private:
    int mOutcomeKey = 0;
    ItemImpactCollection mItems;
};

} // namespace model
