#include "platform/richtext/rtf.h"

#include "platform/richtext/cp1252.h"
#include "platform/richtext/rtfreader_p.h"
#include "platform/richtext/units.h"

#include <QTextDocument>

namespace richtext {

namespace rtfread {

namespace {

constexpr int kMaxDepth = 256;          // deeper groups are read as skipped
constexpr int kMaxWordLength = 32;
constexpr int kMaxParamDigits = 10;
constexpr long long kMaxParam = 1000000000LL;
// list ids for the older paragraph numbering, out of the range the list table uses
constexpr int kOldBulletList = 2000000000;
constexpr int kOldNumberList = 2000000100;

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

} // namespace

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

} // namespace rtfread

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
        rtfread::Reader reader(doc);
        reader.run(rtf);
        block.endEditBlock();
    }
    doc->setUndoRedoEnabled(undo);
    return true;
}

} // namespace richtext
