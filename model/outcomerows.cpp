#include "model/outcomerows.h"

#include "model/c53outcome.h"
#include "model/keyedrows.h"
#include "model/rowvalues.h"
#include "model/textnumbers.h"

#include <algorithm>
#include <array>
#include <optional>

namespace model {

namespace {

// Rows by their second key, the first row of a key counting; read takes the row's fields from
// column 2 on.
template <class Row, Row (*read)(const dao::RowReader&)>
bool AddBySecondKey(ByKey<Row>& rows, const dao::RowReader& row, bool lenient)
{
    const std::optional<int> key = lenient ? std::optional<int>(rowvalue::Long(row, 1)) : row.Whole(1);
    if (!key)
        return false;
    rows.Add(*key, read(row));
    return true;
}

// One table's rows for every outcome, read as the table lies: the outcome key, the row's second
// key and then its fields.
template <class Row, Row (*read)(const dao::RowReader&)>
KeyedRows<ByKey<Row>> BySecondKey(const QString& table, const QString& key, const QString& fields)
{
    return {QStringLiteral("SELECT OutcomeKey, %1, %2 FROM %3").arg(key, fields, table),
            QStringLiteral("SELECT OutcomeKey, %1, %2 FROM %3 WHERE OutcomeKey = ? ORDER BY %1").arg(key, fields, table),
            &AddBySecondKey<Row, read>};
}

float ReadScore(const dao::RowReader& row) { return rowvalue::Single(row, 2); }

QString ReadScoreNote(const dao::RowReader& row) { return rowvalue::Text(row, 2); }

int ReadProtection(const dao::RowReader& row)
{
    // A field that holds a whole number is not a Single one: taken as that number without first
    // being tried as a Single, as rowvalue::Single would.
    if (const std::optional<int> whole = row.Whole(2))
        return textnum::RoundHalfEven(float(*whole));
    return textnum::RoundHalfEven(rowvalue::Single(row, 2));
}

StoredPortions ReadPortions(const dao::RowReader& row)
{
    StoredPortions stored;
    std::array<int, 7> wholes;
    if (row.Wholes(2, 7, wholes.data())) {
        stored.portion = wholes[0];
        std::copy(wholes.begin() + 1, wholes.end(), stored.fil.begin());
        return stored;
    }
    stored.portion = rowvalue::Long(row, 2);
    for (int i = 0; i < 6; ++i)
        stored.fil[size_t(i)] = rowvalue::Long(row, 3 + i);
    return stored;
}

KeyedRows<ByKey<float>>& scores()
{
    static auto rows =
        BySecondKey<float, &ReadScore>(QStringLiteral("Scores"), QStringLiteral("CriterionKey"), QStringLiteral("Value"));
    return rows;
}

KeyedRows<ByKey<QString>>& scoreNotes()
{
    static auto rows = BySecondKey<QString, &ReadScoreNote>(QStringLiteral("Scores"), QStringLiteral("CriterionKey"),
                                                            QStringLiteral("Description"));
    return rows;
}

KeyedRows<ByKey<int>>& protection()
{
    static auto rows = BySecondKey<int, &ReadProtection>(QStringLiteral("ValuesProtected"), QStringLiteral("ItemKey"),
                                                         QStringLiteral("Protection"));
    return rows;
}

KeyedRows<ByKey<StoredPortions>>& portions()
{
    static auto rows = BySecondKey<StoredPortions, &ReadPortions>(
        QStringLiteral("OutcomeFMZs"), QStringLiteral("FMZKey"),
        QStringLiteral("Portion, FIL1Portion, FIL2Portion, FIL3Portion, FIL4Portion, FIL5Portion, FIL6Portion"));
    return rows;
}

// The rows of index 1 and 2 as they lie, each alternative's kept in the order its own read gives
// them; a key that is not a plain whole number sends the alternative to its own read.
KeyedRows<QList<StoredOutcome>>& outcomes()
{
    static KeyedRows<QList<StoredOutcome>> rows(
        QStringLiteral("SELECT ParentKey, ChildIndex, ") + c53Outcome::RowColumns()
            + QStringLiteral(" FROM Outcomes WHERE ChildIndex IN (1, 2)"),
        QStringLiteral("SELECT ParentKey, ChildIndex, ") + c53Outcome::RowColumns()
            + QStringLiteral(" FROM Outcomes WHERE ParentKey = ? AND ChildIndex IN (1, 2) ORDER BY ChildIndex, ItemKey"),
        [](QList<StoredOutcome>& list, const dao::RowReader& row, bool lenient) {
            const std::optional<int> key = row.Whole(2);
            if (!key && !lenient)
                return false;
            StoredOutcome stored;
            stored.index = rowvalue::Long(row, 1);
            stored.itemKey = key.value_or(0);
            stored.values.reserve(row.FieldCount() - 2);
            for (int i = 2; i < row.FieldCount(); ++i)
                stored.values.append(row.Value(i));
            if (lenient)
                list.append(std::move(stored));
            else
                InsertInOrder(list, std::move(stored), [](const StoredOutcome& o) { return std::pair(o.index, o.itemKey); });
            return true;
        });
    return rows;
}

} // namespace

ByKey<float> StoredScoresOf(int outcomeKey) { return scores().Of(outcomeKey); }
ByKey<QString> StoredScoreNotesOf(int outcomeKey) { return scoreNotes().Of(outcomeKey); }
ByKey<int> StoredProtectionOf(int outcomeKey) { return protection().Of(outcomeKey); }
ByKey<StoredPortions> StoredPortionsOf(int outcomeKey) { return portions().Of(outcomeKey); }
QList<StoredOutcome> StoredOutcomesOf(int altKey) { return outcomes().Of(altKey); }

void ClearOutcomeRows()
{
    scores().Clear();
    scoreNotes().Clear();
    protection().Clear();
    portions().Clear();
    outcomes().Clear();
}

} // namespace model
