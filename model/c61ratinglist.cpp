#include "model/c61ratinglist.h"

#include "model/g41objectives.h"
#include "model/g42safetyissues.h"

namespace model {

void c61RatingList::Initialize(int outcomeKey)
{
    mOutcomeKey = outcomeKey;
    mObjectives.Clear();
    mSafety.Clear();

    for (c41Objective* node : GetPrioritizedObjectives()) {
        auto rating = std::make_unique<c62Rating>();
        if (node->ParentKey() == 0) {
            rating->Initialize(outcomeKey, node->ItemKey(), false, false);
        } else if (node->bCategory()) {
            rating->Initialize(outcomeKey, node->ItemKey(), false, true);
        } else {
            rating->Initialize(outcomeKey, node->ItemKey(), false, false);
            // An objective belongs to its own category, also when that category is not
            // prioritized itself.
            c62Rating* category = mObjectives.Find(node->ParentKey());
            if (!category) {
                auto own = std::make_unique<c62Rating>();
                own->Initialize(outcomeKey, node->ParentKey(), false, true);
                category = mObjectives.Add(node->ParentKey(), std::move(own));
            }
            category->AddChild(rating.get());
        }
        mObjectives.Add(node->ItemKey(), std::move(rating));
    }

    c62Rating* root = nullptr;
    for (c41Objective* node : SafetyIssuesCollection()) {
        auto rating = std::make_unique<c62Rating>();
        if (node->ItemKey() == 2) {
            rating->Initialize(outcomeKey, 2, true, true);
            root = rating.get();
        } else {
            rating->Initialize(outcomeKey, node->ItemKey(), true, false);
            if (root)
                root->AddChild(rating.get());
        }
        mSafety.Add(node->ItemKey(), std::move(rating));
    }
}

float c61RatingList::TotalScore() const
{
    float sum = 0.0f;
    for (const c62Rating* rating : mObjectives)
        if (!rating->bCategory())
            sum += rating->WeightedScore();
    return sum;
}

float c61RatingList::CategoryScore(int categoryKey) const { return mObjectives.Get(categoryKey)->CategoryScore(); }

float c61RatingList::WeightedObjScore(int key) const { return mObjectives.Get(key)->WeightedScore(); }

float c61RatingList::RawObjScore(int key) const { return mObjectives.Get(key)->RawScore(); }

float c61RatingList::SafetyScore() const
{
    float sum = 0.0f;
    for (const c62Rating* rating : mSafety)
        if (!rating->bSafetyRoot())
            sum += rating->WeightedScore();
    return sum;
}

float c61RatingList::WeightedSafetyScore(int key) const { return mSafety.Get(key)->WeightedScore(); }

float c61RatingList::RawSafetyScore(int key) const { return mSafety.Get(key)->RawScore(); }

} // namespace model
