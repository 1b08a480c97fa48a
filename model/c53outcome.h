#pragma once

#include "core/costsource.h"
#include "platform/dao/rowsave.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <algorithm>
#include <memory>

namespace model {

using core::CostSource;

class c51Alternative;
class c61RatingList;
class c63BurnAreaList;
class c64BurnArea;
class c65ItemImpactList;
class c67SRUseList;

// One outcome of an alternative (Target 1, Fallback 2) or the shared Extreme outcome: its row
// of the table Outcomes and every value computed for it.
class c53Outcome {
public:
    c53Outcome();
    ~c53Outcome();
    c53Outcome(const c53Outcome&) = delete;
    c53Outcome& operator=(const c53Outcome&) = delete;

    int ItemKey() const { return mItemKey; }
    int OutcomeIndex() const { return mOutcomeIndex; }
    int AlternativeKey() const { return mAltKey; }
    // nullptr for the Extreme outcome (or an alternative no longer listed).
    std::shared_ptr<c51Alternative> Alternative() const;
    QString LongName() const;
    QString FullName() const;
    QString ShortName() const;

    bool bShow() const { return mSuccess != -1; }
    void SetbShow(bool value);
    QString Description() const { return mDescription; }
    void SetDescription(const QString& value);
    QString FireSize() const;
    float FireSizeValue() const { return mFireSize; }
    // False (and nothing changed) when the text is not a number.
    bool SetFireSize(const QString& text);
    QString ContainTimeString() const;
    void SetContainTimeString(const QString& text);
    int ContainTime() const { return mContainTime; }
    QString ControlTimeString() const;
    void SetControlTimeString(const QString& text);
    int ControlTime() const { return mControlTime; }
    int Success() const { return mSuccess; }
    // The percent the expected values weigh with: a damaged file may hold any number.
    int SuccessPercent() const { return std::clamp(mSuccess, 0, 100); }
    void SetSuccess(int value);
    QString SuccessRationale() const { return mSuccessRationale; }
    void SetSuccessRationale(const QString& value);

    c64BurnArea* BurnArea(int fmuKey);
    c63BurnAreaList& BurnAreaList();
    // The per-FMU burn areas (empty when there are no FMUs).
    const QList<c64BurnArea*>& BurnAreaCollection();

    float TotalScore();
    float CategoryScore(int objKey);
    float WeightedObjScore(int objKey);
    float RawObjScore(int objKey);
    float SafetyScore();
    float WeightedSafetyScore(int objKey);
    float RawSafetyScore(int objKey);

    float EstimatedLoss();
    float NVCLoss();
    float ImpactPerAcre();
    float NVCResourceLoss(int resource);
    float FMUPercent(int idx);
    float ItemImpact();
    float SingleItemImpact(int itemKey);
    double ValueProtected();
    double SingleItemProtected(int itemKey);

    float EstimatedCost();
    model::CostSource CostSource() const { return mCostSource; }
    void SetCostSource(model::CostSource value);
    float CostBySize();
    float CostPerAcre();
    c67SRUseList& SRUseList();
    float SRUseCost();
    // The daily rates over the contain days and the days from containment to control (none
    // when the times put control before containment), to 3 significant digits.
    float DailyCost() const;
    float DailyContainCost() const { return mDailyContainCost; }
    void SetDailyContainCost(float value);
    float DailyControlCost() const { return mDailyControlCost; }
    void SetDailyControlCost(float value);
    float AdjustedCost() const { return mAdjustedCost; }
    void SetAdjustedCost(float value);
    QString CostRationale() const { return mCostRationale; }
    void SetCostRationale(const QString& value);

    // Drops the resource lines, so the next use reads them again.
    void Reset();
    // Loads the outcome of alternative altKey (0: the Extreme outcome) with index idx.
    void Initialize(int altKey, int idx);
    // The columns of the row that Initialize reads, for a caller that reads several rows at once.
    static QString RowColumns();
    // Same as Initialize with the row's values (in RowColumns order) already read; nullptr when
    // there is no row.
    void InitializeWith(int altKey, int idx, const QVariantList* row);
    void SaveChanges();
    // Deletes the row and every row stored under the outcome's key.
    void Delete();
    bool IsDirty() const { return mDirty; }
    // False when Initialize found no row.
    bool Exists() const { return mExists; }

private:
    c61RatingList& Ratings();
    c65ItemImpactList& ItemImpacts();

    int mItemKey = 0;
    int mOutcomeIndex = 0;
    int mAltKey = 0;
    QString mDescription;
    float mFireSize = 0;
    int mContainTime = 0;
    int mControlTime = 0;
    int mSuccess = 0;
    QString mSuccessRationale;
    std::unique_ptr<c61RatingList> mRatingList;
    std::unique_ptr<c63BurnAreaList> mBurnAreaList;
    std::unique_ptr<c65ItemImpactList> mItemImpactList;
    std::unique_ptr<c67SRUseList> mSRUseList;
    float mDailyContainCost = 0;
    float mDailyControlCost = 0;
    float mAdjustedCost = 0;
    model::CostSource mCostSource = model::CostSource::BySize;
    QString mCostRationale;
    dao::ChangeFlag mDirty;
    bool mExists = false;
};

} // namespace model
