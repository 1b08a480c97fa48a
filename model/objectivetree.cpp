#include "model/objectivetree.h"

#include "core/g0items.h"
#include "core/u19rowdata.h"
#include "model/g41objectives.h"
#include "model/modeldata.h"
#include "platform/dao/dao.h"

#include <functional>
#include <set>

namespace model {

namespace detail {

namespace {
unsigned long long gGeneration = 0;
}

void TreesChanged() { ++gGeneration; }
unsigned long long TreesGeneration() { return gGeneration; }

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

void ObjectiveTree::reload()
{
    auto fresh = std::make_unique<KeyedList<c41Objective>>();
    LoadObjectiveTree(*fresh, mRootKey);
    if (mTree)
        mRetired.push_back(std::move(mTree));
    mTree = std::move(fresh);
    TreesChanged();
}

void ObjectiveTree::clear()
{
    mLastCleared = std::move(mRetired);
    mRetired.clear();
    if (mTree)
        mLastCleared.push_back(std::move(mTree));
    TreesChanged();
}

c41Objective* ObjectiveTree::add(const QString& name, int parentKey)
{
    const int key = NewObjectiveKey(name, parentKey);
    auto node = std::make_unique<c41Objective>();
    node->Initialize(key, name, core::kDefaultItemBody, parentKey == 2 ? 10 : 0, parentKey);
    c41Objective* added = mTree->Add(key, std::move(node));
    TreesChanged();
    return added;
}

} // namespace detail

} // namespace model
