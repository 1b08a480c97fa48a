#pragma once

#include "platform/richtext/emptybody.h"

#include <QString>

namespace richtext {

// Plain text of an older file as a rich-text body: trailing blanks and breaks go, every line
// becomes a paragraph, and characters that rich text reserves or cannot hold as they are
// (backslash, braces, tabs, non-ASCII) are written so that a reader shows the text unchanged.
// An empty text gives the program's empty body.
QString TextToRTF(QString text);

} // namespace richtext
