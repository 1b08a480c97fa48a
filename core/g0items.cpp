#include "core/g0items.h"
#include "platform/richtext/emptybody.h"

#include "core/savescope.h"
#include "core/u11datafile.h"
#include "core/u19rowdata.h"
#include "platform/dao/dao.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace core {

const QString kDefaultItemBody = richtext::kEmptyBody;

namespace {

struct ItemCache {
    std::map<int, std::unique_ptr<c0Item>> items;
    // Deleted items stay alive so that a stale pointer held by a worksheet cannot dangle.
    std::vector<std::unique_ptr<c0Item>> deleted;
};

ItemCache& cache()
{
    static ItemCache c;
    return c;
}

int gLastItemKey = 0;

// With no file open a call is refused with an error, never a null dereference.
dao::Database& itemsDb()
{
    dao::Database* db = gDatabase();
    if (!db)
        throw dao::Error(dao::Error::Kind::Generic, QStringLiteral("No data file is open."));
    return *db;
}

std::unique_ptr<dao::Recordset> childRows(int parentKey)
{
    return itemsDb().OpenRecordset(
        QStringLiteral("SELECT * FROM Items WHERE ParentKey = ? ORDER BY ChildIndex, ItemKey"),
        {parentKey});
}

} // namespace

c0Item* GetItem(int key)
{
    auto& c = cache();
    auto it = c.items.find(key);
    if (it != c.items.end())
        return it->second.get();
    auto item = std::make_unique<c0Item>();
    item->Initialize(key);
    c0Item* raw = item.get();
    c.items.emplace(key, std::move(item));
    return raw;
}

QList<int> GetChildKeys(int parentKey)
{
    QList<int> keys;
    auto rs = childRows(parentKey);
    while (!rs->Eof()) {
        keys.append(GetFieldLong(*rs, QStringLiteral("ItemKey")));
        rs->MoveNext();
    }
    rs->Close();
    return keys;
}

QList<c0Item*> GetChildItems(int parentKey)
{
    QList<c0Item*> items;
    for (int key : GetChildKeys(parentKey))
        items.append(GetItem(key));
    return items;
}

int CountChildItems(int parentKey)
{
    auto rs = itemsDb().OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM Items WHERE ParentKey = ?"),
                                         {parentKey});
    const int n = rs->Eof() ? 0 : rs->Field(0).toInt();
    rs->Close();
    return n;
}

int GetLastItemKey()
{
    if (gLastItemKey == 0)
        gLastItemKey = GetMaxKey(QStringLiteral("Items"), QStringLiteral("ItemKey"));
    return gLastItemKey;
}

void NoteItemKeyStored(int key)
{
    if (gLastItemKey != 0 && key > gLastItemKey)
        gLastItemKey = key;
}

int NewItem(const QString& itemName, int parentKey)
{
    const int childIndex = CountChildItems(parentKey) + 1;
    // The fixed items may have no row yet; their keys are never handed out.
    gLastItemKey = std::max(GetLastItemKey(), kLastFixedItemKey) + 1;
    auto rs = itemsDb().OpenTable(QStringLiteral("Items"));
    rs->SetIndex(QStringLiteral("PrimaryKey"));
    rs->AddNew();
    rs->SetField(QStringLiteral("ItemKey"), gLastItemKey);
    rs->SetField(QStringLiteral("ItemName"), itemName);
    rs->SetField(QStringLiteral("ParentKey"), parentKey);
    rs->SetField(QStringLiteral("ChildIndex"), childIndex);
    rs->SetField(QStringLiteral("Body"), kDefaultItemBody);
    rs->Update();
    rs->Close();
    return gLastItemKey;
}

void DeleteItem(int key)
{
    // The row first: a delete the file refuses is reported, and the item stays as the file
    // still holds it, rather than vanishing from the screen to come back on the next open.
    auto rs = itemsDb().OpenTable(QStringLiteral("Items"));
    rs->SetIndex(QStringLiteral("PrimaryKey"));
    rs->Seek(key);
    if (!rs->NoMatch())
        rs->Delete();
    rs->Close();
    auto& c = cache();
    auto it = c.items.find(key);
    if (it != c.items.end()) {
        it->second->MarkDeleted();
        c.deleted.push_back(std::move(it->second));
        c.items.erase(it);
    }
}

void SaveAllItems()
{
    SaveAllOrNothing([] {
        for (auto& [key, item] : cache().items)
            item->SaveChanges();
    });
}

void ClearItems()
{
    auto& c = cache();
    c.items.clear();
    c.deleted.clear();
    gLastItemKey = 0;
}

} // namespace core
