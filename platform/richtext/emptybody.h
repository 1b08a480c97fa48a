#pragma once

#include <QString>

namespace richtext {

// The head of every body the program stores: code page 1252, no fallback character after a
// \u (\uc0), the one Arial font and the colour table's fixed black and white, the table left
// open for a writer's colours of its own.
inline constexpr char kRtfHead[] =
    "{\\rtf1\\ansi\\ansicpg1252\\uc0\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0\\fprq2 Arial;}}"
    "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue255;";
// After the colour table (and a list table, where the body has lists): the default font, 10 points.
inline constexpr char kRtfDefaults[] = "\\plain\\f0\\fs20 ";

// The header of a body without colours or lists of its own, up to its first paragraph's text.
inline const QString kRtfHeader =
    QString::fromLatin1(kRtfHead) + u'}' + QLatin1String(kRtfDefaults) + QLatin1String("\\pard ");

// The body of a new topic: one empty paragraph. Header-only, so that code without the document
// reader and writer (the data file's items) writes the same bytes.
inline const QString kEmptyBody = kRtfHeader + QLatin1String("\\par }");

} // namespace richtext
