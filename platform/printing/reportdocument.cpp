#include "platform/printing/reportdocument.h"
#include "platform/ui/printersetup.h"

#include "platform/printing/rtfwriter.h"
#include "platform/richtext/rtf.h"
#include "platform/ui/prompter.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>

#include <algorithm>

namespace printing {

namespace {

// Documents are laid out on a device of 1440 dots an inch, so one device pixel is one twip and
// point sizes of rich text resolve to twips.
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

// Lengths in text formats are device pixels: twips here.
qreal FormatLength(int twips)
{
    return twips;
}

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

// "{\rtf1..." is a whole RTF document and "{\par\b Label:}  value" a fragment; "{draft}" is plain text.
bool IsRtf(const QString& text)
{
    return text.startsWith(QStringLiteral("{\\"));
}

qreal DocHeight(const QTextDocument& doc)
{
    return doc.documentLayout()->documentSize().height();
}

struct LineBox {
    qreal top, bottom;
    QString text;
    qreal left;
};

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

QString FontRecord(const QFont& f)
{
    return QStringLiteral("%1 %2%3%4").arg(f.family()).arg(f.pixelSize() / 20.0)
        .arg(f.bold() ? QStringLiteral(" b") : QString()).arg(f.italic() ? QStringLiteral(" i") : QString());
}

// Hatches are drawn as lines rather than with pattern brushes, whose cells are device pixels and
// so would come out at another size on paper, in the PDF and on screen.
void DrawHatch(QPainter& painter, const QRectF& rect, const QColor& color, int style)
{
    constexpr qreal kSpacing = 100;
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setPen(QPen(color, 10));
    const bool horizontal = style == 2 || style == 6;
    const bool vertical = style == 3 || style == 6;
    const bool falling = style == 4 || style == 7;
    const bool rising = style == 5 || style == 7;
    if (horizontal)
        for (qreal y = rect.top() + kSpacing / 2; y < rect.bottom(); y += kSpacing)
            painter.drawLine(QPointF(rect.left(), y), QPointF(rect.right(), y));
    if (vertical)
        for (qreal x = rect.left() + kSpacing / 2; x < rect.right(); x += kSpacing)
            painter.drawLine(QPointF(x, rect.top()), QPointF(x, rect.bottom()));
    const qreal span = rect.width() + rect.height();
    for (qreal d = kSpacing / 2; d < span; d += kSpacing) {
        if (falling)
            painter.drawLine(QPointF(rect.left() + d - rect.height(), rect.top()), QPointF(rect.left() + d, rect.bottom()));
        if (rising)
            painter.drawLine(QPointF(rect.left() + d, rect.top()), QPointF(rect.left() + d - rect.height(), rect.bottom()));
    }
    painter.restore();
}

// A wide page is a standard sheet turned, which printers take more readily than a custom size.
QPageLayout PageLayoutFor(int width, int height)
{
    const bool landscape = width > height;
    const QSizeF sheet(std::min(width, height) / 1440.0, std::max(width, height) / 1440.0);
    return QPageLayout(QPageSize(sheet, QPageSize::Inch), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

}  // namespace

QStringList RunningLineParts(const RunningLine& line, int pageNumber)
{
    QStringList parts = SplitCells(line.text);
    while (parts.size() < 3)
        parts.append(QString());
    for (QString& part : parts)
        part.replace(QStringLiteral("%d"), QString::number(pageNumber));
    return parts.mid(0, 3);
}

ReportDocument::ReportDocument(QObject* parent) : QObject(parent)
{
    Reset();
}

ReportDocument::~ReportDocument() = default;

void ReportDocument::Reset()
{
    mHeading.clear();
    mTop = mLeft = mRight = mBottom = 720;
    mLayoutMode = 0;
    mTextAlign = Align::Left;
    mIndentLeft = mIndentSecond = mIndentThird = 0;
    mFontSize = 10;
    mBold = mItalic = false;
    mPenColor = Qt::black;
    mPenWidth = 0;
    mBrushColor = Qt::black;
    mBrushStyle = 0;
    mTableLineStyle = LineStyle::None;
    mRowSetting = mHeaderSetting = 0;
    mFontName = FontExists(QStringLiteral("Arial")) ? QStringLiteral("Arial") : QFont().family();
    mRunning = RunningLine();
    mRunning.font = QFont(mFontName);
    mRunning.font.setPixelSize(200);
}

bool ReportDocument::FontExists(const QString& name)
{
    return QFontDatabase::families().contains(name, Qt::CaseInsensitive);
}

void ReportDocument::SetFontName(const QString& name)
{
    if (!name.isEmpty())
        mFontName = name;
}

void ReportDocument::SetFontSize(double points)
{
    if (points > 0)
        mFontSize = points;
}

QFont ReportDocument::CurrentFont() const
{
    QFont font(mFontName);
    font.setPixelSize(std::max(1, int(std::lround(mFontSize * 20))));
    font.setBold(mBold);
    font.setItalic(mItalic);
    return font;
}

void ReportDocument::SetRunningLineFont(const QString& name, double points, bool bold)
{
    if (!name.isEmpty())
        mRunning.font.setFamily(name);
    if (points > 0)
        mRunning.font.setPixelSize(int(std::lround(points * 20)));
    mRunning.font.setBold(bold);
}

void ReportDocument::SetPageSize(int width, int height)
{
    if (width > 1440 && height > 1440) {
        mNextWidth = width;
        mNextHeight = height;
        if (!mOpen) {
            mPageWidth = width;
            mPageHeight = height;
        }
    }
}

// ---- document ----------------------------------------------------------------------------

void ReportDocument::StartDoc(Output output, const QString& fileName)
{
    mOutput = output;
    mFileName = fileName;
    mPages.clear();
    mTable.reset();
    mPageWidth = mNextWidth;
    mPageHeight = mNextHeight;
    mRtf = std::make_unique<RtfWriter>(mPageWidth, mPageHeight);
    // Every run starts from the same layout, whatever an earlier run left behind.
    Reset();
    mOpen = true;
    Log([] { return QStringLiteral("StartDoc"); });
    StartPage(true);
}

void ReportDocument::StartPage(bool asked)
{
    Page page;
    page.number = int(mPages.size()) + 1;
    mPages.append(page);
    mRtf->StartPage(page.number, asked);
    mY = mTop;
    mX = mLeft;
    mXSet = false;
    if (mNewPageHandler)
        mNewPageHandler(*this);
}

void ReportDocument::FinishPage()
{
    Page& page = mPages.last();
    page.runningLine = mRunning;
    mRtf->FinishPage(mRunning, page.number);
    // A finished page keeps what it draws as one recording; its text documents go, since those
    // of a long report would take many times the memory of the recordings.
    auto drawing = std::make_shared<QPicture>();
    {
        QPainter painter(drawing.get());
        DrawItems(painter, page);
    }
    page.drawing = std::move(drawing);
    for (PageItem& item : page.items)
        item.doc.reset();
}

void ReportDocument::NewPage()
{
    if (!mOpen)
        return;
    Log([] { return QStringLiteral("NewPage"); });
    FinishPage();
    mHeading.clear();
    StartPage(true);
}

void ReportDocument::OverflowPage()
{
    if (!mOpen)
        return;
    Log([] { return QStringLiteral("NewPage"); });
    FinishPage();
    StartPage(false);
    RepeatHeadingRows();
}

void ReportDocument::RepeatHeadingRows()
{
    if (mHeading.isEmpty() || mRepeatingHeading)
        return;
    mRepeatingHeading = true;
    const TableLook before = CurrentTableLook();
    for (const Heading& h : std::as_const(mHeading)) {
        SetTableLook(h.look);
        Log([&] { return QStringLiteral("Heading again \"%1\" %2").arg(h.formatAndRows, State()); });
        LayOutRows(TableFormat::Parse(h.formatAndRows), true);
    }
    SetTableLook(before);
    mRepeatingHeading = false;
}

ReportDocument::TableLook ReportDocument::CurrentTableLook() const
{
    return {mFontName, mFontSize, mBold, mItalic, mTableLineStyle, mRowSetting, mHeaderSetting};
}

void ReportDocument::SetTableLook(const TableLook& look)
{
    mFontName = look.fontName;
    mFontSize = look.fontSize;
    mBold = look.bold;
    mItalic = look.italic;
    mTableLineStyle = look.lineStyle;
    mRowSetting = look.rowSetting;
    mHeaderSetting = look.headerSetting;
}

bool ReportDocument::EndDoc()
{
    if (!mOpen)
        return true;
    if (mTable)
        EndTable();
    Log([] { return QStringLiteral("EndDoc"); });
    FinishPage();
    mOpen = false;
    emit Finished();
    switch (mOutput) {
    case Output::Preview:
        return true;
    case Output::Pdf:
        if (WritePdf(mFileName))
            return true;
        break;
    case Output::Rtf: {
        QFile file(mFileName);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            const QByteArray bytes = Rtf().toLatin1();
            if (file.write(bytes) == bytes.size() && file.flush())
                return true;
        }
        break;
    }
    case Output::Printer:
        return PrintPages();
    }
    TellNotWritten(mFileName);
    return false;
}

void ReportDocument::TellNotWritten(const QString& fileName)
{
    ui::MsgBox(ui::Lines({QStringLiteral("The report could not be written to"), fileName,
                          QStringLiteral("Check that the folder exists and that the file is not open elsewhere.")}),
               ui::Buttons::OK, ui::Icon::Critical);
}

void ReportDocument::CancelDoc()
{
    if (!mOpen)
        return;
    mTable.reset();
    Log([] { return QStringLiteral("CancelDoc"); });
    FinishPage();
    mOpen = false;
    emit Finished();
}

void ReportDocument::AddItem(const PageItem& item)
{
    if (!mOpen)
        return;
    mPages.last().items.append(item);
    PageItem& added = mPages.last().items.last();
    if (added.kind == PageItem::Kind::Text && added.doc)
        added.font = added.doc->defaultFont();
}

// ---- text --------------------------------------------------------------------------------

void ReportDocument::FitWidestWord(QFont& font, const QString& text, int width) const
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

std::shared_ptr<QTextDocument> ReportDocument::MakeDocument(const QString& text, const QFont& font, int width,
                                                            int firstLineIndent, Align align) const
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

qreal ReportDocument::CutBefore(const QTextDocument& doc, qreal from, qreal limit)
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

qreal ReportDocument::NextLineBottom(const QTextDocument& doc, qreal from)
{
    for (const LineBox& l : Lines(doc))
        if (l.bottom > from + 0.5)
            return l.bottom;
    return DocHeight(doc);
}

QStringList ReportDocument::LinesWithin(const QTextDocument& doc, qreal from, qreal to)
{
    QStringList out;
    for (const LineBox& l : Lines(doc))
        if (l.top >= from - 0.5 && l.bottom <= to + 0.5)
            out.append(l.text);
    return out;
}

void ReportDocument::FlowDocument(const std::shared_ptr<QTextDocument>& doc, int x)
{
    const qreal height = DocHeight(*doc);
    // A first line set out left of the paragraph (a heading before its indented text) is part of
    // the paragraph's box on the page.
    qreal left = 0;
    for (const LineBox& l : Lines(*doc))
        left = std::min(left, l.left);
    qreal source = 0;
    bool freshPage = false;   // a page this text has just started
    while (true) {
        const qreal room = BottomLimit() - mY;
        qreal cut = height;
        if (height - source > room) {
            cut = CutBefore(*doc, source, source + room);
            if (cut <= source) {
                if (!freshPage && (!mPages.last().items.isEmpty() || mY > mTop)) {
                    OverflowPage();   // go on at the top of the next page
                    freshPage = true;
                    continue;
                }
                // Not even one line fits on an empty page: print one line at a time.
                cut = std::min(height, NextLineBottom(*doc, source));
            }
        }
        PageItem item;
        item.doc = doc;
        item.sourceTop = source;
        item.sourceLeft = left;
        item.rect = QRectF(x + left, mY, doc->textWidth() - left, cut - source);
        item.lines = LinesWithin(*doc, source, cut);
        AddItem(item);
        mY += int(std::lround(cut - source));
        source = cut;
        if (source >= height - 0.5)
            return;
        OverflowPage();
        freshPage = true;
    }
}

std::shared_ptr<QTextDocument> ReportDocument::ParagraphDocument(const QString& text, int& origin, int& first) const
{
    origin = mLeft + mIndentLeft;
    first = (mXSet ? mX - origin : 0) - mIndentSecond;
    auto doc = MakeDocument(text, CurrentFont(), RightEdge() - origin - mIndentSecond, first, mTextAlign);
    if (mIndentSecond != 0) {
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
            QTextCursor cursor(block);
            QTextBlockFormat bf = block.blockFormat();
            bf.setLeftMargin(bf.leftMargin() + FormatLength(mIndentSecond));
            cursor.setBlockFormat(bf);
        }
        doc->setTextWidth(RightEdge() - origin);
    }
    return doc;
}

void ReportDocument::PlaceText(const QString& text, bool endLine)
{
    if (!mOpen)
        return;
    if (mTable)
        EndTable();
    int origin = 0, first = 0;
    auto doc = ParagraphDocument(text, origin, first);
    mRtf->Paragraph(*doc, Horizontal(mTextAlign), origin, RightEdge(), endLine);
    FlowDocument(doc, origin);
    if (endLine) {
        mX = mLeft;
        mXSet = false;
        return;
    }
    // Text without a line end: the next text goes on after its last line, on that line.
    QTextBlock last = doc->lastBlock();
    const QTextLayout* layout = last.layout();
    if (layout && layout->lineCount() > 0) {
        const QTextLine line = layout->lineAt(layout->lineCount() - 1);
        const qreal blockX = doc->documentLayout()->blockBoundingRect(last).left();
        mX = origin + int(std::lround(blockX + line.x() + line.naturalTextWidth()));
        mY -= int(std::lround(line.height()));
    }
    mXSet = true;
}

void ReportDocument::Paragraph(const QString& text)
{
    Log([&] { return QStringLiteral("Paragraph \"%1\" %2").arg(text, State()); });
    PlaceText(text, true);
}

void ReportDocument::Text(const QString& text)
{
    Log([&] { return QStringLiteral("Text \"%1\" %2").arg(text, State()); });
    PlaceText(text, false);
}

QRect ReportDocument::MeasureParagraph(const QString& text) const
{
    int origin = 0, first = 0;
    auto doc = ParagraphDocument(text, origin, first);
    return QRect(origin, mY, RightEdge() - origin, int(std::lround(DocHeight(*doc))));
}

// ---- boxes and drawing ----------------------------------------------------------------------

int ReportDocument::MeasureTextBox(const QString& text, int width) const
{
    auto doc = MakeDocument(text, CurrentFont(), width, 0, mTextAlign);
    return int(std::lround(DocHeight(*doc)));
}

void ReportDocument::TextBox(const QString& text, int left, int top, int width, int height, bool fill)
{
    if (!mOpen)
        return;
    Log([&] { return QStringLiteral("TextBox \"%1\" %2,%3 %4x%5%6 %7").arg(text).arg(left).arg(top).arg(width).arg(height)
            .arg(fill ? QStringLiteral(" fill %1 %2").arg(mBrushColor.name()).arg(mBrushStyle) : QString(), State()); });
    if (fill || (text.isEmpty() && height > 0)) {
        PageItem box;
        box.kind = PageItem::Kind::Box;
        box.rect = QRectF(left, top, width, height);
        box.fill = fill;
        box.frame = true;
        box.brushColor = mBrushColor;
        box.brushStyle = mBrushStyle;
        box.penColor = mPenColor;
        box.penWidth = mPenWidth;
        AddItem(box);
        if (fill)
            mRtf->FilledBox(QRect(left, top, width, height), mBrushColor);
    }
    if (text.isEmpty())
        return;
    auto doc = MakeDocument(text, CurrentFont(), width, 0, mTextAlign);
    const int needed = int(std::lround(DocHeight(*doc)));
    const int boxHeight = height > 0 ? height : needed;
    const int dy = (CentredVertically(mTextAlign) && height > 0) ? std::max(0, (height - needed) / 2) : 0;
    PageItem item;
    item.doc = doc;
    item.rect = QRectF(left, top + dy, width, std::min(needed, boxHeight));
    for (const LineBox& l : Lines(*doc))
        item.lines.append(l.text);
    AddItem(item);
    mRtf->TextBox(QRect(left, top, width, boxHeight), *doc);
}

void ReportDocument::DrawLine(int x1, int y1, int x2, int y2)
{
    Log([&] { return QStringLiteral("DrawLine %1,%2 %3,%4 pen %5 %6").arg(x1).arg(y1).arg(x2).arg(y2).arg(mPenColor.name()).arg(mPenWidth); });
    PageItem line;
    line.kind = PageItem::Kind::Line;
    line.from = QPointF(x1, y1);
    line.to = QPointF(x2, y2);
    line.penColor = mPenColor;
    line.penWidth = mPenWidth;
    AddItem(line);
}

void ReportDocument::InsertRtf(const QString& rtf)
{
    if (!mOpen)
        return;
    Log([&] { return QStringLiteral("InsertRtf %1").arg(rtf); });
    mRtf->Raw(rtf);
}

QString ReportDocument::Rtf() const
{
    return mRtf ? mRtf->Document() : QString();
}

// ---- tables ------------------------------------------------------------------------------

void ReportDocument::TableRows(const QString& formatAndRows)
{
    PrintTableRows(formatAndRows, false);
}

void ReportDocument::HeadingRows(const QString& formatAndRows)
{
    PrintTableRows(formatAndRows, true);
}

void ReportDocument::PrintTableRows(const QString& formatAndRows, bool heading)
{
    if (!mOpen)
        return;
    if (mTable)
        EndTable();
    Log([&] { return QStringLiteral("TableRows \"%1\"%2 style %3 row %4 header %5 %6")
            .arg(formatAndRows, heading ? QStringLiteral(" heading") : QString())
            .arg(int(mTableLineStyle)).arg(mRowSetting).arg(mHeaderSetting).arg(State()); });
    LayOutRows(TableFormat::Parse(formatAndRows), heading);
    // Recorded once placed: rows that themselves run over a page end are not repeated there.
    if (heading)
        mHeading.append({formatAndRows, CurrentTableLook()});
}

void ReportDocument::LayOutRows(const TableFormat& format, bool heading)
{
    if (format.columns.isEmpty() || format.rows.isEmpty())
        return;
    ReportTable table(format.columns, {}, format.rows, mFontSize, mBold, mTableLineStyle, mHeaderSetting,
                      mHeaderSetting > 0 ? 0 : mRowSetting);
    table.SetHeading(heading);
    table.Layout(*this);
}

void ReportDocument::AddTable(const QString& format, const QString& header, const QString& body)
{
    if (mTable)
        EndTable();
    Log([&] { return QStringLiteral("AddTable \"%1\" \"%2\" \"%3\" style %4 %5").arg(format, header, body).arg(int(mTableLineStyle)).arg(State()); });
    QString columnFormat = format;
    if (columnFormat.endsWith(u';'))
        columnFormat.chop(1);
    QString head = header;
    if (head.endsWith(u';'))
        head.chop(1);
    QList<QStringList> rows;
    for (const QString& row : body.split(u';', Qt::SkipEmptyParts))
        rows.append(SplitCells(row));
    mTable = std::make_unique<ReportTable>(TableFormat::ParseColumns(columnFormat), SplitCells(head), rows, mFontSize,
                                           mBold, mTableLineStyle, mHeaderSetting, mRowSetting);
}

void ReportDocument::EndTable()
{
    if (!mTable)
        return;
    std::unique_ptr<ReportTable> table = std::move(mTable);
    Log([&] { return QStringLiteral("EndTable %1 rows").arg(table->Rows()); });
    if (mOpen)
        table->Layout(*this);
}

QString ReportDocument::State() const
{
    return QStringLiteral("at %1,%2 margins %3,%4,%5,%6 indents %7,%8,%9 align %10 %11 %12%13%14")
        .arg(mXSet ? mX : mLeft + mIndentLeft).arg(mY).arg(mTop).arg(mLeft).arg(mRight).arg(mBottom)
        .arg(mIndentLeft).arg(mIndentSecond).arg(mIndentThird).arg(int(mTextAlign)).arg(mFontName).arg(mFontSize)
        .arg(mBold ? QStringLiteral(" b") : QString()).arg(mItalic ? QStringLiteral(" i") : QString());
}

// ---- output ------------------------------------------------------------------------------

void ReportDocument::DrawText(QPainter& painter, const PageItem& item)
{
    if (!item.doc)
        return;
    painter.save();
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    if (item.vertical) {
        painter.translate(item.rect.left(), item.rect.bottom());
        painter.rotate(-90);
        context.clip = QRectF(0, 0, item.rect.height(), item.rect.width());
    } else {
        painter.translate(item.rect.left() - item.sourceLeft, item.rect.top() - item.sourceTop);
        context.clip = QRectF(-1e6, item.sourceTop, 2e6, item.rect.height());
        painter.setClipRect(context.clip);
    }
    item.doc->documentLayout()->draw(&painter, context);
    painter.restore();
}

void ReportDocument::DrawItems(QPainter& painter, const Page& page)
{
    for (const PageItem& item : page.items) {
        painter.save();
        QPen pen(item.penColor);
        pen.setWidthF(item.penWidth);
        switch (item.kind) {
        case PageItem::Kind::Line:
            painter.setPen(pen);
            painter.drawLine(item.from, item.to);
            break;
        case PageItem::Kind::Box:
            painter.setPen(item.frame ? pen : QPen(Qt::NoPen));
            painter.setBrush(item.fill && item.brushStyle == 0 ? QBrush(item.brushColor) : QBrush(Qt::NoBrush));
            painter.drawRect(item.rect);
            if (item.fill && item.brushStyle >= 2)
                DrawHatch(painter, item.rect, item.brushColor, item.brushStyle);
            break;
        case PageItem::Kind::Text:
            DrawText(painter, item);
            break;
        }
        painter.restore();
    }
}

void ReportDocument::Render(QPainter& painter, int pageIndex) const
{
    if (pageIndex < 0 || pageIndex >= mPages.size())
        return;
    const Page& page = mPages.at(pageIndex);
    if (page.drawing) {
        painter.save();
        // A picture plays back scaled by the device's resolution over its own; the recording
        // is in twips already.
        const QPaintDevice* device = painter.device();
        painter.scale(page.drawing->logicalDpiX() / qreal(device->logicalDpiX()),
                      page.drawing->logicalDpiY() / qreal(device->logicalDpiY()));
        painter.drawPicture(QPointF(0, 0), *page.drawing);
        painter.restore();
    } else {
        DrawItems(painter, page);
    }

    // The running line, centred in the top (or bottom) margin band.
    const RunningLine& line = page.runningLine;
    const QStringList parts = RunningLineParts(line, page.number);
    if ((parts.join(QString())).isEmpty())
        return;
    painter.save();
    painter.setFont(line.font);
    painter.setPen(Qt::black);
    const bool footer = InFooter(line.mode);
    const QFontMetricsF metrics(line.font, LayoutDevice());
    const qreal h = metrics.height();
    const qreal y = footer ? mPageHeight - 360 - h / 2 : 360 - h / 2;
    const QRectF band(720, y, mPageWidth - 1440, h);
    painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, parts.at(0));
    painter.drawText(band, Qt::AlignHCenter | Qt::AlignVCenter, parts.at(1));
    painter.drawText(band, Qt::AlignRight | Qt::AlignVCenter, parts.at(2));
    painter.setPen(QPen(Qt::black, 10));
    if (Ruled(line.mode))
        painter.drawLine(QPointF(720, footer ? y - 30 : y + h + 30), QPointF(mPageWidth - 720, footer ? y - 30 : y + h + 30));
    painter.restore();
}

