#include "model/outcomerows.h"

#include "model/modeldata.h"
#include "model/rowvalues.h"
#include "model/textnumbers.h"
#include "platform/dao/rowreader.h"

#include <QSet>

namespace model {

namespace {

// One table's rows for every outcome, read as the table lies. Each row is read as the outcome
// key, the row's second key and then its fields (read takes them from column 2 on).
template <class Row>
class RowsByOutcome {
public:
    using Read = Row (*)(const dao::RowReader&);
    RowsByOutcome(const QString& table, const QString& key, const QString& fields, Read read)
        : mSql(QStringLiteral("SELECT OutcomeKey, %1, %2 FROM %3").arg(key, fields, table))
        , mOneSql(QStringLiteral("SELECT OutcomeKey, %1, %2 FROM %3 WHERE OutcomeKey = ? ORDER BY %1").arg(key, fields, table))
        , mRead(read)
    {
    }

    QHash<int, Row> Of(int outcomeKey)
    {
        dao::Database& db = Db();
        const dao::DataStamp now = db.Stamp();
        if (!mLoaded || !(now == mStamp)) {
            load(db);
            mStamp = now;
        }
        if (mAllIrregular || mIrregular.contains(outcomeKey))
            return readOne(db, outcomeKey);
        return mRows.value(outcomeKey);
    }

    void Clear()
    {
        mLoaded = false;
        mAllIrregular = false;
        mRows.clear();
        mIrregular.clear();
    }

private:
    void load(dao::Database& db)
    {
        Clear();
        dao::RowReader row(db, mSql);
        QHash<int, Row>* rows = nullptr;   // those of rowsOf; only a new outcome adds to mRows
        int rowsOf = 0;
        while (row.Next()) {
            // The key columns are Long fields: a row matches "OutcomeKey = ?" exactly when its
            // key is stored as that whole number, and a key stored any other way matches none.
            const std::optional<int> outcome = row.Whole(0);
            if (!outcome) {
                // Null matches no outcome; a key stored some other way is left to each
                // outcome's own read.
                if (!row.Value(0).isNull())
                    mAllIrregular = true;
                continue;
            }
            const std::optional<int> key = row.Whole(1);
            if (!key) {
                mIrregular.insert(*outcome);
                continue;
            }
            // A table's rows mostly lie outcome by outcome.
            if (!rows || *outcome != rowsOf) {
                rows = &mRows[*outcome];
                rowsOf = *outcome;
            }
            if (!rows->contains(*key))
                rows->insert(*key, mRead(row));
        }
        mLoaded = true;
    }

    // The outcome's own read, in key order, for rows whose keys the table-wide read cannot place.
    QHash<int, Row> readOne(dao::Database& db, int outcomeKey) const
    {
        QHash<int, Row> rows;
        dao::RowReader row(db, mOneSql, {outcomeKey});
        while (row.Next()) {
            const int key = rowvalue::Long(row, 1);
            if (!rows.contains(key))
                rows.insert(key, mRead(row));
        }
        return rows;
    }

    const QString mSql;
    const QString mOneSql;
    const Read mRead;
    bool mLoaded = false;
    dao::DataStamp mStamp;
    QHash<int, QHash<int, Row>> mRows;
    QSet<int> mIrregular;
    bool mAllIrregular = false;
};

RowsByOutcome<StoredScore>& scores()
{
    static RowsByOutcome<StoredScore> rows(
        QStringLiteral("Scores"), QStringLiteral("CriterionKey"), QStringLiteral("Value, Description"),
        [](const dao::RowReader& row) { return StoredScore{rowvalue::Single(row, 2), rowvalue::Text(row, 3)}; });
    return rows;
}

RowsByOutcome<int>& protection()
{
    static RowsByOutcome<int> rows(QStringLiteral("ValuesProtected"), QStringLiteral("ItemKey"),
                                   QStringLiteral("Protection"), [](const dao::RowReader& row) {
                                       return textnum::RoundHalfEven(rowvalue::Single(row, 2));
                                   });
    return rows;
}

RowsByOutcome<StoredPortions>& portions()
{
    static RowsByOutcome<StoredPortions> rows(
        QStringLiteral("OutcomeFMZs"), QStringLiteral("FMZKey"),
        QStringLiteral("Portion, FIL1Portion, FIL2Portion, FIL3Portion, FIL4Portion, FIL5Portion, FIL6Portion"),
        [](const dao::RowReader& row) {
            StoredPortions stored;
            stored.portion = rowvalue::Long(row, 2);
            for (int i = 0; i < 6; ++i)
                stored.fil[size_t(i)] = rowvalue::Long(row, 3 + i);
            return stored;
        });
    return rows;
}

} // namespace

QHash<int, StoredScore> StoredScoresOf(int outcomeKey) { return scores().Of(outcomeKey); }
QHash<int, int> StoredProtectionOf(int outcomeKey) { return protection().Of(outcomeKey); }
QHash<int, StoredPortions> StoredPortionsOf(int outcomeKey) { return portions().Of(outcomeKey); }

void ClearOutcomeRows()
{
    scores().Clear();
    protection().Clear();
    portions().Clear();
}

} // namespace model
