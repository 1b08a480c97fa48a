#pragma once

// The rows an FMU's NVC and cost tables are built from (NVCPerAcre, SuppressionPerAcreCost), read
// for every FMU with one statement a table (see keyedrows.h). They are kept until the file
// changes or ClearFMURows.

#include <QList>
#include <QtGlobal>

#include <array>

namespace model {

// An FMU's rows numbered 1 to 14 (resources) or 1 to 9 (brackets), in the order "WHERE FMZKey = ?
// AND <number> IN (...) ORDER BY <number>, rowid" gives them; a number may come more than once.
struct StoredNVCRow {
    int number = 0;
    qint64 rowid = 0;
    std::array<float, 6> fil{};
};
struct StoredCostRow {
    int number = 0;
    qint64 rowid = 0;
    float topSize = 0.0f;
    float cost = 0.0f;
};
QList<StoredNVCRow> StoredNVCRowsOf(int fmuKey);
QList<StoredCostRow> StoredCostRowsOf(int fmuKey);

void ClearFMURows();

} // namespace model
