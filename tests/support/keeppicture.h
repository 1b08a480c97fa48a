#pragma once

// Pictures of what a test put on screen, to look at: with TOLMAR_KEEP_PNG set to a folder, the
// widget is kept there as a PNG under the name given; without it nothing is written.

#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <QWidget>

namespace testsupport {

inline void KeepPicture(QWidget& widget, const QString& name)
{
    const QString folder = qEnvironmentVariable("TOLMAR_KEEP_PNG");
    if (folder.isEmpty())
        return;
    QCoreApplication::processEvents();   // layouts done on posted events (a chart's legend)
    widget.grab().save(QDir(folder).filePath(name));
}

} // namespace testsupport
