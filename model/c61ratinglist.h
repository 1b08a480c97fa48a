#pragma once

#include "model/c62rating.h"

#include <utility>
#include <vector>

namespace model {

// One outcome's ratings of one tree, held in one block in the order they were added and found
// by key: an outcome's lists are built by the thousand for the comparison figures, where a heap
// object and a map node a rating made a good part of the time. Room for every rating is taken
// before the first is added (Reserve), so the pointers handed out, the categories' children
// among them, stay valid until Clear.
class RatingsByKey {
public:
    class Iterator {
    public:
        explicit Iterator(c62Rating* at) : mAt(at) {}
        c62Rating* operator*() const { return mAt; }
        Iterator& operator++() { ++mAt; return *this; }
        bool operator!=(const Iterator& other) const { return mAt != other.mAt; }
    private:
        c62Rating* mAt;
    };

    void Reserve(int count) { mRatings.reserve(size_t(count)); mIndex.reserve(size_t(count)); }
    // The rating held under the key, added when the key has none; added says which.
    c62Rating* Add(int key, bool* added);
    c62Rating* Find(int key) const;
    bool Contains(int key) const { return Find(key) != nullptr; }
    int Count() const { return int(mRatings.size()); }
    void Clear()
    {
        mRatings.clear();
        mIndex.clear();
        mTableMade = false;
    }

    // Copies of shape's ratings in its order, with its room; each copy's children are the copies
    // of its children.
    void CopyOf(const RatingsByKey& shape);
    // each(key, rating) for every rating, by rising key.
    template <class Each>
    void ForEachByKey(Each each)
    {
        for (const auto& [key, place] : mIndex)
            each(key, mRatings[size_t(place)]);
    }

    Iterator begin() const { return Iterator(const_cast<c62Rating*>(mRatings.data())); }
    Iterator end() const { return Iterator(const_cast<c62Rating*>(mRatings.data() + mRatings.size())); }

private:
    // Where the key stands in mIndex, or would stand.
    std::vector<std::pair<int, int>>::const_iterator place(int key) const;

    // An analysis's criteria have keys close together: once the ratings are made, a table by
    // key from the lowest finds each of the thousands a comparison asks for at once, where a
    // search took a step for each halving. Made at the first Find after an Add; left empty
    // when the keys lie too far apart, and the search serves.
    void makeTable() const;

    std::vector<c62Rating> mRatings;
    std::vector<std::pair<int, int>> mIndex;   // key and place in mRatings, by key
    mutable std::vector<int> mTable;           // place in mRatings by key - mTableFrom; -1: none
    mutable qint64 mTableFrom = 0;
    mutable bool mTableMade = false;
};

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

    const RatingsByKey& ObjectiveRatings() const { return mObjectives; }
    const RatingsByKey& SafetyRatings() const { return mSafety; }

private:
    void build() const;
    void refreshObjectives() const;
    void refreshSafety() const;
    c62Rating* objectiveRating(int key) const;
    c62Rating* safetyRating(int key) const;

    int mOutcomeKey = 0;
    mutable RatingsByKey mObjectives;
    mutable RatingsByKey mSafety;
    // The trees' generation each list was last built or found whole for: while it stands, no
    // criterion can have become rated since, and the check of every criterion that each total
    // began with, for every outcome of every alternative, is passed over.
    mutable unsigned long long mObjectivesWholeFor = ~0ull;
    mutable unsigned long long mSafetyWholeFor = ~0ull;
};

} // namespace model
