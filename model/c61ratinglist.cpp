#include "model/c61ratinglist.h"

#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/modeldata.h"
#include "model/outcomerows.h"

#include <QHash>

namespace model {

void c61RatingList::Initialize(int outcomeKey)
{
    mOutcomeKey = outcomeKey;
    build();
}

void c61RatingList::build() const
{
    const int outcomeKey = mOutcomeKey;
    mObjectives.Clear();
    mSafety.Clear();

    const QList<c41Objective*> prioritized = GetPrioritizedObjectives();
    const QList<c41Objective*>& safetyTree = SafetyIssuesCollection();
    if (prioritized.isEmpty() && safetyTree.isEmpty())
        return;
    // A criterion without a row has none here.
    const ByKey<float> scores = StoredScoresOf(outcomeKey);
    auto make = [&](int key, Criteria criteria, RatingLevel level) {
        auto rating = std::make_unique<c62Rating>();
        rating->InitializeWith(outcomeKey, key, criteria, level, scores.Value(key, 0.0f));
        return rating;
    };

    for (c41Objective* node : prioritized) {
        const bool category = node->ParentKey() != 0 && node->bCategory();
        c62Rating* owner = nullptr;
        if (node->ParentKey() != 0 && !category) {
            // An objective belongs to its own category, also when that category is not
            // prioritized itself.
            owner = mObjectives.Find(node->ParentKey());
            if (!owner)
                owner = mObjectives.Add(node->ParentKey(), make(node->ParentKey(), Criteria::Objectives, RatingLevel::Category));
        }
        auto rating = make(node->ItemKey(), Criteria::Objectives, category ? RatingLevel::Category : RatingLevel::Criterion);
        c62Rating* made = rating.get();
        // A damaged tree can name a node as another's category before the node itself comes:
        // the rating made then, with the children it has gathered, stands.
        if (mObjectives.Add(node->ItemKey(), std::move(rating)) == made && owner)
            owner->AddChild(made);
    }

    c62Rating* root = nullptr;
    for (c41Objective* node : safetyTree) {
        std::unique_ptr<c62Rating> rating;
        if (node->ItemKey() == 2) {
            rating = make(2, Criteria::Safety, RatingLevel::Category);
            root = rating.get();
        } else {
            rating = make(node->ItemKey(), Criteria::Safety, RatingLevel::Criterion);
            if (root)
                root->AddChild(rating.get());
        }
        mSafety.Add(node->ItemKey(), std::move(rating));
    }
}

float c61RatingList::TotalScore() const
{
    refreshObjectives();
    float sum = 0.0f;
    for (const c62Rating* rating : mObjectives)
        if (!rating->bCategory())
            sum += rating->WeightedScore();
    return sum;
}

// The prioritizing page changes priorities while the outcomes are kept: a criterion that has
// become rated since the list was built makes the list be built again from the tree as it is.
void c61RatingList::refreshObjectives() const
{
    for (const c41Objective* node : GetPrioritizedObjectives()) {
        if (!mObjectives.Contains(node->ItemKey())) {
            build();
            return;
        }
    }
}

void c61RatingList::refreshSafety() const
{
    for (const c41Objective* node : SafetyIssuesCollection()) {
        if (!mSafety.Contains(node->ItemKey())) {
            build();
            return;
        }
    }
}

c62Rating* c61RatingList::objectiveRating(int key) const
{
    if (!mObjectives.Contains(key))
        refreshObjectives();
    return mObjectives.Find(key);
}

c62Rating* c61RatingList::safetyRating(int key) const
{
    if (!mSafety.Contains(key))
        refreshSafety();
    return mSafety.Find(key);
}

float c61RatingList::CategoryScore(int categoryKey) const
{
    const c62Rating* rating = objectiveRating(categoryKey);
    return rating ? rating->CategoryScore() : 0.0f;
}

float c61RatingList::WeightedObjScore(int key) const
{
    const c62Rating* rating = objectiveRating(key);
    return rating ? rating->WeightedScore() : 0.0f;
}

float c61RatingList::RawObjScore(int key) const
{
    const c62Rating* rating = objectiveRating(key);
    return rating ? rating->RawScore() : 0.0f;
}

float c61RatingList::SafetyScore() const
{
    refreshSafety();
    float sum = 0.0f;
    for (const c62Rating* rating : mSafety)
        if (!rating->bSafetyRoot())
            sum += rating->WeightedScore();
    return sum;
}

float c61RatingList::WeightedSafetyScore(int key) const
{
    const c62Rating* rating = safetyRating(key);
    return rating ? rating->WeightedScore() : 0.0f;
}

float c61RatingList::RawSafetyScore(int key) const
{
    const c62Rating* rating = safetyRating(key);
    return rating ? rating->RawScore() : 0.0f;
}

} // namespace model
