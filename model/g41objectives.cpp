#include "model/g41objectives.h"

#include "model/modeldata.h"
#include "core/g0items.h"
#include "core/u11datafile.h"
#include "core/u19rowdata.h"
#include "core/u91trace.h"
#include "model/objectivetree.h"
#include "platform/dao/dao.h"

#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <vector>

namespace model {



namespace {

detail::ObjectiveTree& holder()
{
    static detail::ObjectiveTree tree(1);
    return tree;
}

KeyedList<c41Objective>& tree()
{
    if (!holder().loaded())
        GetObjectives();
    return holder().nodes();
}

} // namespace

void GetObjectives()
{
    core::Trace(QStringLiteral("Objectives.GetObjectives"));
    holder().reload();
}

const QList<c41Objective*>& ObjectivesCollection() { return tree().Items(); }

c41Objective* GetObjective(int key) { return tree().Get(key); }

QList<c41Objective*> GetPrioritizedObjectives()
{
    // Every outcome's ratings ask for the list of an unchanged tree: it is kept until the tree
    // or a priority changes, as the weights' sums are.
    static struct {
        unsigned long long generation = ~0ull;
        QList<c41Objective*> list;
    } kept;
    if (kept.generation == detail::TreesGeneration())
        return kept.list;
    QList<c41Objective*> list;
    for (c41Objective* node : ObjectivesCollection()) {
        if (node->Priority() == 0)
            continue;
        if (node->bCategory() && node->ChildrenPriorities() == 0)
            continue;
        list.append(node);
    }
    // Loading the tree on first use changes the generation: take it after the list.
    kept.generation = detail::TreesGeneration();
    kept.list = list;
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

void ClearObjectives() { holder().clear(); }

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
    return holder().add(name, parentKey);
}

void DeleteObjective(int key)
{
    GetObjective(key)->Delete();
    tree().Remove(key);
    detail::TreesChanged();
}

} // namespace model
