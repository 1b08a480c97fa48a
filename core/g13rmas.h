#pragma once

// Resource management areas: children of item 21 (Heading = name, Body = objectives).

#include "core/g0items.h"

namespace core {

QList<c0Item*> GetRMAs();
c0Item* GetRMA(int key);
// The entries FillRMAList shows: each area's Heading with its key, in ChildIndex order.
QList<ListEntry> RMAListEntries();
void SaveRMAs();
// Adds an area; its heading and body reach the file with the next SaveRMAs.
c0Item* NewRMA(const QString& heading, const QString& body);
void DeleteRMA(int key);

} // namespace core
