#pragma once

// Saving a model object's rows without ever taking an edit for saved when it is not.
//
// A model object keeps its edits in memory and marks itself changed; its save seeks each row
// by primary key, edits it (or adds it), sets the fields and updates, all in one transaction.
// The object's changed flag is cleared only once that transaction has committed, and set again
// should a SaveScope around it roll back afterwards, so the next save writes the edits again.
//
//   dao::SaveRow(db, "Scores", {outcomeKey, criterionKey}, {{"Value", score}}, dao::IfMissing::Add, mChanged);

#include "platform/dao/dao.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

namespace dao {

class SaveScope;

// "Holds edits the data file does not have yet". Reads and writes like a bool; a save clears
// it through RowSave::Commit only.
class ChangeFlag {
public:
    ChangeFlag() = default;
    ChangeFlag(bool set) : mSet(set) {}
    ChangeFlag(const ChangeFlag& other) : mSet(other.mSet) {}
    ChangeFlag& operator=(const ChangeFlag& other)
    {
        mSet = other.mSet;
        return *this;
    }
    ChangeFlag& operator=(bool set)
    {
        mSet = set;
        return *this;
    }
    operator bool() const { return mSet; }

    // Clears the flag after a commit; when a SaveScope is open on db, its rollback sets it again.
    void ClearSaved(Database& db);

private:
    bool mSet = false;
    // Made only while a SaveScope may still roll this flag's save back; the scope holds it weakly,
    // so an object gone by then is simply passed over.
    std::shared_ptr<ChangeFlag*> mSelf;
};

// A transaction for a save of several objects (a worksheet's, a module's): all of it reaches
// the file or none of it, and when none does, every change flag cleared inside it is set again.
// Scopes nest; an inner one that commits hands its flags to the one around it.
class SaveScope {
public:
    explicit SaveScope(Database& db);
    ~SaveScope();
    void commit();
    SaveScope(const SaveScope&) = delete;
    SaveScope& operator=(const SaveScope&) = delete;

private:
    friend class ChangeFlag;
    static SaveScope* innermost(const Database& db);
    static SaveScope* innermostFrom(SaveScope* scope, const Database& db);

    Database& mDb;
    Transaction mTrans;
    SaveScope* mOuter;
    std::vector<std::weak_ptr<ChangeFlag*>> mCleared;
    bool mDone = false;
};

enum class IfMissing {
    Add,      // add the row with its key fields set
    Report    // throw Error(NoCurrentRecord) naming the table and the key: the edit stays unsaved
};

using FieldValues = QList<QPair<QString, QVariant>>;

// The rows of one object, written in one SaveScope of their own.
class RowSave {
public:
    explicit RowSave(Database& db);
    ~RowSave();

    // Whether the table has a row with this primary key.
    bool Exists(const QString& table, const QVariantList& key);
    // Edits the table's row with this primary key, or adds it (see IfMissing), and writes the fields.
    void Write(const QString& table, const QVariantList& key, const FieldValues& fields, IfMissing missing);
    // Commits the rows written; only then is `changed` cleared.
    void Commit(ChangeFlag& changed);
    void Commit();

    RowSave(const RowSave&) = delete;
    RowSave& operator=(const RowSave&) = delete;

private:
    Recordset& open(const QString& table);

    Database& mDb;
    SaveScope mScope;
    QString mTable;
    std::unique_ptr<Recordset> mRs;
};

// One row, written only when `changed` is set: RowSave::Write, then Commit.
void SaveRow(Database& db, const QString& table, const QVariantList& key, const FieldValues& fields,
             IfMissing missing, ChangeFlag& changed);

} // namespace dao
