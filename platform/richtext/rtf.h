#pragma once

#include <QString>

class QTextDocument;

namespace richtext {

// Reads RTF into doc (which is cleared first). Returns false only when the
// text is not RTF at all (doc is then left empty); damaged RTF reads as much
// as it can and returns true.
bool ReadRtf(const QString& rtf, QTextDocument* doc);

// Writes doc as RTF: one Arial font, \fs20 as the default size, \ansicpg1252,
// ending exactly in "\par }". Reading the result and writing it again gives
// the same text.
QString WriteRtf(const QTextDocument& doc);

// The text of an RTF document, paragraphs separated by "\r\n", without a
// trailing break. Text that is not RTF comes back unchanged.
QString RtfToPlainText(const QString& rtf);

// The body of a new topic: an empty document in the house format.
QString EmptyRtf();

} // namespace richtext
