#include "upgrade/upgradeitems.h"

#include "core/g0items.h"
#include "core/u11datafile.h"
#include "core/u19rowdata.h"
#include "platform/dao/dao.h"
#include "platform/richtext/texttortf.h"

#include <algorithm>

namespace upgrade::detail {

FileBeingOpened CurrentFile()
{
    dao::Database* db = core::gDatabase();
    dao::Recordset* properties = core::gProperties();
    if (!db || !properties)
        throw dao::Error(dao::Error::Kind::Generic, QStringLiteral("No data file is being opened"));
    return {*db, *properties};
}

QString PropertyValue(dao::Recordset& properties, const QString& property)
{
    properties.Seek(property);
    return core::GetFieldText(properties, QStringLiteral("Value"));
}

void SetPropertyValue(dao::Recordset& properties, const QString& property, const QString& value)
{
    properties.Seek(property);
    if (properties.NoMatch()) {
        properties.AddNew();
        properties.SetField(QStringLiteral("Property"), property);
    } else {
        properties.Edit();
    }
    properties.SetField(QStringLiteral("Value"), value);
    properties.Update();
}

int NewItemRow(dao::Database& db, dao::Recordset& items, const QString& itemName, int parentKey)
{
    auto highest = db.OpenRecordset(QStringLiteral("SELECT MAX(ItemKey) AS K FROM Items"));
    int key = highest->Eof() ? 0 : highest->Field(0).toInt();
    key = std::max(key, core::kLastFixedItemKey) + 1;
    auto count = db.OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM Items WHERE ParentKey = ?"),
                                  {parentKey});
    const int childIndex = count->Field(0).toInt() + 1;

    items.AddNew();
    items.SetField(QStringLiteral("ItemKey"), key);
    items.SetField(QStringLiteral("ItemName"), itemName);
    items.SetField(QStringLiteral("ParentKey"), parentKey);
    items.SetField(QStringLiteral("ChildIndex"), childIndex);
    items.SetField(QStringLiteral("Body"), richtext::TextToRTF(QString()));
    items.Update();
    return key;
}

namespace {

void FillFromRecord(dao::Recordset& source, dao::Recordset& items, const ItemSource& from)
{
    if (!from.nameField.isEmpty())
        items.SetField(QStringLiteral("ItemName"), source.Field(from.nameField));
    if (!from.headingField.isEmpty())
        items.SetField(QStringLiteral("Heading"), source.Field(from.headingField));
    if (from.bodyField.isEmpty()) {
        if (from.plainBody)
            items.SetField(QStringLiteral("Body"), richtext::TextToRTF(QString()));
    } else if (from.plainBody) {
        items.SetField(QStringLiteral("Body"), richtext::TextToRTF(core::GetFieldText(source, from.bodyField)));
    } else {
        items.SetField(QStringLiteral("Body"), source.Field(from.bodyField));
    }
    if (!from.textField.isEmpty())
        items.SetField(QStringLiteral("ItemText"), source.Field(from.textField));
}

} // namespace

void CopyRecordToItem(dao::Recordset& source, dao::Recordset& items, int key, const ItemSource& from,
                      int childIndex)
{
    SeekOrThrow(items, key, QStringLiteral("Items"));
    items.Edit();
    items.SetField(QStringLiteral("ItemKey"), key);
    FillFromRecord(source, items, from);
    items.SetField(QStringLiteral("ChildIndex"), childIndex);
    items.Update();
}

void AddItemFromRecord(dao::Recordset& source, dao::Recordset& items, int key, const ItemSource& from,
                       int parentKey, int childIndex)
{
    items.AddNew();
    items.SetField(QStringLiteral("ItemKey"), key);
    FillFromRecord(source, items, from);
    items.SetField(QStringLiteral("ParentKey"), parentKey);
    items.SetField(QStringLiteral("ChildIndex"), childIndex);
    items.Update();
}

void AddEmptyTopicItem(dao::Recordset& items, int key, const QString& itemName, const QString& heading,
                       int parentKey, int childIndex)
{
    items.AddNew();
    items.SetField(QStringLiteral("ItemKey"), key);
    items.SetField(QStringLiteral("ItemName"), itemName);
    items.SetField(QStringLiteral("Heading"), heading);
    items.SetField(QStringLiteral("Body"), richtext::TextToRTF(QString()));
    items.SetField(QStringLiteral("ParentKey"), parentKey);
    items.SetField(QStringLiteral("ChildIndex"), childIndex);
    items.Update();
}

void SeekOrThrow(dao::Recordset& rs, const QVariant& key, const QString& table)
{
    rs.Seek(key);
    if (rs.NoMatch())
        throw dao::Error(dao::Error::Kind::NoCurrentRecord,
                         QStringLiteral("%1 has no row with the key %2").arg(table, key.toString()));
}

void SetDataFormat(dao::Recordset& properties, const QString& format)
{
    SeekOrThrow(properties, QStringLiteral("DataFormatID"), QStringLiteral("Properties"));
    properties.Edit();
    properties.SetField(QStringLiteral("Value"), format);
    properties.Update();
}

} // namespace upgrade::detail
