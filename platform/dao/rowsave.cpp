#include "platform/dao/rowsave.h"

#include <QStringList>

namespace dao {

namespace {

// Single-threaded: the save scopes open now, innermost first through mOuter.
SaveScope* gInnermost = nullptr;

QString keyText(const QVariantList& key)
{
    QStringList parts;
    for (const QVariant& v : key)
        parts.append(v.toString());
    return parts.join(QStringLiteral(", "));
}

} // namespace

void ChangeFlag::ClearSaved(Database& db)
{
    mSet = false;
    if (SaveScope* scope = SaveScope::innermost(db)) {
        if (!mSelf)
            mSelf = std::make_shared<ChangeFlag*>(this);
        *mSelf = this;
        scope->mCleared.push_back(mSelf);
    }
}

SaveScope::SaveScope(Database& db) : mDb(db), mTrans(db), mOuter(gInnermost) { gInnermost = this; }

SaveScope::~SaveScope()
{
    gInnermost = mOuter;
    if (mDone)
        return;
    for (const auto& weak : mCleared)
        if (auto flag = weak.lock())
            **flag = true;
    // mTrans rolls back as it goes.
}

void SaveScope::commit()
{
    mTrans.commit();
    mDone = true;
    if (SaveScope* outer = innermostFrom(mOuter, mDb))
        outer->mCleared.insert(outer->mCleared.end(), mCleared.begin(), mCleared.end());
    mCleared.clear();
}

SaveScope* SaveScope::innermost(const Database& db) { return innermostFrom(gInnermost, db); }

SaveScope* SaveScope::innermostFrom(SaveScope* scope, const Database& db)
{
    // A scope that has committed is still on the chain until it goes out of scope.
    while (scope && (&scope->mDb != &db || scope->mDone))
        scope = scope->mOuter;
    return scope;
}

RowSave::RowSave(Database& db) : mDb(db), mScope(db) {}

RowSave::~RowSave() = default;

Recordset& RowSave::open(const QString& table)
{
    // A table's rows are usually written one after another: keep it open for the next.
    if (!mRs || mTable != table) {
        mRs.reset();
        mRs = mDb.OpenTable(table);
        mTable = table;
    }
    return *mRs;
}

bool RowSave::Exists(const QString& table, const QVariantList& key)
{
    Recordset& rs = open(table);
    rs.Seek(key);
    return !rs.NoMatch();
}

void RowSave::Write(const QString& table, const QVariantList& key, const FieldValues& fields, IfMissing missing)
{
    Recordset& rs = open(table);
    rs.Seek(key);
    if (!rs.NoMatch()) {
        rs.Edit();
    } else if (missing == IfMissing::Add) {
        rs.AddNew();
        const QStringList keyFields = mDb.PrimaryKey(table);
        for (int i = 0; i < key.size() && i < keyFields.size(); ++i)
            rs.SetField(keyFields[i], key[i]);
    } else {
        throw Error(Error::Kind::NoCurrentRecord,
                    QStringLiteral("The row of %1 with the key %2 is no longer in the data file, so its changes "
                                   "could not be saved.")
                        .arg(table, keyText(key)));
    }
    for (const auto& [name, value] : fields)
        rs.SetField(name, value);
    rs.Update();
}

void RowSave::Commit()
{
    mRs.reset();
    mScope.commit();
}

void RowSave::Commit(ChangeFlag& changed)
{
    Commit();
    changed.ClearSaved(mDb);
}

void SaveRow(Database& db, const QString& table, const QVariantList& key, const FieldValues& fields,
             IfMissing missing, ChangeFlag& changed)
{
    if (!changed)
        return;
    RowSave save(db);
    save.Write(table, key, fields, missing);
    save.Commit(changed);
}

} // namespace dao