bool ReportDocument::WritePdf(const QString& fileName) const
{
    if (fileName.isEmpty())
        return false;
    {
        QFile probe(fileName);
        if (!probe.open(QIODevice::WriteOnly))
            return false;
    }
    QPdfWriter writer(fileName);
    writer.setResolution(1440);
    writer.setPageLayout(PageLayoutFor(mPageWidth, mPageHeight));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("Tolmar"));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    for (int i = 0; i < mPages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        Render(painter, i);
    }
    return painter.end();
}

bool ReportDocument::PrintTo(QPrinter& printer, int fromPage, int toPage) const
{
    if (mPages.isEmpty())
        return true;
    if (toPage < 0 || toPage >= mPages.size())
        toPage = int(mPages.size()) - 1;
    fromPage = std::clamp(fromPage, 0, toPage);
    printer.setFullPage(true);
    printer.setPageLayout(PageLayoutFor(mPageWidth, mPageHeight));
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const qreal scale = printer.resolution() / 1440.0;
    for (int i = fromPage; i <= toPage; ++i) {
        if (i > fromPage)
            printer.newPage();
        painter.save();
        painter.scale(scale, scale);
        Render(painter, i);
        painter.restore();
    }
    return painter.end();
}

bool ReportDocument::PrintPages(int fromPage, int toPage) const
{
    // The printer or the PDF file chosen in the print dialog, with its paper and orientation.
    QPrinter& printer = ui::SharedPrinter();
    if (printer.isValid() && PrintTo(printer, fromPage, toPage))
        return true;
    if (printer.outputFormat() == QPrinter::PdfFormat)
        TellNotWritten(printer.outputFileName());
    else
        ui::MsgBox(QStringLiteral("The report could not be sent to the printer."), ui::Buttons::OK, ui::Icon::Critical);
    return false;
}

