#pragma once

#include <QString>

namespace core {

// The data-file dialogs. Each returns the chosen full path, or "" when the user cancelled or
// declined (an existing file not to be replaced; Save As onto the open file itself).
QString AskOpenFileName();
QString AskNewFileName();
QString AskSaveAsFileName();
// Where to keep the converted copy of the Jet data file jetName when its own folder cannot be
// written, proposed as given; "" when the user cancelled or declined to replace a file.
QString AskConvertedFileName(const QString& jetName, const QString& proposed);

// True when both paths name the same file, whatever their spelling (relative, "..", links).
bool SameFile(const QString& a, const QString& b);

} // namespace core
