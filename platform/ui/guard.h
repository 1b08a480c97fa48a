#pragma once

#include <QString>

#include <functional>

namespace ui {

// The one answer to an error that escapes whatever the user started: the data layer throws by
// design, and an exception that reached Qt's event loop would end the program with every edit
// the user had not yet left. Every event passes through here (ui::Application), and the shell
// runs its own commands through RunGuarded: the error is logged, shown, and the program goes on.

// Where errors are logged (the program installs the error log); without one they are only shown.
void SetErrorLog(std::function<void(const QString& line)> log);

// The text of the exception being handled ("unknown error" for one that carries none); call it
// only inside a catch block.
QString CurrentExceptionText();

// Logs and shows the exception being handled, so call it only inside a catch block. The message
// reads "An error occurred in <where>." ("An error occurred." for an empty where) over the
// error's own text; the log line starts with logAs, or with where when logAs is empty. While one
// of these messages is on screen a further error is logged only: an error that every repaint
// or mouse move raises again must not stack up message boxes.
void ReportCurrentException(const QString& where, const QString& logAs = QString());

// Runs one user command; an error that escapes it is reported as above. False when it threw.
bool RunGuarded(const QString& where, const std::function<void()>& command);

} // namespace ui
