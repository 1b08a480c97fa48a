#include "platform/printing/textlayout.h"

#include "platform/richtext/rtf.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QImage>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace printing {

namespace {

// Rich text is read with its lengths in screen pixels (96 an inch); the layout device counts twips.
// Qt's layout scales list indents and every length of a table (borders, padding, spacing, column
// widths) to the device by itself, so those stay as read: scaled again, a list would start some
// 9,000 twips in and a table run far off the page.
void ScaleLengths(QTextDocument& doc)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat bf = block.blockFormat();
        bf.setLeftMargin(bf.leftMargin() * kTwipsPerPixel);
        bf.setRightMargin(bf.rightMargin() * kTwipsPerPixel);
        bf.setTopMargin(bf.topMargin() * kTwipsPerPixel);
        bf.setBottomMargin(bf.bottomMargin() * kTwipsPerPixel);
        bf.setTextIndent(bf.textIndent() * kTwipsPerPixel);
        QTextCursor(block).setBlockFormat(bf);
    }
}

Qt::Alignment HorizontalAlignment(Align code)
{
    switch (Horizontal(code)) {
    case Align::Center: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
    default: return Qt::AlignLeft;
    }
}

}  // namespace

QPaintDevice* LayoutDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(56693);
        image.setDotsPerMeterY(56693);
        return image;
    }();
    return &device;
}

bool IsRtf(const QString& text)
{
    return text.startsWith(QStringLiteral("{\\"));
}

qreal DocHeight(const QTextDocument& doc)
{
    return doc.documentLayout()->documentSize().height();
}

QList<LineBox> Lines(const QTextDocument& doc)
{
    QList<LineBox> lines;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        if (!layout)
            continue;
        const QRectF blockRect = doc.documentLayout()->blockBoundingRect(block);
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            lines.append({blockRect.top() + line.y(), blockRect.top() + line.y() + line.height(),
                          block.text().mid(line.textStart(), line.textLength()).trimmed(), blockRect.left() + line.x()});
        }
    }
    std::sort(lines.begin(), lines.end(), [](const LineBox& a, const LineBox& b) { return a.top < b.top; });
    return lines;
}

void FitWidestWord(QFont& font, const QString& text, int width)
{
    if (width <= 0 || IsRtf(text))
        return;
    QFontMetricsF metrics(font, LayoutDevice());
    if (metrics.horizontalAdvance(text) <= width)
        return;   // most cells: the whole text fits, so every word does
    static const QRegularExpression kSpaces(QStringLiteral("\\s+"));
    const QStringList words = text.split(kSpaces, Qt::SkipEmptyParts);
    auto widest = [&] {
        qreal w = 0;
        for (const QString& word : words)
            w = std::max(w, metrics.horizontalAdvance(word));
        return w;
    };
    const int full = font.pixelSize();
    const int smallest = (full * 2 + 2) / 3;
    for (qreal w = widest(); w > width && font.pixelSize() > smallest; w = widest()) {
        font.setPixelSize(std::max(smallest, std::min(font.pixelSize() - 1, int(font.pixelSize() * width / w))));
        metrics = QFontMetricsF(font, LayoutDevice());
    }
}

std::shared_ptr<QTextDocument> MakeDocument(const QString& text, const QFont& font, int width, int firstLineIndent,
                                            Align align)
{
    auto doc = std::make_shared<QTextDocument>();
    doc->documentLayout()->setPaintDevice(LayoutDevice());
    doc->setDocumentMargin(0);
    doc->setDefaultFont(font);
    doc->setUndoRedoEnabled(false);
    bool rich = false;
    // A plain lead-in before a whole RTF document (a row's number before a stored description, as
    // the page-break tests measure it) is that lead-in followed by the formatted text, not markup.
    QString lead, body = text;
    const qsizetype at = text.indexOf(QStringLiteral("{\\rtf"));
    if (at > 0 && !IsRtf(text) && !text.left(at).contains(u'{')) {
        lead = text.left(at);
        body = text.mid(at);
    }
    if (IsRtf(body)) {
        QString rtf = body;
        if (!body.startsWith(QStringLiteral("{\\rtf"))) {
            rtf = QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 %1;}}\\f0\\fs%2%3 %4}")
                      .arg(font.family()).arg(qRound(font.pixelSize() / 10.0))
                      .arg(font.bold() ? QStringLiteral("\\b") : QString(), body);
        }
        rich = richtext::ReadRtf(rtf, doc.get());
        doc->setDefaultFont(font);
        if (rich) {
            ScaleLengths(*doc);
            if (!lead.isEmpty())
                QTextCursor(doc.get()).insertText(lead);
        }
    }
    if (!rich) {
        QString plain = text;
        plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        doc->setPlainText(plain);
    }
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        QTextCursor cursor(block);
        QTextBlockFormat bf = block.blockFormat();
        if (!rich)
            bf.setAlignment(HorizontalAlignment(align));
        if (block == doc->begin())
            bf.setTextIndent(bf.textIndent() + FormatLength(firstLineIndent));
        cursor.setBlockFormat(bf);
    }
    doc->setTextWidth(std::max(1, width));
    return doc;
}

qreal CutBefore(const QTextDocument& doc, qreal from, qreal limit)
{
    const QList<LineBox> lines = Lines(doc);
    qreal cut = from;
    for (const LineBox& l : lines) {
        if (l.bottom > limit + 0.5)
            break;
        const bool straddled = std::any_of(lines.begin(), lines.end(), [&](const LineBox& o) {
            return o.top < l.bottom - 0.5 && o.bottom > l.bottom + 0.5;
        });
        if (!straddled && l.bottom > cut)
            cut = l.bottom;
    }
    return cut;
}

qreal NextLineBottom(const QTextDocument& doc, qreal from)
{
    for (const LineBox& l : Lines(doc))
        if (l.bottom > from + 0.5)
            return l.bottom;
    return DocHeight(doc);
}

QStringList LinesWithin(const QTextDocument& doc, qreal from, qreal to)
{
    QStringList out;
    for (const LineBox& l : Lines(doc))
        if (l.top >= from - 0.5 && l.bottom <= to + 0.5)
            out.append(l.text);
    return out;
}

}  // namespace printing
