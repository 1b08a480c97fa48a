#include "model/g41objectives.h"

#include "model/modeldata.h"
#include "core/g0items.h"
#include "core/u11datafile.h"
#include "core/u19rowdata.h"
#include "core/u91trace.h"
#include "model/keyedlist.h"
#include "platform/dao/dao.h"

#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <vector>

namespace model {

namespace detail {

// Loads a tree in pre-order from its root. Each node is loaded once, so a damaged file whose
// links run in a circle still loads.
void LoadObjectiveTree(KeyedList<c41Objective>& tree, int rootKey)
{
    auto rs = Db().OpenTable(QStringLiteral("Objectives"));
    rs->SetIndex(QStringLiteral("PrimaryKey"));
    std::set<int> loaded;
    std::function<void(int)> load = [&](int key) {
        loaded.insert(key);
        rs->Seek(key);
        auto node = std::make_unique<c41Objective>();
        node->Initialize(key, core::GetFieldText(*rs, QStringLiteral("Name")),
                         core::GetFieldText(*rs, QStringLiteral("Explanation")),
                         core::GetFieldLong(*rs, QStringLiteral("Priority")),
                         core::GetFieldLong(*rs, QStringLiteral("ParentKey")));
        int child = core::GetFieldLong(*rs, QStringLiteral("ChildKey"));
        tree.Add(key, std::move(node));
        while (child > 0 && !loaded.count(child)) {
            rs->Seek(child);
            // A link to a row that is not there (a damaged file) ends the chain.
            if (rs->NoMatch())
                break;
            // Read before the child's subtree moves the recordset.
            const int sibling = core::GetFieldLong(*rs, QStringLiteral("SiblingKey"));
            load(child);
            child = sibling;
        }
    };
    load(rootKey);
    rs->Close();
}

} // namespace detail

namespace {

std::unique_ptr<KeyedList<c41Objective>>& objectives()
{
    static std::unique_ptr<KeyedList<c41Objective>> tree;
    return tree;
}

// A tree replaced by a reload stays alive until ClearObjectives: its nodes may still be held.
std::vector<std::unique_ptr<KeyedList<c41Objective>>>& retired()
{
    static std::vector<std::unique_ptr<KeyedList<c41Objective>>> trees;
    return trees;
}

KeyedList<c41Objective>& tree()
{
    if (!objectives())
        GetObjectives();
    return *objectives();
}

} // namespace

void GetObjectives()
{
    core::Trace(QStringLiteral("Objectives.GetObjectives"));
    auto fresh = std::make_unique<KeyedList<c41Objective>>();
    detail::LoadObjectiveTree(*fresh, 1);
    if (objectives())
        retired().push_back(std::move(objectives()));
    objectives() = std::move(fresh);
}

const QList<c41Objective*>& ObjectivesCollection() { return tree().Items(); }

c41Objective* GetObjective(int key) { return tree().Get(key); }

QList<c41Objective*> GetPrioritizedObjectives()
{
    QList<c41Objective*> list;
    for (c41Objective* node : ObjectivesCollection()) {
        if (node->Priority() == 0)
            continue;
        if (node->bCategory() && node->ChildrenPriorities() == 0)
            continue;
        list.append(node);
    }
    return list;
}

QList<c41Objective*> GetPrioritizedCategories()
{
    QList<c41Objective*> list;
    for (c41Objective* node : GetPrioritizedObjectives())
        if (node->bCategory())
            list.append(node);
    return list;
}

int SumObjectivePriorities()
{
    int sum = 0;
    for (c41Objective* node : ObjectivesCollection())
        if (node->bObjective())
            sum += node->Priority();
    return sum;
}

int ObjectiveCount()
{
    int n = 0;
    for (c41Objective* node : ObjectivesCollection())
        if (node->bObjective())
            ++n;
    return n;
}

void ClearObjectives()
{
    // A worksheet clears the tree right after adding a node and fetches its current node again
    // only after refilling its grid: the nodes cleared last stay alive until the next clear.
    static std::vector<std::unique_ptr<KeyedList<c41Objective>>> lastCleared;
    lastCleared = std::move(retired());
    retired().clear();
    if (objectives())
        lastCleared.push_back(std::move(objectives()));
}

int NewObjectiveKey(const QString& name, int parentKey)
{
    core::Trace(QStringLiteral("NewObjectiveKey"));
    dao::Database* db = &Db();
    dao::Transaction tx(*db);
    auto rs = db->OpenTable(QStringLiteral("Objectives"));
    rs->SetIndex(QStringLiteral("PrimaryKey"));
    rs->Seek(parentKey);
    if (rs->NoMatch())
        throw std::invalid_argument(QStringLiteral("objective %1 does not exist").arg(parentKey).toStdString());

    rs->AddNew();
    rs->SetField(QStringLiteral("ParentKey"), parentKey);
    if (parentKey == 2)
        rs->SetField(QStringLiteral("Priority"), 10);
    rs->SetField(QStringLiteral("Explanation"), core::kDefaultItemBody);
    // A name given here would otherwise be lost when the caller reloads the tree before saving.
    if (!name.isEmpty())
        rs->SetField(QStringLiteral("Name"), name);
    rs->Update();
    rs->MoveLast();
    const int key = core::GetFieldLong(*rs, QStringLiteral("Key"));

    // Append the new row at the end of the parent's chain.
    rs->Seek(parentKey);
    const int first = core::GetFieldLong(*rs, QStringLiteral("ChildKey"));
    if (first < 1) {
        rs->Edit();
        rs->SetField(QStringLiteral("ChildKey"), key);
        rs->Update();
    } else {
        int last = parentKey;
        QString linkField = QStringLiteral("ChildKey");
        int next = first;
        std::set<int> seen;
        // Stop at the chain's end, at a link to a missing row, or where the chain turns back.
        while (next > 0 && next != key && seen.insert(next).second) {
            rs->Seek(next);
            if (rs->NoMatch())
                break;
            last = next;
            linkField = QStringLiteral("SiblingKey");
            next = core::GetFieldLong(*rs, QStringLiteral("SiblingKey"));
        }
        rs->Seek(last);
        rs->Edit();
        rs->SetField(linkField, key);
        rs->Update();
    }
    rs->Seek(key);
    rs->Edit();
    rs->SetField(QStringLiteral("SiblingKey"), 0);
    rs->Update();
    rs->Close();
    tx.commit();
    return key;
}

c41Objective* AddObjective(const QString& name, int parentKey)
{
    tree();
    const int key = NewObjectiveKey(name, parentKey);
    auto node = std::make_unique<c41Objective>();
    node->Initialize(key, name, core::kDefaultItemBody, parentKey == 2 ? 10 : 0, parentKey);
    return tree().Add(key, std::move(node));
}

void DeleteObjective(int key)
{
    GetObjective(key)->Delete();
    tree().Remove(key);
}

} // namespace model
