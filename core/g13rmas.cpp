#include "core/g13rmas.h"

namespace core {

QList<c0Item*> GetRMAs() { return GetChildItems(kRMAGroupKey); }

c0Item* GetRMA(int key) { return GetItem(key); }

QList<ListEntry> RMAListEntries() { return EntriesOf(GetRMAs(), &c0Item::Heading); }

void SaveRMAs() { SaveAllItems(); }

c0Item* NewRMA(const QString& heading, const QString& body)
{
    c0Item* item = GetItem(NewItem(QString(), kRMAGroupKey));
    item->SetHeading(heading);
    item->SetBody(body);
    return item;
}

void DeleteRMA(int key) { DeleteItem(key); }

} // namespace core
