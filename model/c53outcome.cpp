#include "model/c53outcome.h"

#include <algorithm>

#include "core/u92utilities.h"
#include "model/c51alternative.h"
#include "model/c61ratinglist.h"
#include "model/c63burnarealist.h"
#include "model/c65itemimpactlist.h"
#include "model/c67sruselist.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "model/g62ratings.h"
#include "model/g64burnareas.h"
#include "model/g66itemimpacts.h"
#include "model/g68sruses.h"
#include "model/modeldata.h"
#include "model/rowvalues.h"
#include "model/textnumbers.h"

#include <cmath>

namespace model {

namespace {

float Round2(double v) { return float(core::RoundSignificant(v, 2)); }
float Round3(double v) { return float(core::RoundSignificant(v, 3)); }

const QString kExtremeName = QStringLiteral("Extreme Outcome");

} // namespace

c53Outcome::c53Outcome() = default;
c53Outcome::~c53Outcome() = default;

std::shared_ptr<c51Alternative> c53Outcome::Alternative() const
{
    if (mAltKey <= 0)
        return nullptr;
    return GetAlternative(mAltKey);
}

QString c53Outcome::ShortName() const
{
    if (mAltKey == 0)
        return kExtremeName;
    switch (mOutcomeIndex) {
    case 1: return QStringLiteral("Target");
    case 2: return QStringLiteral("Fallback");
    case 0:
    case 3: return kExtremeName;
    default: return QString();
    }
}

QString c53Outcome::LongName() const
{
    if (mAltKey == 0)
        return kExtremeName;
    const auto alt = Alternative();
    return (alt ? alt->Label() : QString()) + QStringLiteral(" - ") + ShortName();
}

QString c53Outcome::FullName() const
{
    if (mAltKey == 0)
        return kExtremeName;
    const auto alt = Alternative();
    return (alt ? alt->Label().left(32) : QString()) + QStringLiteral(" - ") + ShortName();
}

void c53Outcome::SetbShow(bool value)
{
    if (!value)
        mSuccess = -1;
    else if (mSuccess == -1)
        mSuccess = 0;
    mDirty = true;
}

void c53Outcome::SetDescription(const QString& value) { mDescription = value; mDirty = true; }

QString c53Outcome::FireSize() const
{
    QString text = QString::number(double(mFireSize), 'g', 7);
    if (text.contains(QLatin1Char('e')))
        text = QString::number(double(mFireSize), 'f', 0);
    return text;
}

bool c53Outcome::SetFireSize(const QString& text)
{
    double v = 0;
    if (!textnum::IsNumeric(text, &v) || std::fabs(v) > 3.0e38)
        return false;
    mFireSize = float(v);
    mDirty = true;
    return true;
}

QString c53Outcome::ContainTimeString() const
{
    return mContainTime == 0 ? QString() : QString::number(mContainTime);
}

void c53Outcome::SetContainTimeString(const QString& text)
{
    mContainTime = textnum::RoundHalfEven(textnum::LeadingNumber(text, true));
    mDirty = true;
}

QString c53Outcome::ControlTimeString() const
{
    return mControlTime == 0 ? QString() : QString::number(mControlTime);
}

void c53Outcome::SetControlTimeString(const QString& text)
{
    mControlTime = textnum::RoundHalfEven(textnum::LeadingNumber(text, true));
    mDirty = true;
}

void c53Outcome::SetSuccess(int value) { mSuccess = value; mDirty = true; }
void c53Outcome::SetSuccessRationale(const QString& value) { mSuccessRationale = value; mDirty = true; }
void c53Outcome::SetCostSource(model::CostSource value) { mCostSource = value; mDirty = true; }
void c53Outcome::SetDailyContainCost(float value) { mDailyContainCost = value; mDirty = true; }
void c53Outcome::SetDailyControlCost(float value) { mDailyControlCost = value; mDirty = true; }
void c53Outcome::SetAdjustedCost(float value) { mAdjustedCost = value; mDirty = true; }
void c53Outcome::SetCostRationale(const QString& value) { mCostRationale = value; mDirty = true; }

c61RatingList& c53Outcome::Ratings()
{
    if (!mRatingList) {
        auto list = std::make_unique<c61RatingList>();
        list->Initialize(mItemKey);
        mRatingList = std::move(list);
    }
    return *mRatingList;
}

c63BurnAreaList& c53Outcome::BurnAreaList()
{
    if (!mBurnAreaList) {
        auto list = std::make_unique<c63BurnAreaList>();
        list->Initialize(mItemKey);
        mBurnAreaList = std::move(list);
    }
    return *mBurnAreaList;
}

c65ItemImpactList& c53Outcome::ItemImpacts()
{
    if (!mItemImpactList) {
        auto list = std::make_unique<c65ItemImpactList>();
        list->Initialize(mItemKey);
        mItemImpactList = std::move(list);
    }
    return *mItemImpactList;
}

c67SRUseList& c53Outcome::SRUseList()
{
    if (!mSRUseList) {
        auto list = std::make_unique<c67SRUseList>();
        list->Initialize(mItemKey);
        mSRUseList = std::move(list);
    }
    return *mSRUseList;
}

c64BurnArea* c53Outcome::BurnArea(int fmuKey) { return BurnAreaList().BurnArea(fmuKey); }
const QList<c64BurnArea*>& c53Outcome::BurnAreaCollection() { return BurnAreaList().BurnAreaCollection(); }

float c53Outcome::TotalScore() { return Round2(Ratings().TotalScore()); }
float c53Outcome::CategoryScore(int objKey) { return Round2(Ratings().CategoryScore(objKey)); }
float c53Outcome::WeightedObjScore(int objKey) { return Round2(Ratings().WeightedObjScore(objKey)); }
float c53Outcome::RawObjScore(int objKey) { return Round2(Ratings().RawObjScore(objKey)); }
float c53Outcome::SafetyScore() { return Round2(Ratings().SafetyScore()); }
float c53Outcome::WeightedSafetyScore(int objKey) { return Round2(Ratings().WeightedSafetyScore(objKey)); }
float c53Outcome::RawSafetyScore(int objKey) { return Round2(Ratings().RawSafetyScore(objKey)); }

float c53Outcome::NVCLoss()
{
    const double a = BurnAreaList().AverageNVCPerAcre();
    return -Round2(a * double(mFireSize));
}

float c53Outcome::ImpactPerAcre() { return BurnAreaList().AverageNVCPerAcre(); }

float c53Outcome::NVCResourceLoss(int resource)
{
    const double a = BurnAreaList().ResourceNVCPerAcre(resource);
    return -Round3(a * double(mFireSize));
}

float c53Outcome::FMUPercent(int idx) { return float(BurnAreaList().FMUPercent(idx)); }

float c53Outcome::ItemImpact() { return ItemImpacts().ImpactOnAllItems(); }
float c53Outcome::SingleItemImpact(int itemKey) { return ItemImpacts().SingleItemImpact(itemKey); }
double c53Outcome::ValueProtected() { return core::RoundSignificant(ItemImpacts().TotalProtected(), 2); }
double c53Outcome::SingleItemProtected(int itemKey) { return ItemImpacts().SingleItemProtection(itemKey); }

float c53Outcome::EstimatedLoss() { return float(double(NVCLoss()) + double(ItemImpact())); }

float c53Outcome::EstimatedCost()
{
    switch (mCostSource) {
    case CostSource::BySize: return CostBySize();
    case CostSource::ResourceList: return SRUseCost();
    case CostSource::Daily: return DailyCost();
    case CostSource::Entered: return mAdjustedCost;
    default: return 0;
    }
}

float c53Outcome::CostBySize() { return Round3(BurnAreaList().CostBySize(mFireSize)); }
float c53Outcome::CostPerAcre() { return BurnAreaList().CostPerAcre(mFireSize); }
float c53Outcome::SRUseCost() { return Round3(SRUseList().SRUseCost()); }

float c53Outcome::DailyCost() const
{
    const float t1 = float(double(mDailyContainCost) * double(mContainTime));
    // Times that put control before containment are a mistake, not a saving: the period
    // after containment then costs nothing rather than lowering the estimate.
    const double days = double(std::max<qint64>(0, qint64(mControlTime) - qint64(mContainTime)));
    const float t = float(double(t1) + double(mDailyControlCost) * days);
    return Round3(t);
}

void c53Outcome::Reset() { mSRUseList.reset(); }

QString c53Outcome::RowColumns()
{
    return QStringLiteral("ItemKey, Description, FireSize, ContainTime, ControlTime, Success, SuccessRationale, "
                          "DailyContainCost, DailyControlCost, AdjustedCost, CostSource, CostRationale");
}

void c53Outcome::Initialize(int altKey, int idx)
{
    auto rs = Db().OpenRecordset(QStringLiteral("SELECT ") + RowColumns()
                                     + QStringLiteral(" FROM Outcomes WHERE ParentKey = ? AND ChildIndex = ? "
                                                      "ORDER BY ItemKey"),
                                 {altKey, idx});
    if (rs->Eof()) {
        rs->Close();
        InitializeWith(altKey, idx, nullptr);
        return;
    }
    QVariantList row;
    for (int i = 0; i < rs->FieldCount(); ++i)
        row.append(rs->Field(i));
    rs->Close();
    InitializeWith(altKey, idx, &row);
}

void c53Outcome::InitializeWith(int altKey, int idx, const QVariantList* row)
{
    static const QVariantList kNoRow(12);
    const QVariantList& v = row && row->size() >= kNoRow.size() ? *row : kNoRow;
    mOutcomeIndex = idx;
    mAltKey = altKey;
    mExists = row != nullptr;
    mItemKey = rowvalue::Long(v[0]);
    mDescription = rowvalue::Text(v[1]);
    mFireSize = rowvalue::Single(v[2]);
    mContainTime = rowvalue::Long(v[3]);
    mControlTime = rowvalue::Long(v[4]);
    mSuccess = rowvalue::Long(v[5]);
    mSuccessRationale = rowvalue::Text(v[6]);
    mDailyContainCost = rowvalue::Single(v[7]);
    mDailyControlCost = rowvalue::Single(v[8]);
    mAdjustedCost = rowvalue::Single(v[9]);
    const int source = rowvalue::Long(v[10]);
    mCostSource = source == 0 ? CostSource::BySize : static_cast<model::CostSource>(source);
    mCostRationale = rowvalue::Text(v[11]);
    mRatingList.reset();
    mBurnAreaList.reset();
    mItemImpactList.reset();
    mSRUseList.reset();
    mDirty = false;
}

void c53Outcome::SaveChanges()
{
    if (!mDirty)
        return;
    dao::RowSave save(Db());
    int key = mItemKey;
    const bool remake = !mExists || !save.Exists(QStringLiteral("Outcomes"), {key});
    if (remake) {
        // A damaged file or a save rolled back lost the row: make it again rather than drop the edits.
        key = AddOutcomeRecord(mAltKey, mOutcomeIndex);
        AddOutcomeFMUs(key);
    }
    save.Write(QStringLiteral("Outcomes"), {key},
               {{QStringLiteral("Description"), mDescription},
                {QStringLiteral("FireSize"), double(mFireSize)},
                {QStringLiteral("ContainTime"), mContainTime},
                {QStringLiteral("ControlTime"), mControlTime},
                {QStringLiteral("Success"), mSuccess},
                {QStringLiteral("SuccessRationale"), mSuccessRationale},
                {QStringLiteral("DailyContainCost"), double(mDailyContainCost)},
                {QStringLiteral("DailyControlCost"), double(mDailyControlCost)},
                {QStringLiteral("AdjustedCost"), double(mAdjustedCost)},
                {QStringLiteral("CostSource"), core::StoredValue(mCostSource)},
                {QStringLiteral("CostRationale"), mCostRationale}},
               dao::IfMissing::Report);
    save.Commit(mDirty);
    // The object takes its new row only once it is in the file.
    if (remake) {
        mItemKey = key;
        mExists = true;
        mBurnAreaList.reset();
    }
}

void c53Outcome::Delete()
{
    if (!mExists)
        return;
    dao::Transaction trans(Db());
    auto rs = Db().OpenTable(QStringLiteral("Outcomes"));
    rs->Seek(mItemKey);
    if (!rs->NoMatch())
        rs->Delete();
    rs->Close();
    DeleteOutcomeFMZs(mItemKey);
    DeleteItemImpactsForOutcome(mItemKey);
    DeleteOutcomeSRUses(mItemKey);
    DeleteOutcomeScores(mItemKey);
    // The key can be handed out again: its protection levels go with it.
    DeleteValuesProtectedForOutcome(mItemKey);
    trans.commit();
    mExists = false;
}

} // namespace model
