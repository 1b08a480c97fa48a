#include "platform/richtext/rtf.h"

#include "platform/richtext/cp1252.h"
#include "platform/richtext/units.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <algorithm>
#include <array>
#include <map>
#include <memory>

namespace richtext {

namespace {

constexpr int kMaxDepth = 256;          // deeper groups are read as skipped
constexpr int kMaxWordLength = 32;
constexpr int kMaxParamDigits = 10;
constexpr long long kMaxParam = 1000000000LL;
constexpr int kMaxColumns = 64;
constexpr int kMaxTabs = 64;
constexpr int kMaxListLevels = 9;
// Qt's cost of adding a row grows with the table: longer tables go on in a new one.
constexpr int kMaxTableRows = 500;
constexpr int kRowsAhead = 64;   // rows a table is given at a time
// Qt tells tab-stop lists and column-width lists apart only by their length, so
// each new one is compared with all before it: beyond this many they are dropped.
constexpr int kMaxLayoutSets = 256;
// list ids for the older paragraph numbering, out of the range the list table uses
constexpr int kOldBulletList = 2000000000;
constexpr int kOldNumberList = 2000000100;

struct CharState
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 24;
    int color = 0;

    bool operator==(const CharState&) const = default;
};

struct ParaState
{
    int align = 0;  // 0 left, 1 centre, 2 right, 3 justified
    int li = 0, ri = 0, fi = 0, sb = 0, sa = 0;
    QList<QTextOption::Tab> tabs;
    QTextOption::TabType nextTabType = QTextOption::LeftTab;
    int ls = 0;
    int ilvl = 0;
    bool inTable = false;
    bool pageBefore = false;
};

enum class Dest { Text, Skip, FontTable, ColorTable, ListTable, ListOverrideTable, OldList };

struct GroupState
{
    CharState chr;
    ParaState para;
    Dest dest = Dest::Text;
    int uc = 1;
    int font = -1;  // -1: the document's default font
};

struct ListLevel
{
    QTextListFormat::Style style = QTextListFormat::ListDisc;
    int start = 1;
};

struct ListDef
{
    QList<ListLevel> levels;

    ListLevel level(int i) const
    {
        if (levels.isEmpty())
            return ListLevel();
        return levels.at(qBound(0, i, int(levels.size()) - 1));
    }
};

// The code page a font's \fcharset stands for; 0 when it uses the document's.
int CharsetCodePage(int charset)
{
    switch (charset) {
    case 77: return 10000;   // Mac Roman
    case 128: return 932;    // Shift JIS
    case 129: return 949;    // Hangul
    case 130: return 1361;   // Johab
    case 134: return 936;    // GB 2312
    case 136: return 950;    // Big5
    case 161: return 1253;   // Greek
    case 162: return 1254;   // Turkish
    case 163: return 1258;   // Vietnamese
    case 177: return 1255;   // Hebrew
    case 178: return 1256;   // Arabic
    case 186: return 1257;   // Baltic
    case 204: return 1251;   // Cyrillic
    case 222: return 874;    // Thai
    case 238: return 1250;   // Central European
    case 254: return 437;    // PC 437
    case 255: return 850;    // OEM
    default: return 0;       // ANSI, default and symbol fonts follow the document
    }
}

QByteArray CodePageName(int cp)
{
    switch (cp) {
    case 10000: return "macintosh";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 1361: return "johab";
    case 65001: return "UTF-8";
    case 437: case 850: case 852: case 855: case 857: case 860: case 861: case 862: case 863:
    case 864: case 865: case 866: case 869:
        return "IBM" + QByteArray::number(cp);
    default: return "windows-" + QByteArray::number(cp);
    }
}

bool IsDoubleByteCodePage(int cp)
{
    return cp == 932 || cp == 936 || cp == 949 || cp == 950 || cp == 1361;
}

bool IsLeadByte(int cp, unsigned char b)
{
    if (cp == 932)
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    return b >= 0x81 && b <= 0xFE;
}

class Reader
{
public:
    explicit Reader(QTextDocument* doc) : mCursor(doc) {}

    void run(const QString& rtf);

private:
    // tokens
    void controlWord(const QString& word, bool hasParam, int param);
    void controlSymbol(QChar c);
    void openGroup();
    void closeGroup();
    void text(QChar c);
    void byte(unsigned char b);
    void flushBytes();
    int currentCodePage() const;
    bool pendingLeadByte() const;

    // destinations
    bool startDestination(const QString& word);
    void colorTableWord(const QString& word, int param);
    void listTableWord(const QString& word, bool hasParam, int param);

    // document building
    void appendText(const QString& s);
    void flushText();
    void ensureParagraph();
    void finishParagraph();
    void startTable();
    void beginRow();
    void enterCell();
    void endTable();
    void dropRowsAhead();   // the rows made ahead and never reached
    int columnOfEdge(int x) const;
    void merge(int row, int column, int rows, int columns);
    bool continuesMergedCell(int cell) const;
    void applyMerges();
    void setColumnWidths();
    QList<QTextLength> columnWidths(QString* key) const;
    bool ensureRow();  // true when a new table was started (and its first cell entered)
    void newDocument();
    QTextCharFormat charFormat(const CharState& c) const;
    QTextBlockFormat blockFormat(const ParaState& p);
    bool takeLayoutSet(QSet<QString>& seen, const QString& key);
    void assignList(const ParaState& p);

    QTextCursor mCursor;
    GroupState mState;
    QList<GroupState> mStack;
    int mSkippedDepth = 0;  // groups opened past kMaxDepth
    bool mStarStar = false; // \* seen at the start of this group
    bool mGroupStart = false;
    int mUcSkip = 0;

