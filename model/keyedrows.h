#pragma once

// One table's rows for every value of a key column, read in one pass. Read one key at a time,
// most of the time went on finding each key's rows, or on scanning the whole table for them where
// the key has no index; the whole table is read in one pass for less than that. The rows are kept
// until the file changes (any write, kept or rolled back, reads them all again at the next
// question) or Clear.

#include "model/modeldata.h"
#include "platform/dao/rowreader.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <algorithm>
#include <optional>

namespace model {

// Group: what a key's rows make, such as a list of them or a map by a second key.
template <class Group>
class KeyedRows {
public:
    // Puts the row the reader stands on into its key's group, its fields from column 1 on.
    // Returns false for a row the table-wide read cannot place (a second key that is not a plain
    // whole number): its key's rows are then read by the key's own read, which places every row
    // (lenient).
    using Add = bool (*)(Group&, const dao::RowReader&, bool lenient);

    // all reads the whole table with the key first, the rows of each key in the order one gives
    // them (the rows of a key need not lie together where that order does not matter); one reads
    // a key's rows, the key bound to its "?", with the same columns.
    KeyedRows(QString all, QString one, Add add) : mAll(std::move(all)), mOne(std::move(one)), mAdd(add) {}

    // An outcome, an FMU... without rows gets an empty group.
    Group Of(int key)
    {
        dao::Database& db = Db();
        const dao::DataStamp now = db.Stamp();
        if (!mLoaded || !(now == mStamp)) {
            load(db);
            mStamp = now;
        }
        if (mAllIrregular || mIrregular.contains(key))
            return readOne(db, key);
        return mGroups.value(key);
    }

    void Clear()
    {
        mLoaded = false;
        mAllIrregular = false;
        mGroups.clear();
        mIrregular.clear();
    }

private:
    void load(dao::Database& db)
    {
        Clear();
        dao::RowReader row(db, mAll);
        Group* group = nullptr;   // that of groupOf; only a new key adds to mGroups
        int groupOf = 0;
        while (row.Next()) {
            // The key columns are Long fields: a row matches "Key = ?" exactly when its key is
            // stored as that whole number, and a key stored any other way matches none.
            const std::optional<int> key = row.Whole(0);
            if (!key) {
                // Null matches no key; a key stored some other way is left to each key's own read.
                if (!row.Value(0).isNull())
                    mAllIrregular = true;
                continue;
            }
            // A table's rows mostly lie key by key.
            if (!group || *key != groupOf) {
                const qsizetype last = group ? sizeOf(*group) : 0;
                group = &mGroups[*key];
                groupOf = *key;
                // A key mostly has as many rows as the one before (every outcome rates every
                // criterion): room for them at once spares growing the group row by row.
                if constexpr (requires { group->Reserve(0); })
                    group->Reserve(int(std::max(last, sizeOf(*group))));
                else if constexpr (requires { group->reserve(0); })
                    group->reserve(std::max(last, sizeOf(*group)));
            }
            if (!mAdd(*group, row, false))
                mIrregular.insert(*key);
        }
        mLoaded = true;
    }

    static qsizetype sizeOf(const Group& group)
    {
        if constexpr (requires { group.Count(); })
            return group.Count();
        else
            return group.size();
    }

    Group readOne(dao::Database& db, int key) const
    {
        Group group;
        dao::RowReader row(db, mOne, {key});
        while (row.Next())
            mAdd(group, row, true);
        return group;
    }

    const QString mAll;
    const QString mOne;
    const Add mAdd;
    bool mLoaded = false;
    dao::DataStamp mStamp;
    QHash<int, Group> mGroups;
    QSet<int> mIrregular;
    bool mAllIrregular = false;
};

// Puts item into a list kept in the order of sortKey(item), after the items of an equal key:
// rows read as a table lies, sorted as a key's own read would give them ("ORDER BY ..., rowid").
template <class Item, class SortKey>
void InsertInOrder(QList<Item>& list, Item item, SortKey sortKey)
{
    const auto at = std::upper_bound(list.begin(), list.end(), sortKey(item),
                                     [&](const auto& key, const Item& other) { return key < sortKey(other); });
    list.insert(at, std::move(item));
}

} // namespace model
