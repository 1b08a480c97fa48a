#pragma once

// The data engine's inside, shared by its parts (database, recordset, table definitions, type
// mapping). Nothing outside platform/dao includes it.

#include "platform/dao/dao.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <sqlite3.h>

#include <atomic>
#include <memory>
#include <optional>
#include <set>
#include <future>
#include <vector>

namespace dao {
namespace detail {

struct Column {
    QString name;
    FieldType type = FieldType::Memo;
    int pk = 0;   // position in the primary key, from 1; 0 when not a key field
    QString declared;
    QString defaultValue;
    int size = 0;   // Text(n): n, the characters a read gives at most; 0 for any other type
};

QString quoted(const QString& name);
// Our own indexes carry their table's name, since SQLite's index names are database-wide.
QString sqlIndexName(const QString& table, const QString& index);
QString jetIndexName(const QString& sqlName);
Error::Kind kindOf(int rc);
[[noreturn]] void fail(sqlite3* db, int rc, const QString& context);
// A value as it goes into SQLite for a column of the given type.
QVariant toStorage(const QVariant& value, FieldType type, const QString& field);
// The characters a Text(n) field holds: n; 0 for every other declared type.
int textSize(const QString& declared);
// A stored value as the program sees it, by the column's Jet type; a text of a Text(n) field
// (size n) is cut to its n characters.
QVariant fromStorage(sqlite3_stmt* st, int col, FieldType type, bool typed, int size = 0);
// A value as a read would give it back, for the edit buffer.
QVariant normalized(const QVariant& value, FieldType type, const QString& field);
void bind(sqlite3_stmt* st, int i, const QVariant& v);

// Opening a file (filecheck.cpp). Keeps every statement stored in the file from running; throws
// when the engine cannot.
void harden(sqlite3* db);
// What the file holds that no file of this program does (a trigger, a view, a virtual table, a
// table without row ids, a field that hides the row id or is computed), as a sentence for the
// user; empty when nothing.
QString foreignSchema(sqlite3* db);
// Whether the file's schema is exactly the given one (OpenOptions::ownSchema).
bool schemaIs(sqlite3* db, std::span<const SchemaEntry> schema);
// The first value longer than kLongestValue, as a sentence for the user; empty when none.
QString oversizedValue(sqlite3* db);

} // namespace detail

struct Database::Impl {
    // Tells opens apart in a DataStamp, also one made where a closed one was.
    static quint64 nextOpen()
    {
        static std::atomic<quint64> count{0};
        return ++count;
    }
    const quint64 open = nextOpen();
    sqlite3* db = nullptr;
    QString path;
    bool readOnly = false;
    int depth = 0;
    // Bumped whenever rows may have changed in a way total_changes() does not show (rollback,
    // schema change), so open recordsets know to reread their keys.
    quint64 generation = 0;
    // The schema cookie at which the open recognised the caller's own schema; none when it did
    // not. The engine changes the cookie with any change to the schema, whoever makes it.
    std::optional<int> ownSchemaAt;
    std::set<Recordset::Impl*> recordsets;
    QHash<QString, sqlite3_stmt*> statements;
    QHash<QString, std::vector<detail::Column>> columns;   // by lower-case table name

    // What a table cursor needs of its table, worked out once: opening a table to read one
    // row is the model's commonest step.
    struct TableMeta {
        QString name;
        std::vector<detail::Column> columns;
        QStringList primaryKey;
        QHash<QString, int> lookup;
        QString orderBy;
        QString selectRow;
        QStringList seekByKey;   // by the number of key values, from 1
    };
    QHash<QString, TableMeta> metas;   // by the name as asked for

    // What a query's text yields before its rows: the statement to run (the text itself, or
    // the text with the row id in front when its rows can be edited) and its columns. The
    // model runs the same few texts hundreds of times, and working this out again each time
    // cost more than reading the rows.
    struct QueryShape {
        QString statement;
        bool withRowid = false;
        QString table;
        std::vector<detail::Column> columns;
        std::vector<bool> typed;
        std::vector<QString> origin;
        QHash<QString, int> lookup;
    };
    QHash<QString, QueryShape> queries;   // by the text as given

    // The column types a RowReader converts by, worked out once per text and again after a
    // schema change.
    struct ReaderColumn {
        FieldType type = FieldType::Memo;
        bool typed = false;
        int size = 0;   // as Column::size
        // What a whole number stored in the column may be to read as itself (lo > hi: none).
        qint64 lo = 1, hi = 0;
    };
    struct ReaderShape {
        quint64 generation = 0;
        std::vector<ReaderColumn> columns;
    };
    QHash<QString, std::shared_ptr<const ReaderShape>> readerShapes;   // by the text as given

    // A check of every page under way on a thread of the pool (StartCheckEveryPage), and what it
    // found. Every use of the connection waits for it first, so that no two threads ever use the
    // connection at once.
    std::future<void> checker;
    bool checkStarted = false;
    int checkCode = 0;
    QString checkFound;
    // The values' lengths are checked with the pages (an open that leaves the pages for later):
    // until then the engine reads no value longer than kLongestValue (SQLITE_LIMIT_LENGTH), and
    // overlong is what the check found, for the user.
    bool valuesUnchecked = false;
    int lengthLimit = 0;   // the engine's own, put back once the values are checked
    QString overlong;
    void valuesChecked(const QString& found);
    void settle()
    {
        if (checker.valid())
            checker.get();
    }

    // Statements are prepared once and kept until the schema changes (prepare waits for a check
    // under way, as step does).
    sqlite3_stmt* prepare(const QString& sql);

    // What follows the first statement may be semicolons, spaces and comments, nothing more:
    // running only the first of several would report success for work not done, and running
    // them all would leave no way to bind each its own values.
    bool onlyOneStatement(const char* tail, const char* end);

    int schemaCookie();
    void finalizeAll();
    void detachRecordsets();   // Close: every recordset still open on the database
    void schemaChanged();
    int step(sqlite3_stmt* st, const QString& context);
    // Binds params to the statement's "?" marks in order; a count that differs throws.
    void bindAll(sqlite3_stmt* st, const QVariantList& params, const QString& sql);
    int run(const QString& sql, const QVariantList& params = {});
    void execRaw(const char* sql);
    const std::vector<detail::Column>& tableColumns(const QString& table);
    QString realTableName(const QString& table);
    QStringList primaryKey(const QString& table);
    const TableMeta* tableMeta(const QString& table);
    static QString orderByFor(const QStringList& index);
    static QString seekSql(const QString& table, const std::vector<detail::Column>& columns, const QHash<QString, int>& lookup,
                           const QStringList& keyFields, const QString& orderBy);
    QString sqlIndex(const QString& table, const QString& index);   // SQLite's name of a Jet index
    QStringList indexColumns(const QString& table, const QString& index);
};

} // namespace dao
