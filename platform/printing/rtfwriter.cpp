#include "platform/printing/rtfwriter.h"

#include "platform/printing/reporttable.h"
#include "platform/richtext/rtf.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QRegularExpression>

#include <algorithm>

namespace printing {

namespace {
QString AlignWord(Align align)
{
    switch (Horizontal(align)) {
    case Align::Center: return QStringLiteral("\\qc");
    case Align::Right: return QStringLiteral("\\qr");
    default: return QStringLiteral("\\ql");
    }
}

// The alignment a rich paragraph carries itself, or otherwise when it has none of its own.
Align AlignOf(Qt::Alignment a, Align otherwise)
{
    return a & Qt::AlignHCenter ? Align::Center : a & Qt::AlignRight ? Align::Right : otherwise;
}

int Points2(const QFont& font)
{
    const double points = font.pixelSize() > 0 ? font.pixelSize() / 20.0 : font.pointSizeF();
    return qRound(points * 2);
}

// How far the layout moves a paragraph in for its block and list indents, in twips: it counts
// them in the document's indent width, in screen pixels.
int IndentTwips(const QTextBlock& block)
{
    int levels = block.blockFormat().indent();
    if (const QTextList* list = block.textList())
        levels += list->format().indent();
    return qRound(levels * block.document()->indentWidth() * kTwipsPerPixel);
}

// A list item's bullet or number hangs this far before the text of its first line.
constexpr int kListMarkerRoom = 360;

// The paragraph properties of a block whose left edge is li (and right edge ri, when given)
// twips in from the margins: its own margins and indents added, and a list item's marker
// hanging before its text with a tab stop where the text begins.
QString ParagraphStart(const QTextBlock& block, Align otherwise, int li, const int* ri)
{
    const QTextBlockFormat bf = block.blockFormat();
    li += qRound(bf.leftMargin()) + IndentTwips(block);
    const int textIndent = qRound(bf.textIndent());
    QString out = QStringLiteral("\\pard\\plain%1\\li%2\\fi%3")
                      .arg(AlignWord(AlignOf(bf.alignment(), otherwise))).arg(li)
                      .arg(block.textList() ? textIndent - kListMarkerRoom : textIndent);
    if (ri)
        out += QStringLiteral("\\ri%1").arg(*ri + qRound(bf.rightMargin()));
    if (block.textList())
        out += QStringLiteral("\\tx%1").arg(li + textIndent);
    return out + u' ';
}
}  // namespace

RtfWriter::RtfWriter(int pageWidth, int pageHeight) : mPageWidth(pageWidth), mPageHeight(pageHeight)
{
    mFonts << QStringLiteral("Arial");
}

// Not the escaper of the stored bodies (richtext::AppendRtfText), on purpose: the report file
// declares \uc1, so each \u carries the "?" that readers without Unicode show in its place;
// and this one knows nothing of what is written around its text, so each control word it
// writes ends in its own space.
QString RtfWriter::Escape(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const ushort u = ch.unicode();
        if (ch == u'\\' || ch == u'{' || ch == u'}')
            out += u'\\', out += ch;
        else if (ch == u'\t')
            out += QStringLiteral("\\tab ");
        else if (ch == u'\n' || ch == QChar::LineSeparator)
            out += QStringLiteral("\\line ");
        else if (ch == u'\r')
            continue;
        else if (u < 0x80)
            out += ch;
        else if (u < 0x100)
            out += QStringLiteral("\\'%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            out += QStringLiteral("\\u%1?").arg(short(u));
    }
    return out;
}

int RtfWriter::FontIndex(const QString& family)
{
    const QString name = family.isEmpty() ? mFonts.first() : family;
    qsizetype i = mFonts.indexOf(name);
    if (i < 0) {
        mFonts.append(name);
        i = mFonts.size() - 1;
    }
    return int(i);
}

int RtfWriter::ColorIndex(const QColor& color)
{
    const QColor c = color.toRgb();
    for (qsizetype i = 0; i < mColors.size(); ++i)
        if (mColors.at(i).rgb() == c.rgb())
            return int(i) + 1;
    mColors.append(c);
    return int(mColors.size());
}

QString RtfWriter::Runs(const QTextBlock& block, bool inTable)
{
    QString out;
    if (QTextList* list = block.textList()) {
        const QString marker = richtext::IsBulleted(list->format().style()) ? QStringLiteral("\\bullet")
                                                                          : Escape(list->itemText(block));
        const QFont font = block.charFormat().font();
        out += QStringLiteral("{\\f%1\\fs%2 %3\\tab}").arg(FontIndex(font.family())).arg(Points2(font)).arg(marker);
    }
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        const QTextCharFormat f = fragment.charFormat();
        const QFont font = f.font();
        QString run = QStringLiteral("{\\f%1\\fs%2").arg(FontIndex(font.family())).arg(Points2(font));
        if (font.bold())
            run += QStringLiteral("\\b");
        if (font.italic())
            run += QStringLiteral("\\i");
        if (font.underline())
            run += QStringLiteral("\\ul");
        if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().color() != Qt::black)
            run += QStringLiteral("\\cf%1").arg(ColorIndex(f.foreground().color()));
        run += u' ' + Escape(fragment.text()) + u'}';
        out += run;
    }
    Q_UNUSED(inTable);
    return out;
}

