#pragma once

#include "platform/printing/reportpage.h"
#include "platform/printing/reporttable.h"

#include <QColor>
#include <QObject>
#include <QSizeF>

#include <functional>
#include <memory>
#include <optional>

class QPainter;
namespace ui {
class Printer;
}
class QTextDocument;

namespace printing {

class PageStream;
class RtfWriter;

enum class Output { Preview, Printer, Pdf, Rtf };

// The report document: every call is laid out at once against the page, so callers can read the
// current position back, measure before printing, and the preview, the printed pages, the PDF and
// the RTF file all come from the same run. Lengths are twips, font sizes points.
class ReportDocument : public QObject {
    Q_OBJECT
public:
    static constexpr int kLetterWidth = 12240;
    static constexpr int kLetterHeight = 15840;

    explicit ReportDocument(QObject* parent = nullptr);
    ~ReportDocument() override;

    // Document
    // Starts a document on a fresh page with the starting layout: margins of 720, the default font
    // at 10 points, left alignment, no indents, no running line.
    void StartDoc(Output output = Output::Preview, const QString& fileName = QString());
    // Finishes the last page and writes the file or the print job of the run. False when that failed
    // (the user has been told).
    bool EndDoc();
    // Ends a run that failed part way: the pages made so far stay on view, nothing is written or
    // printed (a run to a PDF file or a printer has kept none of them).
    void CancelDoc();
    void NewPage();
    bool IsDocOpen() const { return mOpen; }
    Output output() const { return mOutput; }
    QString fileName() const { return mFileName; }
    int PageWidth() const { return mPageWidth; }
    int PageHeight() const { return mPageHeight; }
    void SetPageSize(int width, int height);   // takes effect at the next StartDoc
    int PageCount() const { return int(mPages.size()); }
    // Whether the finished pages keep what they draw. A run written to a PDF file or a printer
    // sends each page out as it is finished and keeps only its number and running line.
    bool KeepsPages() const { return !mStream; }
    const Page& page(int index) const { return mPages.at(index); }
    // Called whenever a page is started, the first one included, after the previous one is finished.
    void SetNewPageHandler(std::function<void(ReportDocument&)> handler) { mNewPageHandler = std::move(handler); }

    // Layout state
    int MarginTop() const { return mTop; }
    int MarginLeft() const { return mLeft; }
    int MarginRight() const { return mRight; }
    int MarginBottom() const { return mBottom; }
    void SetMarginTop(int v) { mTop = v; }
    void SetMarginLeft(int v) { mLeft = v; }
    void SetMarginRight(int v) { mRight = v; }
    void SetMarginBottom(int v) { mBottom = v; }
    int LayoutMode() const { return mLayoutMode; }
    void SetLayoutMode(int v) { mLayoutMode = v; }
    Align TextAlign() const { return mTextAlign; }
    void SetTextAlign(Align v) { mTextAlign = v; }
    // The left indent moves every line of a paragraph; the second indent moves the lines after the
    // first further; the third is a right indent.
    int IndentLeft() const { return mIndentLeft; }
    int IndentSecond() const { return mIndentSecond; }
    int IndentThird() const { return mIndentThird; }
    void SetIndentLeft(int v) { mIndentLeft = v; }
    void SetIndentSecond(int v) { mIndentSecond = v; }
    void SetIndentThird(int v) { mIndentThird = v; }
    QString FontName() const { return mFontName; }
    double FontSize() const { return mFontSize; }
    bool FontBold() const { return mBold; }
    bool FontItalic() const { return mItalic; }
    void SetFontName(const QString& name);
    void SetFontSize(double points);
    void SetFontBold(bool on) { mBold = on; }
    void SetFontItalic(bool on) { mItalic = on; }
    static bool FontExists(const QString& name);
    int CurrentX() const { return mX; }
    int CurrentY() const { return mY; }
    void SetCurrentX(int x) { mX = x; mXSet = true; }
    void SetCurrentY(int y) { mY = y; }

    // Text. A text starting with "{\rtf" is a whole RTF document and one starting with "{\" an RTF
    // fragment; a plain lead-in may stand before a whole document. Any other text is plain.
    void Paragraph(const QString& text);
    void Text(const QString& text);            // no line end: the next text goes on after it
    // Where a paragraph printed now would start and end, ignoring page breaks; prints nothing.
    QRect MeasureParagraph(const QString& text) const;

    // Boxes and drawing
    void TextBox(const QString& text, int left, int top, int width, int height, bool fill = false);
    int MeasureTextBox(const QString& text, int width) const;   // the height the text needs
    void DrawLine(int x1, int y1, int x2, int y2);
    QColor PenColor() const { return mPenColor; }
    int PenWidth() const { return mPenWidth; }
    void SetPenColor(const QColor& c) { mPenColor = c; }
    void SetPenWidth(int twips) { mPenWidth = twips; }
    QColor BrushColor() const { return mBrushColor; }
    int BrushStyle() const { return mBrushStyle; }
    void SetBrushColor(const QColor& c) { mBrushColor = c; }
    // 0 solid, 1 none, 2 horizontal, 3 vertical, 4 falling, 5 rising diagonals, 6 cross, 7 diagonal cross
    void SetBrushStyle(int style) { mBrushStyle = style; }

