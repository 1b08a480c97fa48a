// Recordsets: table cursors ordered by an index, and query results read at once. The public
// calls; the work is done in tablecursor.cpp, queryrecordset.cpp and recordedit.cpp.

#include "platform/dao/recordsetimpl.h"

namespace dao {

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

} // namespace dao
