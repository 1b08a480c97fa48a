#include "model/g42safetyissues.h"

#include "core/g0items.h"
#include "core/u91trace.h"
#include "model/g41objectives.h"
#include "model/keyedlist.h"

#include <memory>
#include <vector>

namespace model {

namespace detail {
void LoadObjectiveTree(KeyedList<c41Objective>& tree, int rootKey);
}

namespace {

std::unique_ptr<KeyedList<c41Objective>>& safetyTree()
{
    static std::unique_ptr<KeyedList<c41Objective>> tree;
    return tree;
}

std::vector<std::unique_ptr<KeyedList<c41Objective>>>& retired()
{
    static std::vector<std::unique_ptr<KeyedList<c41Objective>>> trees;
    return trees;
}

KeyedList<c41Objective>& tree()
{
    if (!safetyTree())
        GetSafetyIssues();
    return *safetyTree();
}

} // namespace

void GetSafetyIssues()
{
    core::Trace(QStringLiteral("SafetyIssues.GetSafetyIssues"));
    auto fresh = std::make_unique<KeyedList<c41Objective>>();
    detail::LoadObjectiveTree(*fresh, 2);
    if (safetyTree())
        retired().push_back(std::move(safetyTree()));
    safetyTree() = std::move(fresh);
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

void ClearSafetyIssues()
{
    // A worksheet clears the tree right after adding a node and fetches its current node again
    // only after refilling its grid: the nodes cleared last stay alive until the next clear.
    static std::vector<std::unique_ptr<KeyedList<c41Objective>>> lastCleared;
    lastCleared = std::move(retired());
    retired().clear();
    if (safetyTree())
        lastCleared.push_back(std::move(safetyTree()));
}

c41Objective* AddSafetyIssue(const QString& name, int parentKey)
{
    tree();
    const int key = NewObjectiveKey(name, parentKey);
    auto node = std::make_unique<c41Objective>();
    node->Initialize(key, name, core::kDefaultItemBody, parentKey == 2 ? 10 : 0, parentKey);
    return tree().Add(key, std::move(node));
}

void DeleteSafetyIssue(int key)
{
    GetSafetyIssue(key)->Delete();
    tree().Remove(key);
}

QList<c41Objective*> GetSafetyRootList()
{
    QList<c41Objective*> list;
    if (!SafetyIssuesCollection().isEmpty())
        list.append(SafetyIssuesCollection().first());
    return list;
}

} // namespace model
