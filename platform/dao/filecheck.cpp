// What a file is checked for before anything reads its rows: that nothing it stores runs, and
// that no value in it is too long to read.

#include "platform/dao/engine.h"

#include <cstring>
#include <memory>
#include <vector>

namespace dao {
namespace detail {

namespace {

struct StatementDeleter {
    void operator()(sqlite3_stmt* st) const { sqlite3_finalize(st); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

Statement prepared(sqlite3* db, const QString& sql)
{
    sqlite3_stmt* st = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr);
    Statement statement(st);
    if (rc != SQLITE_OK)
        fail(db, rc, sql);
    return statement;
}

QString text(sqlite3_stmt* st, int col)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, col)), sqlite3_column_bytes(st, col));
}

// A name from the file as a message shows it: on one line, and short.
QString shown(const QString& name)
{
    constexpr int kLongest = 60;
    const QString line = name.simplified();
    return line.size() <= kLongest ? line : line.left(kLongest - 1) + QChar(0x2026);
}

// Steps a statement to its next row; false past the last.
bool nextRow(sqlite3* db, sqlite3_stmt* st, const QString& context)
{
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        fail(db, rc, context);
    return rc == SQLITE_ROW;
}

QStringList userTables(sqlite3* db)
{
    QStringList tables;
    const QString sql = QStringLiteral("SELECT name FROM pragma_table_list WHERE schema = 'main' AND type = 'table' "
                                       "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'");
    Statement st = prepared(db, sql);
    while (nextRow(db, st.get(), sql))
        tables << text(st.get(), 0);
    return tables;
}

} // namespace

void harden(sqlite3* db)
{
    // Triggers and views stay off for the file's own schema only: the temporary triggers a test
    // puts on a connection still fire. A function that a CHECK, a default or an index names is
    // held to the harmless ones, and the schema cannot be written as plain rows.
    const int settings[][2] = {{SQLITE_DBCONFIG_DEFENSIVE, 1},
                               {SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0},
                               {SQLITE_DBCONFIG_ENABLE_TRIGGER, 0},
                               {SQLITE_DBCONFIG_ENABLE_VIEW, 0}};
    for (const auto& [setting, wanted] : settings) {
        int now = -1;
        if (sqlite3_db_config(db, setting, wanted, &now) != SQLITE_OK || now != wanted)
            throw Error(Error::Kind::Generic, QStringLiteral("The data engine cannot keep a file's own statements from running"));
    }
}

QString foreignSchema(sqlite3* db)
{
    const QString what = QStringLiteral("SELECT type, name, tbl_name FROM sqlite_master WHERE type IN ('trigger', 'view')");
    Statement st = prepared(db, what);
    if (nextRow(db, st.get(), what)) {
        const QString name = shown(text(st.get(), 1));
        return text(st.get(), 0) == QLatin1String("trigger")
                   ? QStringLiteral("It holds a trigger (\"%1\" on %2): statements of its own, which no file of this "
                                    "program holds.")
                         .arg(name, shown(text(st.get(), 2)))
                   : QStringLiteral("It holds a view (\"%1\"): statements of its own, which no file of this program holds.")
                         .arg(name);
    }
    // A virtual table's own tables (its shadow tables) go with it.
    const QString tables = QStringLiteral("SELECT name, type, wr FROM pragma_table_list WHERE schema = 'main' "
                                          "AND type <> 'shadow' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'");
    st = prepared(db, tables);
    while (nextRow(db, st.get(), tables)) {
        const QString table = text(st.get(), 0);
        const QString type = text(st.get(), 1);
        if (type != QLatin1String("table"))
            return QStringLiteral("It holds a %1 table (\"%2\"), which no file of this program holds.").arg(type, shown(table));
        if (sqlite3_column_int(st.get(), 2) != 0)
            return QStringLiteral("Its table %1 is kept without row ids, as no file of this program is.").arg(shown(table));
    }
    // The cursors go by row id, which a field of that name would hide; a computed field runs
    // an expression of the file's own. One table at a time: joined to the list of tables, the
    // same question took several times as long.
    const QString fields = QStringLiteral("SELECT name, hidden FROM pragma_table_xinfo(?) "
                                          "WHERE hidden <> 0 OR lower(name) IN ('rowid', 'oid', '_rowid_')");
    st = prepared(db, fields);
    for (const QString& name : userTables(db)) {
        const QByteArray utf8 = name.toUtf8();
        sqlite3_reset(st.get());
        sqlite3_bind_text(st.get(), 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        if (!nextRow(db, st.get(), fields))
            continue;
        const QString table = shown(name);
        const QString field = shown(text(st.get(), 0));
        return sqlite3_column_int(st.get(), 1) != 0
                   ? QStringLiteral("Its field %1.%2 is computed by statements of its own, which no file of this "
                                    "program holds.")
                         .arg(table, field)
                   : QStringLiteral("Its table %1 has a field named %2, which no file of this program has.").arg(table, field);
    }
    return {};
}

bool schemaIs(sqlite3* db, std::span<const SchemaEntry> schema)
{
    const QString sql = QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master");
    Statement st = prepared(db, sql);
    std::vector<bool> matched(schema.size(), false);
    qsizetype entries = 0;
    // Byte for byte, to the last: a text the file stores can go on past a zero byte.
    const auto same = [&](int col, const char* expected) {
        const char* value = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), col));
        if (!value || !expected)
            return value == expected;
        const size_t length = std::strlen(expected);
        return size_t(sqlite3_column_bytes(st.get(), col)) == length && std::memcmp(value, expected, length) == 0;
    };
    while (nextRow(db, st.get(), sql)) {
        if (++entries > qsizetype(schema.size()))
            return false;
        bool found = false;
        for (size_t i = 0; i < schema.size() && !found; ++i) {
            found = !matched[i] && same(0, schema[i].type) && same(1, schema[i].name) && same(2, schema[i].table) &&
                    same(3, schema[i].statement);
            if (found)
                matched[i] = true;
        }
        if (!found)
            return false;
    }
    return entries == qsizetype(schema.size());
}

