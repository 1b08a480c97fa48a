#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

namespace richtext {

// Whether a character has a place in a body's text: tabs and breaks do, other control
// characters, the object mark of an embedded picture and the non-characters do not.
bool RtfWritable(QChar ch);

// Appends text to a body under the house header (kRtfHead): backslashes and braces escaped,
// a tab as \tab, any line break as \line, a character of code page 1252 as its byte and any
// other as \u with no fallback; characters without a place are left out. delimiterDue says
// that the last thing written is a control word still open: a space closes it before a
// character that would run on into it, and it is set again when text ends on such a word.
void AppendRtfText(QString& out, QStringView text, bool& delimiterDue);

} // namespace richtext
