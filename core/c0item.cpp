#include "core/c0item.h"

#include "core/g0items.h"
#include "core/u11datafile.h"
#include "core/u19rowdata.h"
#include "platform/dao/dao.h"

namespace core {

namespace {

// With no file open a call is refused with an error, never a null dereference.
dao::Database& itemsDb()
{
    dao::Database* db = gDatabase();
    if (!db)
        throw dao::Error(dao::Error::Kind::Generic, QStringLiteral("No data file is open."));
    return *db;
}

} // namespace

void c0Item::Initialize(int key)
{
    mItemKey = key;
    mChanged = false;
    mDeleted = false;
    auto rs = itemsDb().OpenTable(QStringLiteral("Items"));
    rs->SetIndex(QStringLiteral("PrimaryKey"));
    rs->Seek(key);
    mItemName = GetFieldText(*rs, QStringLiteral("ItemName"));
    mHeading = GetFieldText(*rs, QStringLiteral("Heading"));
    mBody = GetFieldText(*rs, QStringLiteral("Body"));
    mItemText = GetFieldText(*rs, QStringLiteral("ItemText"));
    rs->Close();
}

void c0Item::SetItemName(const QString& value)
{
    mItemName = value;
    mChanged = true;
}

void c0Item::SetHeading(const QString& value)
{
    mHeading = value;
    mChanged = true;
}

void c0Item::SetBody(const QString& value)
{
    mBody = value;
    mChanged = true;
}

void c0Item::SetItemText(const QString& value)
{
    mItemText = value;
    mChanged = true;
}

void c0Item::SaveChanges()
{
    if (!mChanged || mDeleted)
        return;
    dao::RowSave save(itemsDb());
    const bool adding = !save.Exists(QStringLiteral("Items"), {mItemKey});
    save.Write(QStringLiteral("Items"), {mItemKey},
               {{QStringLiteral("ItemName"), mItemName},
                {QStringLiteral("Heading"), mHeading},
                {QStringLiteral("Body"), mBody},
                {QStringLiteral("ItemText"), mItemText}},
               dao::IfMissing::Add);
    save.Commit(mChanged);
    if (adding)
        NoteItemKeyStored(mItemKey);
}

} // namespace core
