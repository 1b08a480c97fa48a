#include "platform/jet/convert.h"

#include "platform/dao/dao.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <sys/resource.h>

#if defined(__SANITIZE_ADDRESS__)
#define TOLMAR_JET_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TOLMAR_JET_ASAN 1
#endif
#endif

namespace jet {

namespace {

const QString kConverter = QStringLiteral("tolmar_jetconvert");

// The child stops at the limit of its processor time; the program waits a little longer in
// time on the clock, for a machine busy with other work.
constexpr int kWaitFactor = 2;

void Limit(int resource, rlim_t value)
{
    const rlimit limit{value, value};
    setrlimit(resource, &limit);
}

// The converter is built beside the program, also beside each test program.
QString ProgramFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

void RemoveCopy(const QString& target)
{
    QFile::remove(target);
    QFile::remove(target + QStringLiteral("-journal"));
}

} // namespace

bool IsJetFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(20);
    return head.size() == 20 && head.startsWith(QByteArray("\0\1\0\0", 4)) &&
           (head.mid(4) == QByteArray("Standard Jet DB\0", 16) || head.mid(4) == QByteArray("Standard ACE DB\0", 16));
}

QString ConvertToSqlite(const QString& jetPath, const QString& target, const Limits& limits)
{
    const QString converter = QDir(ProgramFolder()).filePath(kConverter);
    if (!QFileInfo(converter).isExecutable())
        return QStringLiteral("the converter %1 is missing").arg(converter);
    if (QFileInfo::exists(target))
        return QStringLiteral("%1 is there already").arg(target);

    const qint64 size = QFileInfo(jetPath).size();
    const int seconds = limits.seconds > 0 ? limits.seconds : 20 + int(size >> 20);
    const qint64 memory = limits.memoryBytes;
    // The copy holds what the Jet file holds, in UTF-8 where Jet 4 keeps two bytes a character.
    const qint64 largestCopy = (qint64(64) << 20) + 4 * size;

    QProcess child;
    child.setProgram(converter);
    child.setArguments({jetPath, target});
    child.setStandardInputFile(QProcess::nullDevice());
    child.setStandardOutputFile(QProcess::nullDevice());
    child.setChildProcessModifier([seconds, memory, largestCopy] {
        // Only what is safe between fork and exec: plain system calls.
        Limit(RLIMIT_CPU, rlim_t(seconds));
        Limit(RLIMIT_FSIZE, rlim_t(largestCopy));
        Limit(RLIMIT_CORE, 0);
#ifndef TOLMAR_JET_ASAN
        // AddressSanitizer reserves far more address space than it uses.
        Limit(RLIMIT_AS, rlim_t(memory));
#else
        (void)memory;
#endif
    });
    child.start();
    if (!child.waitForStarted(30000))
        return QStringLiteral("the converter did not start: %1").arg(child.errorString());
    QString why;
    if (!child.waitForFinished(seconds * 1000 * kWaitFactor)) {
        child.kill();
        child.waitForFinished(5000);
        why = QStringLiteral("the converter ran for more than %1 seconds").arg(seconds * kWaitFactor);
    } else if (child.exitStatus() != QProcess::NormalExit) {
        why = QStringLiteral("the converter crashed");
    } else if (child.exitCode() != 0) {
        why = QStringLiteral("the converter refused it: %1")
                  .arg(QString::fromUtf8(child.readAllStandardError().left(500)).trimmed());
    } else {
        try {
            dao::Database::Open(target, {.exclusive = true, .readOnly = true, .checkEveryPage = true})->Close();
        } catch (const dao::Error& e) {
            // A sound copy holding what no file of this program holds (a memo longer than any
            // field takes) is left to the open that follows, which tells the user why it
            // refuses it; "damaged" would send them looking for a fault the file does not have.
            if (e.kind() != dao::Error::Kind::Foreign)
                why = QStringLiteral("the converter wrote an unsound copy: %1").arg(e.message());
        }
    }
    if (!why.isEmpty())
        RemoveCopy(target);
    return why;
}

} // namespace jet
