#include "model/g42safetyissues.h"

#include "core/g0items.h"
#include "core/u91trace.h"
#include "model/g41objectives.h"
#include "model/objectivetree.h"

#include <memory>
#include <vector>

namespace model {

namespace {

detail::ObjectiveTree& holder()
{
    static detail::ObjectiveTree tree(2);
    return tree;
}

KeyedList<c41Objective>& tree()
{
    if (!holder().loaded())
        GetSafetyIssues();
    return holder().nodes();
}

} // namespace

void GetSafetyIssues()
{
    core::Trace(QStringLiteral("SafetyIssues.GetSafetyIssues"));
    holder().reload();
}

const QList<c41Objective*>& SafetyIssuesCollection() { return tree().Items(); }

c41Objective* GetSafetyIssue(int key) { return tree().Get(key); }

int SumSafetyIssuePriorities()
{
    int sum = 0;
    for (c41Objective* node : SafetyIssuesCollection())
        if (node->bSafetyIssue())
            sum += node->Priority();
    return sum;
}

int SafetyIssueCount()
{
    int n = 0;
    for (c41Objective* node : SafetyIssuesCollection())
        if (node->bSafetyIssue())
            ++n;
    return n;
}

void ClearSafetyIssues() { holder().clear(); }

c41Objective* AddSafetyIssue(const QString& name, int parentKey)
{
    tree();
    return holder().add(name, parentKey);
}

void DeleteSafetyIssue(int key)
{
    GetSafetyIssue(key)->Delete();
    tree().Remove(key);
    detail::TreesChanged();
}

QList<c41Objective*> GetSafetyRootList()
{
    QList<c41Objective*> list;
    if (!SafetyIssuesCollection().isEmpty())
        list.append(SafetyIssuesCollection().first());
    return list;
}

} // namespace model
