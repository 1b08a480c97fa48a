#pragma once

#include <QString>

namespace core {

// Named text settings of the open data file (table Properties). With no file open the readers
// answer "" and touch nothing.
QString Property_Get(const QString& key);
QString Property_GetOrAdd(const QString& key, const QString& defaultValue);
// Refused (and logged) while no file is open, except "ProgramID", which the open routine writes.
void Property_Set(const QString& key, const QString& value);

} // namespace core
