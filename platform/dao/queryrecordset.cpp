// Query recordsets: the rows of a query's text, read at once, and what the text yields before
// its rows (its columns, and whether its rows can be edited).

#include "platform/dao/recordsetimpl.h"

#include <QRegularExpression>

namespace dao {

using namespace detail;

void Recordset::Impl::runQuery(const QString& sql, const QVariantList& params)
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

Database::Impl::QueryShape Recordset::Impl::shapeOf(Database::Impl& d, const QString& sql)
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
