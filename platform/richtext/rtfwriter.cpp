#include "platform/richtext/rtf.h"

#include "platform/richtext/emptybody.h"
#include "platform/richtext/rtfescape.h"
#include "platform/richtext/units.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include <algorithm>

namespace richtext {

bool IsBulleted(QTextListFormat::Style style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
        || style == QTextListFormat::ListSquare || style == QTextListFormat::ListStyleUndefined;
}

namespace {

constexpr int kFullWidthTwips = 9360;
constexpr int kMaxRowTwips = 31680;  // 22 inches: what the reader accepts
constexpr int kMaxListLevels = 9;

struct RunState
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 20;
    int color = 0;
};

class Writer
{
public:
    explicit Writer(const QTextDocument& doc) : mDoc(doc) {}

    QString run();

private:
    void writeFrame(QTextFrame* frame);
    void writeTable(QTextTable* table);
    void writeBlock(const QTextBlock& block, bool inTable, bool lastInCell);
    void writeRuns(const QTextBlock& block);
    int colorIndex(const QColor& c);
    static int levelOf(const QTextList* list);
    void startListItem(const QTextList* list);

    struct ListLevel
    {
        QTextListFormat::Style style = QTextListFormat::ListDisc;
        int start = 1;
        bool defined = false;
    };
    // One RTF list for each run of list paragraphs, with a level for each nesting depth
    // of the run; a deeper level restarts after an item of a higher one, as the reader reads it.
    struct ListRun
    {
        QList<ListLevel> levels;
        QHash<const QTextList*, int> members;  // list -> level
    };

    const QTextDocument& mDoc;
    QString mBody;
    QList<QColor> mColors;  // beyond the fixed black and white
    QHash<QRgb, int> mColorIndex;
    QList<ListRun> mLists;        // by RTF list number - 1
    bool mInListRun = false;      // the paragraph before was a list item
    QList<int> mCounters;         // the numbers of the current run, by level
    RunState mRun;
    bool mNeedDelimiter = false;
};

QString Writer::run()
{
    // The body first: the header names the lists and colours it used.
    mBody.reserve(mDoc.characterCount() * 2 + 64);
    writeFrame(mDoc.rootFrame());

    QString out = QString::fromLatin1(kRtfHead);
    for (const QColor& c : std::as_const(mColors))
        out += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(c.red()).arg(c.green()).arg(c.blue());
    out += u'}';
    if (!mLists.isEmpty()) {
        out += QStringLiteral("{\\*\\listtable");
        for (int n = 1; n <= mLists.size(); ++n) {
            const QList<ListLevel>& levels = mLists.at(n - 1).levels;
            out += QStringLiteral("{\\list\\listtemplateid%1").arg(n);
            if (levels.size() == 1)
                out += QStringLiteral("\\listsimple");
            for (int l = 0; l < levels.size(); ++l) {
                const ListLevel& level = levels.at(l);
                const bool bullet = IsBulleted(level.style);
                int nfc = 23;
                switch (level.style) {
                case QTextListFormat::ListDecimal: nfc = 0; break;
                case QTextListFormat::ListUpperRoman: nfc = 1; break;
                case QTextListFormat::ListLowerRoman: nfc = 2; break;
                case QTextListFormat::ListUpperAlpha: nfc = 3; break;
                case QTextListFormat::ListLowerAlpha: nfc = 4; break;
                default: break;
                }
                out += QStringLiteral("{\\listlevel\\levelnfc%1\\leveljc0\\levelfollow0"
                                      "\\levelstartat%2{\\leveltext%3;}{\\levelnumbers%4;}\\fi-360\\li%5}")
                           .arg(nfc)
                           .arg(level.start)
                           .arg(bullet ? QStringLiteral("\\'01\\'95")
                                       : QStringLiteral("\\'02\\'%1.").arg(l, 2, 10, QLatin1Char('0')))
                           .arg(bullet ? QString() : QStringLiteral("\\'01"))
                           .arg(360 * (l + 1));
            }
            out += QStringLiteral("\\listid%1}").arg(n);
        }
        out += QStringLiteral("}{\\*\\listoverridetable");
        for (int n = 1; n <= mLists.size(); ++n)
            out += QStringLiteral("{\\listoverride\\listid%1\\listoverridecount0\\ls%1}").arg(n);
        out += u'}';
    }
    out += QLatin1String(kRtfDefaults);
    out += mBody;
    out += u'}';
    return out;
}

int Writer::levelOf(const QTextList* list)
{
    return qBound(0, list->format().indent() - 1, kMaxListLevels - 1);
}

void Writer::startListItem(const QTextList* list)
{
    const int level = levelOf(list);
    const bool joins = mInListRun && !mLists.isEmpty()
        && (mLists.last().members.contains(list) || (level > 0 && !mLists.last().levels.isEmpty()));
    if (!joins) {
        mLists.append(ListRun());
        mCounters.clear();
    }
    ListRun& run = mLists.last();
    if (!run.members.contains(list)) {
        run.members.insert(list, level);
        if (level >= run.levels.size())
            run.levels.resize(level + 1);
        if (!run.levels.at(level).defined) {
            ListLevel& def = run.levels[level];
            def.defined = true;
            def.style = list->format().style();
            const QVariant start = list->format().property(kListStartProperty);
            def.start = start.isValid() ? qBound(0, start.toInt(), 32767) : 1;
        }
    }
    // A deeper level starts again after an item of this one.
    if (mCounters.size() < level + 1)
        mCounters.resize(level + 1, -1);
    mCounters.resize(level + 1);
    if (mCounters[level] < 0)
        mCounters[level] = run.levels.at(level).start;
    else
        ++mCounters[level];
}


int Writer::colorIndex(const QColor& c)
{
    const QColor rgb = c.toRgb();
    if (rgb.red() == 0 && rgb.green() == 0 && rgb.blue() == 0)
        return 1;
    if (rgb.red() == 255 && rgb.green() == 255 && rgb.blue() == 255)
        return 2;
    if (const auto found = mColorIndex.constFind(rgb.rgb()); found != mColorIndex.cend())
        return found.value();
    mColors.append(QColor(rgb.rgb()));
    const int index = int(mColors.size()) + 2;
    mColorIndex.insert(rgb.rgb(), index);
    return index;
}

void Writer::writeFrame(QTextFrame* frame)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* child = it.currentFrame()) {
            if (auto* table = qobject_cast<QTextTable*>(child))
                writeTable(table);
            else
                writeFrame(child);
        } else {
            writeBlock(it.currentBlock(), false, false);
        }
    }
}

