#pragma once

#include "platform/dao/dao.h"

#include <QString>

namespace core {

// Null-safe readers of the current row: "" / 0 after a failed Seek, with no current row
// (EOF, BOF, deleted) or for Null. An unknown field name still throws.
QString GetFieldText(const dao::Recordset& rs, const QString& field);
int GetFieldLong(const dao::Recordset& rs, const QString& field);    // fractions half to even
float GetFieldSingle(const dao::Recordset& rs, const QString& field);
// Currency and Double fields in full precision; 0 also for a value that is not a finite number.
double GetFieldDouble(const dao::Recordset& rs, const QString& field);

} // namespace core
