#include "platform/dao/dao.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <sqlite3.h>

#include <cmath>
#include <limits>
#include <optional>
#include <set>
#include <vector>

namespace dao {

Error::Error(Kind kind, const QString& message)
    : std::runtime_error(message.toStdString()), mKind(kind)
{
}

namespace {

QString quoted(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

// Our own indexes carry their table's name, since SQLite's index names are database-wide.
QString sqlIndexName(const QString& table, const QString& index)
{
    return table + QLatin1String("__") + index;
}

QString jetIndexName(const QString& sqlName)
{
    const int at = sqlName.indexOf(QLatin1String("__"));
    return at < 0 ? sqlName : sqlName.mid(at + 2);
}

Error::Kind kindOf(int rc)
{
    switch (rc & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return Error::Kind::NotDatabase;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Error::Kind::Locked;
    case SQLITE_READONLY:
        return Error::Kind::ReadOnly;
    case SQLITE_CONSTRAINT:
        return Error::Kind::Constraint;
    case SQLITE_CANTOPEN:
        return Error::Kind::NotFound;
    default:
        return Error::Kind::Generic;
    }
}

[[noreturn]] void fail(sqlite3* db, int rc, const QString& context)
{
    const QString detail = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    Error::Kind kind = kindOf(rc);
    if (kind == Error::Kind::Generic && detail.startsWith(QLatin1String("no such table")))
        kind = Error::Kind::NoSuchTable;
    throw Error(kind, context + QLatin1String(": ") + detail);
}

bool isIntegral(FieldType t)
{
    return t == FieldType::Boolean || t == FieldType::Byte || t == FieldType::Integer || t == FieldType::Long
        || t == FieldType::AutoNumber;
}

bool isNumeric(FieldType t)
{
    return isIntegral(t) || t == FieldType::Currency || t == FieldType::Single || t == FieldType::Double;
}

double roundCurrency(double v)
{
    return std::round(v * 10000.0) / 10000.0;
}

// A Currency is a 64-bit count of 1/10,000 dollars.
constexpr double kCurrencyLimit = 922337203685477.5807;

// The number as a field of the type holds it, or nothing when the type cannot hold it: written,
// such a number is refused; read from a file something else wrote, it reads as Null. Converting
// an out-of-range double to an integer or a float is undefined, so every such conversion is
// checked here first.
std::optional<double> fitted(double number, FieldType type)
{
    if (!std::isfinite(number))
        return std::nullopt;
    switch (type) {
    case FieldType::Boolean:
        return number != 0 ? 1.0 : 0.0;
    case FieldType::Currency:
        if (std::fabs(number) > kCurrencyLimit)
            return std::nullopt;
        return roundCurrency(number);
    case FieldType::Single:
        if (std::fabs(number) > double(std::numeric_limits<float>::max()))
            return std::nullopt;
        return double(float(number));
    case FieldType::Double:
        return number;
    default: {
        // Whole-number fields round half to even, as the program's arithmetic does elsewhere.
        const double r = std::nearbyint(number);
        double lo = -2147483648.0, hi = 2147483647.0;
        if (type == FieldType::Byte) { lo = 0; hi = 255; }
        if (type == FieldType::Integer) { lo = -32768; hi = 32767; }
        if (r < lo || r > hi)
            return std::nullopt;
        return r;
    }
    }
}

// A value as it goes into SQLite for a column of the given type.
QVariant toStorage(const QVariant& value, FieldType type, const QString& field)
{
    if (value.isNull() || !value.isValid())
        return {};
    if (!isNumeric(type)) {
        if (type == FieldType::Date && value.metaType().id() == QMetaType::QDateTime)
            return value.toDateTime().toString(Qt::ISODate);
        if (value.metaType().id() == QMetaType::Bool)
            return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        return value.toString();
    }
    double number = 0;
    const int id = value.metaType().id();
    if (id == QMetaType::Bool) {
        number = value.toBool() ? 1 : 0;
    } else if (id == QMetaType::QString || id == QMetaType::QByteArray) {
        const QString text = value.toString().trimmed();
        bool ok = false;
        number = text.toDouble(&ok);
        if (!ok && type == FieldType::Boolean) {
            if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0
                || text.compare(QLatin1String("Yes"), Qt::CaseInsensitive) == 0) {
                number = 1;
                ok = true;
            } else if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0
                       || text.compare(QLatin1String("No"), Qt::CaseInsensitive) == 0) {
                number = 0;
                ok = true;
            }
        }
        if (!ok)
            throw Error(Error::Kind::Generic,
                        QStringLiteral("Data type conversion error: \"%1\" is not a number (field %2)").arg(text, field));
    } else {
        bool ok = false;
        number = value.toDouble(&ok);
        if (!ok)
            throw Error(Error::Kind::Generic, QStringLiteral("Data type conversion error (field %1)").arg(field));
    }
    const std::optional<double> held = fitted(number, type);
    if (!held)
        throw Error(Error::Kind::Generic, QStringLiteral("Numeric field overflow (field %1)").arg(field));
    switch (type) {
    case FieldType::Currency:
    case FieldType::Single:
    case FieldType::Double:
        return QVariant(*held);
    default:
        return QVariant(qint64(*held));
    }
}

void bind(sqlite3_stmt* st, int i, const QVariant& v)
{
    if (v.isNull() || !v.isValid()) {
        sqlite3_bind_null(st, i);
        return;
    }
    switch (v.metaType().id()) {
    case QMetaType::Bool:
        sqlite3_bind_int64(st, i, v.toBool() ? 1 : 0);
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
        sqlite3_bind_int64(st, i, v.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(st, i, v.toDouble());
        break;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob(st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        const QByteArray u = v.toString().toUtf8();
        sqlite3_bind_text(st, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        break;
    }
    }
}

// A stored value as the program sees it, by the column's Jet type.
QVariant fromStorage(sqlite3_stmt* st, int col, FieldType type, bool typed)
{
    const int storage = sqlite3_column_type(st, col);
    if (storage == SQLITE_NULL)
        return {};
    if (!typed) {
        switch (storage) {
        case SQLITE_INTEGER: {
            const qint64 v = sqlite3_column_int64(st, col);
            if (v >= INT32_MIN && v <= INT32_MAX)
                return QVariant(int(v));
            return QVariant(v);
        }
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(st, col));
        case SQLITE_BLOB:
            return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(st, col)), sqlite3_column_bytes(st, col)));
        default:
            return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, col)),
                                              sqlite3_column_bytes(st, col)));
        }
    }
    if (!isNumeric(type)) {
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, col)),
                                          sqlite3_column_bytes(st, col)));
    }
    double number = 0;
    if (storage == SQLITE_INTEGER) {
        number = double(sqlite3_column_int64(st, col));
    } else if (storage == SQLITE_FLOAT) {
        number = sqlite3_column_double(st, col);
    } else {
        // Text in a numeric column: only a file written by something else puts it there.
        bool ok = false;
        number = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, col))).trimmed().toDouble(&ok);
        if (!ok)
            return {};
    }
    const std::optional<double> held = fitted(number, type);
    if (!held)
        return {};
    switch (type) {
    case FieldType::Boolean:
        return QVariant(*held != 0);
    case FieldType::Currency:
    case FieldType::Double:
        return QVariant(*held);
    case FieldType::Single:
        return QVariant(float(*held));
    default:
        return QVariant(int(*held));
    }
}