    // tables of the current document
    QList<QColor> mColors;
    int mRed = 0, mGreen = 0, mBlue = 0;
    bool mColorHasValue = false;
    QHash<int, ListDef> mListDefs;  // by list id
    QHash<int, int> mOverrides;     // ls -> list id
    QSet<QString> mTabSets;         // distinct tab-stop lists used so far
    QSet<QString> mWidthSets;       // distinct column-width lists used so far
    ListDef mCurrentDef;
    QTextListFormat::Style mOldListStyle = QTextListFormat::ListDisc;
    int mOldListStart = 1;
    int mCurrentDefId = 0;
    int mLevelCount = 0;
    int mOverrideLs = 0, mOverrideListId = 0;
    // The lists of the run of list paragraphs being read, by level: a deeper level
    // restarts after an item of a higher one, as word processors number them.
    int mRunLs = -1;
    QList<QPointer<QTextList>> mLevelLists;

    // text being gathered for one run
    QString mPending;
    CharState mPendingFormat;
    bool mBlockPending = false;
    bool mParagraphHasContent = false;
    bool mPageBreakPending = false;
    bool mAfterNestedCell = false;   // \page seen: the next paragraph starts a page
    bool mBreakThisParagraph = false;

    // table being read
    QPointer<QTextTable> mTable;
    struct CellDef
    {
        int x = 0;  // right edge, twips
        bool mergeFirst = false, mergeNext = false;     // \clmgf, \clmrg
        bool vMergeFirst = false, vMergeNext = false;   // \clvmgf, \clvmrg
    };
    QList<CellDef> mCellDefs;   // of the row being read
    CellDef mNextCell;          // what is known of the cell whose \cellx comes next
    QList<int> mEdges;          // the table's column right edges, ascending
    QList<int> mRowCellColumn;  // each cell of the row: its first column
    struct MergedCell
    {
        int row, rows;
        int left, right;  // edges, twips
    };
    QList<MergedCell> mMergedCells;    // the cells of the last two rows, merged or not
    QList<MergedCell> mFinishedMerges; // cells that can grow downwards no more
    bool mWidthsStale = false;
    int mColumns = 0;
    // Rows of the current table read so far; the table holds a few more, made ahead: Qt
    // rebuilds its whole grid after every change to the rows, so adding them one by one cost
    // time with the square of the table's length.
    int mRows = 0;
    int mRow = 0, mCol = 0;
    bool mCellOpen = false;
    bool mRowHasCells = false;

    int mDocuments = 0;

