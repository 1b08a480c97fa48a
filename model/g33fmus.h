#pragma once

// The FMUs of the open file. While there are none, every table lookup answers with the
// tables of FMU key 0, which stand for the whole fire.

#include "core/g0items.h"
#include "model/c33fmu.h"

#include <QList>

#include <memory>

namespace model {

// In ascending key order; pointers stay valid until ClearFMUs.
const QList<c33FMU*>& GetFMUs();
int FMUCount();
// Throws std::out_of_range for a key not in the list.
c33FMU* GetFMU(int key);
// With FMUs: that FMU's table (unknown key throws). Without: the key-0 table, whatever the key.
c34NVCTable* GetNVCTable(int key);
c35AACTable* GetAACTable(int key);
bool AnyFMUResourceValue(int resourceKey);
bool AnyFMUResourceValue(int resourceKey, bool useGains);
// The rows FillFMUList and FillFMUGrid show: each FMU's name with its key, in list order.
QList<core::ListEntry> FMUListEntries();
// Drops the list and the key-0 tables; the next use reads them again.
void ClearFMUs();
// Adds an FMU row and a burn-area row (portion 50, FIL 4) for every outcome. The new FMU
// is not put in a loaded list: ClearFMUs reads it.
std::unique_ptr<c33FMU> NewFMU(const QString& code, const QString& name);
void DeleteFMU(int key);
void LoadFMUs();

} // namespace model
