#pragma once

#include <QString>

namespace richtext {

// Strips every trailing blank, carriage return and line feed; the caller's text is changed too.
QString TrimTrailingBreaks(QString& text);

// Gives the bullet-list markup of an editor's rich text its indents and, from the second
// list-bearing text of the run on, a list id of its own so that several lists can share
// one report document.
QString FixRtfLists(const QString& rtf);

// The number of list-bearing texts FixRtfLists has seen in this run.
long ListCounter();
// For tests only: the run's counter is otherwise never reset.
void SetListCounter(long value);

}  // namespace richtext
