#pragma once

// The data file engine: a small DAO-like layer on SQLite's C API.
//
// A data file (*.tlm) or Prep file (*.fcd) is an SQLite database. Each column's declared type
// names its Jet type (see FieldType) and gives it the right SQLite affinity, so text stays text,
// a Single reads back as a float and a Currency is stored exactly.
//
// Every failure throws dao::Error with a message fit for the error log.

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <span>
#include <stdexcept>

struct sqlite3;

namespace dao {

class Error : public std::runtime_error {
public:
    enum class Kind {
        Generic,
        NotFound,      // the file does not exist (never created by an open)
        NotDatabase,   // not a database at all, or damaged beyond reading
        Locked,        // held by another program or another open
        ReadOnly,      // write attempted on a read-only file or open
        NoSuchTable,
        NoSuchField,
        Constraint,    // duplicate key and the like
        NoCurrentRecord,
        DiskFull,      // a write found no room on the disk; what the file held stays as it was
        // A database, but holding what no file of this program holds (statements it would run,
        // a text longer than any field): the message is a sentence fit to show the user.
        Foreign
    };
    Error(Kind kind, const QString& message);
    Kind kind() const { return mKind; }
    QString message() const { return QString::fromStdString(what()); }

private:
    Kind mKind;
};

// Jet field types. Declared SQLite types: Boolean "YESNO INTEGER", Byte "BYTE INTEGER",
// Integer "SHORT INTEGER", Long "LONG INTEGER", AutoNumber "INTEGER PRIMARY KEY AUTOINCREMENT"
// (a Long whose new values are never handed out twice), Currency "CURRENCY INTEGER" (an amount
// in dollars, kept to 1/10,000: rounded to four decimals on every write and read, so SQL
// literals and bound parameters hold plain amounts such as 1500 or 12.5), Single "SINGLE REAL",
// Double "DOUBLE REAL", Date "DATE TEXT" (ISO 8601), Text "TEXT(n)", Memo "MEMO TEXT".
enum class FieldType { Boolean, Byte, Integer, Long, AutoNumber, Currency, Single, Double, Date, Text, Memo };

// How values come back: Boolean -> bool; Byte, Integer, Long, AutoNumber -> int (qint32);
// Currency, Double -> double; Single -> float; Text, Memo, Date -> QString. A Null stays a null
// QVariant, distinct from "". A stored number the field's type cannot hold (out of its range,
// infinite or not a number, as only a file written by something else holds) reads as Null.
// Values written are converted to the column's type; a text that does not read as a number, or
// a number the type cannot hold, written to a numeric field throws Error (Kind::Generic).
//
// A Text(n) field reads at most its n characters, as Jet never held more. No stored value may be
// longer than kLongestValue bytes: a file holding one is refused at its open (Kind::Foreign), and
// writing one throws Error (Kind::Generic), so that the program never stores what it would refuse.
// That is some 150 pages of a topic's rich text, far more than a Jet memo takes through a form
// (65,535 characters), so that no file a user holds is refused for a long topic. It stays at
// 512 KB because a worksheet reads every memo of the lists it shows, and the rich-text box
// turns its whole body into RTF at each key: with every memo at 1 MB the topic and rating
// worksheets took up to 1.8 s to open and 100 ms a key, at 512 KB up to 0.85 s and 40 ms.
inline constexpr qint64 kLongestValue = 512 * 1024;

struct FieldDef {
    QString name;
    FieldType type = FieldType::Long;
    int size = 0;          // Text only: the Jet size, in characters
};

// One entry of a file's schema as the file lists it; statement is null for an index the engine
// made itself.
struct SchemaEntry {
    const char* type;
    const char* name;
    const char* table;
    const char* statement;
};

struct OpenOptions {
    bool exclusive = true;   // hold the file for this open only (a second open gets Kind::Locked)
    bool readOnly = false;
    // Read every page, and every index against its table, and measure every value, before the
    // open returns. Without it the open reads the header and the schema only, when the header
    // vouches for the file (its page count kept by its last writer, and the file that long), and
    // CheckEveryPage is left to be called before the file is relied on; until then a value
    // longer than kLongestValue is never read: reading it throws Error (Kind::Foreign) naming it.
    bool checkEveryPage = true;
    // The schema of the files the caller makes. A file whose schema is exactly this one, entry
    // for entry in any order, holds nothing of its own that could run or hide a row id, and is
    // not asked for each table's fields; any other file is.
    std::span<const SchemaEntry> ownSchema;
};

class Recordset;
class Transaction;

// Taken from an open database: two equal stamps mean its rows are as they were. Any write through
// the open (kept or rolled back) and any schema change it sees give a new stamp, and stamps of
// two opens never match. Writes by another open of the file are not seen: the data file is held
// exclusively.
struct DataStamp {
    quint64 open = 0;
    qint64 changes = -1;
    quint64 generation = 0;
    bool operator==(const DataStamp&) const = default;
};

class Database {
public:
    // Opens an existing file; never creates one. Throws Error (NotFound, NotDatabase, Locked...).
    // The check reads the schema, so a text file or a truncated database fails here, not later.
    // No statement stored in the file ever runs: triggers and views are switched off, and a file
    // that holds any (or a virtual table, or a table without the row ids the cursors go by) is
    // refused with Kind::Foreign, as is one holding a value longer than kLongestValue.
    static std::unique_ptr<Database> Open(const QString& path, OpenOptions options = {});
    // Creates an empty database (used by the template builder and by test fixtures).
    static std::unique_ptr<Database> Create(const QString& path);
    ~Database();

    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void Close();                 // also closes every recordset still open on it
    bool IsOpen() const;
    // Whether the schema is the one OpenOptions::ownSchema gave, unchanged since the open.
    bool IsOwnSchema() const;
    // The check an open makes with checkEveryPage; throws Error(NotDatabase) naming the damage,
    // or Error(Foreign) naming a value longer than kLongestValue.
    void CheckEveryPage();
    // The same check on a thread of its own, finished called on that thread once it is done, so
    // that the caller's thread can go on meanwhile; any use of the database waits for it first.
    // A second start before FinishCheckEveryPage does nothing.
    void StartCheckEveryPage(std::function<void()> finished);
    // Waits for the check StartCheckEveryPage started and throws as CheckEveryPage does; without
    // one started, it is CheckEveryPage.
    void FinishCheckEveryPage();
    QString Path() const;
    bool IsReadOnly() const;

