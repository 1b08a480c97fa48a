#pragma once

// Row helpers shared by the format steps: Items rows, properties and small table copies.

#include <QString>
#include <QVariant>

namespace dao {
class Database;
class Recordset;
}

namespace upgrade::detail {

// Which fields of a source row fill an Items row; an empty name leaves that Items field alone.
struct ItemSource {
    QString nameField;
    QString headingField;
    QString bodyField;
    bool plainBody = false;   // the body field holds plain text (made rich text on the way)
    QString textField;
};

// The file core is opening and its Properties cursor; throws when there is none.
struct FileBeingOpened {
    dao::Database& db;
    dao::Recordset& properties;
};
FileBeingOpened CurrentFile();

// The Value of a property, "" when the row is missing or Null; the cursor is left on the row.
QString PropertyValue(dao::Recordset& properties, const QString& property);
// Writes the Value of a property, adding the row when it is missing.
void SetPropertyValue(dao::Recordset& properties, const QString& property, const QString& value);
// Marks the file as of the format a step has brought it to; throws when the file has no
// DataFormatID row, which every file the chain opens was read by.
void SetDataFormat(dao::Recordset& properties, const QString& format);

// A new Items row under the parent with the next free key of this file and the next ChildIndex;
// returns its key. Keys never come from a counter of a file opened before.
int NewItemRow(dao::Database& db, dao::Recordset& items, const QString& itemName, int parentKey);
// Fills the existing Items row of the key from the current source row.
void CopyRecordToItem(dao::Recordset& source, dao::Recordset& items, int key, const ItemSource& from,
                      int childIndex);
// Adds an Items row with the key, filled from the current source row.
void AddItemFromRecord(dao::Recordset& source, dao::Recordset& items, int key, const ItemSource& from,
                       int parentKey, int childIndex);
// Adds an Items row with the empty rich-text body.
void AddEmptyTopicItem(dao::Recordset& items, int key, const QString& itemName, const QString& heading,
                       int parentKey, int childIndex);
// Positions the cursor on the row of the key or throws: a row the step needs is missing.
void SeekOrThrow(dao::Recordset& rs, const QVariant& key, const QString& table);

} // namespace upgrade::detail
