#pragma once

#include "platform/printing/reportpage.h"

#include <QColor>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>

class QTextBlock;
class QTextDocument;
class QTextFrame;
class QTextTable;

namespace printing {

class ReportTable;

// Writes the RTF form of a report run as its calls are made: paragraphs, tables as table rows,
// the rich text of paragraphs and cells merged into one font and colour table, drawing objects.
class RtfWriter {
public:
    RtfWriter(int pageWidth, int pageHeight);

    // The file's page margins; positions on the page (left and right edges of the text, a table's
    // left) are written relative to them.
    static constexpr int kPageMargin = 720;

    // A paragraph laid out in doc between left and right; endLine false leaves it open for the
    // text that follows.
    void Paragraph(const QTextDocument& doc, Align align, int left, int right, bool endLine);
    void Table(const ReportTable& table, int left, const QList<int>& colX,
               const QList<QList<std::shared_ptr<QTextDocument>>>& cells);
    void FilledBox(const QRect& box, const QColor& color);
    void TextBox(const QRect& box, const QTextDocument& doc);
    // A drawing object of the page being written, as RTF.
    void Raw(const QString& rtf);
    // asked: a page break of the report; otherwise the text ran on over the page end.
    void StartPage(int pageNumber, bool asked);
    void FinishPage(const RunningLine& line, int pageNumber);
    QString Document() const;

    static QString Escape(const QString& text);
    // A drawing object at a place given from the page margins, in front of the text and not
    // pushing it aside; properties are its "{\sp...}" groups (and its text).
    static QString Shape(int left, int top, int right, int bottom, const QString& properties);

private:
    int FontIndex(const QString& family);
    int ColorIndex(const QColor& color);
    QString Runs(const QTextBlock& block, bool inTable);
    QString BlockParagraphs(const QTextDocument& doc, bool inTable);
    QString BlockParagraphs(const QTextFrame& frame, bool inTable);
    void RichTable(const QTextTable& table, int leftOffset, qreal fallbackWidth);
    QString HeaderGroup(const RunningLine& line, int pageNumber);
    // Puts the drawing objects of the page being written into a paragraph of that page.
    void AnchorShapes(QString& body) const;

    int mPageWidth, mPageHeight;
    QString mBody;
    QStringList mFonts;
    QList<QColor> mColors;
    qsizetype mPageStart = 0;
    QString mLastHeader;
    bool mParagraphOpen = false;
    bool mPageAsked = true;
    QString mShapes;            // the drawing objects of the page being written
    qsizetype mAnchorAt = -1;   // where in the body the page's first paragraph holds its text
};

}  // namespace printing
