#include "model/c52outcomelist.h"

#include "core/u92utilities.h"
#include "model/c53outcome.h"
#include "model/g53outcomes.h"
#include "model/modeldata.h"
#include "model/outcomerows.h"
#include "model/textnumbers.h"

#include <algorithm>

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

int c52OutcomeList::OutcomePercent(OutcomeKind kind) const
{
    if (!mOutcomes[0] || !mOutcomes[1])
        return 0;
    const int p1 = mOutcomes[0]->SuccessPercent();
    if (kind == OutcomeKind::Target)
        return p1;
    int p2 = 0;
    if (mOutcomes[1]->bShow())
        p2 = ((100 - p1) * mOutcomes[1]->SuccessPercent() + 50) / 100;
    if (kind == OutcomeKind::Fallback)
        return p2;
    return kind == OutcomeKind::Extreme ? 100 - p1 - p2 : 0;
}

template <class F>
float c52OutcomeList::WeightedSingle(F value) const
{
    // An outcome of weight 0 adds nothing: it is not even read (a hidden Fallback's lists stay unloaded).
    float sum = 0;
    for (const OutcomeKind kind : kOutcomeKinds) {
        const int percent = OutcomePercent(kind);
        if (percent == 0)
            continue;
        c53Outcome& o = kind == OutcomeKind::Extreme ? *GetExtremeOutcome() : *Outcome(kind);
        sum = float(double(sum) + double(value(o)) * percent / 100.0);
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
    for (const OutcomeKind kind : kOutcomeKinds) {
        const int percent = OutcomePercent(kind);
        if (percent == 0)
            continue;
        c53Outcome& o = kind == OutcomeKind::Extreme ? *GetExtremeOutcome() : *Outcome(kind);
        sum += o.ValueProtected() * percent / 100.0;
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
