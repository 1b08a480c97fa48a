#include "model/c68sruse.h"

#include "model/g38srtypes.h"
#include "model/modeldata.h"

namespace model {

float c68SRUse::UseCost() const
{
    if (!mSRType)
        return 0;
    if (mSRType->UnitType() == QLatin1String("time")) {
        // 64-bit product: a large quantity times many periods must not wrap around.
        const qint64 n = qint64(mQuantity) * qint64(mTimePeriods);
        return float(double(mSRType->UnitCost()) * double(n));
    }
    return float(double(mSRType->UnitCost()) * double(mQuantity));
}

void c68SRUse::SetItemIndex(int value)
{
    mItemIndex = value;
    mDirty = true;
    SaveChanges();
}

void c68SRUse::SetQuantity(int value) { mQuantity = value; mDirty = true; }
void c68SRUse::SetTimePeriods(int value) { mTimePeriods = value; mDirty = true; }

void c68SRUse::Initialize(int iKey, int outKey, int idx, int typKey, int quant, int pers)
{
    mItemKey = iKey;
    mSRType = GetSRType(typKey);
    mItemIndex = idx;
    mQuantity = quant;
    mTimePeriods = pers;
    mDirty = false;
}

void c68SRUse::SaveChanges()
{
    dao::SaveRow(Db(), QStringLiteral("SRUses"), {mItemKey},
                 {{QStringLiteral("ItemIndex"), mItemIndex},
                  {QStringLiteral("Quantity"), mQuantity},
                  {QStringLiteral("Periods"), mTimePeriods}},
                 dao::IfMissing::Report, mDirty);
}

} // namespace model
