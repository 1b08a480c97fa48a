#pragma once

#include "platform/printing/reportpage.h"

#include <QPageLayout>
#include <QPainter>
#include <QSize>
#include <QStringList>

#include <memory>

class QPagedPaintDevice;
class QPdfWriter;
namespace ui {
class Printer;
}
class QTemporaryFile;

namespace printing {

// What the items of a page draw, in twips, without the running line.
void DrawItems(QPainter& painter, const Page& page);
// A whole page of size (twips) as it goes on paper: its recording, or its items while it has
// none, and its running line; the painter counts twips.
void RenderPage(QPainter& painter, const Page& page, QSize size);
// The laid-out primitives of a page as text lines, for comparison.
QStringList RecordOf(const Page& page);
// The paper of a page of width x height twips.
QPageLayout PageLayoutFor(int width, int height);

// Finished pages drawn straight onto a PDF file or a printer one at a time, so that a report
// written out holds no more pages than the one being laid out, at any length.
class PageStream {
public:
    // The PDF goes to a file of its own beside fileName, which takes its name only once every
    // page is written: a run that fails or is cancelled leaves an earlier file as it was.
    static std::unique_ptr<PageStream> ToPdf(const QString& fileName, QSize pageSize);
    static std::unique_ptr<PageStream> ToPrinter(ui::Printer& printer, QSize pageSize);
    ~PageStream();   // abandons what is not finished

    void Add(const Page& page);
    // True when every page went out.
    bool Finish();
    // Nothing of the run is printed or kept.
    void Abandon();

private:
    PageStream() = default;
    bool Begin(QPagedPaintDevice* device, QSize pageSize, qreal scale);

    QSize mSize;
    qreal mScale = 1;
    QString mFileName;
    std::unique_ptr<QTemporaryFile> mPart;
    std::unique_ptr<QPdfWriter> mPdf;
    ui::Printer* mPrinter = nullptr;
    QPagedPaintDevice* mDevice = nullptr;
    QPainter mPainter;
    int mPages = 0;
    bool mOk = false;
};

}  // namespace printing