    // A table-type recordset on the named table, ordered by its "PrimaryKey" index (Index() is
    // already "PrimaryKey" when the table has one, otherwise rows come in insertion order).
    // Throws Error(NoSuchTable) when there is no such table.
    std::unique_ptr<Recordset> OpenTable(const QString& table);
    // A recordset on a query, read at once. It can be edited (Edit, AddNew, Delete) when it
    // selects plain columns of one table; otherwise it is a read-only snapshot. Values given in
    // params bind to "?" in order: values that come from users are always bound, never spliced
    // into the text.
    std::unique_ptr<Recordset> OpenRecordset(const QString& sql, const QVariantList& params = {});
    // Runs one statement; returns the number of rows changed. A text of several statements is
    // refused before any of it runs, as OpenRecordset refuses it; so is a count of params that
    // differs from the text's "?" marks. Any change to the schema is seen, however it is written.
    int Execute(const QString& sql, const QVariantList& params = {});

    // Schema.
    bool TableExists(const QString& table) const;
    QStringList TableNames() const;                       // user tables, sorted
    QList<FieldDef> Fields(const QString& table) const;   // in column order
    bool FieldExists(const QString& table, const QString& field) const;
    QStringList PrimaryKey(const QString& table) const;   // fields of the "PrimaryKey" index, in order
    QStringList IndexNames(const QString& table) const;   // Jet names, "PrimaryKey" included when there is one

    // Table definitions, as the upgrade uses them. CreateTable with a non-empty primaryKey
    // gives the table its "PrimaryKey" index on those fields.
    void CreateTable(const QString& table, const QList<FieldDef>& fields, const QStringList& primaryKey = {});
    void AddField(const QString& table, const FieldDef& field);
    void DropField(const QString& table, const QString& field);
    // A "PrimaryKey" (or primary=true) index on an existing table rebuilds the table with that key.
    void CreateIndex(const QString& table, const QString& index, const QStringList& fields,
                     bool primary = false, bool unique = false);
    void DropIndex(const QString& table, const QString& index);
    void DropTable(const QString& table);
    void RenameTable(const QString& from, const QString& to);

    // Transactions nest: the outermost one is a real transaction, inner ones are savepoints.
    void BeginTrans();
    void CommitTrans();
    void Rollback();
    int TransactionDepth() const;

    sqlite3* handle() const;   // for the layer itself and benchmarks
    DataStamp Stamp() const;

    struct Impl;   // internal

private:
    Database();
    std::unique_ptr<Impl> d;
    friend class Recordset;
    friend class RowReader;
};

// Commits on commit(), rolls back when it goes out of scope uncommitted (also on an exception).
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    void commit();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Database& mDb;
    bool mDone = false;
};

class Recordset {
public:
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    void Close();
    bool IsOpen() const;
    bool IsTable() const;          // table-type rather than a query
    bool Updatable() const;

    // Table recordsets only: the index that orders the rows and that Seek searches.
    void SetIndex(const QString& index);
    QString Index() const;

    // Seek "=" on the current index: one value a key field, in index order. Positions on the
    // matching row, or sets NoMatch() and leaves the position undefined (EOF).
    void Seek(const QVariantList& keys);
    void Seek(const QVariant& key) { Seek(QVariantList{key}); }
    void Seek(const QVariant& key1, const QVariant& key2) { Seek(QVariantList{key1, key2}); }
    bool NoMatch() const;

    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    bool Eof() const;              // past the last row (also when empty)
    bool Bof() const;
    int RecordCount() const;

    // Field of the current row (or of the edit buffer while editing). Throws Error
    // (NoCurrentRecord) at EOF, Error(NoSuchField) for an unknown name. Names are case-insensitive.
    QVariant Field(const QString& name) const;
    QVariant Field(int index) const;
    int FieldCount() const;
    QString FieldName(int index) const;
    FieldType FieldTypeOf(const QString& name) const;
    void SetField(const QString& name, const QVariant& value);   // only between AddNew/Edit and Update

    // Table recordsets only.
    void AddNew();                 // edit buffer with every field Null (AutoNumber filled on Update)
    void Edit();                   // edit buffer from the current row
    // Writes the buffer. After an AddNew the recordset is positioned on the new row, so an
    // AutoNumber key reads back with Field(). Throws Error(Constraint) on a duplicate key.
    void Update();
    void CancelUpdate();
    void Delete();                 // deletes the current row; the position becomes "no current row"
    bool Editing() const;

    struct Impl;   // internal

private:
    Recordset();
    std::unique_ptr<Impl> d;
    friend class Database;
};

// Jet type <-> declared SQLite type.
QString DeclaredType(FieldType type, int size = 0);
FieldType TypeFromDeclared(const QString& declared);

} // namespace dao
