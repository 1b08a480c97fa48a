// Table cursors: the rows of a table in the order of an index, a row sought by its key, and
// passes that end even where edits or a damaged index reorder the rows underneath them.

#include "platform/dao/recordsetimpl.h"

#include <algorithm>

namespace dao {

using namespace detail;

void Recordset::Impl::ensureKeys()
{
    Database::Impl& d = database();
    if (!stale())
        return;
    std::vector<qint64> old;
    old.swap(keys);
    const QString sql = QStringLiteral("SELECT rowid FROM %1 ORDER BY %2").arg(quoted(table), orderBy());
    sqlite3_stmt* st = d.prepare(sql);
    while (d.step(st, sql) == SQLITE_ROW)
        keys.push_back(sqlite3_column_int64(st, 0));
    sqlite3_reset(st);
    const bool hadKeys = keysLoaded;
    keysLoaded = true;
    seenChanges = sqlite3_total_changes(d.db);
    seenGeneration = d.generation;
    if (passing != 0 && !guarding) {
        guarding = true;
        passed = QSet<qint64>(handedOut.begin(), handedOut.end());
        handedOut.clear();
    }
    if (state == State::Row && index >= 0 && hadKeys) {
        const int was = index;
        index = find(rowid, was);
        if (index < 0) {
            // Deleted behind our back: behave as after our own Delete.
            state = State::Deleted;
            afterDeleted = firstSurviving(old, was + 1);
        }
    } else if (state == State::Row) {
        index = find(rowid);
        if (index < 0)
            lostRow();
    } else if (state == State::Deleted && hadKeys) {
        afterDeleted = firstSurviving(old, afterDeleted);
    }
}

// The position in keys of the first of old[from..] that is still there, or the end.
int Recordset::Impl::firstSurviving(const std::vector<qint64>& old, int from) const
{
    QHash<qint64, int> now;
    for (int i = 0; i < int(keys.size()); ++i)
        now.insert(keys[i], i);
    for (int j = std::max(from, 0); j < int(old.size()); ++j) {
        auto it = now.find(old[j]);
        if (it != now.end())
            return *it;
    }
    return int(keys.size());
}

// Looks from near where the row was first: a damaged index may hand a row out twice, and
// taking the earlier copy would send a pass back over rows it has been through.
int Recordset::Impl::find(qint64 id, int near) const
{
    const int n = int(keys.size());
    for (int i = std::clamp(near, 0, n); i < n; ++i)
        if (keys[i] == id)
            return i;
    for (int i = std::min(near, n) - 1; i >= 0; --i)
        if (keys[i] == id)
            return i;
    return -1;
}

// The current row, whose place among the keys is not known, is not among them (deleted
// behind our back, or named by a damaged index and missing from its table): MoveNext goes
// on from where its key values put it. Without them (it was never read) it stood first.
void Recordset::Impl::lostRow()
{
    state = State::Deleted;
    index = -1;
    afterDeleted = 0;
    if (!indexColumns.isEmpty() && (currentRowid != rowid || int(current.size()) != int(columns.size())))
        return;
    Database::Impl& d = database();
    // Rows after (v1, .., vn, rowid) in the index order, where Null comes first.
    QString after = QStringLiteral("rowid > ?%1").arg(indexColumns.size() + 1);
    for (int i = int(indexColumns.size()) - 1; i >= 0; --i) {
        const QString c = quoted(indexColumns[i]);
        const QString v = QStringLiteral("?%1").arg(i + 1);
        after = QStringLiteral("(%1 > %2 OR (%2 IS NULL AND %1 IS NOT NULL) OR (%1 IS %2 AND %3))").arg(c, v, after);
    }
    const QString sql = QStringLiteral("SELECT rowid FROM %1 WHERE %2 ORDER BY %3").arg(quoted(table), after, orderBy());
    sqlite3_stmt* st = d.prepare(sql);
    try {
        for (int i = 0; i < indexColumns.size(); ++i) {
            const int at = fieldIndex(indexColumns[i]);
            bind(st, i + 1, toStorage(current[at], columns[at].type, columns[at].name));
        }
    } catch (const Error&) {
        return;   // a value read from the file that cannot go back into it: taken as first
    }
    sqlite3_bind_int64(st, int(indexColumns.size()) + 1, rowid);
    QHash<qint64, int> positions;
    for (int i = 0; i < int(keys.size()); ++i)
        positions.insert(keys[i], i);
    afterDeleted = int(keys.size());
    while (d.step(st, sql) == SQLITE_ROW) {
        auto it = positions.find(sqlite3_column_int64(st, 0));
        if (it != positions.end()) {
            afterDeleted = *it;
            break;
        }
    }
    sqlite3_reset(st);
}

int Recordset::Impl::count()
{
    if (!isTable)
        return rowCount;
    if (!stale())
        return int(keys.size());
    Database::Impl& d = database();
    const QString sql = QStringLiteral("SELECT count(*) FROM %1").arg(quoted(table));
    sqlite3_stmt* st = d.prepare(sql);
    int n = 0;
    if (d.step(st, sql) == SQLITE_ROW)
        n = sqlite3_column_int(st, 0);
    sqlite3_reset(st);
    return n;
}

void Recordset::Impl::go(int i)
{
    if (isTable)
        ensureKeys();
    const int n = count();
    noMatch = false;
    if (i < 0) {
        state = n == 0 ? State::Eof : State::Bof;
        index = -1;
    } else if (i >= n) {
        state = State::Eof;
        index = n;
    } else {
        state = State::Row;
        index = i;
        rowid = isTable ? keys[i] : (i < int(rowids.size()) ? rowids[i] : -1);
    }
}

// Positions a fresh cursor on its first row without reading every key: opening a table to
// seek one row must cost one lookup, not a pass over the table.
void Recordset::Impl::resolve()
{
    if (isTable)
        database();
    if (state != State::Start)
        return;
    if (!isTable) {
        go(0);
        return;
    }
    Database::Impl& d = database();
    passing = 0;
    const QString sql = QStringLiteral("SELECT rowid FROM %1 ORDER BY %2 LIMIT 1").arg(quoted(table), orderBy());
    sqlite3_stmt* st = d.prepare(sql);
    noMatch = false;
    index = -1;
    if (d.step(st, sql) == SQLITE_ROW) {
        rowid = sqlite3_column_int64(st, 0);
        state = State::Row;
    } else {
        state = State::Eof;
    }
    sqlite3_reset(st);
}

// Moves need the row's place among all keys.
void Recordset::Impl::locate()
{
    if (!isTable)
        return;
    ensureKeys();
    if (state == State::Row && index < 0) {
        index = find(rowid);
        if (index < 0)
            lostRow();
    }
}

void Recordset::Impl::MoveFirst()
{
    cancel();
    if (isTable)
        ensureKeys();
    go(0);
    passing = 0;
}

void Recordset::Impl::MoveLast()
{
    cancel();
    go(count() - 1);
    passing = 0;
}

void Recordset::Impl::MoveNext()
{
    cancel();
    resolve();
    locate();
    joinPass(1);
    switch (state) {
    case State::Bof: go(0); break;
    case State::Row: go(index + 1); break;
    case State::Deleted: go(isTable ? afterDeleted : index); break;
    default: throw Error(Error::Kind::NoCurrentRecord, QStringLiteral("No current record."));
    }
    passOver(1);
}

void Recordset::Impl::MovePrevious()
{
    cancel();
    resolve();
    locate();
    joinPass(-1);
    switch (state) {
    case State::Eof: go(count() - 1); break;
    case State::Row: go(index - 1); break;
    case State::Deleted: go((isTable ? afterDeleted : index) - 1); break;
    default: throw Error(Error::Kind::NoCurrentRecord, QStringLiteral("No current record."));
    }
    passOver(-1);
}

// A move against the pass's direction starts a new pass, from the current row.
void Recordset::Impl::joinPass(int direction)
{
    if (!isTable || passing == direction)
        return;
    passing = direction;
    guarding = false;
    passed.clear();
    handedOut.clear();
    if (state == State::Row)
        handedOut.push_back(rowid);
}

// On past the rows the pass has handed out already.
void Recordset::Impl::passOver(int direction)
{
    if (!isTable || state != State::Row)
        return;
    if (!guarding) {
        handedOut.push_back(rowid);
        return;
    }
    while (state == State::Row && passed.contains(rowid))
        go(index + direction);
    if (state == State::Row)
        passed.insert(rowid);
}

const QVariant* Recordset::Impl::values()
{
    resolve();
    if (state != State::Row)
        throw Error(Error::Kind::NoCurrentRecord, QStringLiteral("No current record."));
    if (!isTable)
        return rowAt(index);
    Database::Impl& d = database();
    if (currentRowid == rowid && currentChanges == sqlite3_total_changes(d.db) && seenGeneration == d.generation)
        return current.constData();
    const QString& sql = selectRow;
    sqlite3_stmt* st = d.prepare(sql);
    sqlite3_bind_int64(st, 1, rowid);
    current.clear();
    if (d.step(st, sql) != SQLITE_ROW) {
        sqlite3_reset(st);
        // Gone from the table (or never in it, where a damaged index named it).
        if (index < 0)
            locate();
        if (state == State::Row) {
            state = State::Deleted;
            afterDeleted = index + 1;
        }
        throw Error(Error::Kind::NoCurrentRecord, QStringLiteral("No current record."));
    }
    for (int i = 0; i < int(columns.size()); ++i)
        current << fromStorage(st, i, columns[i].type, true, columns[i].size);
    sqlite3_reset(st);
    currentRowid = rowid;
    currentChanges = sqlite3_total_changes(d.db);
    return current.constData();
}

void Recordset::Impl::Seek(const QVariantList& values)
{
    cancel();
    if (!isTable)
        throw Error(Error::Kind::Generic, QStringLiteral("Seek needs a table-type recordset."));
    if (indexColumns.isEmpty())
        throw Error(Error::Kind::Generic, QStringLiteral("Seek needs an index on table '%1'.").arg(table));
    if (values.isEmpty() || values.size() > indexColumns.size())
        throw Error(Error::Kind::Generic, QStringLiteral("Seek on '%1' with %2 key values.").arg(table).arg(values.size()));
    Database::Impl& d = database();
    QVariantList params;
    passing = 0;
    noMatch = true;
    state = State::Eof;
    index = -1;
    for (int i = 0; i < values.size(); ++i) {
        const Column& c = columns[fieldIndex(indexColumns[i])];
        QVariant v;
        try {
            v = toStorage(values[i], c.type, c.name);
        } catch (const Error&) {
            return;   // a key that cannot be of this type matches nothing
        }
        if (v.isNull())
            return;
        params << v;
    }
    if (seekByKey.size() < values.size())
        seekByKey = QStringList();
    if (seekByKey.isEmpty())
        for (int n = 1; n <= indexColumns.size(); ++n)
            seekByKey << Database::Impl::seekSql(table, columns, lookup, indexColumns.mid(0, n), order);
    const QString& sql = seekByKey[values.size() - 1];
    sqlite3_stmt* st = d.prepare(sql);
    for (int i = 0; i < params.size(); ++i)
        bind(st, i + 1, params[i]);
    if (d.step(st, sql) == SQLITE_ROW) {
        rowid = sqlite3_column_int64(st, 0);
        state = State::Row;
        noMatch = false;
        current.clear();
        for (int i = 0; i < int(columns.size()); ++i)
            current << fromStorage(st, i + 1, columns[i].type, true, columns[i].size);
        currentRowid = rowid;
        currentChanges = sqlite3_total_changes(d.db);
    }
    sqlite3_reset(st);
}

} // namespace dao
