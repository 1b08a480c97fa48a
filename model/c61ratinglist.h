#pragma once

#include "model/c62rating.h"
#include "model/keyedlist.h"

namespace model {

// All ratings of one outcome: the prioritized objectives (with their categories) and every
// safety issue. Which ratings it holds is fixed by Initialize; scores use the current weights.
// A key not in the list throws std::out_of_range.
class c61RatingList {
public:
    float TotalScore() const;
    float CategoryScore(int categoryKey) const;
    float WeightedObjScore(int key) const;
    float RawObjScore(int key) const;
    float SafetyScore() const;
    float WeightedSafetyScore(int key) const;
    float RawSafetyScore(int key) const;

    void Initialize(int outcomeKey);

    const KeyedList<c62Rating>& ObjectiveRatings() const { return mObjectives; }
    const KeyedList<c62Rating>& SafetyRatings() const { return mSafety; }

private:
    int mOutcomeKey = 0;
    KeyedList<c62Rating> mObjectives;
    KeyedList<c62Rating> mSafety;
};

} // namespace model
