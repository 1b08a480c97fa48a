#pragma once

// Libraries the program loads beside itself with their first use (the charts, the printer),
// so that starting the program does not map them.

#include <QFunctionPointer>
#include <QString>

namespace ui {

// The module of that file name in the program's folder.
QString ModuleBesideProgram(const char* fileName);
// The entry of the module at path; nullptr when the module or its entry cannot be loaded, why
// then saying what the loader said. The module stays loaded to the end of the run: what it made
// lives on.
QFunctionPointer ModuleEntry(const QString& path, const char* entry, QString* why);

} // namespace ui
