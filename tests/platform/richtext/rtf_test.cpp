#include "platform/richtext/rtf.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <gtest/gtest.h>

#include <numeric>

using namespace richtext;

namespace {

const QString kEmpty = QStringLiteral(
    "{\\rtf1\\ansi\\ansicpg1252\\uc0\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0\\fprq2 Arial;}}"
    "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue255;}\\plain\\f0\\fs20 \\pard \\par }");

QString Head()
{
    return QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\uc0\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0\\fprq2 Arial;}}"
                          "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue255;\\red200\\green10\\blue30;}"
                          "\\plain\\f0\\fs20 ");
}

QString Resave(const QString& rtf)
{
    QTextDocument doc;
    EXPECT_TRUE(ReadRtf(rtf, &doc)) << rtf.toStdString();
    return WriteRtf(doc);
}

struct RoundTrip
{
    const char* name;
    QString rtf;
    QString plain;  // expected plain text after reading
};

class RtfRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(RtfRoundTrip, StableAfterFirstSaveAndKeepsText)
{
    const RoundTrip& c = GetParam();
    const QString first = Resave(c.rtf);
    const QString second = Resave(first);
    EXPECT_EQ(first.toStdString(), second.toStdString());
    EXPECT_TRUE(first.endsWith(QStringLiteral("\\par }"))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("\\ansicpg1252")));
    EXPECT_EQ(first.count(QStringLiteral("\\fonttbl{\\f0")), 1);
    EXPECT_EQ(RtfToPlainText(c.rtf).toStdString(), c.plain.toStdString());
    EXPECT_EQ(RtfToPlainText(first).toStdString(), c.plain.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Documents, RtfRoundTrip,
    ::testing::Values(
        RoundTrip{"EmptyBody", kEmpty, ""},
        RoundTrip{"PlainParagraphs",
                  Head() + "\\pard First line\\par Second line\\par \\par Fourth\\par }",
                  "First line\r\nSecond line\r\n\r\nFourth"},
        RoundTrip{"UpgradedPlainText",
                  Head() + "\\pard Crews on scene.\\par Winds 20 mph\\par }", "Crews on scene.\r\nWinds 20 mph"},
        RoundTrip{"LineBreakAndTab", Head() + "\\pard a\\line b\\tab c\\par }", "a\r\nb\tc"},
        RoundTrip{"BoldItalicUnderline",
                  Head() + "\\pard \\b bold\\b0  \\i it\\i0  \\ul under\\ulnone  plain\\par }", "bold it under plain"},
        RoundTrip{"SizesAndColour", Head() + "\\pard \\fs32 big\\fs16 small {\\cf3 red}\\par }", "bigsmall red"},
        RoundTrip{"AlignmentAndIndents",
                  Head() + "\\pard\\qc centred\\par \\pard\\qr\\li720\\ri360\\fi-360 right\\par \\pard\\qj j\\par }",
                  "centred\r\nright\r\nj"},
        RoundTrip{"TabStops", Head() + "\\pard\\tx720\\tqr\\tx4320\\tqc\\tx2000 a\\tab b\\par }", "a\tb"},
        RoundTrip{"Bullets",
                  Head() + "{\\*\\listtable{\\list\\listtemplateid1\\listsimple{\\listlevel\\levelnfc23"
                           "{\\leveltext\\'01\\'95;}{\\levelnumbers;}}\\listid1}}"
                           "{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}}"
                           "\\pard{\\listtext\\'95\\tab}\\ls1\\ilvl0 one\\par {\\listtext\\'95\\tab}\\ls1\\ilvl0 two\\par "
                           "\\pard after\\par }",
                  "one\r\ntwo\r\nafter"},
        RoundTrip{"Numbers",
                  Head() + "{\\*\\listtable{\\list\\listtemplateid1\\listsimple{\\listlevel\\levelnfc0"
                           "{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}\\listid1}}"
                           "{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}}"
                           "\\pard{\\listtext 1.\\tab}\\ls1 one\\par {\\listtext 2.\\tab}\\ls1 two\\par }",
                  "one\r\ntwo"},
        RoundTrip{"NonAscii", Head() + "\\pard caf\\'e9 \\'80 \\u8364  \\u-3913  \\u20013  x{\\uc1\\u8364 ?\\u8364\\'80}\\par }",
                  QString::fromUtf8("café € € \xEF\x82\xB7 中 x€€")},
        RoundTrip{"EscapedBracesAndBackslash", Head() + "\\pard a\\{b\\}c\\\\d\\par }", "a{b}c\\d"},
        RoundTrip{"Table",
                  Head() + "\\pard before\\par \\trowd\\cellx2000\\cellx5000\\pard\\intbl a\\cell b\\cell \\row "
                           "\\trowd\\cellx2000\\cellx5000\\pard\\intbl c\\par c2\\cell d\\cell \\row \\pard after\\par }",
                  "before\r\na\r\nb\r\nc\r\nc2\r\nd\r\nafter"},
        RoundTrip{"JoinedPair",
                  kEmpty.left(kEmpty.size() - 12) + "\\pard one\\par }" + kEmpty.left(kEmpty.size() - 12)
                      + "\\pard \\b two\\par }",
                  "one\r\ntwo"},
        RoundTrip{"UnknownWordsAndDestinations",
                  Head() + "{\\*\\generator Foo;}{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}\\viewkind4"
                           "\\pard\\foo7 x{\\*\\bar hidden}y{\\field{\\*\\fldinst HYPERLINK}{\\fldrslt z}}\\par }",
                  "xyz"}),
    [](const ::testing::TestParamInfo<RoundTrip>& info) { return std::string(info.param.name); });

