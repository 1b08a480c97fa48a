#include "model/objectivetree.h"

#include "core/g0items.h"
#include "core/u19rowdata.h"
#include "model/g41objectives.h"
#include "model/modeldata.h"
#include "model/rowvalues.h"
#include "platform/dao/dao.h"

#include <functional>
#include <set>

namespace model {

namespace detail {

unsigned long long gTreesGeneration = 0;

void TreesChanged() { ++gTreesGeneration; }

namespace {

struct Row {
    QString name, explanation;
    int priority = 0, parentKey = 0, childKey = 0, siblingKey = 0;
};

// The Objectives rows as last read, for both trees: the objectives and the safety issues share
// the table, and each tree read it whole. Kept while the file is unchanged, until a tree is
// cleared.
struct TableRows {
    bool read = false;
    dao::DataStamp stamp;
    QHash<int, Row> rows;
};

TableRows& tableRows()
{
    static TableRows kept;
    return kept;
}

const QHash<int, Row>& ObjectiveRows()
{
    TableRows& kept = tableRows();
    dao::Database& db = Db();
    const dao::DataStamp now = db.Stamp();
    if (kept.read && kept.stamp == now)
        return kept.rows;
    kept.read = false;
    kept.rows.clear();
    // Every row in one read, then the links walked in memory: a seek per node cost more than
    // the whole table. "Key" is the row id, so each key has one row.
    enum Column { KeyColumn, NameColumn, ExplanationColumn, PriorityColumn, ParentColumn, ChildColumn, SiblingColumn };
    dao::RowReader row(db, QStringLiteral("SELECT \"Key\", Name, Explanation, Priority, ParentKey, ChildKey, "
                                          "SiblingKey FROM Objectives"));
    while (row.Next()) {
        const std::optional<int> key = row.Whole(KeyColumn);
        if (key && !kept.rows.contains(*key))
            kept.rows.insert(*key, {rowvalue::Text(row, NameColumn), rowvalue::Text(row, ExplanationColumn),
                                    rowvalue::Long(row, PriorityColumn), rowvalue::Long(row, ParentColumn),
                                    rowvalue::Long(row, ChildColumn), rowvalue::Long(row, SiblingColumn)});
    }
    kept.stamp = now;
    kept.read = true;
    return kept.rows;
}

} // namespace

void LoadObjectiveTree(KeyedList<c41Objective>& tree, int rootKey)
{
    const QHash<int, Row>& rows = ObjectiveRows();
    std::set<int> loaded;
    std::function<void(int)> load = [&](int key) {
        loaded.insert(key);
        // A root without a row loads as an empty node, as a seek that finds nothing reads.
        const Row r = rows.value(key);
        auto node = std::make_unique<c41Objective>();
        node->Initialize(key, r.name, r.explanation, r.priority, r.parentKey);
        int child = r.childKey;
        tree.Add(key, std::move(node));
        while (child > 0 && !loaded.count(child)) {
            const auto found = rows.constFind(child);
            // A link to a row that is not there (a damaged file) ends the chain.
            if (found == rows.constEnd())
                break;
            const int sibling = found->siblingKey;
            load(child);
            child = sibling;
        }
    };
    load(rootKey);
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
    tableRows() = TableRows();
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
