#pragma once

#include "platform/dao/rowsave.h"

#include <QString>

namespace model {

// One suppression resource type of the unit's resource list (table SRTypes).
class c38SRType {
public:
    int ItemKey() const { return mItemKey; }
    int Index() const { return mIndex; }
    void SetIndex(int value);
    QString LongName() const { return mLongName; }
    void SetLongName(const QString& value);
    QString ShortName() const { return mShortName; }
    void SetShortName(const QString& value);
    // "time": the cost is per unit and period; anything else is costed per piece.
    QString UnitType() const { return mUnitType; }
    QString UnitName() const { return mUnitName; }
    void SetUnitName(const QString& value);
    // Dollars; held in full precision (the column is Currency), so an amount with cents reads
    // back as it was typed.
    double UnitCost() const { return mUnitCost; }
    void SetUnitCost(double value);

    void Initialize(int iKey, int idx, const QString& sLongName, const QString& sShortName,
                    const QString& sUnitType, const QString& sUnitName, double nUnitCost);
    void SaveChanges();
    bool IsDirty() const { return mDirty; }

private:
    int mItemKey = 0;
    int mIndex = 0;
    QString mLongName;
    QString mShortName;
    QString mUnitType;
    QString mUnitName;
    double mUnitCost = 0;
    dao::ChangeFlag mDirty;
};

} // namespace model
