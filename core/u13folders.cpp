#include "core/u13folders.h"

#include "core/u91trace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace core {

namespace {

QString gAppPathOverride;

QString ExecutableFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // Headless tools and tests run without an application object.
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    if (self.exists())
        return self.canonicalPath();
    return QDir::currentPath();
}

// Path not found, as the folder probe reports it in the trace log.
constexpr int kPathNotFound = 76;

// Where new data files go when the program folder is an installed, read-only one: the file
// dialogs must not start in a folder the user cannot save to.
QString UserDocumentsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return QDir::toNativeSeparators(QDir::cleanPath(folder));
}

QString FindFolder(const QString& first, const QString& second, const QString& label, bool userFallback)
{
    const QString app = AppPath();
    for (const QString& name : {first, second}) {
        if (name.isEmpty())
            continue;
        const QString folder = JoinPath(app, name);
        if (QFileInfo(folder).isDir())
            return folder;
    }
    const QFileInfo appInfo(app);
    const QString last = userFallback && !(appInfo.isDir() && appInfo.isWritable()) ? UserDocumentsFolder() : app;
    TraceWarning(QStringLiteral("  Err = %1, %2 = %3").arg(kPathNotFound).arg(label, last));
    return last;
}

} // namespace

QString AppPath()
{
    const QString path = gAppPathOverride.isEmpty() ? ExecutableFolder() : gAppPathOverride;
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

void SetAppPath(const QString& path)
{
    gAppPathOverride = path;
}

QString GetDataPath()
{
    return FindFolder(QStringLiteral("TolmarData"), QStringLiteral("DATA99"), QStringLiteral("DataPath"), true);
}

QString GetCostsPath()
{
    return FindFolder(QStringLiteral("Costs"), QString(), QStringLiteral("CostsPath"), false);
}

QString GetFileTitle(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return cut < 0 ? path : path.mid(cut + 1);
}

QString JoinPath(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    QString joined = folder;
    if (!joined.endsWith(QDir::separator()) && !joined.endsWith(QLatin1Char('/')))
        joined += QDir::separator();
    return QDir::toNativeSeparators(joined + name);
}

} // namespace core
