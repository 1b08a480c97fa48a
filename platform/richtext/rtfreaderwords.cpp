#include "platform/richtext/rtfreader_p.h"

#include "platform/richtext/units.h"

namespace richtext::rtfread {

namespace {
constexpr int kMaxTabs = 64;
} // namespace

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


    if (mState.dest != Dest::Text) {
        destinationWord(word, hasParam, param);
        return;
    }
    // The commonest words first: a document says the words of its text and formatting over
    // and over, those of its tables less often, and its document words once.
    if (textWord(word, param) || characterFormatWord(word, hasParam, param) || paragraphWord(word, hasParam, param)
        || tableWord(word, param))
        return;
    documentWord(word, param);
}

bool Reader::textWord(const QString& word, int param)
{
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
    } else {
        return false;
    }
    return true;
}

bool Reader::characterFormatWord(const QString& word, bool hasParam, int param)
{
    CharState& c = mState.chr;
    const bool on = !hasParam || param != 0;
    if (word == u"plain") {
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
    } else {
        return false;
    }
    return true;
}

bool Reader::paragraphWord(const QString& word, bool hasParam, int param)
{
    ParaState& p = mState.para;
    auto clampTwips = [](int v) { return qBound(-31680, v, 31680); };
    if (word == u"pard") {
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
        p.pageBefore = !hasParam || param != 0;
    } else if (word == u"ls") {
        p.ls = qMax(0, param);
    } else if (word == u"ilvl") {
        p.ilvl = qBound(0, param, 8);
    } else {
        return false;
    }
    return true;
}

void Reader::documentWord(const QString& word, int param)
{
    if (word == u"ansicpg") {
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

} // namespace richtext::rtfread
