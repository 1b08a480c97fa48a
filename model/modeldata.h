#pragma once

#include "core/u11datafile.h"
#include "platform/dao/dao.h"

namespace model {

// The open data file; a model call with no file open is refused with an error, not a crash.
inline dao::Database& Db()
{
    dao::Database* db = core::gDatabase();
    if (!db)
        throw dao::Error(dao::Error::Kind::Generic, QStringLiteral("No data file is open."));
    return *db;
}

} // namespace model
