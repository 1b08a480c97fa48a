#pragma once

#include "platform/dao/dao.h"

#include <QString>

#include <functional>

namespace core {

// The open data file: program-wide state, one set for the whole program.
dao::Database* gDatabase();        // nullptr when no file is open or being opened
dao::Recordset* gProperties();     // table recordset on Properties, open while the file is
bool gFileOpen();                  // true from a successful open until the file is closed
bool gCreatingNewFile();           // true only while a copy of the template is being opened

inline const QString kCurrentFormat = QStringLiteral("06.01.01");
inline const QString kProgramEdition = QStringLiteral("Advanced");

// Conversions of older formats. The open routine asks, then runs the whole chain inside one
// transaction; a conversion works through gDatabase()/gProperties() while gFileOpen() is still
// false and throws on failure, which rolls everything back.
struct Upgrader {
    virtual ~Upgrader() = default;
    virtual bool QueryConvert41to5() = 0;
    virtual bool QueryConvert5to6() = 0;
    virtual void Convert4to41() = 0;
    virtual void Convert41to5() = 0;
    virtual void Convert5to6() = 0;
};
// Not owned. With none installed, older formats are refused as incompatible.
void SetUpgrader(Upgrader* u);

// Opens and checks a data file (format, conversions, edition). True when it is open.
// wholeCheckLater leaves reading every page to CheckOpenedFileWhole (start-up, so that the window
// comes up first), unless opening writes to the file (a conversion, an edition change), in which
// case it runs first: nothing is written to a file that is then refused.
bool OpenDatafile(const QString& path, bool wholeCheckLater = false);
// Stores in "FullFileName" the path the open file was opened under. A file that cannot take
// even that (its disk is full) is closed again and unlocked, the user told why: false.
bool RecordFileName(const QString& path);
// The whole check an open left for later: true when there is none, or the file is sound;
// otherwise the user is told, the file is closed and false.
bool CheckOpenedFileWhole();
bool OpenedFileAwaitsWholeCheck();
// Starts that check on a thread of its own, finished called on that thread once it is done, so
// that the program can take input meanwhile; every use of the file waits for it, and
// CheckOpenedFileWhole collects its outcome.
void StartWholeCheck(std::function<void()> finished);
// What a dialog-driven command came to; the numbers are the codes the commands have always had.
enum class OpenResult {
    Open = 1,        // the file is open
    Cancelled = 2,   // nothing changed
    Failed = 3,      // no file is open any more
};
OpenResult QueryOpenDatafile();
OpenResult QueryNewDatafile();
// A copy that cannot be made leaves the file open as it was, after the message (Cancelled).
OpenResult SaveAsDatafile();
void CloseDatafile();

// File name of the open file without its folder, from "FullFileName".
QString GetDatafileTitle();
// Key of the last row in "PrimaryKey" order; 0 for an empty table.
int GetMaxKey(const QString& table, const QString& keyField);

} // namespace core
