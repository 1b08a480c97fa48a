#pragma once

#include "platform/printing/reportpage.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QPaintDevice;
class QTextDocument;

namespace printing {

// Text is laid out on a device of 1440 dots an inch, so one device pixel is one twip and point
// sizes of rich text resolve to twips.
QPaintDevice* LayoutDevice();
// Lengths in text formats are device pixels: twips here.
inline qreal FormatLength(int twips) { return twips; }

// "{\rtf1..." is a whole RTF document and "{\par\b Label:}  value" a fragment; "{draft}" is plain text.
bool IsRtf(const QString& text);

// A text laid out in font, width twips wide, its first line moved by firstLineIndent: rich text
// as its RTF says, plain text aligned as align says.
std::shared_ptr<QTextDocument> MakeDocument(const QString& text, const QFont& font, int width, int firstLineIndent,
                                            Align align);
qreal DocHeight(const QTextDocument& doc);

// Sets a table cell's font smaller, down to two thirds of its size, until the widest word of a
// plain text fits the cell's width, so that no word breaks inside itself.
void FitWidestWord(QFont& font, const QString& text, int width);

// One laid-out line of a document, from the document's top-left corner.
struct LineBox {
    qreal top, bottom;
    QString text;
    qreal left;
};
// The lines of doc from top to bottom.
QList<LineBox> Lines(const QTextDocument& doc);
// The lowest line end of doc within (from, limit] that no line straddles; from when none.
qreal CutBefore(const QTextDocument& doc, qreal from, qreal limit);
// The bottom of the first line of doc that ends below from.
qreal NextLineBottom(const QTextDocument& doc, qreal from);
// The text lines of doc lying within [from, to].
QStringList LinesWithin(const QTextDocument& doc, qreal from, qreal to);

}  // namespace printing