QString RtfWriter::BlockParagraphs(const QTextDocument& doc, bool inTable)
{
    return BlockParagraphs(*doc.rootFrame(), inTable);
}

QString RtfWriter::BlockParagraphs(const QTextFrame& frame, bool inTable)
{
    QString out;
    bool first = true;
    const QTextDocument& doc = *frame.document();
    for (QTextBlock block = doc.findBlock(frame.firstPosition());
         block.isValid() && block.position() <= frame.lastPosition(); block = block.next()) {
        if (!first)
            out += inTable ? QStringLiteral("\\par ") : QString();
        if (!inTable)
            out += ParagraphStart(block, Align::Left, 0, nullptr);
        out += Runs(block, inTable);
        if (!inTable)
            out += QStringLiteral("\\par\n");
        first = false;
    }
    return out;
}

void RtfWriter::Paragraph(const QTextDocument& doc, Align align, int left, int right, bool endLine)
{
    bool first = true;
    QTextFrame* root = doc.rootFrame();
    for (auto it = root->begin(); !it.atEnd(); ++it) {
        auto next = it;
        ++next;
        if (QTextFrame* child = it.currentFrame()) {
            // Rich text built as tables stays a table: its rows go out as table rows.
            if (mParagraphOpen) {
                mBody += QStringLiteral("\\par\n");
                mParagraphOpen = false;
            }
            if (auto* table = qobject_cast<QTextTable*>(child))
                RichTable(*table, left - kPageMargin, doc.textWidth());
            else
                mBody += BlockParagraphs(*child, false);
            first = false;
            continue;
        }
        const QTextBlock block = it.currentBlock();
        if (!(first && mParagraphOpen)) {
            // The first line's indent is already in the block's text indent.
            const int ri = mPageWidth - kPageMargin - right;
            mBody += ParagraphStart(block, align, left - kPageMargin, &ri);
            if (mAnchorAt < 0)
                mAnchorAt = mBody.size();
        }
        mBody += Runs(block, false);
        if (!next.atEnd() || endLine)
            mBody += QStringLiteral("\\par\n");
        first = false;
    }
    mParagraphOpen = !endLine;
}

