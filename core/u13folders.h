#pragma once

#include <QString>

namespace core {

// The program folder: the folder of the executable, where "TLM.new", the logs and the data
// folders are looked for.
QString AppPath();
// Points the program folder elsewhere (tests); an empty path restores the executable's folder.
void SetAppPath(const QString& path);

// Folder of the data files: "TolmarData" under the program folder, else "DATA99", else the
// program folder itself, or the user's documents folder when the program folder cannot be
// written (with a warning in the trace log). No trailing separator.
QString GetDataPath();
// Folder of the Prep files: "Costs" under the program folder, else the program folder.
QString GetCostsPath();

// The file name without its folder; splits on both separators ("\\" and "/").
QString GetFileTitle(const QString& path);

// folder + the platform's separator + name.
QString JoinPath(const QString& folder, const QString& name);

} // namespace core
