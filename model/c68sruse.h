#pragma once

#include "model/c38srtype.h"
#include "platform/dao/rowsave.h"

#include <memory>

namespace model {

// One suppression resource line of an outcome (table SRUses).
class c68SRUse {
public:
    // The line's cost: unit cost times quantity, and times periods for a "time" unit.
    float UseCost() const;
    int ItemKey() const { return mItemKey; }
    int ItemIndex() const { return mItemIndex; }
    // Stores the new position at once.
    void SetItemIndex(int value);
    // nullptr when the line names a type that is no longer in the resource list.
    std::shared_ptr<c38SRType> SRType() const { return mSRType; }
    int Quantity() const { return mQuantity; }
    void SetQuantity(int value);
    int TimePeriods() const { return mTimePeriods; }
    void SetTimePeriods(int value);

    void Initialize(int iKey, int outKey, int idx, int typKey, int quant, int pers);
    void SaveChanges();
    bool IsDirty() const { return mDirty; }

private:
    int mItemKey = 0;
    std::shared_ptr<c38SRType> mSRType;
    int mItemIndex = 0;
    int mQuantity = 0;
    int mTimePeriods = 0;
    dao::ChangeFlag mDirty;
};

} // namespace model