void Writer::writeTable(QTextTable* table)
{
    const int cols = table->columns();
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    QList<int> edges;
    int x = 0;
    for (int c = 0; c < cols; ++c) {
        int w = kFullWidthTwips / qMax(1, cols);
        if (c < widths.size() && widths.at(c).type() == QTextLength::FixedLength)
            w = qBound(1, PixelsToTwips(widths.at(c).rawValue()), kMaxRowTwips / qMax(1, cols));
        x += w;
        edges.append(x);
    }
    for (int r = 0; r < table->rows(); ++r) {
        // Every column keeps its own cell; merged cells say so, as word processors write them.
        QString rowDef = QStringLiteral("\\trowd\\trgaph108\\trleft0");
        for (int c = 0; c < cols; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() == r && cell.column() == c) {
                if (cell.rowSpan() > 1)
                    rowDef += QStringLiteral("\\clvmgf");
                if (cell.columnSpan() > 1)
                    rowDef += QStringLiteral("\\clmgf");
            } else {
                if (cell.row() != r)
                    rowDef += QStringLiteral("\\clvmrg");
                if (cell.column() != c)
                    rowDef += QStringLiteral("\\clmrg");
                else if (cell.columnSpan() > 1)
                    rowDef += QStringLiteral("\\clmgf");
            }
            rowDef += QStringLiteral("\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                                     "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10\\cellx%1")
                          .arg(edges.at(c));
        }
        mBody += rowDef;
        mNeedDelimiter = true;
        for (int c = 0; c < cols; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c) {
                // covered by a merged cell: keep the grid whole
                mBody += QStringLiteral("\\pard\\intbl\\cell ");
                mNeedDelimiter = false;
                mInListRun = false;
                continue;
            }
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                if (QTextFrame* child = it.currentFrame()) {
                    // nested frames flatten into the cell
                    for (auto inner = child->begin(); !inner.atEnd(); ++inner)
                        if (!inner.currentFrame())
                            writeBlock(inner.currentBlock(), true, false);
                    continue;
                }
                auto next = it;
                ++next;
                writeBlock(it.currentBlock(), true, next.atEnd());
            }
        }
        mBody += QStringLiteral("\\row ");
        mNeedDelimiter = false;
    }
}