struct Column {
    QString name;
    FieldType type = FieldType::Memo;
    int pk = 0;   // position in the primary key, from 1; 0 when not a key field
    QString declared;
    QString defaultValue;
};

} // namespace

QString DeclaredType(FieldType type, int size)
{
    switch (type) {
    case FieldType::Boolean: return QStringLiteral("YESNO INTEGER");
    case FieldType::Byte: return QStringLiteral("BYTE INTEGER");
    case FieldType::Integer: return QStringLiteral("SHORT INTEGER");
    case FieldType::Long: return QStringLiteral("LONG INTEGER");
    case FieldType::AutoNumber: return QStringLiteral("INTEGER");
    case FieldType::Currency: return QStringLiteral("CURRENCY INTEGER");
    case FieldType::Single: return QStringLiteral("SINGLE REAL");
    case FieldType::Double: return QStringLiteral("DOUBLE REAL");
    case FieldType::Date: return QStringLiteral("DATE TEXT");
    case FieldType::Text: return size > 0 ? QStringLiteral("TEXT(%1)").arg(size) : QStringLiteral("TEXT(255)");
    case FieldType::Memo: return QStringLiteral("MEMO TEXT");
    }
    return QStringLiteral("MEMO TEXT");
}

FieldType TypeFromDeclared(const QString& declared)
{
    const QString d = declared.trimmed().toUpper();
    if (d == QLatin1String("INTEGER")) return FieldType::AutoNumber;
    if (d.startsWith(QLatin1String("YESNO"))) return FieldType::Boolean;
    if (d.startsWith(QLatin1String("BYTE"))) return FieldType::Byte;
    if (d.startsWith(QLatin1String("SHORT"))) return FieldType::Integer;
    if (d.startsWith(QLatin1String("LONG"))) return FieldType::Long;
    if (d.startsWith(QLatin1String("CURRENCY"))) return FieldType::Currency;
    if (d.startsWith(QLatin1String("SINGLE"))) return FieldType::Single;
    if (d.startsWith(QLatin1String("DOUBLE"))) return FieldType::Double;
    if (d.startsWith(QLatin1String("DATE"))) return FieldType::Date;
    if (d.startsWith(QLatin1String("MEMO"))) return FieldType::Memo;
    if (d.startsWith(QLatin1String("TEXT"))) return FieldType::Text;
    // Declared types of other writers, by SQLite's own affinity rules.
    if (d.contains(QLatin1String("INT"))) return FieldType::Long;
    if (d.contains(QLatin1String("REAL")) || d.contains(QLatin1String("FLOA")) || d.contains(QLatin1String("DOUB")))
        return FieldType::Double;
    return FieldType::Memo;
}

