#pragma once

#include "model/c66itemimpact.h"
#include "model/g36threateneditems.h"
#include "model/keyedcollection.h"

#include <QHash>

#include <vector>

namespace model {

using ItemImpactCollection = KeyedCollection<c66ItemImpact>;

// The protection of every value at risk under one outcome.
// The figures need only each item's stored level: the impact objects are built when Items() is
// first asked for, and from then on the figures come from them.
class c65ItemImpactList {
public:
    float ImpactOnAllItems() const;
    // 0 for a key that is not a listed value at risk.
    float SingleItemImpact(int itemKey) const;
    double TotalProtected() const;
    double SingleItemProtection(int itemKey) const;
    void Initialize(int outcomeKey);
    const ItemImpactCollection& Items() const;

private:
    struct Stored {
        int itemKey;
        int level;
    };
    // The position of the key among mStored, or -1.
    int positionOf(int itemKey) const;
    // mStored[i]'s value at risk, nullptr when it is not listed: the values at risk are mostly the
    // list they were when this one was read, and a look at the same position spares a search by key.
    // Inline: the figures ask it for every value at risk of every outcome.
    static const c36ThreatenedItem* itemAt(const ThreatenedItemCollection& items, size_t i, int itemKey)
    {
        if (i < size_t(items.Count()) && items.KeyAt(int(i)) == itemKey)
            return items.At(int(i)).get();
        return items.FindRaw(itemKey);
    }

    int mOutcomeKey = 0;
    std::vector<Stored> mStored;   // every value at risk when the list was read, in list order
    mutable QHash<int, int> mPositions;   // by item key, filled on the first single-item question
    mutable ItemImpactCollection mItems;
    mutable bool mBuilt = false;
};

} // namespace model
