// Table definitions, changed as the upgrade changes a file's format.

#include "platform/dao/engine.h"

#include <algorithm>

namespace dao {

using namespace detail;

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
    d->run(QStringLiteral("DROP INDEX %1").arg(quoted(d->sqlIndex(table, index))));
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

} // namespace dao
