#pragma once

#include "model/treesgeneration.h"
#include "platform/dao/rowsave.h"

#include <QList>
#include <QString>

#include <optional>

namespace model {

class c41Objective;

// Which tree a rating's criterion stands in, and whether it rates the criterion itself or sums
// the criteria under it.
enum class Criteria { Objectives, Safety };
enum class RatingLevel { Criterion, Category };

// The rating of one outcome against one objective or safety issue: a raw score 0..10 and a
// note. A category rating reads no row and sums its children's weighted scores.
class c62Rating {
public:
    bool bCategory() const { return mCategory; }
    bool bSafetyRoot() const { return mSafety && mCategory; }
    bool bSafetyIssue() const { return mSafety && !mCategory; }
    float RawScore() const { return mRawScore; }
    void SetRawScore(float value);
    // A rating built without its note reads it at the first ask.
    QString Description() const;
    void SetDescription(const QString& value);
    // Raw score times the criterion's current weight.
    float WeightedScore() const;
    // Sum of the children's weighted scores; 0 without children.
    float CategoryScore() const;

    void Initialize(int outcomeKey, int criterionKey, Criteria criteria, RatingLevel level);
    // Same as Initialize with the row already read (0 and "" when there is none); a category
    // keeps 0 and "" whatever is given.
    void InitializeWith(int outcomeKey, int criterionKey, Criteria criteria, RatingLevel level, float rawScore,
                        const QString& description);
    // The same without the note, which is read when first asked for.
    void InitializeWith(int outcomeKey, int criterionKey, Criteria criteria, RatingLevel level, float rawScore);
    // Writes the row when changed, adding it when it is missing.
    void SaveChanges();
    // Not owned: the rating list owns every rating.
    void AddChild(c62Rating* rating);
    void ReserveChildren(int count) { mChildren.reserve(count); }
    // For a copy of a block of ratings: the children, which lie in the block from, become those
    // at the same places in the block to.
    void RebaseChildren(const c62Rating* from, c62Rating* to)
    {
        if (!mChildren.isEmpty())
            rebaseChildren(from, to);
    }
    // The same rating for another outcome: its key and raw score (a category keeps 0) set, the
    // rest kept, the criterion's node found among it.
    void ForOutcome(int outcomeKey, float rawScore)
    {
        mOutcomeKey = outcomeKey;
        mRawScore = mCategory ? 0.0f : rawScore;
    }
    // Finds the criterion's node now: copies made while the trees stand carry it.
    void FindCriterion() const { criterion(); }

    int OutcomeKey() const { return mOutcomeKey; }
    int CriterionKey() const { return mCriterionKey; }
    bool Changed() const { return mChanged; }
    const QList<c62Rating*>& Children() const { return mChildren; }

private:
    void rebaseChildren(const c62Rating* from, c62Rating* to);

    bool mCategory = false;
    bool mSafety = false;
    int mOutcomeKey = 0;
    int mCriterionKey = 0;
    float mRawScore = 0.0f;
    mutable std::optional<QString> mDescription;
    dao::ChangeFlag mChanged;
    QList<c62Rating*> mChildren;
    // The criterion's node (nullptr: no longer in its tree) as found at a generation of the
    // trees: every total asks for the weights of the same criteria, and finding each node by
    // its key again was a good part of it. A node stays put until the trees change.
    const c41Objective* criterion() const
    {
        return mCriterionFor == detail::TreesGeneration() ? mCriterion : findCriterion();
    }
    const c41Objective* findCriterion() const;
    mutable const c41Objective* mCriterion = nullptr;
    mutable unsigned long long mCriterionFor = ~0ull;
};

} // namespace model
