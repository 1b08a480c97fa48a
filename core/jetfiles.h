#pragma once

// Files the users hold from earlier versions are Jet databases: data files of every older
// format and Prep files of the companion setup program. The program reads them through an
// SQLite copy and never writes to them.

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace core {

// The data file to open for the one chosen: the file itself when it is no Jet database. For a
// Jet database, its converted copy "<name> (converted).tlm": the one made before, or one made
// now beside it (in a folder the user chooses when that folder cannot be written), on which
// the upgrade's questions are asked before it takes that name; the user is told where the
// analysis is. "" when nothing is to be opened: the user cancelled, or the file cannot be
// converted (told), and no new file is left behind. Making a copy closes the open data file.
QString DatafileToOpen(const QString& path);

// A temporary SQLite copy of a Jet database, removed with this object.
class ConvertedCopy {
public:
    // Null when the file cannot be converted; the reason goes to the error log.
    static std::unique_ptr<ConvertedCopy> Make(const QString& jetPath);
    QString Path() const { return mPath; }

private:
    ConvertedCopy() = default;
    QTemporaryDir mFolder;
    QString mPath;
};

// The SQLite file to read for path: path itself, or for a Jet database a temporary copy, kept
// in copy; "" when the Jet database cannot be converted (the reason is in the error log).
QString ReadableFile(const QString& path, std::unique_ptr<ConvertedCopy>& copy);

// "<file name> cannot be read: it is damaged or not a database."
void SayCannotRead(const QString& path);

} // namespace core
