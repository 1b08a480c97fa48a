#pragma once

#include "model/c38srtype.h"
#include "model/keyedcollection.h"

#include "core/g0items.h"

#include <QList>
#include <QString>

#include <memory>

// The unit's suppression resource list, cached in ascending ChildIndex order.
namespace model {

using SRTypeCollection = KeyedCollection<c38SRType>;

// The cached type of that key, or nullptr when the table has none.
std::shared_ptr<c38SRType> GetSRType(int key);
// A fresh read of the table that belongs to the caller; the cache is left empty.
std::shared_ptr<SRTypeCollection> ReloadSRTypes();
// The entries of a list box of the types: LongName with the type's key as item data.
QList<core::ListEntry> SRTypeListEntries();
void DeleteSRTypeRecord(int key);
// Writes a new SRTypes row at once (its category left empty) and returns the type, not cached.
std::shared_ptr<c38SRType> AddSRTypeRecord(int position, const QString& longName, const QString& shortName,
                                           const QString& unitType, const QString& unitName, double unitCost);
// True when any outcome's resource list has a line of that type.
bool SRTypeInUse(int key);

QString GetSRDataSource();
void SetSRDataSource(const QString& text);
void SaveSRDataSource();

// Empties the type cache and forgets the cached source text, so nothing of one file is
// carried into the next.
void ClearSRTypes();
void LoadSRTypes();

} // namespace model
