#pragma once

// Summary (report) topics: children of item 28; the decision texts by key.

#include "core/g0items.h"

namespace core {

QList<c0Item*> GetSummaryTopics();
c0Item* GetSummaryItem(int key);
// The entries FillSummaryList shows: each topic's Heading with its key, in ChildIndex order.
QList<ListEntry> SummaryListEntries();
void SaveSummary();

} // namespace core
