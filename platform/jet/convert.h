#pragma once

// Jet databases for the program: the data files of earlier versions and the Prep files of the
// companion setup program. They are read through a new SQLite copy, made by the converter
// tolmar_jetconvert beside the program in a child process of its own.

#include <QString>

namespace jet {

// True when the file begins as a Jet (or later Access) database does; false for anything else,
// an unreadable file included.
bool IsJetFile(const QString& path);

struct Limits {
    int seconds = 0;                        // 0: by the file's size, from 20 seconds up
    qint64 memoryBytes = qint64(1) << 30;   // the converter's address space
};

// Writes a new SQLite database at target (which must not exist) holding the Jet database's
// tables, keys and rows; the Jet file is only read. Returns "" when target holds a sound
// database. Otherwise returns why not, for the error log (the converter refused the file,
// crashed, ran past its limits, or wrote something unsound), and target is removed.
QString ConvertToSqlite(const QString& jetPath, const QString& target, const Limits& limits = {});

} // namespace jet
