#include "model/fmurows.h"

#include "model/c34nvctable.h"
#include "model/c35aactable.h"
#include "model/keyedrows.h"
#include "model/rowvalues.h"

#include <QStringList>

#include <optional>

namespace model {

namespace {

// An FMU's numbered rows as they lie, each FMU's kept in the order its own read gives them (by
// number and row); the row's number and rowid come first, its fields after them. The table-wide
// read takes every row and leaves out those of other numbers itself: the engine's test of each
// row against the list of numbers was about a fifth of the read. A number not stored as a plain
// whole number (only a damaged file has one) leaves its FMU to the FMU's own read, which tests it
// as the engine does.
template <class Row, void (*read)(Row&, const dao::RowReader&), int count>
KeyedRows<QList<Row>> Numbered(const QString& columns, const QString& table, const QString& number)
{
    QStringList numbers;
    for (int n = 1; n <= count; ++n)
        numbers << QString::number(n);
    const QString select = QStringLiteral("SELECT FMZKey, %1, rowid, %2 FROM %3").arg(number, columns, table);
    const QString in = QStringLiteral("%1 IN (%2)").arg(number, numbers.join(QStringLiteral(", ")));
    return {select, select + QStringLiteral(" WHERE FMZKey = ? AND ") + in + QStringLiteral(" ORDER BY %1, rowid").arg(number),
            [](QList<Row>& list, const dao::RowReader& row, bool lenient) {
                Row stored;
                if (lenient) {
                    stored.number = rowvalue::Long(row, 1);
                } else {
                    const std::optional<int> whole = row.Whole(1);
                    if (!whole)
                        return false;
                    if (*whole < 1 || *whole > count)
                        return true;
                    stored.number = *whole;
                }
                // A rowid within a whole number's 32 bits, as nearly every one is, is taken as it
                // is stored, without building the value.
                const std::optional<int> rowid = row.Whole(2);
                stored.rowid = rowid ? *rowid : row.Value(2).toLongLong();
                read(stored, row);
                if (lenient)
                    list.append(stored);
                else
                    InsertInOrder(list, stored, [](const Row& r) { return std::pair(r.number, r.rowid); });
                return true;
            }};
}

void ReadNVC(StoredNVCRow& stored, const dao::RowReader& row)
{
    for (int i = 0; i < 6; ++i)
        stored.fil[size_t(i)] = rowvalue::Single(row, 3 + i);
}

void ReadCost(StoredCostRow& stored, const dao::RowReader& row)
{
    stored.topSize = rowvalue::Single(row, 3);
    stored.cost = rowvalue::Single(row, 4);
}

KeyedRows<QList<StoredNVCRow>>& nvcRows()
{
    static auto rows = Numbered<StoredNVCRow, &ReadNVC, kNVCResourceCount>(
        QStringLiteral("FIL1, FIL2, FIL3, FIL4, FIL5, FIL6"), QStringLiteral("NVCPerAcre"), QStringLiteral("ResourceNumber"));
    return rows;
}

KeyedRows<QList<StoredCostRow>>& costRows()
{
    static auto rows = Numbered<StoredCostRow, &ReadCost, kCostBracketCount>(
        QStringLiteral("TopSize, Cost"), QStringLiteral("SuppressionPerAcreCost"), QStringLiteral("Sequence"));
    return rows;
}

} // namespace

QList<StoredNVCRow> StoredNVCRowsOf(int fmuKey) { return nvcRows().Of(fmuKey); }
QList<StoredCostRow> StoredCostRowsOf(int fmuKey) { return costRows().Of(fmuKey); }

void ClearFMURows()
{
    nvcRows().Clear();
    costRows().Clear();
}

} // namespace model