namespace {

// The first value of the table longer than kLongestValue, measured value by value. Each value's
// length comes from its row's header (typeof() reads no more, and neither does opening the value
// as a blob), so that a value of a gigabyte costs no gigabyte to find.
QString oversizedValueIn(sqlite3* db, const QString& table)
{
    struct BlobCloser {
        void operator()(sqlite3_blob* blob) const { sqlite3_blob_close(blob); }
    };
    QStringList columns;
    {
        const QString info = QStringLiteral("SELECT name FROM pragma_table_info(?)");
        Statement st = prepared(db, info);
        const QByteArray name = table.toUtf8();
        sqlite3_bind_text(st.get(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        while (nextRow(db, st.get(), info))
            columns << text(st.get(), 0);
    }
    if (columns.isEmpty())
        return {};
    QStringList kinds;
    for (const QString& column : columns)
        kinds << QStringLiteral("typeof(%1) IN ('text', 'blob')").arg(quoted(column));
    const QString scan = QStringLiteral("SELECT rowid, %1 FROM %2").arg(kinds.join(QLatin1String(", ")), quoted(table));
    Statement st = prepared(db, scan);
    std::vector<std::unique_ptr<sqlite3_blob, BlobCloser>> blobs(size_t(columns.size()));
    const QByteArray tableName = table.toUtf8();
    while (nextRow(db, st.get(), scan)) {
        const sqlite3_int64 rowid = sqlite3_column_int64(st.get(), 0);
        for (int c = 0; c < columns.size(); ++c) {
            if (!sqlite3_column_int(st.get(), c + 1))
                continue;
            auto& blob = blobs[size_t(c)];
            int rc = SQLITE_OK;
            if (blob) {
                rc = sqlite3_blob_reopen(blob.get(), rowid);
            } else {
                sqlite3_blob* opened = nullptr;
                rc = sqlite3_blob_open(db, "main", tableName.constData(), columns[c].toUtf8().constData(), rowid, 0, &opened);
                blob.reset(opened);
            }
            if (rc != SQLITE_OK)
                fail(db, rc, QStringLiteral("%1.%2").arg(table, columns[c]));
            const qint64 bytes = sqlite3_blob_bytes(blob.get());
            if (bytes > kLongestValue)
                return QStringLiteral("Its field %1.%2 holds a value of %L3 bytes; no field of this program's files "
                                      "holds more than %L4.")
                    .arg(shown(table), shown(columns[c]))
                    .arg(bytes)
                    .arg(kLongestValue);
        }
    }
    return {};
}

} // namespace

QString oversizedValue(sqlite3* db)
{
    // Measuring every text and blob of a large analysis on its own took longer than the rest of
    // the open together. Read under the engine's length limit instead, a table is one plain pass,
    // a value on its page is not even copied, and a longer value fails its read from the length
    // its row records, before any of it is read; only such a table is then measured value by value
    // to name the field.
    const int before = sqlite3_limit(db, SQLITE_LIMIT_LENGTH, int(kLongestValue));
    struct Restore {
        sqlite3* db;
        int limit;
        ~Restore() { sqlite3_limit(db, SQLITE_LIMIT_LENGTH, limit); }
    } restore{db, before};
    for (const QString& table : userTables(db)) {
        const QString all = QStringLiteral("SELECT * FROM %1").arg(quoted(table));
        Statement st = prepared(db, all);
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        }
        if (rc == SQLITE_TOOBIG) {
            sqlite3_limit(db, SQLITE_LIMIT_LENGTH, before);
            if (const QString found = oversizedValueIn(db, table); !found.isEmpty())
                return found;
            sqlite3_limit(db, SQLITE_LIMIT_LENGTH, int(kLongestValue));
        } else if (rc != SQLITE_DONE) {
            fail(db, rc, all);
        }
    }
    return {};
}

} // namespace detail
} // namespace dao
