#pragma once

// The RTF reader's inside, shared by its parts: the tokens and groups (rtfreader.cpp), the
// control words (rtfreaderwords.cpp), the destinations with their font, colour and list tables
// (rtfreaderdestinations.cpp), paragraphs and lists (rtfreaderparagraphs.cpp) and tables
// (rtfreadertables.cpp). Nothing outside platform/richtext includes it.

#include <QColor>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextFormat>
#include <QTextList>
#include <QTextTable>

#include <map>
#include <memory>

namespace richtext::rtfread {

constexpr int kMaxColumns = 64;
constexpr int kMaxListLevels = 9;

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

class Reader
{
public:
    explicit Reader(QTextDocument* doc) : mCursor(doc) {}

    void run(const QString& rtf);

private:
    // tokens
    void controlWord(const QString& word, bool hasParam, int param);
    // control words in the text, by kind; each says whether the word was its own
    bool textWord(const QString& word, int param);
    bool characterFormatWord(const QString& word, bool hasParam, int param);
    bool paragraphWord(const QString& word, bool hasParam, int param);
    bool tableWord(const QString& word, int param);
    void documentWord(const QString& word, int param);
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
    void destinationWord(const QString& word, bool hasParam, int param);
    void fontTableWord(const QString& word, int param);
    void colorTableWord(const QString& word, int param);
    void listTableWord(const QString& word, bool hasParam, int param);
    void oldListWord(const QString& word, bool hasParam, int param);

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

} // namespace richtext::rtfread
