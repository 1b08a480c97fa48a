#include "core/u91trace.h"

#include "core/u13folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace core {

namespace {

std::function<QDateTime()> gClock;

const QString kTraceLog = QStringLiteral("Tolmar.LOG");
const QString kErrorLog = QStringLiteral("ERROR.LOG");

QDateTime Now()
{
    return gClock ? gClock() : QDateTime::currentDateTime();
}

QString Time()
{
    return Now().toString(QStringLiteral("HH:mm:ss"));
}

QString Date()
{
    return Now().toString(QStringLiteral("MM/dd/yyyy"));
}

QString FallbackFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    return QDir::toNativeSeparators(folder);
}

bool CanWriteIn(const QString& folder, const QString& name)
{
    const QFileInfo dir(folder);
    if (!dir.isDir() || !dir.isWritable())
        return false;
    const QFileInfo file(JoinPath(folder, name));
    return !file.exists() || file.isWritable();
}

bool WriteTo(const QString& path, const QStringList& lines, bool truncate)
{
    QFile file(path);
    const QIODevice::OpenMode mode = QIODevice::WriteOnly | (truncate ? QIODevice::Truncate : QIODevice::Append);
    if (!file.open(mode))
        return false;
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    const bool ok = file.write(bytes) == bytes.size();
    file.close();
    return ok;
}

// A log line that cannot be written is dropped: the program goes on without it.
void Write(const QString& name, const QStringList& lines, bool truncate = false)
{
    try {
        const QString app = AppPath();
        if (CanWriteIn(app, name) && WriteTo(JoinPath(app, name), lines, truncate))
            return;
        WriteTo(JoinPath(FallbackFolder(), name), lines, truncate);
    } catch (...) {
    }
}

} // namespace

QString LogFolder()
{
    const QString app = AppPath();
    return CanWriteIn(app, kTraceLog) ? app : FallbackFolder();
}

void SetTraceClock(std::function<QDateTime()> clock)
{
    gClock = std::move(clock);
}

void TraceProgramStart(const QString& text, int screenWidthTwips, int screenHeightTwips)
{
    Write(kTraceLog,
          {QString(), QStringLiteral("* * * * * Program Start * * * * *"), Date(),
           QStringLiteral("App.Path = ") + AppPath(),
           QStringLiteral("Screen: %1 x %2").arg(screenWidthTwips).arg(screenHeightTwips),
           Time() + QStringLiteral(" Start ") + text, QString()},
          true);
}

void TraceProgramEnd(const QString& text)
{
    Write(kTraceLog, {QString(), Time() + QStringLiteral(" ") + text,
                      QStringLiteral("* * * * * Program End * * * * *"), QString()});
}

void Trace(const QString& procedure)
{
    Write(kTraceLog, {Time() + QStringLiteral("   ") + procedure});
}

void TraceLoad(const QString& form)
{
    Write(kTraceLog, {Time() + QStringLiteral("   Load ") + form});
}

void TraceUnload(const QString& form)
{
    Write(kTraceLog, {Time() + QStringLiteral("   Unloaded ") + form});
}

void TraceStart(const QString& action)
{
    Write(kTraceLog, {QString(), Time() + QStringLiteral(" Start ") + action});
}

void TraceFinished(const QString& action)
{
    Write(kTraceLog, {Time() + QStringLiteral(" Finished ") + action, QString()});
}

void TraceWarning(const QString& text)
{
    Write(kTraceLog, {QString(), Time() + QStringLiteral("  Warning! ") + text, QString()});
}

void TraceError(const QString& text)
{
    Write(kTraceLog, {QString(), QStringLiteral("* * * ERROR * * *"), Time() + QStringLiteral("   ") + text, QString()});
    Write(kErrorLog, {QString(), QStringLiteral("* * * ERROR * * *"), Date(), Time() + QStringLiteral("   ") + text, QString()});
}

} // namespace core
