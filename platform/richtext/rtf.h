#pragma once

#include <QString>
#include <QTextFormat>

class QTextDocument;

namespace richtext {

// A list format property holding the list's first number when it is not 1: Qt numbers
// every list from 1, but the number is kept for the RTF the list is written to.
constexpr int kListStartProperty = 0x100000 + 1;  // QTextFormat::UserProperty + 1

// Lists whose items carry a bullet rather than a number or a letter.
bool IsBulleted(QTextListFormat::Style style);

// Reads RTF into doc (which is cleared first). Returns false only when the
// text is not RTF at all (doc is then left empty); damaged RTF reads as much
// as it can and returns true. Documents joined end to end read as one.
bool ReadRtf(const QString& rtf, QTextDocument* doc);

// Writes doc as RTF: one Arial font, \fs20 as the default size, \ansicpg1252,
// ending exactly in "\par }". Reading the result and writing it again gives
// the same text.
QString WriteRtf(const QTextDocument& doc);

// The text of an RTF document: its paragraphs (table cells included) joined
// by "\r\n", line breaks as "\r\n". Text that is not RTF comes back unchanged.
QString RtfToPlainText(const QString& rtf);
QString PlainText(const QTextDocument& doc);

// The body of a new topic: an empty document in the house format.
QString EmptyRtf();

// The rule that keeps a stored body ending in "\par }": a body with some
// plain text whose RTF ends in "}" but not in "\par }" gets "\par " before
// its final brace. Anything else comes back as given.
QString EnsureParEnding(const QString& rtf, const QString& plainText);

} // namespace richtext
