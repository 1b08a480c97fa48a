#include "model/c41objective.h"

#include "model/modeldata.h"
#include "model/objectivetree.h"
#include "core/u11datafile.h"
#include "core/u19rowdata.h"
#include "core/u91trace.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/g62ratings.h"
#include "platform/dao/dao.h"

#include <algorithm>
#include <set>

namespace model {

bool c41Objective::bObjective() const
{
    return !(bRoot() || bCategory() || bSafetyRoot() || bSafetyIssue());
}

void c41Objective::SetItemName(const QString& value)
{
    mItemName = value;
    mChanged = true;
}

void c41Objective::SetDescription(const QString& value)
{
    mDescription = value;
    mChanged = true;
}

void c41Objective::SetPriority(int value)
{
    mPriority = value;
    detail::TreesChanged();
    mChanged = true;
}

namespace {
// A weight divides by a sum over the whole tree; a comparison asks for thousands of weights
// of an unchanged tree, so the sums are kept until the tree or a priority changes.
struct TreeSums {
    unsigned long long generation = ~0ull;
    int objectiveSum = 0, objectiveCount = 0, safetySum = 0, safetyCount = 0;
};

const TreeSums& Sums()
{
    static TreeSums sums;
    if (sums.generation != detail::TreesGeneration()) {
        sums.objectiveSum = SumObjectivePriorities();
        sums.objectiveCount = ObjectiveCount();
        sums.safetySum = SumSafetyIssuePriorities();
        sums.safetyCount = SafetyIssueCount();
        // Loading a tree on first use changes the generation: take it after the sums.
        sums.generation = detail::TreesGeneration();
    }
    return sums;
}
} // namespace

float c41Objective::weightNow() const
{
    const TreeSums& sums = Sums();
    const int sum = bSafetyIssue() ? sums.safetySum : sums.objectiveSum;
    const int count = sum != 0 ? 0 : (bSafetyIssue() ? sums.safetyCount : sums.objectiveCount);
    if (sum != 0)
        mWeight = float(double(mPriority) / sum);
    else   // nothing to share the weight with
        mWeight = count == 0 ? 0.0f : float(1.0 / count);
    // Loading a tree on first use changes the generation: taken after the sums.
    mWeightFor = detail::TreesGeneration();
    return mWeight;
}

int c41Objective::ChildrenPriorities() const
{
    int sum = 0;
    for (const c41Objective* child : GetChildren())
        sum += child->Priority();
    return sum;
}

QList<c41Objective*> c41Objective::GetChildren() const
{
    QList<c41Objective*> children;
    for (c41Objective* node : ObjectivesCollection())
        if (node->ParentKey() == mItemKey)
            children.append(node);
    return children;
}

void c41Objective::Initialize(int key, const QString& name, const QString& description, int priority, int parentKey)
{
    mItemKey = key;
    mItemName = name;
    mDescription = description;
    // Priorities run from 0 to 10; a damaged file's larger ones would overflow the sums.
    mPriority = std::clamp(priority, 0, 10);
    mParentKey = parentKey;
    detail::TreesChanged();
    mChanged = false;
}

void c41Objective::SaveChanges()
{
    if (!mChanged)
        return;
    dao::RowSave save(Db());
    if (!save.Exists(QStringLiteral("Objectives"), {mItemKey})) {
        // The node was deleted meanwhile: there is no row to write to.
        mChanged = false;
        return;
    }
    save.Write(QStringLiteral("Objectives"), {mItemKey},
               {{QStringLiteral("Name"), mItemName},
                {QStringLiteral("Explanation"), mDescription},
                {QStringLiteral("Priority"), mPriority}},
               dao::IfMissing::Report);
    save.Commit(mChanged);
}

void c41Objective::Unlink()
{
    auto rs = Db().OpenTable(QStringLiteral("Objectives"));
    rs->SetIndex(QStringLiteral("PrimaryKey"));
    rs->Seek(mItemKey);
    const int sibling = core::GetFieldLong(*rs, QStringLiteral("SiblingKey"));
    rs->Seek(mParentKey);
    int c = core::GetFieldLong(*rs, QStringLiteral("ChildKey"));
    if (c == mItemKey && !rs->NoMatch()) {
        rs->Edit();
        rs->SetField(QStringLiteral("ChildKey"), sibling);
        rs->Update();
        rs->Close();
        return;
    }
    int previous = 0;
    std::set<int> seen;
    while (c != mItemKey && c >= 1 && seen.insert(c).second) {
        previous = c;
        rs->Seek(c);
        c = core::GetFieldLong(*rs, QStringLiteral("SiblingKey"));
    }
    if (c != mItemKey) {
        core::TraceError(QStringLiteral("ChildLink between %1 and %2 not found").arg(mParentKey).arg(mItemKey));
        rs->Close();
        return;
    }
    rs->Seek(previous);
    rs->Edit();
    rs->SetField(QStringLiteral("SiblingKey"), sibling);
    rs->Update();
    rs->Close();
}

void c41Objective::Delete()
{
    dao::Database* db = &Db();
    dao::Transaction tx(*db);
    Unlink();
    db->Execute(QStringLiteral("DELETE FROM Objectives WHERE \"Key\" = ?"), {mItemKey});
    DeleteCriterionScores(mItemKey);
    tx.commit();
    mChanged = false;
}

} // namespace model
