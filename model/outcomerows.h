#pragma once

// The rows an outcome's lists are built from (Scores, ValuesProtected, OutcomeFMZs), read for
// every outcome of the analysis with one statement a table. Read one outcome at a time, most of
// the time went on finding each outcome's rows through the key index; the whole table is read
// in one pass for less than that. The rows are kept until the file changes (any write, kept or
// rolled back, reads them all again at the next question) or ClearOutcomeRows.

#include <QHash>
#include <QString>

#include <array>

namespace model {

struct StoredScore {
    float value = 0.0f;
    QString description;
};

struct StoredPortions {
    int portion = 0;
    std::array<int, 6> fil{};
};

// Each the outcome's rows by their second key (criterion, value at risk, FMU), the first row of
// a key counting, as the outcome's own read "WHERE OutcomeKey = ? ORDER BY <key>" gives them;
// an outcome without rows gets an empty map. An outcome with a key that is not a plain whole
// number (only a damaged file has one) is read that way, so that its rows come in that order.
QHash<int, StoredScore> StoredScoresOf(int outcomeKey);
QHash<int, int> StoredProtectionOf(int outcomeKey);   // levels rounded to whole percents
QHash<int, StoredPortions> StoredPortionsOf(int outcomeKey);

void ClearOutcomeRows();

} // namespace model