void RtfWriter::RichTable(const QTextTable& table, int leftOffset, qreal fallbackWidth)
{
    const int columns = table.columns();
    const QList<QTextLength> widths = table.format().columnWidthConstraints();
    QList<int> x{0};
    for (int c = 0; c < columns; ++c) {
        qreal w = fallbackWidth / std::max(1, columns);
        if (c < widths.size() && widths.at(c).type() == QTextLength::FixedLength)
            w = widths.at(c).rawValue() * kTwipsPerPixel;
        x.append(x.last() + std::max(1, qRound(w)));
    }
    const bool ruled = table.format().border() > 0;
    for (int r = 0; r < table.rows(); ++r) {
        QString defs = QStringLiteral("\\trowd\\trgaph60\\trleft%1").arg(leftOffset);
        QString content;
        for (int c = 0; c < columns; ++c) {
            const QTextTableCell cell = table.cellAt(r, c);
            const bool covered = cell.row() != r || cell.column() != c;
            if (!covered) {
                if (cell.columnSpan() > 1)
                    defs += QStringLiteral("\\clmgf");
                if (cell.rowSpan() > 1)
                    defs += QStringLiteral("\\clvmgf");
            } else {
                defs += cell.column() != c ? QStringLiteral("\\clmrg") : QStringLiteral("\\clvmrg");
            }
            if (ruled)
                defs += QStringLiteral("\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                                       "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10");
            defs += QStringLiteral("\\cellx%1").arg(leftOffset + x.at(c + 1));
            content += QStringLiteral("\\pard\\plain\\intbl ");
            if (!covered) {
                bool firstBlock = true;
                for (QTextBlock b = cell.firstCursorPosition().block();
                     b.isValid() && b.position() <= cell.lastPosition(); b = b.next()) {
                    if (!firstBlock)
                        content += QStringLiteral("\\par ");
                    content += AlignWord(AlignOf(b.blockFormat().alignment(), Align::Left)) + u' ' + Runs(b, true);
                    firstBlock = false;
                }
            }
            content += QStringLiteral("\\cell ");
        }
        mBody += defs + u'\n' + content + QStringLiteral("\\row\n");
    }
    mBody += QStringLiteral("\\pard\\plain\n");
}

void RtfWriter::Table(const ReportTable& table, int left, const QList<int>& colX,
                      const QList<QList<std::shared_ptr<QTextDocument>>>& cells)
{
    if (mParagraphOpen) {
        mBody += QStringLiteral("\\par\n");
        mParagraphOpen = false;
    }
    const int leftOffset = left - kPageMargin;
    const LineStyle style = table.LineStyle();
    auto border = [](const char* side) { return QStringLiteral("\\clbrdr%1\\brdrs\\brdrw10").arg(QLatin1String(side)); };
    int gap = ReportTable::CellPadding(colX.last());
    for (int c = 0; c < table.Columns(); ++c)
        gap = std::min(gap, ReportTable::CellPadding(colX.at(c + 1) - colX.at(c)));
    for (int r = table.HasHeader() ? 0 : 1; r <= table.Rows(); ++r) {
        const ReportTable::Row& row = table.row(r);
        QString defs = QStringLiteral("\\trowd\\trgaph%1\\trleft%2").arg(gap).arg(leftOffset);
        if (row.height > 0)
            defs += QStringLiteral("\\trrh%1").arg(row.height);
        if (r == 0 || table.IsHeading())
            defs += QStringLiteral("\\trhdr");
        if (row.keepWithNext)
            defs += QStringLiteral("\\trkeepfollow");
        QString content = QStringLiteral("\\pard\\plain\\intbl ");
        for (int c = 0; c < table.Columns(); ++c) {
            const ReportTable::Cell& cell = row.cells.at(c);
            // A covered cell is merged into the cell that spans it: horizontally within the row,
            // vertically with the row above.
            bool hCovered = false;
            for (int cc = 0; cc < c && !hCovered; ++cc) {
                const ReportTable::Cell& o = row.cells.at(cc);
                hCovered = !o.covered && cc + o.colSpan > c;
            }
            if (cell.colSpan > 1 && !cell.covered)
                defs += QStringLiteral("\\clmgf");
            else if (hCovered)
                defs += QStringLiteral("\\clmrg");
            if (cell.rowSpan > 1 && !cell.covered)
                defs += QStringLiteral("\\clvmgf");
            else if (cell.covered && !hCovered)
                defs += QStringLiteral("\\clvmrg");
            const bool framed = style == LineStyle::Grid || style == LineStyle::Box;
            if (framed || HasRuleAbove(style) || row.ruleAbove)
                defs += border("t");
            if (framed || HasRuleBelow(style))
                defs += border("b");
            if (style == LineStyle::Grid || HasColumnRules(style) || (style == LineStyle::Box && c == 0))
                defs += border("l");
            bool spannedRight = false;   // a cell runs on over this cell's right edge
            for (int cc = 0; cc <= c && !spannedRight; ++cc) {
                const ReportTable::Cell& o = row.cells.at(cc);
                spannedRight = !o.covered && cc + o.colSpan > c + 1;
            }
            if (style == LineStyle::Grid || HasColumnRules(style) || (table.columns().at(c).rule && !spannedRight)
                || (style == LineStyle::Box && c == table.Columns() - 1))
                defs += border("r");
            if (cell.vertical)
                defs += QStringLiteral("\\cltxbtlr");
            defs += QStringLiteral("\\cellx%1").arg(leftOffset + colX.at(c + 1));

            content += AlignWord(cell.align ? *cell.align : table.columns().at(c).align) + u' ';
            const auto& doc = cells.at(r).at(c);
            if (!cell.covered && doc)
                content += BlockParagraphs(*doc, true);
            content += QStringLiteral("\\cell ");
        }
        mBody += defs + u'\n' + content + QStringLiteral("\\row\n");
    }
    // Whatever follows is outside the table.
    mBody += QStringLiteral("\\pard\\plain\n");
}

QString RtfWriter::Shape(int left, int top, int right, int bottom, const QString& properties)
{
    return QStringLiteral("{\\shp{\\*\\shpinst\\shpleft%1\\shptop%2\\shpright%3\\shpbottom%4"
                          "\\shpbxmargin\\shpbxignore\\shpbymargin\\shpbyignore\\shpwr3\\shpfblwtxt0"
                          "{\\sp{\\sn posrelh}{\\sv 0}}{\\sp{\\sn posrelv}{\\sv 0}}%5}}")
        .arg(left).arg(top).arg(right).arg(bottom).arg(properties);
}

void RtfWriter::FilledBox(const QRect& box, const QColor& color)
{
    mShapes += Shape(box.left() - kPageMargin, box.top() - kPageMargin, box.left() + box.width() - kPageMargin,
                     box.top() + box.height() - kPageMargin,
                     QStringLiteral("{\\sp{\\sn shapeType}{\\sv 1}}{\\sp{\\sn fFilled}{\\sv 1}}"
                                    "{\\sp{\\sn fillColor}{\\sv %1}}").arg(BgrFromColor(color)));
}

void RtfWriter::TextBox(const QRect& box, const QTextDocument& doc)
{
    // No inner margins and a box that grows with its text: a word processor's own font metrics
    // would otherwise cut the last line off.
    mShapes += Shape(box.left() - kPageMargin, box.top() - kPageMargin, box.left() + box.width() - kPageMargin,
                     box.top() + box.height() - kPageMargin,
                     QStringLiteral("{\\sp{\\sn shapeType}{\\sv 202}}{\\sp{\\sn fLine}{\\sv 0}}"
                                    "{\\sp{\\sn dxTextLeft}{\\sv 0}}{\\sp{\\sn dxTextRight}{\\sv 0}}"
                                    "{\\sp{\\sn dyTextTop}{\\sv 0}}{\\sp{\\sn dyTextBottom}{\\sv 0}}"
                                    "{\\sp{\\sn fFitShapeToText}{\\sv 1}}"
                                    "{\\shptxt %1}")
                         .arg(BlockParagraphs(doc, false)));
}

void RtfWriter::Raw(const QString& rtf)
{
    mShapes += rtf;
}

void RtfWriter::StartPage(int pageNumber, bool asked)
{
    if (asked && mParagraphOpen) {
        mBody += QStringLiteral("\\par\n");
        mParagraphOpen = false;
    }
    mPageStart = mBody.size();
    mPageAsked = asked;
    mShapes.clear();
    mAnchorAt = -1;
    Q_UNUSED(pageNumber);
}

void RtfWriter::AnchorShapes(QString& body) const
{
    if (mShapes.isEmpty())
        return;
    // A word processor places a drawing object on the page of the paragraph that holds it: the
    // page's first paragraph, or one of its own at the page's top that takes no room.
    if (mAnchorAt >= 0)
        body.insert(mAnchorAt, mShapes);
    else
        body.insert(mPageStart, QStringLiteral("\\pard\\plain\\sl-20\\slmult0{\\fs2 ") + mShapes
                                    + QStringLiteral("}\\par\n"));
}

QString RtfWriter::HeaderGroup(const RunningLine& line, int pageNumber)
{
    const QStringList parts = SplitCells(line.text);
    auto part = [&](int i) {
        const QString text = i < parts.size() ? parts.at(i) : QString();
        const qsizetype at = text.indexOf(QStringLiteral("%d"));
        if (at < 0)
            return Escape(text);
        return Escape(text.left(at)) + QStringLiteral("{\\field{\\*\\fldinst PAGE}{\\fldrslt %1}}").arg(pageNumber)
               + Escape(text.mid(at + 2));
    };
    const int usable = mPageWidth - 1440;
    const QString where = InFooter(line.mode) ? QStringLiteral("footer") : QStringLiteral("header");
    return QStringLiteral("{\\%1\\pard\\plain\\tqc\\tx%2\\tqr\\tx%3{\\f%4\\fs%5%6 %7\\tab %8\\tab %9}\\par}")
        .arg(where).arg(usable / 2).arg(usable).arg(FontIndex(line.font.family())).arg(Points2(line.font))
        .arg(line.font.bold() ? QStringLiteral("\\b") : QString())
        .arg(part(0), part(1), part(2));
}

void RtfWriter::FinishPage(const RunningLine& line, int pageNumber)
{
    // The running line is known only when the page is finished; a page whose line differs from
    // the previous page's starts a section of its own.
    QString group = HeaderGroup(line, pageNumber);
    QString key = group;
    key.replace(QRegularExpression(QStringLiteral("\\{\\\\fldrslt \\d+\\}")), QString());
    // Only the pages the report asked for are hard breaks: text that ran on over a page end flows
    // on in the word processor.
    // A page break in the paragraph that closes a table is lost in some word processors: a page
    // that starts right after a table starts a section instead.
    const bool afterTable = QStringView(mBody).left(mPageStart).endsWith(QStringLiteral("\\row\n\\pard\\plain\n"));
    AnchorShapes(mBody);
    mShapes.clear();
    mAnchorAt = -1;
    QString mark;
    if (pageNumber == 1)
        mark = QStringLiteral("\\sectd") + group + u'\n';
    else if (key == mLastHeader && !(mPageAsked && afterTable))
        mark = mPageAsked ? QStringLiteral("\\page\n") : QString();
    else
        mark = (mPageAsked ? QStringLiteral("\\sect\\sectd\\sbkpage") : QStringLiteral("\\sect\\sectd\\sbknone"))
               + group + u'\n';
    mLastHeader = key;
    mBody.insert(mPageStart, mark);
}

QString RtfWriter::Document() const
{
    QString out = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0{\\fonttbl");
    for (qsizetype i = 0; i < mFonts.size(); ++i)
        out += QStringLiteral("{\\f%1\\fnil %2;}").arg(i).arg(mFonts.at(i));
    out += QStringLiteral("}{\\colortbl;");
    for (const QColor& c : mColors)
        out += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(c.red()).arg(c.green()).arg(c.blue());
    out += QStringLiteral("}\n\\paperw%1\\paperh%2\\margl%3\\margr%3\\margt%3\\margb%3\n")
               .arg(mPageWidth).arg(mPageHeight).arg(kPageMargin);
    QString body = mBody;
    AnchorShapes(body);   // those of a page not yet finished
    out += body;
    if (mParagraphOpen)
        out += QStringLiteral("\\par");
    out += QStringLiteral("}");
    return out;
}

}  // namespace printing
