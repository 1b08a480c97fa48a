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
    if (!mDirty)
        return;
    auto rs = Db().OpenTable(QStringLiteral("SRUses"));
    rs->Seek(mItemKey);
    if (!rs->NoMatch()) {
        rs->Edit();
        rs->SetField(QStringLiteral("ItemIndex"), mItemIndex);
        rs->SetField(QStringLiteral("Quantity"), mQuantity);
        rs->SetField(QStringLiteral("Periods"), mTimePeriods);
        rs->Update();
    }
    rs->Close();
    mDirty = false;
}

} // namespace model
