#pragma once

// The rows an outcome's lists are built from (Scores and their notes, ValuesProtected, OutcomeFMZs) and those of
// the alternatives' outcomes, read for every outcome or alternative of the analysis with
// one statement a table (see keyedrows.h). They are kept until the file changes or
// ClearOutcomeRows.

#include <QList>
#include <QString>
#include <QVariantList>

#include <algorithm>
#include <array>
#include <utility>

namespace model {

// The first of count pairs sorted by their key (first) whose key is not below key, or
// pairs + count. Without a branch on the comparisons: the keys the comparison figures look for
// follow no pattern a branch predictor could learn, and std::lower_bound mispredicted about
// half of its steps.
template <class Pair>
const Pair* FirstNotBelow(const Pair* pairs, qsizetype count, int key)
{
    if (count <= 0)
        return pairs;
    const Pair* base = pairs;
    while (count > 1) {
        const qsizetype half = count / 2;
        base = base[half].first < key ? base + half : base;
        count -= half;
    }
    return base + (base->first < key ? 1 : 0);
}

// Rows by a second key (criterion, value at risk, FMU), kept in key order: made row by row for
// less than a hash, which the thousands of rows of a large analysis made a good part of reading.
template <class Row>
class ByKey {
public:
    // The row of the key, or nullptr.
    const Row* Find(int key) const
    {
        const auto at = lowerBound(key);
        return at != mRows.cend() && at->first == key ? &at->second : nullptr;
    }
    Row Value(int key, const Row& fallback = Row()) const
    {
        const Row* row = Find(key);
        return row ? *row : fallback;
    }
    // Value(key) for a run of keys asked mostly in rising order, as an outcome's lists ask for
    // every value at risk or FMU: *from is where the last key asked stood, and the key is looked
    // for from there, at once where it is the next row or missing, where a search of all the
    // rows took a step for each halving.
    Row ValueFrom(int key, qsizetype* from, const Row& fallback = Row()) const
    {
        const std::pair<int, Row>* const rows = mRows.constData();
        const qsizetype count = mRows.size();
        qsizetype at = *from;
        if (at > count || (at > 0 && rows[at - 1].first >= key))
            at = 0;   // a key out of order: every row may be it
        // Every row before at has a lower key.
        if (at < count && rows[at].first < key)
            at = FirstNotBelow(rows + at + 1, count - at - 1, key) - rows;
        const bool found = at < count && rows[at].first == key;
        *from = at + (found ? 1 : 0);
        return found ? rows[at].second : fallback;
    }
    bool Contains(int key) const { return Find(key) != nullptr; }
    // Adds the row unless the key has one already: the first row of a key counts.
    void Add(int key, Row row)
    {
        // Rows mostly come in key order.
        if (mRows.isEmpty() || mRows.constLast().first < key) {
            mRows.append({key, std::move(row)});
            return;
        }
        const auto at = lowerBound(key);
        if (at == mRows.cend() || at->first != key)
            mRows.insert(at, {key, std::move(row)});
    }
    int Count() const { return int(mRows.size()); }
    void Reserve(int count) { mRows.reserve(count); }

private:
    typename QList<std::pair<int, Row>>::const_iterator lowerBound(int key) const
    {
        return mRows.cbegin() + (FirstNotBelow(mRows.constData(), mRows.size(), key) - mRows.constData());
    }

    QList<std::pair<int, Row>> mRows;
};

struct StoredPortions {
    int portion = 0;
    std::array<int, 6> fil{};
};

// Each the outcome's rows by their second key (criterion, value at risk, FMU), the first row of
// a key counting, as the outcome's own read "WHERE OutcomeKey = ? ORDER BY <key>" gives them;
// an outcome without rows gets none. An outcome with a key that is not a plain whole number
// (only a damaged file has one) is read that way, so that its rows come in that order.
// A rating's value and its note are read apart: the comparison figures read thousands of values
// and never show a note.
ByKey<float> StoredScoresOf(int outcomeKey);
ByKey<QString> StoredScoreNotesOf(int outcomeKey);
ByKey<int> StoredProtectionOf(int outcomeKey);   // levels rounded to whole percents
ByKey<StoredPortions> StoredPortionsOf(int outcomeKey);

// An alternative's rows of index 1 and 2 in Outcomes, in the order "WHERE ParentKey = ? AND
// ChildIndex IN (1, 2) ORDER BY ChildIndex, ItemKey" gives them; values in the order of
// c53Outcome::RowColumns.
struct StoredOutcome {
    int index = 0;
    int itemKey = 0;
    QVariantList values;
};
QList<StoredOutcome> StoredOutcomesOf(int altKey);

void ClearOutcomeRows();

} // namespace model