TEST(RtfWriter, EmptyDocumentIsTheEmptyBody)
{
    QTextDocument doc;
    EXPECT_EQ(WriteRtf(doc).toStdString(), kEmpty.toStdString());
    EXPECT_EQ(EmptyRtf(), kEmpty);
    EXPECT_EQ(Resave(kEmpty).toStdString(), kEmpty.toStdString());
}

TEST(RtfReader, ReadsFormatting)
{
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(Head() + "\\pard\\qc\\li720\\fi-360\\tx1440 \\b B\\b0\\i I\\i0\\ul U\\ulnone\\fs40 S{\\cf3 C}\\par }",
                        &doc));
    const QTextBlock b = doc.begin();
    EXPECT_EQ(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(b.blockFormat().leftMargin(), 48.0);
    EXPECT_DOUBLE_EQ(b.blockFormat().textIndent(), -24.0);
    ASSERT_EQ(b.blockFormat().tabPositions().size(), 1);
    auto fmtAt = [&](int pos) {
        QTextCursor c(&doc);
        c.setPosition(pos + 1);
        return c.charFormat();
    };
    EXPECT_EQ(fmtAt(0).fontWeight(), QFont::Bold);
    EXPECT_TRUE(fmtAt(1).fontItalic());
    EXPECT_FALSE(fmtAt(1).fontWeight() == QFont::Bold);
    EXPECT_TRUE(fmtAt(2).fontUnderline());
    EXPECT_DOUBLE_EQ(fmtAt(3).fontPointSize(), 20.0);
    EXPECT_EQ(fmtAt(4).foreground().color(), QColor(200, 10, 30));
    EXPECT_DOUBLE_EQ(fmtAt(4).fontPointSize(), 20.0);  // the group inherits the size
}

TEST(RtfReader, ListsAndTablesBecomeStructure)
{
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(Resave(Head() + "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc0}\\listid7}}"
                                        "{\\*\\listoverridetable{\\listoverride\\listid7\\ls1}}"
                                        "\\pard\\ls1 one\\par two\\par \\pard x\\par "
                                        "\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl a\\cell b\\cell c\\cell \\row }"),
                        &doc));
    const QTextBlock one = doc.begin();
    ASSERT_NE(one.textList(), nullptr);
    EXPECT_EQ(one.textList()->format().style(), QTextListFormat::ListDecimal);
    EXPECT_EQ(one.textList(), one.next().textList());
    EXPECT_EQ(one.textList()->count(), 2);
    EXPECT_EQ(one.next().next().textList(), nullptr);
    // after an interruption a list starts again
    QTextDocument split;
    ASSERT_TRUE(ReadRtf(Head() + "\\pard\\ls1 a\\par \\pard b\\par \\pard\\ls1 c\\par }", &split));
    ASSERT_NE(split.begin().textList(), nullptr);
    ASSERT_NE(split.lastBlock().textList(), nullptr);
    EXPECT_NE(split.begin().textList(), split.lastBlock().textList());
    // the older paragraph numbering of simpler editors
    QTextDocument old;
    ASSERT_TRUE(ReadRtf(Head() + "{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}\\fi-720\\li720 a\\par "
                               "{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}b\\par \\pard c\\par }", &old));
    EXPECT_EQ(old.toPlainText(), QStringLiteral("a\nb\nc"));
    ASSERT_NE(old.begin().textList(), nullptr);
    EXPECT_EQ(old.begin().textList()->format().style(), QTextListFormat::ListDisc);
    ASSERT_NE(old.begin().next().textList(), nullptr);
    EXPECT_EQ(old.begin().next().textList()->format().style(), QTextListFormat::ListDecimal);
    EXPECT_EQ(old.lastBlock().textList(), nullptr);
    QTextCursor c(&doc);
    c.setPosition(one.next().next().next().position());
    QTextTable* t = c.currentTable();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->rows(), 1);
    EXPECT_EQ(t->columns(), 3);
    EXPECT_EQ(t->cellAt(0, 2).firstCursorPosition().block().text(), QStringLiteral("c"));
}

