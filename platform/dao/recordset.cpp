// Recordsets: table cursors ordered by an index, and query results read at once.

#include "platform/dao/engine.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace dao {

using namespace detail;

struct Recordset::Impl {
    enum class State { Start, Bof, Row, Eof, Deleted };
    enum class Mode { None, Add, Edit };

    Database::Impl* db = nullptr;
    bool isTable = false;
    bool updatable = false;
    QString table;                 // the table that edits write to
    std::vector<Column> columns;   // one a field of the recordset
    std::vector<bool> typed;       // query columns whose Jet type is known
    std::vector<QString> origin;   // query columns: the table column each comes from
    QHash<QString, int> lookup;

    // Table mode: the row ids in index order, reread when the database has changed.
    QString indexName;
    QStringList indexColumns;
    std::vector<qint64> keys;
    bool keysLoaded = false;
    int seenChanges = -1;
    quint64 seenGeneration = 0;

    // Query mode: the rows, read at once.
    // One flat array of every row's values: a query read a row at a time with one list per row
    // spent more time allocating than reading.
    std::vector<QVariant> cells;
    int width = 0;
    int rowCount = 0;

    const QVariant* rowAt(int r) const { return cells.data() + size_t(r) * size_t(width); }
    QVariant* rowAt(int r) { return cells.data() + size_t(r) * size_t(width); }
    std::vector<qint64> rowids;

    State state = State::Start;
    int index = -1;                // position in keys or rows; -1 when not yet known
    qint64 rowid = 0;
    bool noMatch = false;
    // Where MoveNext goes from a deleted row, or from one it cannot find among the keys: the
    // position in keys of the row after it. Every way into State::Deleted sets it, so a pass
    // moves on past such a row rather than starting over.
    int afterDeleted = 0;
    // The rows a pass in one direction has handed out. Until the keys are read again part way,
    // a pass only moves on and a list of them is enough; once they are, it never hands a row
    // out twice, so it ends even where edits reorder a damaged index underneath it.
    int passing = 0;               // 1 forward, -1 back, 0 at the start of a pass
    std::vector<qint64> handedOut;
    bool guarding = false;
    QSet<qint64> passed;

    QVariantList current;
    qint64 currentRowid = -1;
    int currentChanges = -1;

    Mode mode = Mode::None;
    QVariantList buffer;
    std::vector<bool> dirty;

    ~Impl() { detach(); }

    void detach()
    {
        if (db)
            db->recordsets.erase(this);
        db = nullptr;
    }

    Database::Impl& database() const
    {
        if (!db || !db->db)
            throw Error(Error::Kind::Generic, QStringLiteral("The recordset is closed"));
        return *db;
    }

    void buildLookup()
    {
        lookup.clear();
        for (int i = 0; i < int(columns.size()); ++i)
            if (!lookup.contains(columns[i].name.toLower()))
                lookup.insert(columns[i].name.toLower(), i);
    }

    int fieldIndex(const QString& name) const
    {
        // Most reads name the field as it is spelled in the table: find it without lower-casing.
        for (int i = 0; i < int(columns.size()); ++i)
            if (columns[i].name.size() == name.size() && columns[i].name == name)
                return i;
        auto it = lookup.find(name.toLower());
        if (it == lookup.end())
            throw Error(Error::Kind::NoSuchField,
                        QStringLiteral("Item '%1' not found in this collection (%2)").arg(name, table));
        return *it;
    }

    bool stale() const
    {
        Database::Impl& d = database();
        return !keysLoaded || seenChanges != sqlite3_total_changes(d.db) || seenGeneration != d.generation;
    }

    QString order;                 // ORDER BY of the current index
    QString selectRow;
    QStringList seekByKey;         // Seek statements of the current index, by key count

    const QString& orderBy() const { return order; }

    void ensureKeys()
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
    int firstSurviving(const std::vector<qint64>& old, int from) const
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
    int find(qint64 id, int near = 0) const
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
    void lostRow()
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

    int count()
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

    void go(int i)
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
    void resolve()
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
    void locate()
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

    void MoveFirst()
    {
        cancel();
        if (isTable)
            ensureKeys();
        go(0);
        passing = 0;
    }

    void MoveLast()
    {
        cancel();
        go(count() - 1);
        passing = 0;
    }

    void MoveNext()
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

    void MovePrevious()
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
    void joinPass(int direction)
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
    void passOver(int direction)
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

    void cancel()
    {
        mode = Mode::None;
        buffer.clear();
        dirty.clear();
    }

