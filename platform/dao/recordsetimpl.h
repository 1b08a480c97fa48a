#pragma once

// A recordset's inside, shared by its parts: the table cursor (tablecursor.cpp), query
// recordsets (queryrecordset.cpp), editing (recordedit.cpp) and the public calls
// (recordset.cpp). Nothing outside platform/dao includes it.

#include "platform/dao/engine.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace dao {

struct Recordset::Impl {
    enum class State { Start, Bof, Row, Eof, Deleted };
    enum class Mode { None, Add, Edit };

    Database::Impl* db = nullptr;
    bool isTable = false;
    bool updatable = false;
    QString table;                 // the table that edits write to
    std::vector<detail::Column> columns;   // one a field of the recordset
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
    // Where MoveNext goes from a deleted row, or from one it cannot find among the keys: the
    // position in keys of the row after it. Every way into State::Deleted sets it, so a pass
    // moves on past such a row rather than starting over.
    int afterDeleted = 0;
    // The rows a pass in one direction has handed out. Until the keys are read again part way,
    // a pass only moves on and a list of them is enough; once they are, it never hands a row
    // out twice, so it ends even where edits reorder a damaged index underneath it.
    int passing = 0;               // 1 forward, -1 back, 0 at the start of a pass
    std::vector<qint64> handedOut;
    bool guarding = false;
    QSet<qint64> passed;

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

    void cancel()
    {
        mode = Mode::None;
        buffer.clear();
        dirty.clear();
    }

    QString targetColumn(int i) const { return isTable ? columns[i].name : origin[i]; }

    // The table cursor: where it stands among the rows in index order, and its moves.
    void ensureKeys();
    int firstSurviving(const std::vector<qint64>& old, int from) const;
    int find(qint64 id, int near = 0) const;
    void lostRow();
    int count();
    void go(int i);
    void resolve();
    void locate();
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    void joinPass(int direction);
    void passOver(int direction);
    const QVariant* values();
    void Seek(const QVariantList& values);

    // A query's rows, read at once, and the shape of its text.
    void runQuery(const QString& sql, const QVariantList& params);
    static Database::Impl::QueryShape shapeOf(Database::Impl& d, const QString& sql);

    // Adding, editing and deleting rows.
    void requireUpdatable() const;
    void AddNew();
    void Edit();
    void SetField(const QString& name, const QVariant& value);
    void Update();
    void Delete();
};

} // namespace dao
