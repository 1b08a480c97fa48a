#include "model/c35aactable.h"

#include "model/fmurows.h"
#include "model/modeldata.h"
#include "model/rowvalues.h"
#include "core/u11datafile.h"
#include "core/u19rowdata.h"
#include "core/u91trace.h"
#include "platform/dao/dao.h"

#include <cmath>
#include <stdexcept>

namespace model {

namespace {

int checkBracket(int bracket)
{
    if (bracket < 1 || bracket > kCostBracketCount)
        throw std::out_of_range("cost table: subscript out of range");
    return bracket - 1;
}

} // namespace

QString NextFromText(float previousTopSize)
{
    const float t = previousTopSize;
    if (!(t > 0.0f) || double(t) >= 9999999.0)
        return QString();
    // Sizes the one-decimal display shows as 0.9 start the next bracket at a whole acre.
    if (std::round(double(t) * 10.0) == 9.0)
        return QStringLiteral("1");
    // The sums are formed from the single-precision size, digits and all, as stored.
    if (t < 1.0f)
        return QString::number(double(t) + 0.01, 'g', 15);
    if (t == 9.0f)
        return QStringLiteral("10");
    if (t < 10.0f)
        return QString::number(double(t) + 0.1, 'g', 15);
    return QString::number(double(std::floor(t + 1.0f)), 'g', 7);
}

float c35AACTable::TopSize(int bracket) const { return mTopSize[checkBracket(bracket)]; }

void c35AACTable::SetTopSize(int bracket, float value)
{
    mTopSize[checkBracket(bracket)] = value;
    mChanged = true;
}

float c35AACTable::Cost(int bracket) const { return mCost[checkBracket(bracket)]; }

void c35AACTable::SetCost(int bracket, float value)
{
    mCost[checkBracket(bracket)] = value;
    mChanged = true;
}

float c35AACTable::CostForSize(float size) const
{
    for (int i = 0; i < kCostBracketCount; ++i)
        if (size <= mTopSize[i])
            return mCost[i];
    // Larger than every bracket: the open-ended bracket, else the highest sized one with a cost.
    for (int i = kCostBracketCount - 1; i >= 0; --i)
        if (mCost[i] > 0.0f && (mTopSize[i] > 0.0f || i == 0 || mTopSize[i - 1] > 0.0f))
            return mCost[i];
    return 0.0f;
}

void c35AACTable::Initialize(int fmuKey)
{
    core::Trace(QStringLiteral("c35AACTable.Initialize %1").arg(fmuKey));
    mFMUKey = fmuKey;
    mChanged = false;
    mTopSize = {};
    mCost = {};
    rowvalue::ForEachNumberedRow(StoredCostRowsOf(fmuKey), kCostBracketCount, [this](const StoredCostRow& row) {
        mTopSize[row.number - 1] = row.topSize;
        mCost[row.number - 1] = row.cost;
    });
}

void c35AACTable::SaveChanges()
{
    core::Trace(QStringLiteral("c35AACTable.SaveChanges"));
    if (!mChanged)
        return;
    dao::RowSave save(Db());
    for (int s = 1; s <= kCostBracketCount; ++s)
        save.Write(QStringLiteral("SuppressionPerAcreCost"), {mFMUKey, s},
                   {{QStringLiteral("TopSize"), mTopSize[s - 1]}, {QStringLiteral("Cost"), mCost[s - 1]}},
                   dao::IfMissing::Add);
    save.Commit(mChanged);
}

} // namespace model
