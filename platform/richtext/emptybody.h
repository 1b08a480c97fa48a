#pragma once

#include <QString>

namespace richtext {

// The body of a new topic: one Arial font, 10 points, one empty paragraph. Header-only, so
// that code without the rich-text library (the data file's items) writes the same bytes.
inline const QString kEmptyBody = QStringLiteral(
    "{\\rtf1\\ansi\\ansicpg1252\\uc0\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0\\fprq2 Arial;}}"
    "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue255;}\\plain\\f0\\fs20 \\pard \\par }");

} // namespace richtext
