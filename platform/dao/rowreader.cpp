#include "platform/dao/rowreader.h"

#include "platform/dao/engine.h"

#include <cmath>
#include <limits>

namespace dao {

using namespace detail;

struct RowReader::Impl {
    Database::Impl* db = nullptr;
    QString sql;
    sqlite3_stmt* st = nullptr;
    bool own = false;   // prepared for this reader alone: the kept one is being read further out
    bool done = false;
    quint64 generation = 0;   // a schema change or a close finalizes the kept statements
    std::shared_ptr<const Database::Impl::ReaderShape> shape;
    // The shape's columns while on a row; none before the first and after the last.
    const Database::Impl::ReaderColumn* columns = nullptr;
    int count = 0;

    const Database::Impl::ReaderColumn* column(int col) const
    {
        return unsigned(col) < unsigned(count) ? columns + col : nullptr;
    }

    // The shape as recordsets see the columns (see Recordset's shapeOf): an expression is
    // untyped, an AutoNumber reads as a Long.
    void settleShape()
    {
        const int n = sqlite3_column_count(st);
        auto it = db->readerShapes.find(sql);
        if (it != db->readerShapes.end() && (*it)->generation == db->generation && int((*it)->columns.size()) == n) {
            shape = *it;
        } else {
            auto s = std::make_shared<Database::Impl::ReaderShape>();
            s->generation = db->generation;
            for (int i = 0; i < n; ++i) {
                const char* decl = sqlite3_column_decltype(st, i);
                Database::Impl::ReaderColumn c;
                c.type = decl ? TypeFromDeclared(QString::fromUtf8(decl)) : FieldType::Memo;
                c.size = decl ? textSize(QString::fromUtf8(decl)) : 0;
                if (c.type == FieldType::AutoNumber)
                    c.type = FieldType::Long;
                c.typed = decl != nullptr;
                c.lo = std::numeric_limits<int>::min();
                c.hi = std::numeric_limits<int>::max();
                if (decl) {
                    switch (c.type) {
                    case FieldType::Byte: c.lo = 0; c.hi = 255; break;
                    case FieldType::Integer: c.lo = -32768; c.hi = 32767; break;
                    case FieldType::Long: break;
                    default: c.lo = 1; c.hi = 0; break;
                    }
                }
                s->columns.push_back(c);
            }
            db->readerShapes.insert(sql, s);
            shape = std::move(s);
        }
        columns = shape->columns.data();
        count = int(shape->columns.size());
    }

    void release()
    {
        columns = nullptr;
        count = 0;
        if (!st)
            return;
        if (own)
            sqlite3_finalize(st);
        else if (db->db && db->statements.value(sql) == st)   // not finalized by a close meanwhile
            sqlite3_reset(st);
        st = nullptr;
    }
};

DataStamp Database::Stamp() const
{
    d->settle();
    return {d->open, d->db ? qint64(sqlite3_total_changes64(d->db)) : -1, d->generation};
}

RowReader::RowReader(Database& database, const QString& sql, const QVariantList& params)
    : d(std::make_unique<Impl>())
{
    Database::Impl& db = *database.d;
    d->db = &db;
    d->sql = sql;
    d->generation = db.generation;
    const auto kept = db.statements.constFind(sql);
    if (kept != db.statements.constEnd() && sqlite3_stmt_busy(*kept)) {
        // The same text read inside its own loop: resetting the kept statement would start the
        // outer read over.
        const QByteArray text = sql.toUtf8();
        const int rc = sqlite3_prepare_v2(db.db, text.constData(), int(text.size()), &d->st, nullptr);
        if (rc != SQLITE_OK)
            fail(db.db, rc, sql);
        d->own = true;
    } else {
        d->st = db.prepare(sql);
    }
    try {
        db.bindAll(d->st, params, sql);
    } catch (...) {
        d->release();
        throw;
    }
}

RowReader::~RowReader() { d->release(); }

bool RowReader::Next()
{
    if (d->done || !d->st)
        return false;
    if (!d->db->db || d->db->generation != d->generation) {
        // The statement went with the schema or the file: a read cannot carry on past that.
        d->done = true;
        d->release();
        throw Error(Error::Kind::Generic,
                    QStringLiteral("The data file changed while it was being read: %1").arg(d->sql));
    }
    int rc = SQLITE_DONE;
    try {
        rc = d->db->step(d->st, d->sql);
    } catch (...) {
        d->done = true;
        d->release();
        throw;
    }
    if (rc != SQLITE_ROW) {
        d->done = true;
        d->release();
        return false;
    }
    if (!d->shape)
        d->settleShape();
    return true;
}

int RowReader::FieldCount() const { return d->count; }

namespace {

[[noreturn]] void noRow()
{
    throw Error(Error::Kind::NoCurrentRecord, QStringLiteral("No current record."));
}

} // namespace

QVariant RowReader::Value(int col) const
{
    if (!d->count)
        noRow();
    const Database::Impl::ReaderColumn* c = d->column(col);
    if (!c)
        throw Error(Error::Kind::NoSuchField, QStringLiteral("Item not found in this collection: %1").arg(col));
    return fromStorage(d->st, col, c->type, c->typed, c->size);
}

bool RowReader::wholeAt(int col, int* whole) const
{
    const Database::Impl::ReaderColumn* c = d->column(col);
    if (!c || c->lo > c->hi)
        return false;
    // One look at the column instead of one for its type and another for its value.
    sqlite3_value* value = sqlite3_column_value(d->st, col);
    if (sqlite3_value_type(value) != SQLITE_INTEGER)
        return false;
    const qint64 v = sqlite3_value_int64(value);
    if (v < c->lo || v > c->hi)
        return false;
    *whole = int(v);
    return true;
}

bool RowReader::Wholes(int first, int count, int* values) const
{
    if (first < 0 || count < 0 || first > d->count - count)
        return false;
    const Database::Impl::ReaderColumn* c = d->columns + first;
    for (int i = 0; i < count; ++i, ++c) {
        if (c->lo > c->hi)
            return false;
        sqlite3_value* value = sqlite3_column_value(d->st, first + i);
        if (sqlite3_value_type(value) != SQLITE_INTEGER)
            return false;
        const qint64 v = sqlite3_value_int64(value);
        if (v < c->lo || v > c->hi)
            return false;
        values[i] = int(v);
    }
    return true;
}

bool RowReader::singleAt(int col, float* single) const
{
    const Database::Impl::ReaderColumn* c = d->column(col);
    if (!c || !c->typed || c->type != FieldType::Single)
        return false;
    sqlite3_value* value = sqlite3_column_value(d->st, col);
    double number = 0;
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER: number = double(sqlite3_value_int64(value)); break;
    case SQLITE_FLOAT: number = sqlite3_value_double(value); break;
    default: return false;
    }
    if (!std::isfinite(number) || std::fabs(number) > double(std::numeric_limits<float>::max()))
        return false;
    *single = float(number);
    return true;
}

} // namespace dao