    // Bytes of \'hh escapes in a code page other than 1252, decoded together so that
    // double-byte characters come out whole.
    QByteArray mBytes;
    int mBytesCodePage = 0;
    int mDocCodePage = 1252;
    int mDefaultFont = 0;
    int mFontTableFont = -1;
    QHash<int, int> mFontCodePage;  // fonts whose charset names a code page of its own
    std::map<int, std::unique_ptr<QStringDecoder>> mDecoders;
};

void Reader::run(const QString& rtf)
{
    const int n = rtf.size();
    int i = 0;
    while (i < n) {
        const QChar c = rtf.at(i);
        if (!mBytes.isEmpty() && !(c == u'\\' && i + 1 < n && rtf.at(i + 1) == u'\'')) {
            // A double-byte character may carry its second byte as a plain character,
            // or as an escaped backslash or brace.
            if (pendingLeadByte()) {
                const QChar next = i + 1 < n ? rtf.at(i + 1) : QChar();
                if (c.unicode() > 0x20 && c.unicode() < 0x7F && c != u'\\' && c != u'{' && c != u'}') {
                    mBytes.append(char(c.unicode()));
                    ++i;
                    continue;
                }
                if (c == u'\\' && (next == u'\\' || next == u'{' || next == u'}')) {
                    mBytes.append(char(next.unicode()));
                    i += 2;
                    continue;
                }
            }
            flushBytes();
        }
        if (c == u'{') {
            openGroup();
            ++i;
        } else if (c == u'}') {
            closeGroup();
            ++i;
        } else if (c == u'\\') {
            ++i;
            if (i >= n)
                break;
            const QChar d = rtf.at(i);
            if ((d >= u'a' && d <= u'z') || (d >= u'A' && d <= u'Z')) {
                int start = i;
                while (i < n && i - start < kMaxWordLength
                       && ((rtf.at(i) >= u'a' && rtf.at(i) <= u'z') || (rtf.at(i) >= u'A' && rtf.at(i) <= u'Z')))
                    ++i;
                const QString word = rtf.mid(start, i - start);
                bool neg = false;
                bool hasParam = false;
                long long value = 0;
                if (i < n && rtf.at(i) == u'-' && i + 1 < n && rtf.at(i + 1).isDigit()) {
                    neg = true;
                    ++i;
                }
                int digits = 0;
                while (i < n && rtf.at(i) >= u'0' && rtf.at(i) <= u'9') {
                    hasParam = true;
                    if (digits < kMaxParamDigits) {
                        value = value * 10 + (rtf.at(i).unicode() - u'0');
                        ++digits;
                    }
                    ++i;
                }
                if (value > kMaxParam)
                    value = kMaxParam;
                if (i < n && rtf.at(i) == u' ')
                    ++i;
                if (word == u"bin") {
                    // raw data: exactly that many characters that are not RTF
                    i += int(qMin<long long>(qMax<long long>(0, neg ? 0 : value), n - i));
                    continue;
                }
                controlWord(word, hasParam, static_cast<int>(neg ? -value : value));
            } else if (d == u'\'') {
                auto hex = [&](int k) -> int {
                    if (k >= n)
                        return -1;
                    const char16_t h = rtf.at(k).unicode();
                    if (h >= u'0' && h <= u'9')
                        return h - u'0';
                    if (h >= u'a' && h <= u'f')
                        return h - u'a' + 10;
                    if (h >= u'A' && h <= u'F')
                        return h - u'A' + 10;
                    return -1;
                };
                const int hi = hex(i + 1);
                const int lo = hi < 0 ? -1 : hex(i + 2);
                if (hi >= 0 && lo >= 0) {
                    i += 3;
                    if (mUcSkip > 0)
                        --mUcSkip;
                    else
                        byte(static_cast<unsigned char>(hi * 16 + lo));
                } else {
                    ++i;  // a damaged \' escape is dropped
                }
            } else {
                ++i;
                controlSymbol(d);
            }
        } else if (c == u'\r' || c == u'\n') {
            ++i;
        } else {
            ++i;
            if (mUcSkip > 0) {
                --mUcSkip;
                continue;
            }
            text(c);
        }
    }
    // Damaged input may stop inside groups: what was read stands.
    flushBytes();
    flushText();
    if (mTable) {
        dropRowsAhead();
        applyMerges();
    }
    if (mParagraphHasContent)
        finishParagraph();
}

int Reader::currentCodePage() const
{
    if (mFontCodePage.isEmpty())
        return mDocCodePage;
    const int font = mState.font >= 0 ? mState.font : mDefaultFont;
    return mFontCodePage.value(font, mDocCodePage);
}

void Reader::byte(unsigned char b)
{
    const int cp = currentCodePage();
    if (cp == 1252 || (b < 0x80 && !pendingLeadByte())) {
        flushBytes();
        text(QChar(Cp1252ToUnicode(b)));
        return;
    }
    if (!mBytes.isEmpty() && cp != mBytesCodePage)
        flushBytes();
    mBytesCodePage = cp;
    mBytes.append(char(b));
}

bool Reader::pendingLeadByte() const
{
    if (!IsDoubleByteCodePage(mBytesCodePage))
        return false;
    bool lead = false;
    for (const char b : mBytes)
        lead = lead ? false : IsLeadByte(mBytesCodePage, static_cast<unsigned char>(b));
    return lead;
}

void Reader::flushBytes()
{
    if (mBytes.isEmpty())
        return;
    auto& decoder = mDecoders[mBytesCodePage];
    if (!decoder) {
        decoder = std::make_unique<QStringDecoder>(CodePageName(mBytesCodePage).constData(),
                                                   QStringConverter::Flag::Stateless);
        if (!decoder->isValid())
            decoder = std::make_unique<QStringDecoder>("windows-1252", QStringConverter::Flag::Stateless);
    }
    const QString decoded = decoder->decode(mBytes);
    mBytes.clear();
    for (const QChar c : decoded)
        text(c);
}

void Reader::openGroup()
{
    flushText();
    mUcSkip = 0;
    if (mSkippedDepth > 0 || mStack.size() >= kMaxDepth) {
        ++mSkippedDepth;
        return;
    }
    mStack.append(mState);
    mGroupStart = true;
    mStarStar = false;
}

void Reader::closeGroup()
{
    flushText();
    mUcSkip = 0;
    mGroupStart = false;
    mStarStar = false;
    if (mSkippedDepth > 0) {
        --mSkippedDepth;
        return;
    }
    if (mStack.isEmpty())
        return;  // stray closing brace
    if (mStack.size() == 1 && mState.dest == Dest::Text && mParagraphHasContent) {
        // A document whose last paragraph has no \par: that paragraph keeps its own
        // format, and a document joined after it starts a paragraph of its own.
        finishParagraph();
        mBlockPending = true;
    }
    const Dest closing = mState.dest;
    mState = mStack.takeLast();
    if (closing == Dest::ListTable && mState.dest == Dest::ListTable) {
        // a {\list ...} group closed
        if (mCurrentDefId != 0)
            mListDefs.insert(mCurrentDefId, mCurrentDef);
    }
    if (closing == Dest::OldList && mState.dest == Dest::Text) {
        const int id = mOldListStyle == QTextListFormat::ListDisc ? kOldBulletList : kOldNumberList + int(mOldListStyle);
        ListDef def;
        def.levels.append(ListLevel{mOldListStyle, mOldListStart});
        mListDefs.insert(id, def);
        mOverrides.insert(id, id);
        mState.para.ls = id;
        mState.para.ilvl = 0;
    }
    if (closing == Dest::ListOverrideTable && mState.dest == Dest::ListOverrideTable) {
        if (mOverrideLs != 0)
            mOverrides.insert(mOverrideLs, mOverrideListId);
    }
}

void Reader::newDocument()
{
    // A second {\rtf1 ...} joined after the first one: its tables are its own.
    flushText();
    mColors.clear();
    mFontCodePage.clear();
    mDocCodePage = 1252;
    mDefaultFont = 0;
    mListDefs.clear();
    mOverrides.clear();
    mRunLs = -1;
    mLevelLists.clear();
    mState.chr = CharState();
    mState.para = ParaState();
    mState.uc = 1;
}

bool Reader::startDestination(const QString& word)
{
    if (word == u"rtf") {
        if (mDocuments++ > 0)
            newDocument();
        return true;
    }
    if (word == u"fonttbl") {
        mState.dest = Dest::FontTable;
        return true;
    }
    if (word == u"colortbl") {
        mState.dest = Dest::ColorTable;
        mColors.clear();
        mColorHasValue = false;
        mRed = mGreen = mBlue = 0;
        return true;
    }
    if (word == u"listtable") {
        mState.dest = Dest::ListTable;
        return true;
    }
    if (word == u"pn") {
        // the older paragraph numbering: {\*\pn\pnlvlblt ...} inside the paragraph
        mState.dest = Dest::OldList;
        mOldListStyle = QTextListFormat::ListDisc;
        mOldListStart = 1;
        return true;
    }
    if (word == u"listoverridetable") {
        mState.dest = Dest::ListOverrideTable;
        return true;
    }
    static const QStringList skipped = {
        QStringLiteral("stylesheet"), QStringLiteral("info"), QStringLiteral("pict"), QStringLiteral("object"),
        QStringLiteral("header"), QStringLiteral("headerl"), QStringLiteral("headerr"), QStringLiteral("headerf"),
        QStringLiteral("footer"), QStringLiteral("footerl"), QStringLiteral("footerr"), QStringLiteral("footerf"),
        QStringLiteral("footnote"), QStringLiteral("annotation"), QStringLiteral("listtext"),
        QStringLiteral("pntext"), QStringLiteral("fldinst"), QStringLiteral("xe"), QStringLiteral("tc"),
        QStringLiteral("bkmkstart"), QStringLiteral("bkmkend"), QStringLiteral("themedata"),
        QStringLiteral("filetbl"), QStringLiteral("revtbl"), QStringLiteral("rsidtbl"),
        QStringLiteral("generator"), QStringLiteral("nonshppict"), QStringLiteral("shp"),
        QStringLiteral("latentstyles"), QStringLiteral("datastore"), QStringLiteral("colorschememapping"),
        QStringLiteral("nonesttables")};
    if (skipped.contains(word)) {
        mState.dest = Dest::Skip;
        return true;
    }
    return false;
}

void Reader::controlWord(const QString& word, bool hasParam, int param)
{
    const bool atGroupStart = mGroupStart;
    mGroupStart = false;

    if (atGroupStart || mStarStar) {
        const bool starred = mStarStar;
        mStarStar = false;
        if (mState.dest != Dest::Skip && startDestination(word)) {
            if (word != u"rtf")
                flushText();
            return;
        }
        if (starred) {
            mState.dest = Dest::Skip;
            return;
        }
    }

    switch (mState.dest) {
    case Dest::Skip:
        return;
    case Dest::FontTable:
        if (word == u"f") {
            mFontTableFont = param;
        } else if (word == u"fcharset" || word == u"cpg") {
            const int cp = word == u"cpg" ? param : CharsetCodePage(param);
            if (cp > 0)
                mFontCodePage.insert(mFontTableFont, cp);
        }
        return;
    case Dest::ColorTable:
        colorTableWord(word, param);
        return;
    case Dest::ListTable:
    case Dest::ListOverrideTable:
        listTableWord(word, hasParam, param);
        return;
    case Dest::OldList:
        if (word == u"pnlvlblt")
            mOldListStyle = QTextListFormat::ListDisc;
        else if (word == u"pndec" || word == u"pnlvlbody")
            mOldListStyle = QTextListFormat::ListDecimal;
        else if (word == u"pnlcltr")
            mOldListStyle = QTextListFormat::ListLowerAlpha;
        else if (word == u"pnucltr")
            mOldListStyle = QTextListFormat::ListUpperAlpha;
        else if (word == u"pnlcrm")
            mOldListStyle = QTextListFormat::ListLowerRoman;
        else if (word == u"pnucrm")
            mOldListStyle = QTextListFormat::ListUpperRoman;
        else if (word == u"pnstart" && hasParam)
            mOldListStart = qBound(0, param, 32767);
        return;
    case Dest::Text:
        break;
    }

    CharState& c = mState.chr;
    ParaState& p = mState.para;
    const bool on = !hasParam || param != 0;
    auto clampTwips = [](int v) { return qBound(-31680, v, 31680); };

    // characters
    if (word == u"par" || word == u"sect" || word == u"page") {
        ensureParagraph();
        finishParagraph();
        mBlockPending = true;
        if (word == u"page")
            mPageBreakPending = true;
    } else if (word == u"line") {
        appendText(QString(QChar::LineSeparator));
    } else if (word == u"tab") {
        appendText(QStringLiteral("\t"));
    } else if (word == u"u") {
        int v = param;
        if (v < 0)
            v += 65536;
        if (v > 0 && v < 65536 && v != 0xFFFE && v != 0xFFFF)
            appendText(QString(QChar(static_cast<char16_t>(v))));
        mUcSkip = mState.uc;
    } else if (word == u"uc") {
        mState.uc = qBound(0, param, 10);
    } else if (word == u"emdash") {
        appendText(QString(QChar(0x2014)));
    } else if (word == u"endash") {
        appendText(QString(QChar(0x2013)));
    } else if (word == u"bullet") {
        appendText(QString(QChar(0x2022)));
    } else if (word == u"lquote") {
        appendText(QString(QChar(0x2018)));
    } else if (word == u"rquote") {
        appendText(QString(QChar(0x2019)));
    } else if (word == u"ldblquote") {
        appendText(QString(QChar(0x201C)));
    } else if (word == u"rdblquote") {
        appendText(QString(QChar(0x201D)));
    }
    // character formatting
    else if (word == u"plain") {
        c = CharState();
        mState.font = -1;
    } else if (word == u"b") {
        c.bold = on;
    } else if (word == u"i") {
        c.italic = on;
    } else if (word == u"ul" || word == u"uld" || word == u"uldb" || word == u"ulw" || word == u"uldash"
               || word == u"ulth" || word == u"ulwave") {
        c.underline = on;
    } else if (word == u"ulnone") {
        c.underline = false;
    } else if (word == u"fs") {
        if (hasParam && param > 0)
            c.halfPoints = qBound(2, param, 3276);
    } else if (word == u"cf") {
        c.color = qMax(0, param);
    }
    // paragraph formatting
    else if (word == u"pard") {
        p = ParaState();
    } else if (word == u"ql") {
        p.align = 0;
    } else if (word == u"qc") {
        p.align = 1;
    } else if (word == u"qr") {
        p.align = 2;
    } else if (word == u"qj") {
        p.align = 3;
    } else if (word == u"li") {
        p.li = clampTwips(param);
    } else if (word == u"ri") {
        p.ri = clampTwips(param);
    } else if (word == u"fi") {
        p.fi = clampTwips(param);
    } else if (word == u"sb") {
        p.sb = qBound(0, param, 31680);
    } else if (word == u"sa") {
        p.sa = qBound(0, param, 31680);
    } else if (word == u"tqr") {
        p.nextTabType = QTextOption::RightTab;
    } else if (word == u"tqc") {
        p.nextTabType = QTextOption::CenterTab;
    } else if (word == u"tqdec") {
        p.nextTabType = QTextOption::DelimiterTab;
    } else if (word == u"tx") {
        if (p.tabs.size() < kMaxTabs && param >= 0) {
            QTextOption::Tab tab(TwipsToPixels(qBound(0, param, 31680)), p.nextTabType);
            if (tab.type == QTextOption::DelimiterTab)
                tab.delimiter = u'.';
            p.tabs.append(tab);
        }
        p.nextTabType = QTextOption::LeftTab;
    } else if (word == u"pagebb") {
        p.pageBefore = on;
    } else if (word == u"ls") {
        p.ls = qMax(0, param);
    } else if (word == u"ilvl") {
        p.ilvl = qBound(0, param, 8);
    }
    // tables
    else if (word == u"intbl") {
        p.inTable = true;
    } else if (word == u"itap") {
        p.inTable = param > 0;
    } else if (word == u"trowd") {
        mCellDefs.clear();
        mNextCell = CellDef();
    } else if (word == u"clmgf") {
        mNextCell.mergeFirst = true;
    } else if (word == u"clmrg") {
        mNextCell.mergeNext = true;
    } else if (word == u"clvmgf") {
        mNextCell.vMergeFirst = true;
    } else if (word == u"clvmrg") {
        mNextCell.vMergeNext = true;
    } else if (word == u"cellx") {
        if (mCellDefs.size() < kMaxColumns) {
            // edges must grow: a damaged row keeps at least a twip per cell
            const int previous = mCellDefs.isEmpty() ? 0 : mCellDefs.last().x;
            mNextCell.x = qBound(previous + 1, param, 31680 + kMaxColumns);
            mCellDefs.append(mNextCell);
        }
        mNextCell = CellDef();
    } else if (word == u"cell") {
        p.inTable = true;
        // The cell mark after a nested table adds no empty paragraph of its own, and a cell
        // merged into its neighbour adds nothing to it.
        const bool empty = mBlockPending || !mParagraphHasContent;
        const bool merged = mTable && mCellOpen == false && continuesMergedCell(mCol) && mPending.isEmpty()
            && !mParagraphHasContent;
        if (merged && empty) {
            ensureRow();  // a row of merged cells only is a row all the same
        } else if (!(mAfterNestedCell && mBlockPending && mPending.isEmpty())) {
            ensureParagraph();
            finishParagraph();
        }
        mAfterNestedCell = false;
        ++mCol;
        mCellOpen = false;
        mBlockPending = false;
    } else if (word == u"row") {
        flushText();
        if (mTable && mRowHasCells) {
            ++mRow;
            mCol = 0;
            mCellOpen = false;
            mRowHasCells = false;
        }
    // words a document says once, or seldom, come last
    } else if (word == u"nestcell") {
        // A table inside a cell: its cells stand as paragraphs of the outer cell.
        ensureParagraph();
        finishParagraph();
        mBlockPending = true;
        mAfterNestedCell = true;
    } else if (word == u"ansicpg") {
        if (param > 0)
            mDocCodePage = param;
    } else if (word == u"ansi") {
        mDocCodePage = 1252;
    } else if (word == u"mac") {
        mDocCodePage = 10000;
    } else if (word == u"pc") {
        mDocCodePage = 437;
    } else if (word == u"pca") {
        mDocCodePage = 850;
    } else if (word == u"deff") {
        mDefaultFont = param;
    } else if (word == u"f") {
        mState.font = param;
    }
}

void Reader::controlSymbol(QChar c)
{
    mGroupStart = false;
    if (c == u'*') {
        mStarStar = true;
        return;
    }
    if (c == u'\\' || c == u'{' || c == u'}') {
        text(c);
    } else if (c == u'~') {
        text(QChar(0x00A0));
    } else if (c == u'-') {
        text(QChar(0x00AD));
    } else if (c == u'_') {
        text(QChar(0x2011));
    } else if (c == u'\r' || c == u'\n') {
        controlWord(QStringLiteral("par"), false, 0);
    }
    // \: and others carry no text
}

void Reader::text(QChar c)
{
    mGroupStart = false;
    mStarStar = false;
    switch (mState.dest) {
    case Dest::Text:
        if ((c.unicode() < 0x20 && c != u'\t') || c == QChar::ObjectReplacementCharacter || c.unicode() >= 0xFFFE)
            return;
        appendText(QString(c));
        return;
    case Dest::ColorTable:
        if (c == u';') {
            mColors.append(mColorHasValue ? QColor(mRed, mGreen, mBlue) : QColor());
            mColorHasValue = false;
            mRed = mGreen = mBlue = 0;
        }
        return;
    default:
        return;
    }
}

void Reader::colorTableWord(const QString& word, int param)
{
    const int v = qBound(0, param, 255);
    if (word == u"red") {
        mRed = v;
        mColorHasValue = true;
    } else if (word == u"green") {
        mGreen = v;
        mColorHasValue = true;
    } else if (word == u"blue") {
        mBlue = v;
        mColorHasValue = true;
    }
}

void Reader::listTableWord(const QString& word, bool hasParam, int param)
{
    if (mState.dest == Dest::ListTable) {
        if (word == u"list") {
            mCurrentDef = ListDef();
            mCurrentDefId = 0;
            mLevelCount = 0;
        } else if (word == u"listlevel") {
            ++mLevelCount;
            if (mCurrentDef.levels.size() < kMaxListLevels)
                mCurrentDef.levels.append(ListLevel());
        } else if ((word == u"levelnfc" || word == u"levelnfcn") && mLevelCount == mCurrentDef.levels.size()
                   && mLevelCount > 0) {
            QTextListFormat::Style& style = mCurrentDef.levels.last().style;
            switch (param) {
            case 0: style = QTextListFormat::ListDecimal; break;
            case 1: style = QTextListFormat::ListUpperRoman; break;
            case 2: style = QTextListFormat::ListLowerRoman; break;
            case 3: style = QTextListFormat::ListUpperAlpha; break;
            case 4: style = QTextListFormat::ListLowerAlpha; break;
            default: style = QTextListFormat::ListDisc; break;
            }
        } else if (word == u"levelstartat" && hasParam && mLevelCount == mCurrentDef.levels.size()
                   && mLevelCount > 0) {
            mCurrentDef.levels.last().start = qBound(0, param, 32767);
        } else if (word == u"listid") {
            mCurrentDefId = param;
        }
    } else {
        if (word == u"listoverride") {
            mOverrideLs = 0;
            mOverrideListId = 0;
        } else if (word == u"listid") {
            mOverrideListId = param;
        } else if (word == u"ls") {
            mOverrideLs = param;
        }
    }
}

QTextCharFormat Reader::charFormat(const CharState& c) const
{
    QTextCharFormat f;
    f.setFontWeight(c.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(c.italic);
    f.setFontUnderline(c.underline);
    f.setFontPointSize(c.halfPoints / 2.0);
    if (c.color > 0 && c.color < mColors.size() && mColors.at(c.color).isValid())
        f.setForeground(mColors.at(c.color));
    return f;
}

bool Reader::takeLayoutSet(QSet<QString>& seen, const QString& key)
{
    if (seen.contains(key))
        return true;
    if (seen.size() >= kMaxLayoutSets)
        return false;
    seen.insert(key);
    return true;
}

QTextBlockFormat Reader::blockFormat(const ParaState& p)
{
    QTextBlockFormat f;
    static const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify};
    f.setAlignment(aligns[qBound(0, p.align, 3)]);
    f.setLeftMargin(TwipsToPixels(p.li));
    f.setRightMargin(TwipsToPixels(p.ri));
    f.setTextIndent(TwipsToPixels(p.fi));
    f.setTopMargin(TwipsToPixels(p.sb));
    f.setBottomMargin(TwipsToPixels(p.sa));
    if (!p.tabs.isEmpty()) {
        QString key;
        for (const QTextOption::Tab& tab : p.tabs)
            key += QStringLiteral("%1:%2;").arg(tab.position).arg(int(tab.type));
        if (takeLayoutSet(mTabSets, key))
            f.setTabPositions(p.tabs);
    }
    return f;
}

void Reader::appendText(const QString& s)
{
    ensureParagraph();
    if (!mPending.isEmpty() && !(mPendingFormat == mState.chr))
        flushText();
    mPendingFormat = mState.chr;
    mPending += s;
    mParagraphHasContent = true;
}

void Reader::flushText()
{
    if (mPending.isEmpty())
        return;
    mCursor.insertText(mPending, charFormat(mPendingFormat));
    mPending.clear();
}

void Reader::ensureParagraph()
{
    if (mState.para.inTable) {
        if (!mTable) {
            flushText();
            startTable();
        } else if (!mCellOpen) {
            enterCell();
        } else if (mBlockPending) {
            flushText();
            mCursor.insertBlock();
        }
    } else {
        if (mTable) {
            flushText();
            endTable();
        } else if (mBlockPending) {
            flushText();
            mCursor.insertBlock();
        }
    }
    mBlockPending = false;
    mParagraphHasContent = true;
    mAfterNestedCell = false;
    if (mPageBreakPending && !mState.para.inTable) {
        mBreakThisParagraph = true;
        mPageBreakPending = false;
    }
}

void Reader::finishParagraph()
{
    flushText();
    QTextBlockFormat f = blockFormat(mState.para);
    if (mBreakThisParagraph || mState.para.pageBefore)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    mBreakThisParagraph = false;
    mCursor.setBlockFormat(f);
    assignList(mState.para);
    mParagraphHasContent = false;
}

void Reader::assignList(const ParaState& p)
{
    if (p.ls <= 0) {
        mRunLs = -1;
        mLevelLists.clear();
        return;
    }
    if (p.ls != mRunLs) {
        mRunLs = p.ls;
        mLevelLists.clear();
    }
    const int level = qBound(0, p.ilvl, kMaxListLevels - 1);
    mLevelLists.resize(level + 1);
    if (QTextList* list = mLevelLists.at(level)) {
        list->add(mCursor.block());
        return;
    }
    const ListLevel def = mListDefs.value(mOverrides.value(p.ls, p.ls)).level(level);
    QTextListFormat f;
    f.setStyle(def.style);
    f.setIndent(level + 1);
    if (def.start != 1)
        f.setProperty(kListStartProperty, def.start);
    mLevelLists[level] = mCursor.createList(f);
}

void Reader::startTable()
{
    QTextTableFormat f;
    f.setBorder(1);
    f.setCellPadding(3);
    f.setCellSpacing(0);
    f.setBorderCollapse(true);
    mEdges.clear();
    mMergedCells.clear();
    mFinishedMerges.clear();
    for (const CellDef& d : std::as_const(mCellDefs))
        mEdges.append(d.x);
    mColumns = qMax(1, int(mEdges.size()));
    QString key;
    const QList<QTextLength> widths = columnWidths(&key);
    if (!widths.isEmpty() && takeLayoutSet(mWidthSets, key))
        f.setColumnWidthConstraints(widths);
    mWidthsStale = false;
    // A paragraph ended just before: the table itself separates, so no empty block in between.
    mTable = mCursor.insertTable(1, mColumns, f);
    mRows = 1;
    mRow = 0;
    mCol = 0;
    beginRow();
    mCellOpen = false;
    enterCell();
}

int Reader::columnOfEdge(int x) const
{
    // the column whose right edge is nearest (the edges ascend)
    if (mEdges.isEmpty())
        return 0;
    const int above = int(std::lower_bound(mEdges.begin(), mEdges.end(), x) - mEdges.begin());
    if (above >= mEdges.size())
        return int(mEdges.size()) - 1;
    if (above > 0 && x - mEdges.at(above - 1) <= mEdges.at(above) - x)
        return above - 1;
    return above;
}

bool Reader::continuesMergedCell(int cell) const
{
    if (cell < 0 || cell >= mCellDefs.size())
        return false;
    return (mCellDefs.at(cell).mergeNext && cell > 0) || (mCellDefs.at(cell).vMergeNext && mRow > 0);
}

void Reader::merge(int row, int column, int rows, int columns)
{
    // Qt takes any rectangle on trust; a damaged file must not ask it for one that leaves the
    // table or cuts through a cell merged before.
    if (row < 0 || column < 0 || rows < 1 || columns < 1 || row + rows > mRows || column + columns > mColumns)
        return;
    for (int r = row; r < row + rows; ++r) {
        for (int c = column; c < column + columns; ++c) {
            const QTextTableCell cell = mTable->cellAt(r, c);
            if (cell.row() < row || cell.column() < column || cell.row() + cell.rowSpan() > row + rows
                || cell.column() + cell.columnSpan() > column + columns)
                return;
        }
    }
    mTable->mergeCells(row, column, rows, columns);
}

QList<QTextLength> Reader::columnWidths(QString* key) const
{
    QList<QTextLength> widths;
    int prev = 0;
    for (int x : std::as_const(mEdges)) {
        widths.append(QTextLength(QTextLength::FixedLength, TwipsToPixels(qMax(1, x - prev))));
        *key += QString::number(qMax(1, x - prev)) + u';';
        prev = x;
    }
    // Qt keeps one width a column and trusts the list to be that long when it inserts columns.
    while (!widths.isEmpty() && widths.size() < mColumns)
        widths.append(widths.last());
    return widths;
}

void Reader::setColumnWidths()
{
    mWidthsStale = false;
    QString key;
    const QList<QTextLength> widths = columnWidths(&key);
    if (!widths.isEmpty() && takeLayoutSet(mWidthSets, key)) {
        QTextTableFormat f = mTable->format();
        f.setColumnWidthConstraints(widths);
        mTable->setFormat(f);
    }
}

void Reader::beginRow()
{
    // Cells sit under the columns their right edges name: an edge the table has not seen
    // splits the column it falls in. Merges wait for the end of the table, when the columns
    // are known: Qt's tables do not take column changes across merged cells well.
    constexpr int kSlack = 20;  // twips: writers round edges
    for (const CellDef& d : std::as_const(mCellDefs)) {
        if (mEdges.size() >= kMaxColumns)
            break;
        int p = 0;
        while (p < mEdges.size() && mEdges.at(p) < d.x - kSlack)
            ++p;
        if (p < mEdges.size() && qAbs(mEdges.at(p) - d.x) <= kSlack)
            continue;
        mEdges.insert(p, d.x);
        mWidthsStale = true;
        if (mEdges.size() > mColumns) {
            mTable->insertColumns(qMin(p + 1, mColumns), 1);
            ++mColumns;
        }
    }
    if (mWidthsStale)
        setColumnWidths();

    // Cells that can no longer grow downwards are set aside: only those reaching the row
    // above can be joined. A later row may still split their columns.
    for (int m = 0; m < mMergedCells.size();) {
        if (mMergedCells.at(m).row + mMergedCells.at(m).rows >= mRow) {
            ++m;
            continue;
        }
        mFinishedMerges.append(mMergedCells.takeAt(m));
    }

    // Where each cell of the row starts, and the cells it makes with its merges.
    mRowCellColumn.clear();
    int left = 0;
    int previous = -1;  // the record the cell before belongs to
    for (int k = 0; k < mCellDefs.size(); ++k) {
        const CellDef& d = mCellDefs.at(k);
        mRowCellColumn.append(qMin(columnOfEdge(left) + (left > 0 ? 1 : 0), mColumns - 1));
        int joined = -1;
        if (d.vMergeNext && mRow > 0) {
            for (int m = 0; m < mMergedCells.size(); ++m) {
                MergedCell& above = mMergedCells[m];
                const int end = above.row + above.rows;
                // the cell above that holds this cell's middle
                const int twiceMiddle = left + d.x;
                if ((end == mRow || end == mRow + 1) && 2 * above.left < twiceMiddle && 2 * above.right > twiceMiddle) {
                    if (end == mRow)
                        ++above.rows;
                    above.right = qMax(above.right, d.x);
                    joined = m;
                    break;
                }
            }
        }
        if (joined < 0 && d.mergeNext && previous >= 0) {
            mMergedCells[previous].right = qMax(mMergedCells.at(previous).right, d.x);
            joined = previous;
        }
        if (joined < 0) {
            mMergedCells.append(MergedCell{mRow, 1, left, d.x});
            joined = int(mMergedCells.size()) - 1;
        }
        previous = joined;
        left = d.x;
    }
    mRowHasCells = true;
}

void Reader::applyMerges()
{
    QList<std::array<int, 4>> merges;  // row, column, rows, columns
    const auto collect = [&](const QList<MergedCell>& cells) {
        for (const MergedCell& m : cells) {
            const int first = m.left > 0 ? columnOfEdge(m.left) + 1 : 0;
            const int last = columnOfEdge(m.right);
            if (m.rows > 1 || last > first)
                merges.append({m.row, first, m.rows, last - first + 1});
        }
    };
    collect(mFinishedMerges);
    collect(mMergedCells);
    mMergedCells.clear();
    mFinishedMerges.clear();
    if (merges.isEmpty())
        return;
    // Qt's merge can hand a neighbouring cell's paragraph the format of a cell merged away:
    // the paragraphs of every cell get their own formats back afterwards.
    QList<QList<QTextBlockFormat>> formats(mRows * mColumns);
    for (int r = 0; r < mRows; ++r)
        for (int c = 0; c < mColumns; ++c)
            for (auto it = mTable->cellAt(r, c).begin(); !it.atEnd(); ++it)
                if (!it.currentFrame())
                    formats[r * mColumns + c].append(it.currentBlock().blockFormat());
    for (const auto& m : std::as_const(merges))
        merge(m[0], m[1], m[2], m[3]);
    for (int r = 0; r < mRows; ++r) {
        for (int c = 0; c < mColumns; ++c) {
            const QTextTableCell cell = mTable->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            const QList<QTextBlockFormat>& kept = formats.at(r * mColumns + c);
            int i = 0;
            for (auto it = cell.begin(); !it.atEnd() && i < kept.size(); ++it) {
                if (it.currentFrame())
                    continue;
                QTextCursor(it.currentBlock()).setBlockFormat(kept.at(i++));
            }
        }
    }
}

bool Reader::ensureRow()
{
    if (mRow < mRows)
        return false;
    if (mRows >= kMaxTableRows) {
        flushText();
        endTable();
        startTable();  // enters its first cell
        return true;
    }
    if (mRows >= mTable->rows())
        mTable->appendRows(qMin(kRowsAhead, kMaxTableRows - mRows));
    ++mRows;
    beginRow();
    return false;
}

void Reader::enterCell()
{
    if (ensureRow())
        return;
    int column = mCol < mRowCellColumn.size() ? mRowCellColumn.at(mCol) : mCol;
    if (column >= mColumns) {
        if (mColumns >= kMaxColumns) {
            column = mColumns - 1;
        } else {
            mTable->appendColumns(column - mColumns + 1);
            mColumns = column + 1;
        }
    }
    mRowHasCells = true;
    const QTextTableCell cell = mTable->cellAt(qMin(mRow, mRows - 1), column);
    mCursor = cell.lastCursorPosition();
    // Extra cells of a row wider than the table, and cells merged into another, add a paragraph.
    if (cell.firstPosition() != cell.lastPosition())
        mCursor.insertBlock();
    mCellOpen = true;
}

void Reader::dropRowsAhead()
{
    if (mTable->rows() > mRows)
        mTable->removeRows(mRows, mTable->rows() - mRows);
}

void Reader::endTable()
{
    dropRowsAhead();
    applyMerges();
    mCursor.setPosition(mTable->lastPosition() + 1);
    mTable = nullptr;
    mCellOpen = false;
}

} // namespace

bool ReadRtf(const QString& rtf, QTextDocument* doc)
{
    if (!doc)
        return false;
    doc->clear();
    int start = 0;
    while (start < rtf.size() && rtf.at(start).isSpace())
        ++start;
    if (!QStringView(rtf).mid(start).startsWith(u"{\\rtf"))
        return false;
    doc->setDefaultFont(DefaultFont());
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    {
        // One edit block: the layout and the change signals follow once, at the end.
        QTextCursor block(doc);
        block.beginEditBlock();
        Reader reader(doc);
        reader.run(rtf);
        block.endEditBlock();
    }
    doc->setUndoRedoEnabled(undo);
    return true;
}

} // namespace richtext
