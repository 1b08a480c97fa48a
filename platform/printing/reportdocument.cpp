#include "platform/printing/reportdocument.h"

#include "platform/printing/pageoutput.h"
#include "platform/printing/rtfwriter.h"
#include "platform/printing/textlayout.h"
#include "platform/ui/printersetup.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>
#include <QPicture>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace printing {

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
    if (QFontDatabase::families().contains(name, Qt::CaseInsensitive))
        return true;
    // A family the font system stands in for by name (Arial by Liberation Sans, which has its
    // metrics, through a fontconfig alias) is there too; one it only falls back from is not.
    const QString standIn = QFontInfo(QFont(name)).family();
    return standIn.compare(QFontInfo(QFont(QStringLiteral("No Such Family"))).family(), Qt::CaseInsensitive) != 0;
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
    // A run written to a PDF file or a printer has no RTF form: that of a long report would take
    // more memory than all else.
    mRtf.reset();
    if (output == Output::Preview || output == Output::Rtf)
        mRtf = std::make_unique<RtfWriter>(mPageWidth, mPageHeight);
    mStream.reset();
    if (output == Output::Pdf)
        mStream = PageStream::ToPdf(fileName, QSize(mPageWidth, mPageHeight));
    else if (output == Output::Printer)
        mStream = PageStream::ToPrinter(ui::SharedPrinter(), QSize(mPageWidth, mPageHeight));
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
    if (mRtf)
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
    if (mRtf)
        mRtf->FinishPage(mRunning, page.number);
    if (mStream) {
        mStream->Add(page);
        page.items = QList<PageItem>();   // clear() would keep the list's room
        return;
    }
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
        if (mStream->Finish())
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
        if (mStream->Finish())
            return true;
        TellNotPrinted(ui::SharedPrinter());
        return false;
    }
    TellNotWritten(mFileName);
    return false;
}

void ReportDocument::CancelDoc()
{
    if (!mOpen)
        return;
    mTable.reset();
    Log([] { return QStringLiteral("CancelDoc"); });
    if (mStream)
        mStream->Abandon();
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
    if (mRtf)
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
        if (fill && mRtf)
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
    if (mRtf)
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
    if (mRtf)
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

}  // namespace printing
