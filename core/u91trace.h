#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

namespace core {

// The trace log "Tolmar.LOG" (emptied at each start) and the error log "ERROR.LOG" (appended
// across runs), in the program folder, or in the user's data folder when the program folder
// cannot be written. Each line reaches the file before the call returns; logging never throws.
void TraceProgramStart(const QString& text, int screenWidthTwips = 0, int screenHeightTwips = 0);
void TraceProgramEnd(const QString& text);
void Trace(const QString& procedure);
void TraceLoad(const QString& form);
void TraceUnload(const QString& form);
void TraceStart(const QString& action);
void TraceFinished(const QString& action);
void TraceWarning(const QString& text);
void TraceError(const QString& text);

// The folder the logs are written to.
QString LogFolder();

// Time source of the stamps (tests); an empty function restores the system clock.
void SetTraceClock(std::function<QDateTime()> clock);

} // namespace core
