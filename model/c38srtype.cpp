#include "model/c38srtype.h"

#include "core/u19rowdata.h"
#include "model/modeldata.h"

namespace model {

void c38SRType::SetIndex(int value) { mIndex = value; mDirty = true; }
void c38SRType::SetLongName(const QString& value) { mLongName = value; mDirty = true; }
void c38SRType::SetShortName(const QString& value) { mShortName = value; mDirty = true; }
void c38SRType::SetUnitName(const QString& value) { mUnitName = value; mDirty = true; }
void c38SRType::SetUnitCost(double value) { mUnitCost = value; mDirty = true; }

void c38SRType::Initialize(int iKey, int idx, const QString& sLongName, const QString& sShortName,
                           const QString& sUnitType, const QString& sUnitName, double nUnitCost)
{
    mItemKey = iKey;
    mIndex = idx;
    mLongName = sLongName;
    mShortName = sShortName;
    mUnitType = sUnitType;
    mUnitName = sUnitName;
    mUnitCost = nUnitCost;
    mDirty = false;
}

void c38SRType::SaveChanges()
{
    dao::SaveRow(Db(), QStringLiteral("SRTypes"), {mItemKey},
                 {{QStringLiteral("ChildIndex"), mIndex},
                  {QStringLiteral("LongName"), mLongName},
                  {QStringLiteral("ShortName"), mShortName},
                  {QStringLiteral("UnitName"), mUnitName},
                  {QStringLiteral("UnitCost"), mUnitCost}},
                 dao::IfMissing::Report, mDirty);
}

} // namespace model
