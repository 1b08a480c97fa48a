#pragma once

// The Items table: keyed text items forming a tree by ParentKey, listed by ChildIndex,
// and the cache of c0Item objects that every text item of the program goes through.

#include "core/c0item.h"

#include <QList>
#include <QString>

#include <functional>

namespace core {

// The body of a new item: an empty rich-text document with one Arial font.
extern const QString kDefaultItemBody;

// The decision texts of the summary, which both the Decision and the Report Topics worksheets edit.
constexpr int kDecisionDescriptionKey = 291;
constexpr int kDecisionRationaleKey = 292;

// Keys up to this one are reserved for the fixed items and groups of the file (fire name 11,
// group keys 21..28, the decision texts, ...); NewItem hands out keys above it only.
constexpr int kLastFixedItemKey = kDecisionRationaleKey;

// Group keys (values of ParentKey that need no row).
constexpr int kRMAGroupKey = 21;
constexpr int kSituationGroupKey = 22;
constexpr int kValuesAtRiskGroupKey = 23;
constexpr int kAlternativesGroupKey = 26;
constexpr int kSummaryGroupKey = 28;

// One entry of a list or combo box: the text shown and the record key kept in its ItemData.
struct ListEntry {
    QString Text;
    int Key = 0;
    bool operator==(const ListEntry&) const = default;
};

// The entries of a list of keyed objects in their order: the text that text reads from each
// (a member function such as &c0Item::Heading) with the object's ItemKey.
template <class Items, class Text>
QList<ListEntry> EntriesOf(const Items& items, Text text)
{
    QList<ListEntry> entries;
    for (const auto& item : items)
        entries.append({std::invoke(text, *item), item->ItemKey()});
    return entries;
}

// The cached item of that key, read on first use. The pointer stays valid until ClearItems.
c0Item* GetItem(int key);
// Children of a parent in ChildIndex order (ties by ItemKey), 0-based.
QList<c0Item*> GetChildItems(int parentKey);
QList<int> GetChildKeys(int parentKey);
int CountChildItems(int parentKey);
// The highest key handed out or found in the file.
int GetLastItemKey();
// Adds a row (default body, next ChildIndex) and returns its key; the item is not cached.
int NewItem(const QString& itemName, int parentKey);
// Deletes the item's row and drops it from the cache; a key without a row deletes nothing. A
// delete the file refuses throws, and the item stays cached.
void DeleteItem(int key);
void SaveAllItems();
// Forgets every cached item and the key counter (a file was loaded or closed).
void ClearItems();

// Called by c0Item when its save adds a row, so that the key counter stays above it.
void NoteItemKeyStored(int key);

} // namespace core