    const QVariant* values()
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

    void runQuery(const QString& sql, const QVariantList& params)
    {
        Database::Impl& d = database();
        auto known = d.queries.constFind(sql);
        if (known == d.queries.constEnd())
            known = d.queries.insert(sql, shapeOf(d, sql));
        sqlite3_stmt* st = d.prepare(known->statement);
        d.bindAll(st, params, sql);
        int rc = d.step(st, sql);
        // A statement made again at its first step (another open of the file changed a table
        // under it) may bring other columns than those kept for its text.
        if (sqlite3_column_count(st) != int(known->columns.size()) + (known->withRowid ? 1 : 0)) {
            sqlite3_reset(st);
            known = d.queries.insert(sql, shapeOf(d, sql));
            st = d.prepare(known->statement);
            d.bindAll(st, params, sql);
            rc = d.step(st, sql);
        }
        const Database::Impl::QueryShape& shape = *known;
        const bool withRowid = shape.withRowid;
        table = shape.table;
        columns = shape.columns;
        typed = shape.typed;
        origin = shape.origin;
        lookup = shape.lookup;
        const int first = withRowid ? 1 : 0;
        const int n = sqlite3_column_count(st);
        width = n - first;
        for (; rc == SQLITE_ROW; rc = d.step(st, sql)) {
            for (int i = first; i < n; ++i)
                cells.push_back(fromStorage(st, i, columns[i - first].type, typed[i - first], columns[i - first].size));
            ++rowCount;
            if (withRowid)
                rowids.push_back(sqlite3_column_int64(st, 0));
        }
        sqlite3_reset(st);
        updatable = withRowid;
        go(0);
    }

    static Database::Impl::QueryShape shapeOf(Database::Impl& d, const QString& sql)
    {
        Database::Impl::QueryShape shape;
        const QString trimmed = sql.trimmed();
        const QString upper = trimmed.toUpper();
        static const QRegularExpression notPlain(
            QStringLiteral("\\b(GROUP\\s+BY|UNION|DISTINCT|JOIN|INTERSECT|EXCEPT)\\b"));
        sqlite3_stmt* st = nullptr;
        bool withRowid = false;
        if (upper.startsWith(QLatin1String("SELECT ")) && !notPlain.match(upper).hasMatch()) {
            const QString probe = QStringLiteral("SELECT _rowid_ AS __dao_rowid__, ") + trimmed.mid(7);
            try {
                st = d.prepare(probe);
                withRowid = true;
                const int n = sqlite3_column_count(st);
                const char* t0 = sqlite3_column_table_name(st, 0);
                for (int i = 1; i < n && withRowid; ++i) {
                    const char* ti = sqlite3_column_table_name(st, i);
                    if (!t0 || !ti || qstrcmp(t0, ti) != 0)
                        withRowid = false;
                }
                if (!t0)
                    withRowid = false;
                if (withRowid) {
                    shape.table = QString::fromUtf8(t0);
                    shape.statement = probe;
                }
            } catch (const Error&) {
                withRowid = false;
            }
        }
        if (!withRowid) {
            st = d.prepare(sql);
            shape.statement = sql;
        }
        shape.withRowid = withRowid;
        const int first = withRowid ? 1 : 0;
        const int n = sqlite3_column_count(st);
        for (int i = first; i < n; ++i) {
            Column c;
            c.name = QString::fromUtf8(sqlite3_column_name(st, i));
            const char* decl = sqlite3_column_decltype(st, i);
            c.declared = decl ? QString::fromUtf8(decl) : QString();
            c.type = decl ? TypeFromDeclared(c.declared) : FieldType::Memo;
            c.size = decl ? textSize(c.declared) : 0;
            if (c.type == FieldType::AutoNumber)
                c.type = FieldType::Long;
            shape.columns.push_back(c);
            shape.typed.push_back(decl != nullptr);
            const char* o = sqlite3_column_origin_name(st, i);
            shape.origin.push_back(o ? QString::fromUtf8(o) : QString());
        }
        for (int i = 0; i < int(shape.columns.size()); ++i) {
            const QString key = shape.columns[i].name.toLower();
            if (!shape.lookup.contains(key))
                shape.lookup.insert(key, i);
        }
        return shape;
    }

    QString targetColumn(int i) const { return isTable ? columns[i].name : origin[i]; }

    void requireUpdatable() const
    {
        if (!updatable)
            throw Error(Error::Kind::Generic, QStringLiteral("The recordset is not updatable."));
    }

