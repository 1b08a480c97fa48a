#include "model/c52outcomelist.h"

#include "core/u92utilities.h"
#include "model/c53outcome.h"
#include "model/g53outcomes.h"
#include "model/modeldata.h"
#include "model/outcomerows.h"
#include "model/textnumbers.h"

#include <algorithm>
#include <array>

namespace model {

std::shared_ptr<c53Outcome> c52OutcomeList::Outcome(OutcomeKind kind) const
{
    switch (kind) {
    case OutcomeKind::Target:
        return mOutcomes[0];
    case OutcomeKind::Fallback:
        return mOutcomes[1];
    case OutcomeKind::Extreme:
        break;
    }
    return nullptr;
}

std::array<int, 3> c52OutcomeList::percents() const
{
    if (!mOutcomes[0] || !mOutcomes[1])
        return {0, 0, 0};
    const int p1 = mOutcomes[0]->SuccessPercent();
    int p2 = 0;
    if (mOutcomes[1]->bShow())
        p2 = ((100 - p1) * mOutcomes[1]->SuccessPercent() + 50) / 100;
    return {p1, p2, 100 - p1 - p2};
}

int c52OutcomeList::OutcomePercent(OutcomeKind kind) const
{
    const std::array<int, 3> percent = percents();
    switch (kind) {
    case OutcomeKind::Target: return percent[0];
    case OutcomeKind::Fallback: return percent[1];
    case OutcomeKind::Extreme: return percent[2];
    }
    return 0;
}

// The outcome of kOutcomeKinds[i]: the Target and the Fallback are the list's own.
static_assert(kOutcomeKinds[0] == OutcomeKind::Target && kOutcomeKinds[1] == OutcomeKind::Fallback
              && kOutcomeKinds[2] == OutcomeKind::Extreme);

template <class F>
float c52OutcomeList::WeightedSingle(F value) const
{
    // An outcome of weight 0 adds nothing: it is not even read (a hidden Fallback's lists stay unloaded).
    // The three weights are worked out once for every figure, where each weight was worked out
    // apart, with the ones before it.
    float sum = 0;
    const std::array<int, 3> percent = percents();
    for (size_t i = 0; i < kOutcomeKinds.size(); ++i) {
        if (percent[i] == 0)
            continue;
        c53Outcome& o = i < 2 ? *mOutcomes[i] : *GetExtremeOutcome();
        sum = float(double(sum) + double(value(o)) * percent[i] / 100.0);
    }
    return float(core::RoundSignificant(sum, 2));
}

float c52OutcomeList::ExpectedScore() const
{
    return WeightedSingle([](c53Outcome& o) { return o.TotalScore(); });
}

float c52OutcomeList::ExpectedCategoryScore(int objKey) const
{
    return WeightedSingle([objKey](c53Outcome& o) { return o.CategoryScore(objKey); });
}

float c52OutcomeList::ExpectedWgtObjScore(int objKey) const
{
    return WeightedSingle([objKey](c53Outcome& o) { return o.WeightedObjScore(objKey); });
}

float c52OutcomeList::ExpectedRawObjScore(int objKey) const
{
    return WeightedSingle([objKey](c53Outcome& o) { return o.RawObjScore(objKey); });
}

float c52OutcomeList::ExpectedSafetyScore() const
{
    return WeightedSingle([](c53Outcome& o) { return o.SafetyScore(); });
}

float c52OutcomeList::ExpectedWgtSafetyScore(int objKey) const
{
    return WeightedSingle([objKey](c53Outcome& o) { return o.WeightedSafetyScore(objKey); });
}

float c52OutcomeList::ExpectedRawSafetyScore(int objKey) const
{
    return WeightedSingle([objKey](c53Outcome& o) { return o.RawSafetyScore(objKey); });
}

double c52OutcomeList::ExpectedProtection() const
{
    double sum = 0;
    const std::array<int, 3> percent = percents();
    for (size_t i = 0; i < kOutcomeKinds.size(); ++i) {
        if (percent[i] == 0)
            continue;
        c53Outcome& o = i < 2 ? *mOutcomes[i] : *GetExtremeOutcome();
        sum += o.ValueProtected() * percent[i] / 100.0;
    }
    return core::RoundSignificant(sum, 2);
}

float c52OutcomeList::ExpectedNVCLoss() const
{
    return WeightedSingle([](c53Outcome& o) { return o.NVCLoss(); });
}

float c52OutcomeList::ExpectedLoss() const
{
    return WeightedSingle([](c53Outcome& o) { return o.EstimatedLoss(); });
}

float c52OutcomeList::ExpectedCost() const
{
    return WeightedSingle([](c53Outcome& o) { return o.EstimatedCost(); });
}

float c52OutcomeList::EstimatedCost() const { return mOutcomes[0]->EstimatedCost(); }

int c52OutcomeList::EstimatedSize() const
{
    return textnum::RoundHalfEven(mOutcomes[0]->FireSize().toDouble());
}

void c52OutcomeList::Initialize(int iKey)
{
    // Of several rows under one index the lowest key counts.
    const QVariantList* rows[2] = {};
    const QList<StoredOutcome> stored = StoredOutcomesOf(iKey);
    for (const StoredOutcome& row : stored)
        if (row.index >= 1 && row.index <= 2 && !rows[row.index - 1])
            rows[row.index - 1] = &row.values;
    for (int idx = 1; idx <= 2; ++idx) {
        auto o = std::make_shared<c53Outcome>();
        o->InitializeWith(iKey, idx, rows[idx - 1]);
        mOutcomes[idx - 1] = std::move(o);
    }
}

void c52OutcomeList::Delete()
{
    for (const auto& o : mOutcomes)
        if (o)
            o->Delete();
}

} // namespace model
