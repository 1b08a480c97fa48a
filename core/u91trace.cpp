#include "core/u91trace.h"

#include "core/u13folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

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
    if (gClock)
        return gClock().toString(QStringLiteral("HH:mm:ss"));
    // Finding the local time costs more than writing the line; it is found once a second, by each
    // thread for itself.
    thread_local qint64 second = -1;
    thread_local QString text;
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    if (now != second) {
        text = QDateTime::fromSecsSinceEpoch(now).toString(QStringLiteral("HH:mm:ss"));
        second = now;
    }
    return text;
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

// A log stays open between lines so that start-up does not pay for a folder probe, an open and a
// close per line. Each line still goes straight to the system (no buffer of our own), so the log
// survives a crash line by line.
struct OpenLog {
    QString app;       // the program folder the log was chosen for
    QString folder;    // where it was opened: the program folder or the fallback
    QString path;
    int fd = -1;
    dev_t device = 0;   // of the file opened, which stays the same as long as it is open
    ino_t inode = 0;
    // The system's word on changes to the log in the program folder and to that folder: the
    // probe walks the log's path three times, and the model traces a line for each FMU's table
    // it reads, so a comparison of 100 FMUs spent more on probing than on anything but the
    // data. Without a change since the last probe found the log chosen, that probe's answer
    // stands. -1: none (the fallback folder, or the system gave none): every line probes.
    int watch = -1;
    bool chosenAtLastProbe = false;

    void close()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
        closeWatch();
    }

    void closeWatch()
    {
        if (watch >= 0)
            ::close(watch);
        watch = -1;
        chosenAtLastProbe = false;
    }

    // Whatever could make the probe choose another file: the log removed, renamed, replaced or
    // its mode changed, the folder's mode changed or the folder moved away. (A folder further up
    // the path renamed or closed is not reported: the log then goes on where it was opened.)
    void startWatching()
    {
        closeWatch();
        if (folder != app)   // the fallback is left as soon as the program folder can be written
            return;
        watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (watch < 0)
            return;
        const uint32_t self = IN_ATTRIB | IN_MOVE_SELF | IN_DELETE_SELF | IN_UNMOUNT;
        if (::inotify_add_watch(watch, QFile::encodeName(path).constData(), self) < 0
            || ::inotify_add_watch(watch, QFile::encodeName(folder).constData(),
                                   self | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO) < 0)
            closeWatch();
    }

    // True when something was reported since the last call, or the report cannot be read.
    bool changed()
    {
        bool any = false;
        alignas(inotify_event) char events[4096];
        for (;;) {
            const ssize_t n = ::read(watch, events, sizeof events);
            if (n > 0) {
                any = true;
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            return any || !(n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK));
        }
    }

    // The same file the probe would choose now: the program folder is unchanged and still
    // writable, and the log is still there under its name and writable.
    bool stillChosen(const QString& appNow)
    {
        if (fd < 0 || appNow != app)
            return false;
        // What is reported before the probe below counts for it; what comes after, for the next.
        if (watch >= 0 && !changed() && chosenAtLastProbe)
            return true;
        chosenAtLastProbe = probe();
        return chosenAtLastProbe;
    }

    bool probe() const
    {
        // Still the file under that name: not removed, nor renamed and replaced by another.
        const QByteArray name = QFile::encodeName(path);
        struct stat named;
        if (::stat(name.constData(), &named) != 0 || named.st_dev != device || named.st_ino != inode
            || ::access(name.constData(), W_OK) != 0)
            return false;
        if (folder != app)   // the fallback stays in use while the program folder cannot be written
            return !CanWriteIn(app, QFileInfo(path).fileName());
        return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
    }

    bool open(const QString& appNow, const QString& in, const QString& name, bool truncate)
    {
        close();
        const QString target = JoinPath(in, name);
        // Emptied at the start of a run; every line after that is appended.
        const int flags = O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | (truncate ? O_TRUNC : 0);
        fd = ::open(QFile::encodeName(target).constData(), flags, 0666);
        struct stat opened {};
        if (fd >= 0 && ::fstat(fd, &opened) != 0)
            close();
        if (fd < 0)
            return false;
        device = opened.st_dev;
        inode = opened.st_ino;
        app = appNow;
        folder = in;
        path = target;
        // Watched from here on; the next line still probes once, for what came before.
        startWatching();
        return true;
    }

    bool write(const QByteArray& bytes)
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            done += n;
        }
        return true;
    }
};

OpenLog gTraceFile;
OpenLog gErrorFile;
QMutex gLogMutex;   // a line from a worker thread must not cross one from the window's

OpenLog& LogFile(const QString& name)
{
    return name == kErrorLog ? gErrorFile : gTraceFile;
}

// A log line that cannot be written is dropped: the program goes on without it.
void Write(const QString& name, const QStringList& lines, bool truncate = false)
{
    try {
        QByteArray bytes;
        for (const QString& line : lines)
            bytes += line.toUtf8() + "\r\n";
        const QString app = AppPath();
        const QMutexLocker lock(&gLogMutex);
        OpenLog& log = LogFile(name);
        if (!truncate && log.stillChosen(app) && log.write(bytes))
            return;
        if (CanWriteIn(app, name) && log.open(app, app, name, truncate) && log.write(bytes))
            return;
        if (log.open(app, FallbackFolder(), name, truncate))
            log.write(bytes);
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