    // Tables printed from one string: "fmt;row;row;" (see TableFormat).
    LineStyle TableLineStyle() const { return mTableLineStyle; }
    void SetTableLineStyle(LineStyle style) { mTableLineStyle = style; }
    // Extra space above each body row printed next.
    int TableRowSetting() const { return mRowSetting; }
    void SetTableRowSetting(int twips) { mRowSetting = twips; }
    // Non-zero while header rows print: they are shaded and get that much padding.
    int HeaderRowSetting() const { return mHeaderSetting; }
    void SetHeaderRowSetting(int twips) { mHeaderSetting = twips; }
    void TableRows(const QString& formatAndRows);
    // Table rows that head the rows printed after them: printed as TableRows prints them, and
    // again, in the font and line style they had, at the top of every page that the document
    // runs on to by itself. Further calls add rows to the heading; a page the report starts
    // (NewPage) ends it. In the RTF file they are heading rows, which a word processor repeats.
    void HeadingRows(const QString& formatAndRows);

    // Tables built cell by cell: AddTable, then edit, then EndTable lays it out. Row 0 is the header.
    void AddTable(const QString& format, const QString& header, const QString& body);
    ReportTable* table() { return mTable.get(); }
    void EndTable();

    // Running line
    void SetRunningLine(const QString& text) { mRunning.text = text; }
    QString RunningLineText() const { return mRunning.text; }
    void SetRunningLineFont(const QString& name, double points, bool bold);
    void SetRunningLineMode(printing::RunningLineMode mode) { mRunning.mode = mode; }
    printing::RunningLineMode RunningLineMode() const { return mRunning.mode; }

    // Raw RTF for the RTF output only (drawing objects).
    void InsertRtf(const QString& rtf);
    // The RTF of the run so far as a whole document.
    QString Rtf() const;

    // Output of finished pages
    void Render(QPainter& painter, int pageIndex) const;   // painter in twips
    bool WritePdf(const QString& fileName) const;
    bool PrintTo(ui::Printer& printer, int fromPage = 0, int toPage = -1) const;
    // Sends pages (0-based, -1 the last) to the printer or PDF file chosen in the print dialog;
    // tells the user when they could not be printed.
    bool PrintPages(int fromPage = 0, int toPage = -1) const;

    // The laid-out primitives of one page as text lines, for comparison.
    QStringList PageRecord(int pageIndex) const;
    // Told of every output call as it is made, with the layout it was made in; the calls are only
    // described while an observer is installed. An empty one removes it.
    using CallObserver = std::function<void(const QString& call)>;
    void SetCallObserver(CallObserver observer) { mCallObserver = std::move(observer); }

signals:
    // The document has ended: its pages are complete.
    void Finished();

public:
    QFont CurrentFont() const;
    int RightEdge() const { return mPageWidth - mRight - mIndentThird; }
    int BottomLimit() const { return mPageHeight - mBottom; }

private:
    // What rows printed from a string take from the document's state.
    struct TableLook {
        QString fontName;
        double fontSize;
        bool bold, italic;
        LineStyle lineStyle;
        int rowSetting, headerSetting;
    };
    struct Heading {
        QString formatAndRows;
        TableLook look;
    };

    // Shared with the table layout
    void AddItem(const PageItem& item);
    // Places a laid-out document at (x, mY) and flows it over pages.
    void FlowDocument(const std::shared_ptr<QTextDocument>& doc, int x);

    // asked: the report started the page; otherwise its text ran on over the page end.
    void StartPage(bool asked);
    void OverflowPage();
    void RepeatHeadingRows();
    void PrintTableRows(const QString& formatAndRows, bool heading);
    void LayOutRows(const TableFormat& format, bool heading);
    TableLook CurrentTableLook() const;
    void SetTableLook(const TableLook& look);
    void FinishPage();
    void PlaceText(const QString& text, bool endLine);
    std::shared_ptr<QTextDocument> ParagraphDocument(const QString& text, int& origin, int& first) const;
    void Reset();
    static void TellNotWritten(const QString& fileName);
    static void TellNotPrinted(const ui::Printer& printer);
    template <class Describe>
    void Log(Describe&& describe) const
    {
        if (mCallObserver)
            mCallObserver(describe());
    }
    QString State() const;

    bool mOpen = false;
    Output mOutput = Output::Preview;
    QString mFileName;
    int mPageWidth = kLetterWidth, mPageHeight = kLetterHeight;
    int mNextWidth = kLetterWidth, mNextHeight = kLetterHeight;
    QList<Page> mPages;
    std::function<void(ReportDocument&)> mNewPageHandler;

    int mTop = 720, mLeft = 720, mRight = 720, mBottom = 720;
    int mLayoutMode = 0;
    Align mTextAlign = Align::Left;
    int mIndentLeft = 0, mIndentSecond = 0, mIndentThird = 0;
    QString mFontName;
    double mFontSize = 10;
    bool mBold = false, mItalic = false;
    int mX = 720, mY = 720;
    bool mXSet = false;

    QColor mPenColor = Qt::black;
    int mPenWidth = 0;
    QColor mBrushColor = Qt::black;
    int mBrushStyle = 0;

    LineStyle mTableLineStyle = LineStyle::None;
    int mRowSetting = 0, mHeaderSetting = 0;
    std::unique_ptr<ReportTable> mTable;
    QList<Heading> mHeading;
    bool mRepeatingHeading = false;   // the heading is being laid out again: not for the RTF file

    RunningLine mRunning;
    CallObserver mCallObserver;

    std::unique_ptr<RtfWriter> mRtf;
    std::unique_ptr<PageStream> mStream;   // where a written run's pages go as they are finished
    friend class ReportTable;
};

}  // namespace printing