// ---------------------------------------------------------------------------------------------
// Database

struct Database::Impl {
    sqlite3* db = nullptr;
    QString path;
    bool readOnly = false;
    int depth = 0;
    // Bumped whenever rows may have changed in a way total_changes() does not show (rollback,
    // schema change), so open recordsets know to reread their keys.
    quint64 generation = 0;
    std::set<Recordset::Impl*> recordsets;
    QHash<QString, sqlite3_stmt*> statements;
    QHash<QString, std::vector<Column>> columns;   // by lower-case table name

    // What a table cursor needs of its table, worked out once: opening a table to read one
    // row is the model's commonest step.
    struct TableMeta {
        QString name;
        std::vector<Column> columns;
        QStringList primaryKey;
        QHash<QString, int> lookup;
        QString orderBy;
        QString selectRow;
        QStringList seekByKey;   // by the number of key values, from 1
    };
    QHash<QString, TableMeta> metas;   // by the name as asked for

    sqlite3_stmt* prepare(const QString& sql)
    {
        if (!db)
            throw Error(Error::Kind::Generic, QStringLiteral("The database is closed"));
        auto it = statements.find(sql);
        if (it != statements.end()) {
            sqlite3_reset(*it);
            sqlite3_clear_bindings(*it);
            return *it;
        }
        const QByteArray text = sql.toUtf8();
        sqlite3_stmt* st = nullptr;
        const char* tail = nullptr;
        const int rc = sqlite3_prepare_v2(db, text.constData(), int(text.size()), &st, &tail);
        if (rc != SQLITE_OK)
            fail(db, rc, sql);
        if (!onlyOneStatement(tail, text.constData() + text.size())) {
            sqlite3_finalize(st);
            throw Error(Error::Kind::Generic, QStringLiteral("Only one statement may be run at a time: %1").arg(sql));
        }
        statements.insert(sql, st);
        return st;
    }

    // What follows the first statement may be semicolons, spaces and comments, nothing more:
    // running only the first of several would report success for work not done, and running
    // them all would leave no way to bind each its own values.
    bool onlyOneStatement(const char* tail, const char* end)
    {
        while (tail && tail < end) {
            sqlite3_stmt* next = nullptr;
            const char* after = nullptr;
            const int rc = sqlite3_prepare_v2(db, tail, int(end - tail), &next, &after);
            sqlite3_finalize(next);
            if (rc != SQLITE_OK || next)
                return false;
            if (after == tail)
                break;
            tail = after;
        }
        return true;
    }

    int schemaCookie()
    {
        sqlite3_stmt* st = prepare(QStringLiteral("PRAGMA schema_version"));
        const int cookie = step(st, QStringLiteral("schema_version")) == SQLITE_ROW ? sqlite3_column_int(st, 0) : 0;
        sqlite3_reset(st);
        return cookie;
    }

    void finalizeAll()
    {
        for (sqlite3_stmt* st : std::as_const(statements))
            sqlite3_finalize(st);
        statements.clear();
    }

    void schemaChanged()
    {
        ++generation;
        columns.clear();
        metas.clear();
        // Cached statements re-prepare themselves, but one that names a dropped table must go.
        finalizeAll();
    }

