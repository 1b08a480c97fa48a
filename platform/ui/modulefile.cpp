#include "platform/ui/modulefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace ui {

QString ModuleBesideProgram(const char* fileName)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromUtf8(fileName));
}

QFunctionPointer ModuleEntry(const QString& path, const char* entry, QString* why)
{
    // The library stays loaded when this object goes.
    QLibrary library(path);
    const QFunctionPointer found = library.resolve(entry);
    if (!found && why)
        *why = library.errorString();
    return found;
}

} // namespace ui
