#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace testsupport {

// The standard output of a command-line tool (pdfinfo, pdftotext); "" when it did not start or
// did not finish in time (a minute unless told).
inline QString RunTool(const QString& program, const QStringList& args, int timeoutMs = 60000)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return QString();
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace testsupport
