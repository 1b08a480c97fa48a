#pragma once

#include "platform/dao/rowsave.h"

#include <QString>

namespace core {

// One row of the Items table in memory. Every setter marks the item changed (also when the
// value is the same); SaveChanges writes the row only then, adding it when it is missing.
class c0Item {
public:
    // Reads the row's four texts; a missing row or a Null field reads as "".
    void Initialize(int key);

    int ItemKey() const { return mItemKey; }
    QString ItemName() const { return mItemName; }
    void SetItemName(const QString& value);
    QString Heading() const { return mHeading; }
    void SetHeading(const QString& value);
    QString Body() const { return mBody; }
    void SetBody(const QString& value);
    QString ItemText() const { return mItemText; }
    void SetItemText(const QString& value);

    void SaveChanges();

    bool Changed() const { return mChanged; }
    // Set by DeleteItem: a deleted item never writes its row again.
    bool Deleted() const { return mDeleted; }
    void MarkDeleted() { mDeleted = true; mChanged = false; }

private:
    int mItemKey = 0;
    QString mItemName;
    QString mHeading;
    QString mBody;
    QString mItemText;
    dao::ChangeFlag mChanged;
    bool mDeleted = false;
};

} // namespace core