    void AddNew()
    {
        requireUpdatable();
        database();
        mode = Mode::Add;
        buffer = QVariantList();
        for (size_t i = 0; i < columns.size(); ++i)
            buffer << QVariant();
        dirty.assign(columns.size(), false);
    }

    void Edit()
    {
        requireUpdatable();
        const QVariant* v = values();
        mode = Mode::Edit;
        buffer = QVariantList(v, v + columns.size());
        dirty.assign(columns.size(), false);
    }

    void SetField(const QString& name, const QVariant& value)
    {
        if (mode == Mode::None)
            throw Error(Error::Kind::Generic, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
        const int i = fieldIndex(name);
        if (!isTable && origin[i].isEmpty())
            throw Error(Error::Kind::Generic, QStringLiteral("The field '%1' cannot be updated.").arg(name));
        if (columns[i].type == FieldType::AutoNumber && mode == Mode::Edit)
            throw Error(Error::Kind::Generic, QStringLiteral("The AutoNumber field '%1' cannot be updated.").arg(name));
        buffer[i] = typed.empty() || typed[i] || isTable ? normalized(value, columns[i].type, name) : value;
        dirty[i] = true;
    }

    void Update()
    {
        if (mode == Mode::None)
            throw Error(Error::Kind::Generic, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
        Database::Impl& d = database();
        QStringList names;
        QVariantList params;
        for (int i = 0; i < int(columns.size()); ++i) {
            if (!dirty[i])
                continue;
            names << quoted(targetColumn(i));
            params << ((isTable || typed[i]) ? toStorage(buffer[i], columns[i].type, columns[i].name) : buffer[i]);
        }
        if (mode == Mode::Add) {
            QString sql;
            if (names.isEmpty()) {
                sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(table));
            } else {
                QStringList marks;
                for (int i = 0; i < names.size(); ++i)
                    marks << QStringLiteral("?");
                sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(quoted(table), names.join(QLatin1String(", ")), marks.join(QLatin1String(", ")));
            }
            d.run(sql, params);
            const qint64 id = sqlite3_last_insert_rowid(d.db);
            cancel();
            if (isTable) {
                state = State::Row;
                rowid = id;
                index = -1;
                noMatch = false;
            } else {
                // A query recordset shows the new row at its end, as read back from the table.
                QVariantList row;
                QStringList cols;
                for (const auto& o : origin)
                    cols << (o.isEmpty() ? QStringLiteral("NULL") : quoted(o));
                const QString sql2 = QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(cols.join(QLatin1String(", ")), quoted(table));
                sqlite3_stmt* st = d.prepare(sql2);
                sqlite3_bind_int64(st, 1, id);
                if (d.step(st, sql2) == SQLITE_ROW)
                    for (int i = 0; i < int(columns.size()); ++i)
                        row << fromStorage(st, i, columns[i].type, typed[i], columns[i].size);
                sqlite3_reset(st);
                for (int i = 0; i < width; ++i)
                    cells.push_back(i < row.size() ? row[i] : QVariant());
                ++rowCount;
                rowids.push_back(id);
                go(rowCount - 1);
            }
        } else {
            if (!names.isEmpty()) {
                QStringList sets;
                for (const auto& n : names)
                    sets << n + QLatin1String(" = ?");
                params << rowid;
                d.run(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(quoted(table), sets.join(QLatin1String(", "))),
                      params);
                if (!isTable)
                    std::copy(buffer.cbegin(), buffer.cend(), rowAt(index));
            }
            cancel();
        }
    }

    void Delete()
    {
        requireUpdatable();
        cancel();
        resolve();
        if (state != State::Row)
            throw Error(Error::Kind::NoCurrentRecord, QStringLiteral("No current record."));
        Database::Impl& d = database();
        locate();
        if (state != State::Row)
            throw Error(Error::Kind::NoCurrentRecord, QStringLiteral("No current record."));
        d.run(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(table)), {rowid});
        if (isTable) {
            afterDeleted = index + 1;
        } else {
            cells.erase(cells.begin() + ptrdiff_t(index) * width, cells.begin() + ptrdiff_t(index + 1) * width);
            --rowCount;
            rowids.erase(rowids.begin() + index);
        }
        state = State::Deleted;
    }

    void Seek(const QVariantList& values)
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
};

Recordset::Recordset() : d(std::make_unique<Impl>()) {}
Recordset::~Recordset() = default;

void Recordset::Close()
{
    d->cancel();
    d->detach();
}

