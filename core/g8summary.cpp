#include "core/g8summary.h"

namespace core {

QList<c0Item*> GetSummaryTopics() { return GetChildItems(kSummaryGroupKey); }

c0Item* GetSummaryItem(int key) { return GetItem(key); }

QList<ListEntry> SummaryListEntries() { return EntriesOf(GetSummaryTopics(), &c0Item::Heading); }

void SaveSummary() { SaveAllItems(); }

} // namespace core
