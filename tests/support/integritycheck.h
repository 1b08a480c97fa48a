#pragma once

// SQLite's own verdict on an open file: "ok", or its first finding.

#include <QString>

#include <sqlite3.h>

namespace testsupport {

inline QString IntegrityCheck(sqlite3* db)
{
    sqlite3_stmt* st = nullptr;
    QString result = QStringLiteral("<no answer>");
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return result;
}

} // namespace testsupport
