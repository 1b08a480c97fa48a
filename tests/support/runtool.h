#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace testsupport {

// The standard output of a command-line tool (pdfinfo, pdftotext); "" when it did not finish
// within a minute.
inline QString RunTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace testsupport
