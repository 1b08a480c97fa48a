#pragma once

// Makes every write to one table of the open data file fail, as a full disk would, until it is
// healed: for tests of what a failed save leaves on screen and in the file.

#include "platform/dao/dao.h"

#include <QString>

namespace testsupport {

inline void BreakTable(dao::Database& db, const QString& table)
{
    for (const char* op : {"INSERT", "UPDATE"})
        db.Execute(QStringLiteral("CREATE TEMP TRIGGER fail_%1_%2 BEFORE %2 ON %1 "
                                  "BEGIN SELECT RAISE(ABORT, 'the disk is full'); END")
                       .arg(table, QLatin1String(op)));
}

inline void HealTable(dao::Database& db, const QString& table)
{
    for (const char* op : {"INSERT", "UPDATE"})
        db.Execute(QStringLiteral("DROP TRIGGER fail_%1_%2").arg(table, QLatin1String(op)));
}

// Makes every delete from the table fail in the same way, until healed.
inline void BreakDeletes(dao::Database& db, const QString& table)
{
    db.Execute(QStringLiteral("CREATE TEMP TRIGGER fail_%1_DELETE BEFORE DELETE ON %1 "
                              "BEGIN SELECT RAISE(ABORT, 'the disk is full'); END")
                   .arg(table));
}

inline void HealDeletes(dao::Database& db, const QString& table)
{
    db.Execute(QStringLiteral("DROP TRIGGER fail_%1_DELETE").arg(table));
}

} // namespace testsupport