    int step(sqlite3_stmt* st, const QString& context)
    {
        const int rc = sqlite3_step(st);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
            sqlite3_reset(st);
            fail(db, rc, context);
        }
        return rc;
    }

    int run(const QString& sql, const QVariantList& params = {})
    {
        sqlite3_stmt* st = prepare(sql);
        const int expected = sqlite3_bind_parameter_count(st);
        if (expected != params.size())
            throw Error(Error::Kind::Generic,
                        QStringLiteral("%1 values given for %2 parameters: %3").arg(params.size()).arg(expected).arg(sql));
        for (int i = 0; i < params.size(); ++i)
            bind(st, i + 1, params[i]);
        while (step(st, sql) == SQLITE_ROW) {
        }
        sqlite3_reset(st);
        return sqlite3_changes(db);
    }

    void execRaw(const char* sql)
    {
        char* err = nullptr;
        const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &err);
        if (rc != SQLITE_OK) {
            const QString msg = err ? QString::fromUtf8(err) : QString();
            sqlite3_free(err);
            Error::Kind kind = kindOf(rc);
            throw Error(kind, QString::fromUtf8(sql) + QLatin1String(": ") + msg);
        }
    }

    const std::vector<Column>& tableColumns(const QString& table)
    {
        const QString key = table.toLower();
        auto it = columns.find(key);
        if (it != columns.end())
            return *it;
        std::vector<Column> cols;
        sqlite3_stmt* st = prepare(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)));
        while (step(st, table) == SQLITE_ROW) {
            Column c;
            c.name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
            c.declared = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 2)));
            c.type = TypeFromDeclared(c.declared);
            if (sqlite3_column_type(st, 4) != SQLITE_NULL)
                c.defaultValue = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 4)));
            c.pk = sqlite3_column_int(st, 5);
            if (c.type == FieldType::AutoNumber && c.pk == 0)
                c.type = FieldType::Long;
            cols.push_back(c);
        }
        sqlite3_reset(st);
        if (cols.empty())
            throw Error(Error::Kind::NoSuchTable, QStringLiteral("The table '%1' does not exist").arg(table));
        return *columns.insert(key, cols);
    }

    QString realTableName(const QString& table)
    {
        sqlite3_stmt* st = prepare(QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE"));
        bind(st, 1, table);
        QString name;
        if (step(st, table) == SQLITE_ROW)
            name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_reset(st);
        return name;
    }

    QStringList primaryKey(const QString& table)
    {
        const auto& cols = tableColumns(table);
        QList<QPair<int, QString>> keyed;
        for (const auto& c : cols)
            if (c.pk > 0)
                keyed.append({c.pk, c.name});
        std::sort(keyed.begin(), keyed.end());
        QStringList out;
        for (const auto& k : keyed)
            out << k.second;
        return out;
    }

    const TableMeta* tableMeta(const QString& table)
    {
        auto it = metas.find(table);
        if (it != metas.end())
            return &*it;
        TableMeta m;
        m.name = realTableName(table);
        if (m.name.isEmpty())
            throw Error(Error::Kind::NoSuchTable, QStringLiteral("The table '%1' does not exist").arg(table));
        m.columns = tableColumns(m.name);
        m.primaryKey = primaryKey(m.name);
        for (int i = 0; i < int(m.columns.size()); ++i)
            if (!m.lookup.contains(m.columns[i].name.toLower()))
                m.lookup.insert(m.columns[i].name.toLower(), i);
        m.orderBy = orderByFor(m.primaryKey);
        m.selectRow = QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(quoted(m.name));
        for (int n = 1; n <= m.primaryKey.size(); ++n)
            m.seekByKey << seekSql(m.name, m.columns, m.lookup, m.primaryKey.mid(0, n), m.orderBy);
        return &*metas.insert(table, m);
    }

    static QString orderByFor(const QStringList& index)
    {
        QStringList parts;
        for (const auto& c : index)
            parts << quoted(c);
        parts << QStringLiteral("rowid");
        return parts.join(QLatin1String(", "));
    }

    static QString seekSql(const QString& table, const std::vector<Column>& columns, const QHash<QString, int>& lookup,
                           const QStringList& keyFields, const QString& orderBy)
    {
        QStringList where;
        for (const auto& f : keyFields) {
            const Column& c = columns[lookup.value(f.toLower())];
            const bool text = c.type == FieldType::Text || c.type == FieldType::Memo;
            where << quoted(c.name) + (text ? QLatin1String(" = ? COLLATE NOCASE") : QLatin1String(" = ?"));
        }
        // The row comes with its id, so reading a field after a seek needs no second query.
        return QStringLiteral("SELECT rowid, * FROM %1 WHERE %2 ORDER BY %3 LIMIT 1")
            .arg(quoted(table), where.join(QLatin1String(" AND ")), orderBy);
    }

    QStringList indexColumns(const QString& table, const QString& index)
    {
        if (index.compare(QLatin1String("PrimaryKey"), Qt::CaseInsensitive) == 0)
            return primaryKey(table);
        sqlite3_stmt* st = prepare(QStringLiteral("PRAGMA index_list(%1)").arg(quoted(table)));
        QString found;
        while (step(st, table) == SQLITE_ROW) {
            const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
            if (jetIndexName(name).compare(index, Qt::CaseInsensitive) == 0 && !name.startsWith(QLatin1String("sqlite_")))
                found = name;
        }
        sqlite3_reset(st);
        if (found.isEmpty())
            throw Error(Error::Kind::Generic, QStringLiteral("'%1' is not an index in table '%2'").arg(index, table));
        QStringList out;
        st = prepare(QStringLiteral("PRAGMA index_info(%1)").arg(quoted(found)));
        while (step(st, found) == SQLITE_ROW)
            out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 2)));
        sqlite3_reset(st);
        return out;
    }
};

// ---------------------------------------------------------------------------------------------
// Recordset

