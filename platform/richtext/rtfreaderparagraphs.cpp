#include "platform/richtext/rtfreader_p.h"

#include "platform/richtext/rtf.h"
#include "platform/richtext/units.h"

#include <QTextBlock>

namespace richtext::rtfread {

namespace {
// Qt tells tab-stop lists and column-width lists apart only by their length, so
// each new one is compared with all before it: beyond this many they are dropped.
constexpr int kMaxLayoutSets = 256;
} // namespace

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

} // namespace richtext::rtfread
