#pragma once

// The Jet reader: a Jet 3 or Jet 4 database (the files of earlier versions of the program and
// of the companion setup program) turned into a new SQLite database that the data file engine
// reads like one of its own. It parses untrusted bytes with mdbtools, so the program runs it
// only in a child process of its own (tolmar_jetconvert, started by jet::ConvertToSqlite).

#include <QString>

#include <cstddef>
#include <stdexcept>

namespace jet {

// Why a Jet file could not be converted: not a Jet database, damaged, or a write that failed.
class ReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the Jet database at jetPath, opened read-only, and writes its user tables (columns with
// the declared types of the data file engine, the "PrimaryKey" index as primary key, the other
// indexes, every row) into a new SQLite database at sqlitePath, which must not exist yet.
// Throws ReadError; what it wrote by then is left for the caller to remove.
void ConvertFile(const QString& jetPath, const QString& sqlitePath);
// The same from the bytes of a Jet file in memory.
void ConvertBuffer(const void* data, std::size_t size, const QString& sqlitePath);

} // namespace jet
