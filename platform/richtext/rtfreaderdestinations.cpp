#include "platform/richtext/rtfreader_p.h"

namespace richtext::rtfread {

namespace {

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

} // namespace

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

void Reader::destinationWord(const QString& word, bool hasParam, int param)
{
    switch (mState.dest) {
    case Dest::Skip:
    case Dest::Text:
        return;
    case Dest::FontTable:
        fontTableWord(word, param);
        return;
    case Dest::ColorTable:
        colorTableWord(word, param);
        return;
    case Dest::ListTable:
    case Dest::ListOverrideTable:
        listTableWord(word, hasParam, param);
        return;
    case Dest::OldList:
        oldListWord(word, hasParam, param);
        return;
    }
}

void Reader::fontTableWord(const QString& word, int param)
{
    if (word == u"f") {
        mFontTableFont = param;
    } else if (word == u"fcharset" || word == u"cpg") {
        const int cp = word == u"cpg" ? param : CharsetCodePage(param);
        if (cp > 0)
            mFontCodePage.insert(mFontTableFont, cp);
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

void Reader::oldListWord(const QString& word, bool hasParam, int param)
{
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
}

} // namespace richtext::rtfread