namespace {
// A value as a read would give it back, for the edit buffer.
QVariant normalized(const QVariant& value, FieldType type, const QString& field)
{
    const QVariant stored = toStorage(value, type, field);
    if (stored.isNull())
        return {};
    switch (type) {
    case FieldType::Boolean: return QVariant(stored.toLongLong() != 0);
    case FieldType::Currency:
    case FieldType::Double: return QVariant(stored.toDouble());
    case FieldType::Single: return QVariant(float(stored.toDouble()));
    case FieldType::Byte:
    case FieldType::Integer:
    case FieldType::Long:
    case FieldType::AutoNumber: return QVariant(int(stored.toLongLong()));
    default: return stored;
    }
}
} // namespace

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
    int afterDeleted = 0;          // where MoveNext goes from a deleted row

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
        if (state == State::Row) {
            index = find(rowid);
            if (index < 0) {
                // Deleted behind our back: behave as after our own Delete.
                state = State::Deleted;
                afterDeleted = 0;
            }
        } else if (state == State::Deleted && hadKeys) {
            QHash<qint64, int> now;
            for (int i = 0; i < int(keys.size()); ++i)
                now.insert(keys[i], i);
            afterDeleted = int(keys.size());
            for (int j = index + 1; j >= 1 && j < int(old.size()); ++j) {
                auto it = now.find(old[j]);
                if (it != now.end()) {
                    afterDeleted = *it;
                    break;
                }
            }
        }
    }

    int find(qint64 id) const
    {
        for (int i = 0; i < int(keys.size()); ++i)
            if (keys[i] == id)
                return i;
        return -1;
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
            if (index < 0) {
                state = State::Deleted;
                afterDeleted = 0;
            }
        }
    }

    void MoveFirst()
    {
        cancel();
        if (isTable)
            ensureKeys();
        go(0);
    }

    void MoveLast()
    {
        cancel();
        go(count() - 1);
    }

    void MoveNext()
    {
        cancel();
        resolve();
        locate();
        switch (state) {
        case State::Bof: go(0); break;
        case State::Row: go(index + 1); break;
        case State::Deleted: go(isTable ? afterDeleted : index); break;
        default: throw Error(Error::Kind::NoCurrentRecord, QStringLiteral("No current record."));
        }
    }

    void MovePrevious()
    {
        cancel();
        resolve();
        locate();
        switch (state) {
        case State::Eof: go(count() - 1); break;
        case State::Row: go(index - 1); break;
        case State::Deleted: go((isTable ? afterDeleted : index) - 1); break;
        default: throw Error(Error::Kind::NoCurrentRecord, QStringLiteral("No current record."));
        }
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
            state = State::Deleted;
            throw Error(Error::Kind::NoCurrentRecord, QStringLiteral("No current record."));
        }
        for (int i = 0; i < int(columns.size()); ++i)
            current << fromStorage(st, i, columns[i].type, true);
        sqlite3_reset(st);
        currentRowid = rowid;
        currentChanges = sqlite3_total_changes(d.db);
        return current.constData();
    }

    void runQuery(const QString& sql, const QVariantList& params)
    {
        Database::Impl& d = database();
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
                if (withRowid)
                    table = QString::fromUtf8(t0);
            } catch (const Error&) {
                withRowid = false;
            }
        }
        if (!withRowid)
            st = d.prepare(sql);
        const int expected = sqlite3_bind_parameter_count(st);
        if (expected != params.size())
            throw Error(Error::Kind::Generic,
                        QStringLiteral("%1 values given for %2 parameters: %3").arg(params.size()).arg(expected).arg(sql));
        for (int i = 0; i < params.size(); ++i)
            bind(st, i + 1, params[i]);
        const int first = withRowid ? 1 : 0;
        const int n = sqlite3_column_count(st);
        for (int i = first; i < n; ++i) {
            Column c;
            c.name = QString::fromUtf8(sqlite3_column_name(st, i));
            const char* decl = sqlite3_column_decltype(st, i);
            c.declared = decl ? QString::fromUtf8(decl) : QString();
            c.type = decl ? TypeFromDeclared(c.declared) : FieldType::Memo;
            if (c.type == FieldType::AutoNumber)
                c.type = FieldType::Long;
            columns.push_back(c);
            typed.push_back(decl != nullptr);
            const char* o = sqlite3_column_origin_name(st, i);
            origin.push_back(o ? QString::fromUtf8(o) : QString());
        }
        width = n - first;
        while (d.step(st, sql) == SQLITE_ROW) {
            for (int i = first; i < n; ++i)
                cells.push_back(fromStorage(st, i, columns[i - first].type, typed[i - first]));
            ++rowCount;
            if (withRowid)
                rowids.push_back(sqlite3_column_int64(st, 0));
        }
        sqlite3_reset(st);
        updatable = withRowid;
        buildLookup();
        go(0);
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
                        row << fromStorage(st, i, columns[i].type, typed[i]);
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
                current << fromStorage(st, i + 1, columns[i].type, true);
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

void Database::Close()
{
    if (!d->db)
        return;
    for (auto* rs : std::set<Recordset::Impl*>(d->recordsets))
        rs->detach();
    d->recordsets.clear();
    d->finalizeAll();
    // An open transaction is abandoned, as closing without committing always was.
    sqlite3_close_v2(d->db);
    d->db = nullptr;
    d->depth = 0;
}

