#include "platform/printing/pageoutput.h"

#include "platform/printing/reportdocument.h"
#include "platform/printing/textlayout.h"
#include "platform/ui/printersetup.h"
#include "platform/ui/prompter.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QTemporaryFile>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>

#include <sys/stat.h>

namespace printing {

namespace {

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

void DrawText(QPainter& painter, const PageItem& item)
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

void DrawItems(QPainter& painter, const Page& page)
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

void RenderPage(QPainter& painter, const Page& page, QSize size)
{
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
    const qreal y = footer ? size.height() - 360 - h / 2 : 360 - h / 2;
    const QRectF band(720, y, size.width() - 1440, h);
    painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, parts.at(0));
    painter.drawText(band, Qt::AlignHCenter | Qt::AlignVCenter, parts.at(1));
    painter.drawText(band, Qt::AlignRight | Qt::AlignVCenter, parts.at(2));
    painter.setPen(QPen(Qt::black, 10));
    if (Ruled(line.mode))
        painter.drawLine(QPointF(720, footer ? y - 30 : y + h + 30), QPointF(size.width() - 720, footer ? y - 30 : y + h + 30));
    painter.restore();
}

QStringList RecordOf(const Page& page)
{
    QStringList record;
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

// A wide page is a standard sheet turned, which printers take more readily than a custom size.
QPageLayout PageLayoutFor(int width, int height)
{
    const bool landscape = width > height;
    const QSizeF sheet(std::min(width, height) / 1440.0, std::max(width, height) / 1440.0);
    return QPageLayout(QPageSize(sheet, QPageSize::Inch), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

namespace {

// An earlier report keeps its mode; a new one gets 0666 less the user's umask, read from the
// kernel because umask() can only be read by changing it, process-wide, for a moment.
mode_t ReportFileMode(const QString& fileName)
{
    struct stat earlier {};
    if (::stat(QFile::encodeName(fileName).constData(), &earlier) == 0)
        return earlier.st_mode & 07777;
    mode_t mask = 022;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint read = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    mask = mode_t(read);
                break;
            }
        }
    }
    return 0666 & ~mask;
}

} // namespace

std::unique_ptr<PageStream> PageStream::ToPdf(const QString& fileName, QSize pageSize)
{
    std::unique_ptr<PageStream> stream(new PageStream);
    stream->mFileName = fileName;
    const QFileInfo target(fileName);
    if (fileName.isEmpty() || !target.dir().exists() || (target.exists() && !target.isWritable()))
        return stream;
    stream->mPart = std::make_unique<QTemporaryFile>(target.dir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    if (!stream->mPart->open())
        return stream;
    stream->mPart->close();   // the writer opens it by name
    stream->mPdf = std::make_unique<QPdfWriter>(stream->mPart->fileName());
    stream->mPdf->setResolution(1440);
    stream->mPdf->setPageLayout(PageLayoutFor(pageSize.width(), pageSize.height()));
    stream->mPdf->setPageMargins(QMarginsF(0, 0, 0, 0));
    stream->mPdf->setCreator(QStringLiteral("Tolmar"));
    stream->Begin(stream->mPdf.get(), pageSize, 1);
    return stream;
}

std::unique_ptr<PageStream> PageStream::ToPrinter(ui::Printer& printer, QSize pageSize)
{
    std::unique_ptr<PageStream> stream(new PageStream);
    stream->mPrinter = &printer;
    if (!printer.isValid() || !printer.device())
        return stream;
    printer.setPaper(PageLayoutFor(pageSize.width(), pageSize.height()));
    stream->Begin(printer.device(), pageSize, printer.resolution() / 1440.0);
    return stream;
}

bool PageStream::Begin(QPagedPaintDevice* device, QSize pageSize, qreal scale)
{
    mDevice = device;
    mSize = pageSize;
    mScale = scale;
    mOk = mPainter.begin(device);
    return mOk;
}

PageStream::~PageStream()
{
    Abandon();
}

void PageStream::Add(const Page& page)
{
    if (!mOk)
        return;
    if (mPages > 0 && !mDevice->newPage()) {
        mOk = false;
        return;
    }
    mPainter.save();
    mPainter.scale(mScale, mScale);
    RenderPage(mPainter, page, mSize);
    mPainter.restore();
    ++mPages;
}

bool PageStream::Finish()
{
    if (!mOk)
        return false;
    mOk = false;
    if (!mPainter.end())
        return false;
    if (!mPart)
        return true;
    // The unfinished file was made private to this user; the report gets what a file written in place gets.
    ::chmod(QFile::encodeName(mPart->fileName()).constData(), ReportFileMode(mFileName));
    // rename() replaces the earlier file in one step; QFile::rename would not overwrite it.
    if (std::rename(QFile::encodeName(mPart->fileName()).constData(), QFile::encodeName(mFileName).constData()) != 0)
        return false;
    mPart->setAutoRemove(false);
    return true;
}

void PageStream::Abandon()
{
    if (mPainter.isActive()) {
        if (mPrinter)
            mPrinter->abort();
        mPainter.end();
    }
    mOk = false;
    mPdf.reset();
    mPart.reset();   // removes the unfinished file
}

// ---- the document's finished pages ------------------------------------------------------

void ReportDocument::Render(QPainter& painter, int pageIndex) const
{
    if (pageIndex >= 0 && pageIndex < mPages.size())
        RenderPage(painter, mPages.at(pageIndex), QSize(mPageWidth, mPageHeight));
}

bool ReportDocument::WritePdf(const QString& fileName) const
{
    const auto stream = PageStream::ToPdf(fileName, QSize(mPageWidth, mPageHeight));
    for (const Page& page : mPages)
        stream->Add(page);
    return stream->Finish();
}

bool ReportDocument::PrintTo(ui::Printer& printer, int fromPage, int toPage) const
{
    if (mPages.isEmpty())
        return true;
    if (toPage < 0 || toPage >= mPages.size())
        toPage = int(mPages.size()) - 1;
    fromPage = std::clamp(fromPage, 0, toPage);
    const auto stream = PageStream::ToPrinter(printer, QSize(mPageWidth, mPageHeight));
    for (int i = fromPage; i <= toPage; ++i)
        stream->Add(mPages.at(i));
    return stream->Finish();
}

bool ReportDocument::PrintPages(int fromPage, int toPage) const
{
    // The printer or the PDF file chosen in the print dialog, with its paper and orientation.
    ui::Printer& printer = ui::SharedPrinter();
    if (printer.isValid() && PrintTo(printer, fromPage, toPage))
        return true;
    TellNotPrinted(printer);
    return false;
}

void ReportDocument::TellNotPrinted(const ui::Printer& printer)
{
    if (printer.printsToFile())
        TellNotWritten(printer.fileName());
    else
        ui::MsgBox(QStringLiteral("The report could not be sent to the printer."), ui::Buttons::OK, ui::Icon::Critical);
}

QStringList ReportDocument::PageRecord(int pageIndex) const
{
    if (pageIndex < 0 || pageIndex >= mPages.size())
        return QStringList();
    return RecordOf(mPages.at(pageIndex));
}

void ReportDocument::TellNotWritten(const QString& fileName)
{
    ui::MsgBox(ui::Lines({QStringLiteral("The report could not be written to"), fileName,
                          QStringLiteral("Check that the folder exists and that the file is not open elsewhere.")}),
               ui::Buttons::OK, ui::Icon::Critical);
}

}  // namespace printing
