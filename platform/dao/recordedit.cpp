// Adding, editing and deleting the rows of a recordset, a table cursor's or a query's.

#include "platform/dao/recordsetimpl.h"

#include <algorithm>

namespace dao {

using namespace detail;

void Recordset::Impl::requireUpdatable() const
{
    if (!updatable)
        throw Error(Error::Kind::Generic, QStringLiteral("The recordset is not updatable."));
}

void Recordset::Impl::AddNew()
{
    requireUpdatable();
    database();
    mode = Mode::Add;
    buffer = QVariantList();
    for (size_t i = 0; i < columns.size(); ++i)
        buffer << QVariant();
    dirty.assign(columns.size(), false);
}

void Recordset::Impl::Edit()
{
    requireUpdatable();
    const QVariant* v = values();
    mode = Mode::Edit;
    buffer = QVariantList(v, v + columns.size());
    dirty.assign(columns.size(), false);
}

void Recordset::Impl::SetField(const QString& name, const QVariant& value)
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

void Recordset::Impl::Update()
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

void Recordset::Impl::Delete()
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

} // namespace dao
