#pragma once

#include "model/c62rating.h"
#include "model/keyedlist.h"

namespace model {

// All ratings of one outcome: the prioritized objectives (with their categories) and every
// safety issue. Scores use the current weights.
// Which ratings it holds follows the prioritized objectives and the safety tree: a criterion
// rated since the list was built is read then. A criterion that is not rated scores 0.
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
    void build() const;
    void refreshObjectives() const;
    void refreshSafety() const;
    c62Rating* objectiveRating(int key) const;
    c62Rating* safetyRating(int key) const;

    int mOutcomeKey = 0;
    mutable KeyedList<c62Rating> mObjectives;
    mutable KeyedList<c62Rating> mSafety;
};

} // namespace model
