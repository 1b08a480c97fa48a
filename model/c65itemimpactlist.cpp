#include "model/c65itemimpactlist.h"

#include "model/g36threateneditems.h"
#include "model/modeldata.h"
#include "model/rowvalues.h"
#include "model/textnumbers.h"

#include <QHash>

#include <cmath>

namespace model {

float c65ItemImpactList::ImpactOnAllItems() const
{
    float total = 0;
    for (const auto& impact : mItems) {
        const double asCurrency = std::nearbyint(double(total) * 10000.0) / 10000.0;
        total = float(asCurrency + impact->Amount());
    }
    return total;
}

float c65ItemImpactList::SingleItemImpact(int itemKey) const
{
    const auto impact = mItems.Find(itemKey);
    return impact ? float(impact->Amount()) : 0.0f;
}

double c65ItemImpactList::TotalProtected() const
{
    float total = 0;
    for (const auto& impact : mItems)
        total = float(double(total) + impact->ProtectedValue());
    return total;
}

double c65ItemImpactList::SingleItemProtection(int itemKey) const
{
    const auto impact = mItems.Find(itemKey);
    return impact ? impact->ProtectedValue() : 0.0;
}

void c65ItemImpactList::Initialize(int outcomeKey)
{
    mOutcomeKey = outcomeKey;
    mItems = ItemImpactCollection();
    const auto& items = GetThreatenedItems();
    if (items.IsEmpty())
        return;
    // One read of the outcome's levels instead of one seek per value at risk.
    QHash<int, int> levels;
    auto rs = Db().OpenRecordset(
        QStringLiteral("SELECT ItemKey, Protection FROM ValuesProtected WHERE OutcomeKey = ? ORDER BY ItemKey"), {outcomeKey});
    while (!rs->Eof()) {
        const int key = rowvalue::Long(rs->Field(0));
        if (!levels.contains(key))
            levels.insert(key, textnum::RoundHalfEven(rowvalue::Single(rs->Field(1))));
        rs->MoveNext();
    }
    rs->Close();
    mItems.Reserve(mItems.Count() + items.Count());
    for (const auto& item : items) {
        auto impact = std::make_shared<c66ItemImpact>();
        impact->InitializeWith(outcomeKey, item->ItemKey(), levels.value(item->ItemKey(), 0));
        mItems.Add(item->ItemKey(), std::move(impact));
    }
}

} // namespace model