void Writer::writeBlock(const QTextBlock& block, bool inTable, bool lastInCell)
{
    const QTextBlockFormat bf = block.blockFormat();
    mBody += QStringLiteral("\\pard");
    if (inTable)
        mBody += QStringLiteral("\\intbl");
    const QTextList* list = block.textList();
    if (list) {
        startListItem(list);
        const int n = int(mLists.size());
        const int level = mLists.last().members.value(list);
        if (IsBulleted(mLists.last().levels.at(level).style))
            mBody += QStringLiteral("{\\listtext\\'95\\tab}");
        else
            mBody += QStringLiteral("{\\listtext %1.\\tab}").arg(mCounters.at(level));
        mBody += QStringLiteral("\\ls%1\\ilvl%2").arg(n).arg(level);
    }
    mInListRun = list != nullptr;
    if (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        mBody += QStringLiteral("\\pagebb");
    const Qt::Alignment align = bf.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter)
        mBody += QStringLiteral("\\qc");
    else if (align & (Qt::AlignRight))
        mBody += QStringLiteral("\\qr");
    else if (align & Qt::AlignJustify)
        mBody += QStringLiteral("\\qj");
    auto twips = [&](const char* word, double px) {
        const int t = PixelsToTwips(px);
        if (t != 0)
            mBody += QStringLiteral("\\%1%2").arg(QLatin1String(word)).arg(t);
    };
    twips("fi", bf.textIndent());
    twips("li", bf.leftMargin());
    twips("ri", bf.rightMargin());
    twips("sb", bf.topMargin());
    twips("sa", bf.bottomMargin());
    for (const QTextOption::Tab& tab : bf.tabPositions()) {
        if (tab.type == QTextOption::RightTab)
            mBody += QStringLiteral("\\tqr");
        else if (tab.type == QTextOption::CenterTab)
            mBody += QStringLiteral("\\tqc");
        else if (tab.type == QTextOption::DelimiterTab)
            mBody += QStringLiteral("\\tqdec");
        mBody += QStringLiteral("\\tx%1").arg(PixelsToTwips(tab.position));
    }
    mBody += u' ';
    mNeedDelimiter = false;
    writeRuns(block);
    mBody += inTable && lastInCell ? QStringLiteral("\\cell") : QStringLiteral("\\par");
    mNeedDelimiter = true;
    mBody += u' ';
    mNeedDelimiter = false;
}

void Writer::writeRuns(const QTextBlock& block)
{
    const double defaultSize = DefaultFont().pointSizeF();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        if (!frag.isValid())
            continue;
        const QString text = frag.text();
        const bool printable = std::any_of(text.begin(), text.end(), RtfWritable);
        if (!printable)
            continue;
        const QTextCharFormat cf = frag.charFormat();
        RunState want;
        want.bold = cf.fontWeight() > QFont::Medium;
        want.italic = cf.fontItalic();
        want.underline = cf.fontUnderline();
        const double size = cf.hasProperty(QTextFormat::FontPointSize) ? cf.fontPointSize() : defaultSize;
        want.halfPoints = qBound(2, int(std::lround(size * 2)), 3276);
        if (cf.hasProperty(QTextFormat::ForegroundBrush) && cf.foreground().style() != Qt::NoBrush)
            want.color = colorIndex(cf.foreground().color());

        QString words;
        if (want.bold != mRun.bold)
            words += want.bold ? QStringLiteral("\\b") : QStringLiteral("\\b0");
        if (want.italic != mRun.italic)
            words += want.italic ? QStringLiteral("\\i") : QStringLiteral("\\i0");
        if (want.underline != mRun.underline)
            words += want.underline ? QStringLiteral("\\ul") : QStringLiteral("\\ulnone");
        if (want.halfPoints != mRun.halfPoints)
            words += QStringLiteral("\\fs%1").arg(want.halfPoints);
        if (want.color != mRun.color)
            words += QStringLiteral("\\cf%1").arg(want.color);
        if (!words.isEmpty()) {
            mBody += words;
            mNeedDelimiter = true;
        }
        mRun = want;
        AppendRtfText(mBody, text, mNeedDelimiter);
    }
}

} // namespace

QString WriteRtf(const QTextDocument& doc)
{
    return Writer(doc).run();
}

QString EmptyRtf() { return kEmptyBody; }

QString RtfToPlainText(const QString& rtf)
{
    QTextDocument doc;
    if (!ReadRtf(rtf, &doc))
        return rtf;
    return PlainText(doc);
}

QString PlainText(const QTextDocument& doc)
{
    QString out;
    bool first = true;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (!first)
            out += QStringLiteral("\r\n");
        first = false;
        QString t = b.text();
        t.remove(QChar::ObjectReplacementCharacter);
        t.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
        out += t;
    }
    return out;
}

} // namespace richtext

namespace richtext {

QString EnsureParEnding(const QString& rtf, const QString& plainText)
{
    if (!plainText.isEmpty() && !rtf.endsWith(u"\\par }") && rtf.endsWith(u'}'))
        return rtf.left(rtf.size() - 1) + QStringLiteral("\\par }");
    return rtf;
}

} // namespace richtext
