// The Jet reader. mdbtools finds the tables, their columns and indexes, and walks each table's
// data pages; the values themselves are decoded here from the cracked row, because mdbtools'
// own text values cannot tell a null from an empty text, cut long memos at a fixed size and
// follow a memo's page chain without a limit.

#include "platform/jet/jetreader.h"

#include "platform/dao/dao.h"
#include "platform/richtext/cp1252.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTime>

#include <mdbtools.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <vector>

namespace jet {

namespace {

constexpr int kCatalogPage = 2;          // the definition of MSysObjects
constexpr int kOffsetMask = 0x1fff;      // a row's offset in its page, without the flag bits
constexpr int kMemoHeader = 12;          // length and flags, page and row, and four unused bytes
constexpr quint32 kMemoInline = 0x80;    // the memo's bytes follow its header in the row
constexpr quint32 kMemoOnePage = 0x40;   // the memo's bytes are one row of another page

[[noreturn]] void Fail(const QString& why)
{
    throw ReadError(why.toStdString());
}

[[noreturn]] void Damaged(const QString& what)
{
    Fail(QStringLiteral("damaged: %1").arg(what));
}

quint32 Le32(const unsigned char* p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

qint64 Le64(const unsigned char* p)
{
    return qint64(quint64(Le32(p)) | quint64(Le32(p + 4)) << 32);
}

struct HandleCloser {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
using Handle = std::unique_ptr<MdbHandle, HandleCloser>;

struct TableCloser {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using Table = std::unique_ptr<MdbTableDef, TableCloser>;

struct StatementCloser {
    void operator()(sqlite3_stmt* st) const { sqlite3_finalize(st); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

// A column as it is carried over; columns of kinds the data file engine has no type for (OLE
// objects, binary, decimal and replication ids, which no file of this program holds) are
// left out.
struct Column {
    int index = 0;   // in the table's columns, as the cracked row has them
    MdbColumn* col = nullptr;
    dao::FieldDef def;
};

QString Quoted(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

class Converter {
public:
    Converter(MdbHandle* mdb, const QString& sqlitePath);
    void Run();

private:
    std::vector<MdbCatalogEntry> UserTables();
    void ConvertTable(MdbCatalogEntry* entry);
    QList<Column> Columns(MdbTableDef* table) const;
    QStringList IndexFields(MdbTableDef* table, const MdbIndex* index, const QList<Column>& columns) const;
    void CopyRows(MdbTableDef* table, const QList<Column>& columns, const QString& name);
    void BindValue(sqlite3_stmt* st, int at, const Column& column, const MdbField& field);
    QString Text(const unsigned char* bytes, int size) const;
    QByteArray MemoBytes(const unsigned char* value, int size, const QString& column);
    const unsigned char* FieldBytes(const MdbField& field, int atLeast, const QString& column) const;
    void Exec(const char* sql);

    MdbHandle* mMdb;
    QString mPath;
    std::unique_ptr<dao::Database> mOut;
    bool mJet3 = false;
};

Converter::Converter(MdbHandle* mdb, const QString& sqlitePath) : mMdb(mdb), mPath(sqlitePath)
{
    mJet3 = mdb->f->jet_version == MDB_VER_JET3;
}

void Converter::Exec(const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(mOut->handle(), sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "?");
        sqlite3_free(error);
        Fail(QStringLiteral("cannot write the copy: %1").arg(message));
    }
}

// The user tables, read from the catalog table MSysObjects. mdb_read_catalog would do it, but it
// also parses every object's properties, which this reader has no use for and which a damaged
// file can keep it busy with for minutes.
std::vector<MdbCatalogEntry> Converter::UserTables()
{
    MdbCatalogEntry catalog{};
    catalog.mdb = mMdb;
    catalog.object_type = MDB_TABLE;
    catalog.table_pg = kCatalogPage;
    std::strcpy(catalog.object_name, "MSysObjects");
    Table table(mdb_read_table(&catalog));
    if (!table || !mdb_read_columns(table.get()))
        Damaged(QStringLiteral("no catalog"));
    // mdbtools writes a bound text value up to its bind size, whatever the column holds.
    std::vector<QByteArray> bound(4, QByteArray(qsizetype(mMdb->bind_size) + 1, '\0'));
    const char* names[] = {"Id", "Name", "Type", "Flags"};
    for (int i = 0; i < 4; ++i)
        if (mdb_bind_column_by_name(table.get(), const_cast<char*>(names[i]), bound[size_t(i)].data(), nullptr) < 1)
            Damaged(QStringLiteral("no catalog"));
    std::vector<MdbCatalogEntry> tables;
    mdb_rewind_table(table.get());
    while (mdb_fetch_row(table.get())) {
        MdbCatalogEntry entry{};
        entry.mdb = mMdb;
        entry.object_type = std::atoi(bound[2].constData()) & 0x7f;
        entry.table_pg = std::strtoul(bound[0].constData(), nullptr, 10) & 0x00ffffff;
        entry.flags = int(std::strtol(bound[3].constData(), nullptr, 10));
        std::strncpy(entry.object_name, bound[1].constData(), MDB_MAX_OBJ_NAME);
        if (mdb_is_user_table(&entry))
            tables.push_back(entry);
    }
    return tables;
}

void Converter::Run()
{
    std::vector<MdbCatalogEntry> tables = UserTables();
    try {
        mOut = dao::Database::Create(mPath);
    } catch (const dao::Error& e) {
        Fail(e.message());
    }
    // The copy is new and is removed whole when anything fails, so it needs no journal; it is
    // made durable once, at the end.
    Exec("PRAGMA journal_mode=OFF");
    Exec("PRAGMA synchronous=OFF");
    Exec("PRAGMA locking_mode=EXCLUSIVE");
    Exec("BEGIN");
    for (MdbCatalogEntry& entry : tables)
        ConvertTable(&entry);
    Exec("COMMIT");
    mOut->Close();
    if (mPath != QLatin1String(":memory:")) {
        const int fd = ::open(QFile::encodeName(mPath).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || ::fsync(fd) != 0) {
            if (fd >= 0)
                ::close(fd);
            throw ReadError("cannot write the copy to disk");
        }
        ::close(fd);
    }
}

QList<Column> Converter::Columns(MdbTableDef* table) const
{
    QList<Column> columns;
    for (unsigned i = 0; i < table->num_cols; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        Column c;
        c.index = int(i);
        c.col = col;
        c.def.name = QString::fromUtf8(col->name);
        switch (col->col_type) {
        case MDB_BOOL: c.def.type = dao::FieldType::Boolean; break;
        case MDB_BYTE: c.def.type = dao::FieldType::Byte; break;
        case MDB_INT: c.def.type = dao::FieldType::Integer; break;
        case MDB_LONGINT: c.def.type = dao::FieldType::Long; break;
        case MDB_MONEY: c.def.type = dao::FieldType::Currency; break;
        case MDB_FLOAT: c.def.type = dao::FieldType::Single; break;
        case MDB_DOUBLE: c.def.type = dao::FieldType::Double; break;
        case MDB_DATETIME: c.def.type = dao::FieldType::Date; break;
        case MDB_TEXT:
            c.def.type = dao::FieldType::Text;
            // Jet 4 counts a text's size in bytes of UCS-2.
            c.def.size = mJet3 ? col->col_size : col->col_size / 2;
            break;
        case MDB_MEMO: c.def.type = dao::FieldType::Memo; break;
        default: continue;
        }
        if (c.def.name.isEmpty())
            Damaged(QStringLiteral("a column without a name in %1").arg(QString::fromUtf8(table->name)));
        columns.append(c);
    }
    return columns;
}

// The index's fields by name; empty when one of them is not carried over.
QStringList Converter::IndexFields(MdbTableDef* table, const MdbIndex* index, const QList<Column>& columns) const
{
    if (index->num_keys == 0 || index->num_keys > MDB_MAX_IDX_COLS)
        return {};
    QStringList fields;
    for (unsigned k = 0; k < index->num_keys; ++k) {
        const int number = index->key_col_num[k];
        if (number < 1 || number > int(table->num_cols))
            return {};
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, number - 1));
        auto it = std::find_if(columns.begin(), columns.end(), [col](const Column& c) { return c.col == col; });
        if (it == columns.end())
            return {};
        fields << it->def.name;
    }
    return fields;
}

void Converter::ConvertTable(MdbCatalogEntry* entry)
{
    Table table(mdb_read_table(entry));
    const QString name = QString::fromUtf8(entry->object_name);
    if (!table)
        Damaged(QStringLiteral("the definition of %1").arg(name));
    if (!mdb_read_columns(table.get()) || table->columns->len != table->num_cols)
        Damaged(QStringLiteral("the columns of %1").arg(name));
    mdb_read_indices(table.get());   // answers nothing: the indexes are in the table
    if (!table->indices)
        Damaged(QStringLiteral("the indexes of %1").arg(name));
    QList<Column> columns = Columns(table.get());
    if (columns.isEmpty())
        return;

    // The index "PrimaryKey" is the key; a primary index of another name stands in for it.
    const MdbIndex* primary = nullptr;
    std::vector<const MdbIndex*> others;
    for (unsigned i = 0; i < table->indices->len; ++i) {
        const auto* index = static_cast<const MdbIndex*>(g_ptr_array_index(table->indices, i));
        if (index->index_type == 2)
            continue;   // the far side of a relationship, not an index of its own
        if (QString::fromUtf8(index->name).compare(QLatin1String("PrimaryKey"), Qt::CaseInsensitive) == 0)
            primary = index;
        else
            others.push_back(index);
    }
    if (!primary)
        for (auto it = others.begin(); it != others.end(); ++it)
            if ((*it)->index_type == 1) {
                primary = *it;
                others.erase(it);
                break;
            }
    const QStringList key = primary ? IndexFields(table.get(), primary, columns) : QStringList();
    // An AutoNumber stays one only as the whole key, as the data file engine keeps it.
    for (Column& c : columns)
        if (c.col->is_long_auto && c.def.type == dao::FieldType::Long && key.size() == 1 &&
            key.first() == c.def.name)
            c.def.type = dao::FieldType::AutoNumber;

    QList<dao::FieldDef> defs;
    for (const Column& c : columns)
        defs << c.def;
    try {
        mOut->CreateTable(name, defs, key);
        CopyRows(table.get(), columns, name);
        for (const MdbIndex* index : others) {
            const QStringList fields = IndexFields(table.get(), index, columns);
            if (fields.isEmpty())
                continue;
            // A name that already carries the table's, as a file first written by this
            // program's engine has it, reads back the same.
            QString indexName = QString::fromUtf8(index->name);
            const QString prefix = name + QLatin1String("__");
            if (indexName.startsWith(prefix, Qt::CaseInsensitive) && indexName.size() > prefix.size())
                indexName = indexName.mid(prefix.size());
            mOut->CreateIndex(name, indexName, fields, false, index->flags & MDB_IDX_UNIQUE);
        }
    } catch (const dao::Error& e) {
        // Two rows with one key, two tables or columns of one name: Jet allows neither.
        Damaged(QStringLiteral("%1: %2").arg(name, e.message()));
    }
}

void Converter::CopyRows(MdbTableDef* table, const QList<Column>& columns, const QString& name)
{
    QStringList names, marks;
    for (const Column& c : columns) {
        names << Quoted(c.def.name);
        marks << QStringLiteral("?");
    }
    const QByteArray sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(Quoted(name), names.join(QLatin1String(", ")), marks.join(QLatin1String(", ")))
                               .toUtf8();
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(mOut->handle(), sql.constData(), -1, &raw, nullptr) != SQLITE_OK)
        Fail(QStringLiteral("cannot write %1: %2").arg(name, QString::fromUtf8(sqlite3_errmsg(mOut->handle()))));
    Statement insert(raw);

    // mdbtools walks the table's pages by its page map without looking whether there is one.
    if (!table->usage_map || table->map_sz < 1)
        Damaged(QStringLiteral("the page map of %1").arg(name));
    std::vector<MdbField> fields(table->num_cols);
    unsigned count = 0;
    mdb_rewind_table(table);
    while (mdb_fetch_row(table)) {
        // mdb_fetch_row has read the row on the page it left in the buffer; crack it again
        // here to see its nulls.
        int start = 0;
        size_t length = 0;
        if (mdb_find_row(mMdb, int(table->cur_row) - 1, &start, &length) != 0)
            Damaged(QStringLiteral("a row of %1").arg(name));
        start &= kOffsetMask;
        if (mdb_crack_row(table, start, length, fields.data()) < 0)
            Damaged(QStringLiteral("a row of %1").arg(name));
        for (int i = 0; i < columns.size(); ++i) {
            const MdbField& field = fields[size_t(columns[i].index)];
            if (field.colnum != columns[i].index)
                Damaged(QStringLiteral("a row of %1").arg(name));
            BindValue(insert.get(), i + 1, columns[i], field);
        }
        const int rc = sqlite3_step(insert.get());
        sqlite3_reset(insert.get());
        sqlite3_clear_bindings(insert.get());
        if (rc != SQLITE_DONE) {
            const QString why = QString::fromUtf8(sqlite3_errmsg(mOut->handle()));
            if ((rc & 0xff) == SQLITE_CONSTRAINT)
                Damaged(QStringLiteral("%1: %2").arg(name, why));
            Fail(QStringLiteral("cannot write %1: %2").arg(name, why));
        }
        ++count;
    }
    // Rows on a page that was lost (zeroed, overwritten) are simply not found by the walk; the
    // table's own count tells.
    if (count != table->num_rows)
        Damaged(QStringLiteral("%1 holds %2 rows of the %3 it counts").arg(name).arg(count).arg(table->num_rows));
}

const unsigned char* Converter::FieldBytes(const MdbField& field, int atLeast, const QString& column) const
{
    if (field.start < 0 || field.siz < atLeast || field.start + field.siz > mMdb->fmt->pg_size)
        Damaged(QStringLiteral("a value of %1").arg(column));
    return mMdb->pg_buf + field.start;
}

QString Converter::Text(const unsigned char* bytes, int size) const
{
    QString text;
    if (mJet3) {
        text.reserve(size);
        for (int i = 0; i < size; ++i)
            text.append(QChar(richtext::Cp1252ToUnicode(bytes[i])));
        return text;
    }
    text.reserve(size / 2);
    if (size >= 2 && bytes[0] == 0xff && bytes[1] == 0xfe) {
        // Jet 4's compressed text: one byte a character (its high byte 0) until a 0 byte
        // switches to two bytes a character, and the next 0 byte back.
        bool compressed = true;
        for (int i = 2; i < size;) {
            if (bytes[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                text.append(QChar(char16_t(bytes[i])));
                ++i;
            } else if (i + 1 < size) {
                text.append(QChar(char16_t(bytes[i] | bytes[i + 1] << 8)));
                i += 2;
            } else {
                break;
            }
        }
        return text;
    }
    for (int i = 0; i + 1 < size; i += 2)
        text.append(QChar(char16_t(bytes[i] | bytes[i + 1] << 8)));
    return text;
}

QByteArray Converter::MemoBytes(const unsigned char* value, int size, const QString& column)
{
    const quint32 head = Le32(value);
    const quint32 flags = head >> 24;
    const int length = int(head & 0x00ffffff);
    quint32 pageRow = Le32(value + 4);
    if (flags & kMemoInline) {
        if (length > size - kMemoHeader)
            Damaged(QStringLiteral("a memo of %1").arg(column));
        return QByteArray(reinterpret_cast<const char*>(value + kMemoHeader), length);
    }
    if (flags != kMemoOnePage && flags != 0)
        Damaged(QStringLiteral("a memo of %1").arg(column));
    // The memo's rows, each in the buffer mdb_find_pg_row leaves it in (the data page stays
    // where it is); a chained row starts with the address of the next.
    QByteArray bytes;
    bytes.reserve(length);
    QSet<quint32> seen;
    while (bytes.size() < length) {
        if (pageRow == 0 || seen.contains(pageRow))
            Damaged(QStringLiteral("the pages of a memo of %1").arg(column));
        seen.insert(pageRow);
        void* buffer = nullptr;
        int start = 0;
        size_t rowLength = 0;
        if (mdb_find_pg_row(mMdb, int(pageRow), &buffer, &start, &rowLength) != 0 || !buffer ||
            start + rowLength > size_t(mMdb->fmt->pg_size))
            Damaged(QStringLiteral("the pages of a memo of %1").arg(column));
        const auto* row = static_cast<const unsigned char*>(buffer) + start;
        if (flags == kMemoOnePage) {
            bytes.append(reinterpret_cast<const char*>(row), int(std::min<size_t>(rowLength, size_t(length))));
            if (bytes.size() < length)
                Damaged(QStringLiteral("a memo of %1").arg(column));
            break;
        }
        if (rowLength < 4)
            Damaged(QStringLiteral("the pages of a memo of %1").arg(column));
        pageRow = Le32(row);
        bytes.append(reinterpret_cast<const char*>(row + 4), int(rowLength - 4));
    }
    bytes.truncate(length);
    return bytes;
}

void Converter::BindValue(sqlite3_stmt* st, int at, const Column& column, const MdbField& field)
{
    const QString& name = column.def.name;
    // A Yes/No field keeps its value where other fields keep their null flag.
    if (column.col->col_type == MDB_BOOL) {
        sqlite3_bind_int(st, at, field.is_null ? 0 : 1);
        return;
    }
    if (field.is_null)
        return;   // bindings were cleared: a null
    switch (column.col->col_type) {
    case MDB_BYTE:
        sqlite3_bind_int(st, at, *FieldBytes(field, 1, name));
        return;
    case MDB_INT: {
        const unsigned char* p = FieldBytes(field, 2, name);
        sqlite3_bind_int(st, at, qint16(quint16(p[0] | p[1] << 8)));
        return;
    }
    case MDB_LONGINT:
        sqlite3_bind_int(st, at, qint32(Le32(FieldBytes(field, 4, name))));
        return;
    case MDB_MONEY: {
        // A count of 1/10,000 dollars; the engine keeps the amount in dollars.
        const qint64 units = Le64(FieldBytes(field, 8, name));
        if (units % 10000 == 0)
            sqlite3_bind_int64(st, at, units / 10000);
        else
            sqlite3_bind_double(st, at, double(units) / 10000.0);
        return;
    }
    case MDB_FLOAT: {
        float f = 0;
        std::memcpy(&f, FieldBytes(field, 4, name), 4);
        sqlite3_bind_double(st, at, double(f));
        return;
    }
    case MDB_DOUBLE: {
        double d = 0;
        std::memcpy(&d, FieldBytes(field, 8, name), 8);
        sqlite3_bind_double(st, at, d);
        return;
    }
    case MDB_DATETIME: {
        // Days since 30 December 1899; the fraction is the time of day, also before that date.
        double days = 0;
        std::memcpy(&days, FieldBytes(field, 8, name), 8);
        constexpr double kFirst = -657434.0, kLast = 2958466.0;   // the years 100 to 9999
        if (!std::isfinite(days) || days < kFirst || days >= kLast)
            Damaged(QStringLiteral("a date of %1").arg(name));
        const double whole = std::trunc(days);
        qint64 seconds = qint64(std::llround(std::fabs(days - whole) * 86400.0));
        QDate date = QDate(1899, 12, 30).addDays(qint64(whole));
        if (seconds >= 86400) {
            date = date.addDays(1);
            seconds -= 86400;
        }
        const QByteArray iso = QDateTime(date, QTime(0, 0).addSecs(int(seconds))).toString(Qt::ISODate).toUtf8();
        sqlite3_bind_text(st, at, iso.constData(), int(iso.size()), SQLITE_TRANSIENT);
        return;
    }
    case MDB_TEXT:
    case MDB_MEMO: {
        QString text;
        if (field.siz > 0) {
            if (column.col->col_type == MDB_TEXT) {
                text = Text(FieldBytes(field, 0, name), field.siz);
            } else {
                const QByteArray bytes = MemoBytes(FieldBytes(field, kMemoHeader, name), field.siz, name);
                text = Text(reinterpret_cast<const unsigned char*>(bytes.constData()), int(bytes.size()));
            }
        }
        // An empty text is a text, not a null: SQLite takes a null pointer for a null.
        if (text.isEmpty())
            sqlite3_bind_text(st, at, "", 0, SQLITE_STATIC);
        else
            sqlite3_bind_text16(st, at, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
        return;
    }
    default:
        return;
    }
}

void Convert(MdbHandle* mdb, const QString& sqlitePath)
{
    if (!mdb)
        throw ReadError("not a Jet database");
    Handle handle(mdb);
    Converter(mdb, sqlitePath).Run();
}

} // namespace

void ConvertFile(const QString& jetPath, const QString& sqlitePath)
{
    if (!QFileInfo(jetPath).isFile())
        throw ReadError("no such file");
    // MDB_NOFLAGS: read-only, the file is never written.
    Convert(mdb_open(QFile::encodeName(jetPath).constData(), MDB_NOFLAGS), sqlitePath);
}

void ConvertBuffer(const void* data, std::size_t size, const QString& sqlitePath)
{
    Convert(mdb_open_buffer(const_cast<void*>(data), size, MDB_NOFLAGS), sqlitePath);
}

} // namespace jet