TEST(RtfReader, LastParagraphWithoutParKeepsItsFormatAndEndsAtItsDocument)
{
    // Bodies saved before the ending rule may end in "text}" rather than in "\par }".
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(Head() + "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc0}\\listid1}}"
                                 "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                                 "\\pard\\ls1 item}",
                        &doc));
    ASSERT_NE(doc.begin().textList(), nullptr);
    EXPECT_EQ(doc.begin().textList()->format().style(), QTextListFormat::ListDecimal);

    ASSERT_TRUE(ReadRtf(Head() + "\\pard\\qc\\li720 centred}", &doc));
    EXPECT_EQ(doc.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(doc.begin().blockFormat().leftMargin(), 48.0);

    // a description joined after such a body starts on a line of its own
    const QString joined = Head() + "\\pard\\qc Own text}" + kEmpty.left(kEmpty.size() - 12) + "\\pard Target:\\par }";
    EXPECT_EQ(RtfToPlainText(joined).toStdString(), "Own text\r\nTarget:");
    ASSERT_TRUE(ReadRtf(joined, &doc));
    EXPECT_EQ(doc.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(doc.lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

TEST(RtfReader, LongTableKeepsEveryRow)
{
    QString rtf = Head() + "\\trowd\\cellx2000\\cellx4000 ";
    QStringList expected;
    for (int r = 1; r <= 1200; ++r) {
        rtf += QStringLiteral("\\pard\\intbl a%1\\cell b%1\\cell \\row ").arg(r);
        expected << QStringLiteral("a%1").arg(r) << QStringLiteral("b%1").arg(r);
    }
    rtf += "\\pard end\\par }";
    expected << QStringLiteral("end");
    const QString once = Resave(rtf);
    EXPECT_EQ(Resave(once), once);
    QStringList lines = RtfToPlainText(once).split(QStringLiteral("\r\n"));
    lines.removeAll(QString());
    EXPECT_EQ(lines, expected);
}

TEST(RtfReader, HundredsOfDistinctTabStopsAndColumnWidthsReadWholeAndStable)
{
    QString rtf = Head();
    for (int i = 1; i <= 600; ++i)
        rtf += QStringLiteral("\\pard\\tx%1 t%1\\par \\trowd\\cellx%1\\pard\\intbl c%1\\cell \\row ").arg(i * 3);
    rtf += QStringLiteral("\\pard end\\par }");
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(rtf, &doc));
    // the first keep their layout
    ASSERT_EQ(doc.begin().blockFormat().tabPositions().size(), 1);
    EXPECT_DOUBLE_EQ(doc.begin().blockFormat().tabPositions().at(0).position, 0.2);
    const QString once = WriteRtf(doc);
    EXPECT_TRUE(once.contains(QStringLiteral("\\cellx3\\")));
    EXPECT_EQ(Resave(once), once);
    const QString plain = RtfToPlainText(once);
    for (const char* word : {"t3\r", "c3\r", "t1800\r", "c1800\r", "end"})
        EXPECT_TRUE(plain.contains(QLatin1String(word))) << word;
}

TEST(RtfWriter, ListMarkupKeepsTheShapeReportsRewrite)
{
    const QString out = Resave(Head() + "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc23}\\listid1}}"
                                        "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\\pard\\ls1 one\\par }");
    EXPECT_TRUE(out.contains(QStringLiteral("listtemplateid1")));
    EXPECT_EQ(out.count(QStringLiteral("listid1")), 2);
    EXPECT_TRUE(out.contains(QStringLiteral("\\tab}\\ls1\\ilvl0"))) << out.toStdString();

    // the report's rewrite of that markup still reads as an indented list
    QString rewritten = out;
    rewritten.replace(QStringLiteral("\\tab}\\ls1\\ilvl0"), QStringLiteral("\\tab}\\pard\\fi-360\\li360\\tx360\\ls1\\ilvl0"));
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(rewritten, &doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("one"));
    ASSERT_NE(doc.begin().textList(), nullptr);
    EXPECT_DOUBLE_EQ(doc.begin().blockFormat().leftMargin(), 24.0);
}

TEST(RtfWriter, EscapesTextAndEncodesCodePage)
{
    QTextDocument doc;
    QTextCursor(&doc).insertText(QString::fromUtf8("{a}\\b é€中"));
    const QString out = WriteRtf(doc);
    EXPECT_TRUE(out.contains(QStringLiteral("\\pard \\{a\\}\\\\b \\'e9\\'80\\u20013\\par }"))) << out.toStdString();
    for (QChar ch : out)
        EXPECT_LT(ch.unicode(), 0x80);
}

TEST(RtfReader, RefusesTextThatIsNotRtf)
{
    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("old"));
    for (const char* s : {"", "plain words", "{\\rtx1 nope}", "rtf1"}) {
        EXPECT_FALSE(ReadRtf(QString::fromLatin1(s), &doc)) << s;
        EXPECT_TRUE(doc.isEmpty());
    }
    EXPECT_EQ(RtfToPlainText(QStringLiteral("plain words")), QStringLiteral("plain words"));
    EXPECT_TRUE(ReadRtf(QStringLiteral("  {\\rtf1 x}"), &doc));
}

TEST(RtfReader, SurvivesDamagedInput)
{
    const QString deep = QStringLiteral("{\\rtf1 ") + QString(100000, u'{') + "x" + QString(3, u'}');
    const QStringList damaged = {
        QStringLiteral("{\\rtf1 unterminated \\b bold"),
        QStringLiteral("{\\rtf1 }}}} stray \\par }"),
        QStringLiteral("{\\rtf1 \\fs99999999999999999999 huge\\li-99999999999999 \\u99999999999 x\\par }"),
        QStringLiteral("{\\rtf1 \\'zz \\'4 \\"),
        QStringLiteral("{\\rtf1 \\cell\\cell\\row\\intbl\\cell\\trowd\\cellx-5 a\\row\\row\\pard b\\cell }"),
        QStringLiteral("{\\rtf1 {\\colortbl;\\red999;}\\cf77 \\ls99\\ilvl99 q\\par }"),
        QStringLiteral("{\\rtf1 \\abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz1 t}"),
        deep,
    };
    for (const QString& s : damaged) {
        QTextDocument doc;
        EXPECT_TRUE(ReadRtf(s, &doc));
        const QString out = WriteRtf(doc);
        EXPECT_TRUE(out.endsWith(QStringLiteral("\\par }")));
        EXPECT_EQ(Resave(out), out) << s.left(80).toStdString();
    }
    EXPECT_EQ(RtfToPlainText(QStringLiteral("{\\rtf1 unterminated \\b bold")), QStringLiteral("unterminated bold"));
}

// Inputs the fuzzer once found to crash the reader or to change on a second save.
const char* const kFuzzFindings[] = {
        "e1xydGYxXGFuc2lcYW5zaWNwZzEyNTICAFx1YzBcZGVmZjB7XGZvbnR0Ymx7XGYwXHtce1xsaXN0dGV4dHJ0Ymw7XHJlZDIwMFxncmVlbjFcYmz//2Zzd2n///////////////////////////////////////9z/////////3VlMjtzXA==",
        "e1xydGYxIFxwYYabIGJccGFyIFx0cm93ZFxjZWxseDIwMDBcY2VsbHg1XHJvdyBcdHJvd2RcY2VsbHgxMDBccGFyZDAwMFxwYXJkXGludGJsIGFcY2VsbCBiXHBhciBjXGNlbGwgXHJvdyBcdHJvd2RcbCBccm93IFx0cm93ZFxj5WxseDEwMFxwYXJkXGludGJsIHhcY2VsbFxyb3cgXHBhcmQgYWZmMSBccGFyZCB0d29ccGFyIH0=",
        "e1xydGYxIFxwYXJkIGJcAAAAslx0cm93ZFxjZWxseDIwMjAwXGNlemx4NTAwMFxwYXJkXGludGJsIGFcY2NlbGx4NTAwMFxwYXJkXGludGJlbGwgYlxwYXIgY1xjZWxsIFxyXGNlbGx4PzAw//////////90YmwgeFxjZWwgd1xsb3JccGFyZCBhZnRlclxwYXIgfXtccnRmMSBccGFyZCB0d29ccGFyIH0=",
        "e1xye1xydGYxIFxwMDAwXHB0ZjJ73HBhclyMkm93ZHR0ZXgBBTEuXHRhYn1cbHMxfGlsdmxcY2Vs////////////////bFxwYXIgdHdvXHBhdHcvAQAAFwAAAHJkIHhccGFyIGxzMFxpbHZsMWNlbGxccGFyIHR3b1xwYXJgb1xwYXIgdHdvXHBhuolrASBhAABccGF6IGxzMFxpbHZsXHBhdCAxAQV0YWJ9XGxzMiB0d29ccGFyIFxwcmQgeFxwYXIgbHMwXGlsdmwxY2VsbFxwYXIge1xyZjFcdHVccHtccnR7XC90ZlypcnRmciB0d29ccGFyYGFyZFxtbnRibCBhXGNlbGwgYlxwYXIgY1xjcm93ZFxjZWxsAVxjZWxsAABsbHg1XHJvd1xwYXQgMS5cdGZcqXJ0ZnIgdHdvXHBhcmBccGF0IDEuXHRhYhRcbHMyJmlsdmwwIG9ub1xwYXJgXHBhZVwgXA==",
};

TEST(RtfReader, FuzzFindingsReadAndSaveStably)
{
    for (const char* b64 : kFuzzFindings) {
        const QByteArray data = QByteArray::fromBase64(b64);
        QString text = QString::fromLatin1(data);
        if (data.at(0) & 1)
            text.prepend(QStringLiteral("{\\rtf1 "));
        const QString once = Resave(text);
        EXPECT_EQ(Resave(once), once);
    }
}

TEST(EndingRule, AddsParOnlyWhenNeeded)
{
    struct Case
    {
        const char* rtf;
        const char* plain;
        const char* expected;
    } cases[] = {
        {"{\\rtf1 text}", "text", "{\\rtf1 text\\par }"},
        {"{\\rtf1 text\\par }", "text", "{\\rtf1 text\\par }"},
        {"{\\rtf1 }", "", "{\\rtf1 }"},
        {"{\\rtf1 text\\par}", "text", "{\\rtf1 text\\par\\par }"},
        {"{\\rtf1 text", "text", "{\\rtf1 text"},
        {"", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EnsureParEnding(QString::fromLatin1(c.rtf), QString::fromLatin1(c.plain)).toStdString(),
                  std::string(c.expected))
            << c.rtf;
}

} // namespace

// Long tables: read a stretch of rows at a time, every table keeps exactly the rows of the
// text, whether a paragraph follows it or the text ends in it, and past the most rows one table
// holds the rest goes on in another.
TEST(RtfReader, LongTablesKeepExactlyTheirRows)
{
    const auto rows = [](int count) {
        QString s;
        for (int r = 0; r < count; ++r)
            s += QStringLiteral("\\trowd\\cellx2000\\cellx5000\\pard\\intbl a%1\\cell b%1\\cell \\row ").arg(r);
        return s;
    };
    const struct {
        QString rtf;
        QList<int> tables;
    } cases[] = {
        {Head() + rows(70) + "\\pard after\\par }", {70}},
        {Head() + rows(130) + "}", {130}},
        {Head() + rows(1100) + "\\pard after\\par }", {500, 500, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tables.size());
        QTextDocument doc;
        ASSERT_TRUE(ReadRtf(c.rtf, &doc));
        QList<int> found;
        for (QTextFrame* frame : doc.rootFrame()->childFrames())
            if (auto* t = qobject_cast<QTextTable*>(frame))
                found << t->rows();
        EXPECT_EQ(found, c.tables);
        const QString text = doc.toPlainText();
        const int total = std::accumulate(c.tables.begin(), c.tables.end(), 0);
        EXPECT_TRUE(text.contains(QStringLiteral("a%1").arg(total - 1)));
        EXPECT_TRUE(text.contains(QStringLiteral("b%1").arg(total - 1)));
    }
}
