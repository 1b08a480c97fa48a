#include "model/c61ratinglist.h"

#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/modeldata.h"
#include "model/objectivetree.h"
#include "model/outcomerows.h"

#include <algorithm>

namespace model {

void c61RatingList::Initialize(int outcomeKey)
{
    mOutcomeKey = outcomeKey;
    build();
}

std::vector<std::pair<int, int>>::const_iterator RatingsByKey::place(int key) const
{
    return mIndex.cbegin() + (FirstNotBelow(mIndex.data(), qsizetype(mIndex.size()), key) - mIndex.data());
}

c62Rating* RatingsByKey::Add(int key, bool* added)
{
    const auto at = place(key);
    *added = at == mIndex.end() || at->first != key;
    if (!*added)
        return &mRatings[size_t(at->second)];
    // Past the room reserved the block would move and leave the pointers handed out behind.
    Q_ASSERT(mRatings.size() < mRatings.capacity());
    mIndex.insert(at, {key, int(mRatings.size())});
    mTableMade = false;
    return &mRatings.emplace_back();
}

void RatingsByKey::makeTable() const
{
    mTableMade = true;
    mTable.clear();
    if (mIndex.empty())
        return;
    const qint64 from = mIndex.front().first;
    const qint64 span = qint64(mIndex.back().first) - from + 1;
    if (span > 4 * qint64(mIndex.size()) + 64)
        return;
    mTable.assign(size_t(span), -1);
    for (const auto& [key, place] : mIndex)
        mTable[size_t(key - from)] = place;
    mTableFrom = from;
}

void RatingsByKey::CopyOf(const RatingsByKey& shape)
{
    if (!shape.mTableMade)
        shape.makeTable();
    mRatings.clear();
    mRatings.reserve(shape.mRatings.capacity());
    mRatings.insert(mRatings.end(), shape.mRatings.begin(), shape.mRatings.end());
    for (c62Rating& rating : mRatings)
        rating.RebaseChildren(shape.mRatings.data(), mRatings.data());
    mIndex = shape.mIndex;
    mTable = shape.mTable;
    mTableFrom = shape.mTableFrom;
    mTableMade = true;
}

c62Rating* RatingsByKey::Find(int key) const
{
    if (!mTableMade)
        makeTable();
    if (!mTable.empty()) {
        const qint64 at = qint64(key) - mTableFrom;
        if (at < 0 || at >= qint64(mTable.size()) || mTable[size_t(at)] < 0)
            return nullptr;
        return const_cast<c62Rating*>(&mRatings[size_t(mTable[size_t(at)])]);
    }
    const auto at = place(key);
    return at != mIndex.end() && at->first == key ? const_cast<c62Rating*>(&mRatings[size_t(at->second)]) : nullptr;
}

namespace {

// The ratings of the prioritized objectives and of the safety tree for no outcome and without
// scores: every outcome's lists hold the same criteria at the same levels with the same
// categories' children, and differ only in their outcome and raw scores.
void MakeRatings(RatingsByKey& objectives, RatingsByKey& safety, const QList<c41Objective*>& prioritized,
                 const QList<c41Objective*>& safetyTree)
{
    // An objective can bring its category along: at most two ratings a prioritized node.
    objectives.Reserve(2 * int(prioritized.size()));
    safety.Reserve(int(safetyTree.size()));
    // The rating now held under the key, made when the key had none; a key held already keeps
    // its rating.
    auto make = [&](RatingsByKey& list, int key, Criteria criteria, RatingLevel level, bool* added) {
        c62Rating* rating = list.Add(key, added);
        if (*added)
            rating->InitializeWith(0, key, criteria, level, 0.0f);
        return rating;
    };

    // Each category's children are counted before they are handed to it, so that its list is
    // made once: grown child by child, the lists were the most of the heap's work in building an
    // outcome's ratings.
    std::vector<std::pair<c62Rating*, c62Rating*>> links;   // category and child, in tree order
    links.reserve(size_t(prioritized.size()));
    bool added = false;
    for (c41Objective* node : prioritized) {
        const bool category = node->ParentKey() != 0 && node->bCategory();
        c62Rating* owner = nullptr;
        if (node->ParentKey() != 0 && !category) {
            // An objective belongs to its own category, also when that category is not
            // prioritized itself.
            owner = make(objectives, node->ParentKey(), Criteria::Objectives, RatingLevel::Category, &added);
        }
        c62Rating* made = make(objectives, node->ItemKey(), Criteria::Objectives,
                               category ? RatingLevel::Category : RatingLevel::Criterion, &added);
        // A damaged tree can name a node as another's category before the node itself comes:
        // the rating made then, with the children it has gathered, stands.
        if (added && owner)
            links.emplace_back(owner, made);
    }
    std::vector<std::pair<c62Rating*, int>> counts;   // a handful of categories
    for (const auto& link : links) {
        const auto at = std::find_if(counts.begin(), counts.end(), [&](const auto& c) { return c.first == link.first; });
        if (at == counts.end())
            counts.emplace_back(link.first, 1);
        else
            ++at->second;
    }
    for (const auto& [owner, count] : counts)
        owner->ReserveChildren(count);
    for (const auto& [owner, child] : links)
        owner->AddChild(child);

    c62Rating* root = nullptr;
    for (c41Objective* node : safetyTree) {
        if (node->ItemKey() == 2) {
            c62Rating* made = make(safety, 2, Criteria::Safety, RatingLevel::Category, &added);
            if (added) {
                root = made;
                root->ReserveChildren(int(safetyTree.size()) - 1);
            }
        } else {
            c62Rating* made = make(safety, node->ItemKey(), Criteria::Safety, RatingLevel::Criterion, &added);
            if (added && root)
                root->AddChild(made);
        }
    }
    for (const RatingsByKey* list : {&objectives, &safety})
        for (const c62Rating* rating : *list)
            rating->FindCriterion();
}

// The ratings MakeRatings gives the trees as they stand. Made for every outcome, with each
// criterion's node looked up again, they were a good part of the comparison figures; made once
// for the trees' generation, an outcome copies them and takes its scores.
struct RatingsShape {
    unsigned long long generation = ~0ull;
    RatingsByKey objectives;
    RatingsByKey safety;
};

const RatingsShape& ShapeOf(const QList<c41Objective*>& prioritized, const QList<c41Objective*>& safetyTree)
{
    static RatingsShape kept;
    if (kept.generation != detail::TreesGeneration()) {
        kept.objectives.Clear();
        kept.safety.Clear();
        MakeRatings(kept.objectives, kept.safety, prioritized, safetyTree);
        kept.generation = detail::TreesGeneration();
    }
    return kept;
}

} // namespace

void c61RatingList::build() const
{
    const int outcomeKey = mOutcomeKey;
    mObjectives.Clear();
    mSafety.Clear();

    const QList<c41Objective*> prioritized = GetPrioritizedObjectives();
    const QList<c41Objective*>& safetyTree = SafetyIssuesCollection();
    if (prioritized.isEmpty() && safetyTree.isEmpty())
        return;
    // Both trees are loaded by now: the generation the shape is kept for stands.
    const RatingsShape& shape = ShapeOf(prioritized, safetyTree);
    // A criterion without a row has none here. Asked by rising key, each score is the next row
    // or missing.
    const ByKey<float> scores = StoredScoresOf(outcomeKey);
    mObjectives.CopyOf(shape.objectives);
    mSafety.CopyOf(shape.safety);
    for (RatingsByKey* list : {&mObjectives, &mSafety}) {
        qsizetype from = 0;
        list->ForEachByKey([&](int key, c62Rating& rating) { rating.ForOutcome(outcomeKey, scores.ValueFrom(key, &from, 0.0f)); });
    }
    // Loading a tree on first use changes the generation: taken after the lists were read.
    mObjectivesWholeFor = mSafetyWholeFor = detail::TreesGeneration();
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
    if (mObjectivesWholeFor == detail::TreesGeneration())
        return;
    for (const c41Objective* node : GetPrioritizedObjectives()) {
        if (!mObjectives.Contains(node->ItemKey())) {
            build();
            return;
        }
    }
    mObjectivesWholeFor = detail::TreesGeneration();
}

void c61RatingList::refreshSafety() const
{
    if (mSafetyWholeFor == detail::TreesGeneration())
        return;
    for (const c41Objective* node : SafetyIssuesCollection()) {
        if (!mSafety.Contains(node->ItemKey())) {
            build();
            return;
        }
    }
    mSafetyWholeFor = detail::TreesGeneration();
}

c62Rating* c61RatingList::objectiveRating(int key) const
{
    if (c62Rating* rating = mObjectives.Find(key))
        return rating;
    refreshObjectives();
    return mObjectives.Find(key);
}

c62Rating* c61RatingList::safetyRating(int key) const
{
    if (c62Rating* rating = mSafety.Find(key))
        return rating;
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