bool Recordset::IsOpen() const { return d->db && d->db->db; }
bool Recordset::IsTable() const { return d->isTable; }
bool Recordset::Updatable() const { return d->updatable; }

void Recordset::SetIndex(const QString& index)
{
    if (!d->isTable)
        throw Error(Error::Kind::Generic, QStringLiteral("An index needs a table-type recordset."));
    d->indexColumns = d->database().indexColumns(d->table, index);
    if (d->indexColumns.isEmpty())
        throw Error(Error::Kind::Generic, QStringLiteral("'%1' is not an index in table '%2'").arg(index, d->table));
    d->indexName = index;
    d->order = Database::Impl::orderByFor(d->indexColumns);
    d->seekByKey = QStringList();
    d->keysLoaded = false;
    d->cancel();
    d->state = Impl::State::Start;
}

QString Recordset::Index() const { return d->indexName; }
void Recordset::Seek(const QVariantList& keys) { d->Seek(keys); }
bool Recordset::NoMatch() const { return d->noMatch; }
void Recordset::MoveFirst() { d->MoveFirst(); }
void Recordset::MoveNext() { d->MoveNext(); }
void Recordset::MovePrevious() { d->MovePrevious(); }
void Recordset::MoveLast() { d->MoveLast(); }

bool Recordset::Eof() const
{
    d->resolve();
    return d->state == Impl::State::Eof;
}

bool Recordset::Bof() const
{
    d->resolve();
    return d->state == Impl::State::Bof || (d->state == Impl::State::Eof && d->count() == 0);
}

int Recordset::RecordCount() const { return d->count(); }

QVariant Recordset::Field(const QString& name) const { return Field(d->fieldIndex(name)); }

QVariant Recordset::Field(int index) const
{
    if (index < 0 || index >= int(d->columns.size()))
        throw Error(Error::Kind::NoSuchField, QStringLiteral("Item %1 not found in this collection").arg(index));
    if (d->mode != Impl::Mode::None)
        return d->buffer[index];
    return d->values()[index];
}

int Recordset::FieldCount() const { return int(d->columns.size()); }

QString Recordset::FieldName(int index) const
{
    if (index < 0 || index >= int(d->columns.size()))
        throw Error(Error::Kind::NoSuchField, QStringLiteral("Item %1 not found in this collection").arg(index));
    return d->columns[index].name;
}

FieldType Recordset::FieldTypeOf(const QString& name) const { return d->columns[d->fieldIndex(name)].type; }
void Recordset::SetField(const QString& name, const QVariant& value) { d->SetField(name, value); }
void Recordset::AddNew() { d->AddNew(); }
void Recordset::Edit() { d->Edit(); }
void Recordset::Update() { d->Update(); }
void Recordset::CancelUpdate() { d->cancel(); }
void Recordset::Delete() { d->Delete(); }
bool Recordset::Editing() const { return d->mode != Impl::Mode::None; }

// ---------------------------------------------------------------------------------------------
// Recordsets as the database opens and closes them

void Database::Impl::detachRecordsets()
{
    for (auto* rs : std::set<Recordset::Impl*>(recordsets))
        rs->detach();
    recordsets.clear();
}

std::unique_ptr<Recordset> Database::OpenTable(const QString& table)
{
    if (!d->db)
        throw Error(Error::Kind::Generic, QStringLiteral("The database is closed"));
    const Impl::TableMeta* m = d->tableMeta(table);
    std::unique_ptr<Recordset> rs(new Recordset);
    Recordset::Impl& r = *rs->d;
    r.db = d.get();
    r.table = m->name;
    r.isTable = true;
    r.columns = m->columns;
    r.lookup = m->lookup;
    r.indexName = m->primaryKey.isEmpty() ? QString() : QStringLiteral("PrimaryKey");
    r.indexColumns = m->primaryKey;
    r.order = m->orderBy;
    r.selectRow = m->selectRow;
    r.seekByKey = m->seekByKey;
    r.updatable = true;
    d->recordsets.insert(rs.get()->d.get());
    return rs;
}

std::unique_ptr<Recordset> Database::OpenRecordset(const QString& sql, const QVariantList& params)
{
    if (!d->db)
        throw Error(Error::Kind::Generic, QStringLiteral("The database is closed"));
    std::unique_ptr<Recordset> rs(new Recordset);
    rs->d->db = d.get();
    rs->d->isTable = false;
    rs->d->runQuery(sql, params);
    d->recordsets.insert(rs->d.get());
    return rs;
}

} // namespace dao
