#include "core/g8summary.h"

namespace core {

QList<c0Item*> GetSummaryTopics() { return GetChildItems(kSummaryGroupKey); }

c0Item* GetSummaryItem(int key) { return GetItem(key); }

QList<ListEntry> SummaryListEntries()
{
    QList<ListEntry> entries;
    for (c0Item* item : GetSummaryTopics())
        entries.append({item->Heading(), item->ItemKey()});
    return entries;
}

void SaveSummary() { SaveAllItems(); }

} // namespace core