// ---- record ------------------------------------------------------------------------------

QStringList ReportDocument::PageRecord(int pageIndex) const
{
    QStringList record;
    if (pageIndex < 0 || pageIndex >= mPages.size())
        return record;
    const Page& page = mPages.at(pageIndex);
    for (const PageItem& item : page.items) {
        switch (item.kind) {
        case PageItem::Kind::Line:
            record << QStringLiteral("line %1,%2 %3,%4").arg(item.from.x()).arg(item.from.y())
                          .arg(item.to.x()).arg(item.to.y());
            break;
        case PageItem::Kind::Box:
            record << QStringLiteral("box %1,%2 %3x%4%5%6").arg(item.rect.x()).arg(item.rect.y())
                          .arg(item.rect.width()).arg(item.rect.height())
                          .arg(item.fill ? QStringLiteral(" fill %1 %2").arg(item.brushColor.name()).arg(item.brushStyle) : QString())
                          .arg(item.frame ? QStringLiteral(" frame") : QString());
            break;
        case PageItem::Kind::Text:
            record << QStringLiteral("text %1,%2 %3x%4%5 %6 \"%7\"").arg(qRound(item.rect.x())).arg(qRound(item.rect.y()))
                          .arg(qRound(item.rect.width())).arg(qRound(item.rect.height()))
                          .arg(item.vertical ? QStringLiteral(" vertical") : QString())
                          .arg(item.kind == PageItem::Kind::Text && item.font != QFont() ? FontRecord(item.font) : QString(), item.lines.join(u'/'));
            break;
        }
    }
    const QStringList parts = RunningLineParts(page.runningLine, page.number);
    record << QStringLiteral("running %1 [%2|%3|%4] %5").arg(int(page.runningLine.mode))
                  .arg(parts.at(0), parts.at(1), parts.at(2), FontRecord(page.runningLine.font));
    return record;
}

}  // namespace printing