Database::Database() : d(std::make_unique<Impl>()) {}

Database::~Database()
{
    try {
        Close();
    } catch (...) {
    }
}

std::unique_ptr<Database> Database::Open(const QString& path, OpenOptions options)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || !info.isFile())
        throw Error(Error::Kind::NotFound, QStringLiteral("The file '%1' does not exist").arg(path));
    {
        // SQLite takes an empty file for an empty database and would write a header into it;
        // only a file that already is a database is opened.
        QFile probe(path);
        const QByteArray head = probe.open(QIODevice::ReadOnly) ? probe.read(20) : QByteArray();
        if (head.size() < 20 || !head.startsWith(QByteArray("SQLite format 3\0", 16)))
            throw Error(Error::Kind::NotDatabase, QStringLiteral("The file '%1' is not a database").arg(path));
        // A write-ahead-log database was written by another program: opening it would rewrite
        // its header, and a refused file must be left exactly as it was.
        if (head.at(18) != 1 || head.at(19) != 1)
            throw Error(Error::Kind::NotDatabase, QStringLiteral("The file '%1' is not a data file of this program").arg(path));
    }
    if (!options.readOnly && !info.isWritable())
        throw Error(Error::Kind::ReadOnly, QStringLiteral("The file '%1' is read-only").arg(path));

    std::unique_ptr<Database> db(new Database);
    Impl& d = *db->d;
    d.path = path;
    d.readOnly = options.readOnly;
    const int flags = (options.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &d.db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = d.db ? QString::fromUtf8(sqlite3_errmsg(d.db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(d.db);
        d.db = nullptr;
        throw Error(kindOf(rc) == Error::Kind::NotFound ? Error::Kind::NotDatabase : kindOf(rc),
                    QStringLiteral("Cannot open '%1': %2").arg(path, msg));
    }
    sqlite3_extended_result_codes(d.db, 1);
    sqlite3_busy_timeout(d.db, 0);
    try {
        if (!options.readOnly && sqlite3_db_readonly(d.db, "main") == 1)
            throw Error(Error::Kind::ReadOnly, QStringLiteral("The file '%1' is read-only").arg(path));
        if (options.exclusive)
            d.execRaw("PRAGMA locking_mode=EXCLUSIVE");
        // Reading the schema is what tells a database from any other file.
        d.execRaw("SELECT count(*) FROM sqlite_master");
        sqlite3_stmt* st = d.prepare(QStringLiteral("PRAGMA quick_check(1)"));
        QString check;
        if (d.step(st, QStringLiteral("check")) == SQLITE_ROW)
            check = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_reset(st);
        if (check != QLatin1String("ok"))
            throw Error(Error::Kind::NotDatabase, QStringLiteral("The file '%1' is damaged: %2").arg(path, check));
        if (!options.readOnly) {
            st = d.prepare(QStringLiteral("PRAGMA journal_mode"));
            QString mode;
            if (d.step(st, QStringLiteral("journal")) == SQLITE_ROW)
                mode = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
            sqlite3_reset(st);
            if (mode.compare(QLatin1String("delete"), Qt::CaseInsensitive) != 0)
                d.execRaw("PRAGMA journal_mode=DELETE");
            d.execRaw("PRAGMA synchronous=FULL");
            if (options.exclusive) {
                // Take the write lock now, so a second opener is refused at once rather than
                // failing at its first save.
                d.execRaw("BEGIN EXCLUSIVE");
                d.execRaw("COMMIT");
            }
        }
    } catch (const Error&) {
        d.finalizeAll();
        sqlite3_close_v2(d.db);
        d.db = nullptr;
        throw;
    }
    return db;
}

std::unique_ptr<Database> Database::Create(const QString& path)
{
    if (QFileInfo::exists(path))
        throw Error(Error::Kind::Generic, QStringLiteral("The file '%1' already exists").arg(path));
    std::unique_ptr<Database> db(new Database);
    Impl& d = *db->d;
    d.path = path;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &d.db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = d.db ? QString::fromUtf8(sqlite3_errmsg(d.db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(d.db);
        d.db = nullptr;
        throw Error(Error::Kind::Generic, QStringLiteral("Cannot create '%1': %2").arg(path, msg));
    }
    sqlite3_extended_result_codes(d.db, 1);
    d.execRaw("PRAGMA journal_mode=DELETE");
    d.execRaw("PRAGMA synchronous=FULL");
    return db;
}

bool Database::IsOpen() const { return d->db != nullptr; }
QString Database::Path() const { return d->path; }
bool Database::IsReadOnly() const { return d->readOnly; }
sqlite3* Database::handle() const { return d->db; }
int Database::TransactionDepth() const { return d->depth; }

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

int Database::Execute(const QString& sql, const QVariantList& params)
{
    // SQLite bumps the schema cookie on every change to the schema, however the text reads.
    const int cookie = d->schemaCookie();
    const int n = d->run(sql, params);
    if (d->schemaCookie() != cookie)
        d->schemaChanged();
    return n;
}

bool Database::TableExists(const QString& table) const { return !d->realTableName(table).isEmpty(); }

QStringList Database::TableNames() const
{
    QStringList out;
    sqlite3_stmt* st = d->prepare(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"));
    while (d->step(st, QStringLiteral("tables")) == SQLITE_ROW)
        out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_reset(st);
    return out;
}

QList<FieldDef> Database::Fields(const QString& table) const
{
    QList<FieldDef> out;
    for (const auto& c : d->tableColumns(table)) {
        FieldDef f{c.name, c.type, 0};
        static const QRegularExpression size(QStringLiteral("\\((\\d+)\\)"));
        const auto m = size.match(c.declared);
        if (c.type == FieldType::Text && m.hasMatch())
            f.size = m.captured(1).toInt();
        out << f;
    }
    return out;
}

bool Database::FieldExists(const QString& table, const QString& field) const
{
    for (const auto& c : d->tableColumns(table))
        if (c.name.compare(field, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QStringList Database::PrimaryKey(const QString& table) const { return d->primaryKey(table); }

QStringList Database::IndexNames(const QString& table) const
{
    QStringList out;
    if (!d->primaryKey(table).isEmpty())
        out << QStringLiteral("PrimaryKey");
    sqlite3_stmt* st = d->prepare(QStringLiteral("PRAGMA index_list(%1)").arg(quoted(table)));
    while (d->step(st, table) == SQLITE_ROW) {
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        if (!name.startsWith(QLatin1String("sqlite_")))
            out << jetIndexName(name);
    }
    sqlite3_reset(st);
    return out;
}

namespace {
QString columnSql(const FieldDef& f)
{
    if (f.type == FieldType::AutoNumber)
        return quoted(f.name) + QLatin1String(" INTEGER PRIMARY KEY AUTOINCREMENT");
    return quoted(f.name) + QLatin1Char(' ') + DeclaredType(f.type, f.size);
}

QString keySql(const QStringList& key)
{
    QStringList q;
    for (const auto& k : key)
        q << quoted(k);
    return q.join(QLatin1String(", "));
}
} // namespace

void Database::CreateTable(const QString& table, const QList<FieldDef>& fields, const QStringList& primaryKey)
{
    QStringList parts;
    bool autoKey = false;
    for (const auto& f : fields) {
        if (f.type == FieldType::AutoNumber) {
            if (!(primaryKey.size() == 1 && primaryKey.first().compare(f.name, Qt::CaseInsensitive) == 0))
                throw Error(Error::Kind::Generic,
                            QStringLiteral("An AutoNumber field must be the whole primary key (%1.%2)").arg(table, f.name));
            autoKey = true;
        }
        parts << columnSql(f);
    }
    if (!primaryKey.isEmpty() && !autoKey)
        parts << QStringLiteral("PRIMARY KEY (%1)").arg(keySql(primaryKey));
    d->run(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(table), parts.join(QLatin1String(", "))));
    d->schemaChanged();
}

void Database::AddField(const QString& table, const FieldDef& field)
{
    if (field.type == FieldType::AutoNumber)
        throw Error(Error::Kind::Generic, QStringLiteral("An AutoNumber field cannot be added to an existing table"));
    d->tableColumns(table);   // throws for a missing table
    d->run(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(quoted(table), columnSql(field)));
    d->schemaChanged();
}

void Database::DropField(const QString& table, const QString& field)
{
    if (!FieldExists(table, field))
        throw Error(Error::Kind::NoSuchField, QStringLiteral("The field '%1.%2' does not exist").arg(table, field));
    d->run(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(quoted(table), quoted(field)));
    d->schemaChanged();
}

namespace {
// SQLite cannot change a table's primary key in place: copy into a new table that has it.
void rebuildWithKey(Database& db, Database::Impl& d, const QString& table, const QStringList& key)
{
    const auto cols = d.tableColumns(table);
    QStringList defs, names;
    for (const auto& c : cols) {
        QString def = quoted(c.name) + QLatin1Char(' ');
        FieldType t = c.type;
        if (t == FieldType::AutoNumber && !(key.size() == 1 && key.first().compare(c.name, Qt::CaseInsensitive) == 0))
            t = FieldType::Long;
        if (t == FieldType::AutoNumber)
            def += QLatin1String("INTEGER PRIMARY KEY AUTOINCREMENT");
        else
            def += c.declared.isEmpty() ? DeclaredType(t) : (c.type == FieldType::AutoNumber ? DeclaredType(t) : c.declared);
        if (!c.defaultValue.isEmpty())
            def += QLatin1String(" DEFAULT ") + c.defaultValue;
        defs << def;
        names << quoted(c.name);
    }
    const bool autoKey = key.size() == 1 && std::any_of(cols.begin(), cols.end(), [&](const Column& c) {
        return c.type == FieldType::AutoNumber && c.name.compare(key.first(), Qt::CaseInsensitive) == 0;
    });
    if (!key.isEmpty() && !autoKey)
        defs << QStringLiteral("PRIMARY KEY (%1)").arg(keySql(key));

    // Keep the table's other indexes.
    QStringList indexSql;
    {
        sqlite3_stmt* st = d.prepare(QStringLiteral(
            "SELECT sql FROM sqlite_master WHERE type='index' AND tbl_name=? AND sql IS NOT NULL"));
        bind(st, 1, table);
        while (d.step(st, table) == SQLITE_ROW)
            indexSql << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_reset(st);
    }
    const QString temp = table + QLatin1String("__rebuild");
    Transaction tx(db);
    d.run(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(temp), defs.join(QLatin1String(", "))));
    d.run(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3").arg(quoted(temp), names.join(QLatin1String(", ")), quoted(table)));
    d.run(QStringLiteral("DROP TABLE %1").arg(quoted(table)));
    d.schemaChanged();
    d.run(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(quoted(temp), quoted(table)));
    for (const auto& sql : indexSql)
        d.run(sql);
    tx.commit();
    d.schemaChanged();
}
} // namespace

void Database::CreateIndex(const QString& table, const QString& index, const QStringList& fields, bool primary, bool unique)
{
    if (primary || index.compare(QLatin1String("PrimaryKey"), Qt::CaseInsensitive) == 0) {
        rebuildWithKey(*this, *d, table, fields);
        return;
    }
    d->tableColumns(table);
    d->run(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
               .arg(unique ? QStringLiteral("UNIQUE ") : QString(), quoted(sqlIndexName(table, index)), quoted(table),
                    keySql(fields)));
    d->schemaChanged();
}

void Database::DropIndex(const QString& table, const QString& index)
{
    if (index.compare(QLatin1String("PrimaryKey"), Qt::CaseInsensitive) == 0) {
        rebuildWithKey(*this, *d, table, {});
        return;
    }
    QString found;
    sqlite3_stmt* st = d->prepare(QStringLiteral("PRAGMA index_list(%1)").arg(quoted(table)));
    while (d->step(st, table) == SQLITE_ROW) {
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        if (jetIndexName(name).compare(index, Qt::CaseInsensitive) == 0 && !name.startsWith(QLatin1String("sqlite_")))
            found = name;
    }
    sqlite3_reset(st);
    if (found.isEmpty())
        throw Error(Error::Kind::Generic, QStringLiteral("'%1' is not an index in table '%2'").arg(index, table));
    d->run(QStringLiteral("DROP INDEX %1").arg(quoted(found)));
    d->schemaChanged();
}

void Database::DropTable(const QString& table)
{
    if (!TableExists(table))
        throw Error(Error::Kind::NoSuchTable, QStringLiteral("The table '%1' does not exist").arg(table));
    d->run(QStringLiteral("DROP TABLE %1").arg(quoted(table)));
    d->schemaChanged();
}

void Database::RenameTable(const QString& from, const QString& to)
{
    if (!TableExists(from))
        throw Error(Error::Kind::NoSuchTable, QStringLiteral("The table '%1' does not exist").arg(from));
    d->run(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(quoted(from), quoted(to)));
    d->schemaChanged();
}

void Database::BeginTrans()
{
    if (d->depth == 0)
        d->execRaw("BEGIN");
    else
        d->execRaw(QStringLiteral("SAVEPOINT sp%1").arg(d->depth).toUtf8().constData());
    ++d->depth;
}

void Database::CommitTrans()
{
    if (d->depth == 0)
        throw Error(Error::Kind::Generic, QStringLiteral("Commit without a transaction"));
    if (d->depth == 1)
        d->execRaw("COMMIT");
    else
        d->execRaw(QStringLiteral("RELEASE sp%1").arg(d->depth - 1).toUtf8().constData());
    --d->depth;
}

void Database::Rollback()
{
    if (d->depth == 0)
        throw Error(Error::Kind::Generic, QStringLiteral("Rollback without a transaction"));
    if (d->depth == 1) {
        d->execRaw("ROLLBACK");
    } else {
        const QByteArray sp = QStringLiteral("sp%1").arg(d->depth - 1).toUtf8();
        d->execRaw(("ROLLBACK TO " + sp).constData());
        d->execRaw(("RELEASE " + sp).constData());
    }
    --d->depth;
    d->schemaChanged();
}

Transaction::Transaction(Database& db) : mDb(db) { mDb.BeginTrans(); }

Transaction::~Transaction()
{
    if (!mDone) {
        try {
            mDb.Rollback();
        } catch (...) {
        }
    }
}

void Transaction::commit()
{
    mDb.CommitTrans();
    mDone = true;
}

} // namespace dao
