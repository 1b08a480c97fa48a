#pragma once

#include <QList>
#include <QString>

namespace model {

class PrepFile;

// Brings the chosen areas (by key) and fire management units (by code) of an open Prep file
// into the open data file: each area becomes a resource management area, each unit an FMU
// with its nine cost-per-acre rows and fourteen NVC rows. On the first import into a file
// without resource lines the Prep file's master list replaces the resource types.
//
// All or nothing: everything asked for is checked first and written in one transaction. When
// something is missing or the data file refuses a write, a message names the Prep file and
// the fault, the data file is left as it was, and the answer is false.
bool ImportFromPrep(const PrepFile& prep, const QList<int>& areaKeys, const QList<qint64>& fmuCodes);

} // namespace model
