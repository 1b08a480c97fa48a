#include "model/c62rating.h"

#include "model/modeldata.h"
#include "model/outcomerows.h"
#include "core/u11datafile.h"
#include "core/u19rowdata.h"
#include "model/c41objective.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/objectivetree.h"
#include "platform/dao/dao.h"

#include <stdexcept>
#include <utility>

namespace model {

void c62Rating::SetRawScore(float value)
{
    mRawScore = value;
    mChanged = true;
}

void c62Rating::SetDescription(const QString& value)
{
    mDescription = value;
    mChanged = true;
}

QString c62Rating::Description() const
{
    if (!mDescription)
        mDescription = mCategory ? QString() : StoredScoreNotesOf(mOutcomeKey).Value(mCriterionKey);
    return *mDescription;
}

const c41Objective* c62Rating::findCriterion() const
{
    try {
        mCriterion = mSafety ? GetSafetyIssue(mCriterionKey) : GetObjective(mCriterionKey);
    } catch (const std::out_of_range&) {
        mCriterion = nullptr;
    }
    // Loading a tree on first use changes the generation: taken after the node was found.
    mCriterionFor = detail::TreesGeneration();
    return mCriterion;
}

float c62Rating::WeightedScore() const
{
    // A criterion deleted after this rating was built no longer counts.
    const c41Objective* node = criterion();
    const float weight = node ? node->Weight() : 0.0f;
    return weight * mRawScore;
}

float c62Rating::CategoryScore() const
{
    float sum = 0.0f;
    for (const c62Rating* child : mChildren)
        sum += child->WeightedScore();
    return sum;
}

void c62Rating::Initialize(int outcomeKey, int criterionKey, Criteria criteria, RatingLevel level)
{
    if (level == RatingLevel::Category) {
        InitializeWith(outcomeKey, criterionKey, criteria, level, 0.0f, QString());
        return;
    }
    auto rs = Db().OpenTable(QStringLiteral("Scores"));
    rs->SetIndex(QStringLiteral("PrimaryKey"));
    rs->Seek(outcomeKey, criterionKey);
    const float raw = core::GetFieldSingle(*rs, QStringLiteral("Value"));
    const QString description = core::GetFieldText(*rs, QStringLiteral("Description"));
    rs->Close();
    InitializeWith(outcomeKey, criterionKey, criteria, level, raw, description);
}

void c62Rating::InitializeWith(int outcomeKey, int criterionKey, Criteria criteria, RatingLevel level, float rawScore,
                               const QString& description)
{
    InitializeWith(outcomeKey, criterionKey, criteria, level, rawScore);
    mDescription = mCategory ? QString() : description;
}

void c62Rating::InitializeWith(int outcomeKey, int criterionKey, Criteria criteria, RatingLevel level, float rawScore)
{
    mOutcomeKey = outcomeKey;
    mCriterionKey = criterionKey;
    mSafety = criteria == Criteria::Safety;
    mCategory = level == RatingLevel::Category;
    mChanged = false;
    mRawScore = mCategory ? 0.0f : rawScore;
    mDescription.reset();
    mCriterionFor = ~0ull;
}

void c62Rating::SaveChanges()
{
    dao::SaveRow(Db(), QStringLiteral("Scores"), {mOutcomeKey, mCriterionKey},
                 {{QStringLiteral("Value"), mRawScore}, {QStringLiteral("Description"), Description()}},
                 dao::IfMissing::Add, mChanged);
}

void c62Rating::AddChild(c62Rating* rating) { mChildren.append(rating); }

void c62Rating::rebaseChildren(const c62Rating* from, c62Rating* to)
{
    QList<c62Rating*> children;
    children.reserve(mChildren.size());
    for (const c62Rating* child : std::as_const(mChildren))
        children.append(to + (child - from));
    mChildren = std::move(children);
}

} // namespace model
