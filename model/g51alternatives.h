#pragma once

#include "model/c51alternative.h"
#include "model/keyedcollection.h"

#include "core/g0items.h"

#include <QList>
#include <QString>

#include <memory>

// The alternatives of the open data file, in ChildIndex order.
namespace model {

using AlternativeCollection = KeyedCollection<c51Alternative>;

AlternativeCollection& GetAlternatives();
// nullptr when no alternative has that key.
std::shared_ptr<c51Alternative> GetAlternative(int key);
// nullptr when nothing (or nothing valid) is selected.
std::shared_ptr<c51Alternative> GetSelectedAlternative();
void SetSelectedAlternative(const c51Alternative& alt);
int GetSelectedAlternativeKey();
// The alternative of least expected cost (the earlier one on a tie); nullptr when there is none.
std::shared_ptr<c51Alternative> GetLeastCostAlternative();
// The entries of a list box of the alternatives: Label with the alternative's key as item data.
QList<core::ListEntry> AlternativeListEntries();
void SaveAlternatives();
// Drops the list and the cached Extreme outcome.
void ClearAlternatives();
std::shared_ptr<c51Alternative> AddAlternative(const QString& name);
void DeleteAlternative(int key);
void LoadAlternatives();

} // namespace model
