#pragma once

#include "platform/richtext/emptybody.h"

#include <QString>

namespace richtext {

// Plain text of an older file or a Prep file as a rich-text body: trailing blanks and breaks
// go, every line becomes a paragraph, and the text is written as the editor writes a body's
// text, so that a reader shows it unchanged. An empty text gives the program's empty body.
QString TextToRTF(QString text);

} // namespace richtext
