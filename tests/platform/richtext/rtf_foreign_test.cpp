// RTF as other word processors write it: code pages, section and page breaks, raw data,
// nested tables and multi-level lists read as those programs show them.
#include "platform/richtext/rtf.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include <vector>

#include <gtest/gtest.h>

using namespace richtext;

namespace {

struct Snippet
{
    const char* name;
    const char* rtf;    // UTF-8 source; the RTF itself is ASCII
    const char* plain;  // UTF-8 text a word processor shows
};

class ForeignRtf : public ::testing::TestWithParam<Snippet> {};

TEST_P(ForeignRtf, ReadsAsItsWriterMeantIt)
{
    const Snippet& s = GetParam();
    const QString rtf = QString::fromUtf8(s.rtf);
    EXPECT_EQ(RtfToPlainText(rtf).toStdString(), std::string(s.plain));
    // and what we save of it reads back the same
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(rtf, &doc));
    EXPECT_EQ(RtfToPlainText(WriteRtf(doc)).toStdString(), std::string(s.plain));
}

INSTANTIATE_TEST_SUITE_P(
    Snippets, ForeignRtf,
    ::testing::Values(
        Snippet{"GreekFontCharset", R"({\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}{\f1\fcharset161 A;}}\f1 \'c1\'eb\'f6\'e1\par })",
                "Αλφα"},
        Snippet{"CyrillicDocumentCodePage", R"({\rtf1\ansi\ansicpg1251\deff0{\fonttbl{\f0 Arial;}}\'cc\'e8\'f0\par })",
                "Мир"},
        Snippet{"JapaneseDoubleBytes",
                R"({\rtf1\ansi\ansicpg932\deff0{\fonttbl{\f0\fcharset128 MS Mincho;}}\f0 \'93\'fa\'96\'7b\par })", "日本"},
        Snippet{"JapaneseTrailByteAsPlainCharacter",
                R"({\rtf1\ansi\ansicpg932\deff0{\fonttbl{\f0\fcharset128 MS Mincho;}}\f0 \'83\'5cX\'83\\ok\par })",
                "ソXソok"},
        Snippet{"MacRoman", R"({\rtf1\mac\deff0{\fonttbl{\f0 Helvetica;}}Caf\'8e\par })", "Café"},
        Snippet{"FontTableWithoutGroups",
                R"({\rtf1\ansi\deff0{\fonttbl\f0\fswiss Helvetica;\f1\fcharset204 Times;}\f1 \'cc\f0 \'e9\par })", "Мé"},
        Snippet{"PlainGoesBackToTheDefaultFont",
                R"({\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}{\f1\fcharset161 A;}}\f1 \'c1\plain \'c1\par })", "ΑÁ"},
        Snippet{"UnicodeFallbackSkipped", R"({\rtf1\ansi\ansicpg1251\uc1 \u1052\'cc\'e8\par })", "Ми"},
        Snippet{"SectionBreak", R"({\rtf1\ansi First section\sect\sectd Second section\par })",
                "First section\r\nSecond section"},
        Snippet{"LiteralTab", "{\\rtf1\\ansi a\tb\\par }", "a\tb"},
        Snippet{"BinaryData", R"({\rtf1\ansi a{\*\blob\bin5 }{x\\}b\par })", "ab"},
        Snippet{"BinaryDataInPicture", R"({\rtf1\ansi a{\pict\bin3 {{{}b\par })", "ab"},
        Snippet{"SoftHyphen", R"({\rtf1\ansi fire\-fighter\par })", "fire\u00adfighter"},
        Snippet{"NestedTableCells",
                R"({\rtf1\ansi before\par \trowd\cellx4000\cellx8000\pard\intbl\itap1 Out1\par)"
                R"(\pard\intbl\itap2 In1\nestcell In2\nestcell{\*\nesttableprops\trowd\cellx1000\cellx2000\nestrow}{\nonesttables\par})"
                R"(\pard\intbl\itap1\cell Out2\cell\row\pard after\par })",
                "before\r\nOut1\r\nIn1\r\nIn2\r\nOut2\r\nafter"}),
    [](const ::testing::TestParamInfo<Snippet>& info) { return std::string(info.param.name); });

const char kTwoLevelList[] =
    R"({\rtf1\ansi{\*\listtable{\list\listtemplateid1{\listlevel\levelnfc0\levelstartat5{\leveltext\'02\'00.;}})"
    R"({\listlevel\levelnfc4\levelstartat1{\leveltext\'02\'01);}}\listid1}})"
    R"({\*\listoverridetable{\listoverride\listid1\listoverridecount0\ls1}})"
    R"(\pard\ls1\ilvl0 five\par \pard\ls1\ilvl1 sub a\par \pard\ls1\ilvl0 six\par \pard\ls1\ilvl1 sub again\par })";

void ExpectTwoLevelList(const QTextDocument& doc)
{
    const QTextBlock five = doc.begin();
    const QTextBlock subA = five.next();
    const QTextBlock six = subA.next();
    const QTextBlock subAgain = six.next();
    ASSERT_TRUE(five.textList() && subA.textList() && six.textList() && subAgain.textList());
    // the first level goes on past its sub-list
    EXPECT_EQ(five.textList(), six.textList());
    EXPECT_EQ(six.textList()->itemNumber(six), 1);
    EXPECT_EQ(five.textList()->format().style(), QTextListFormat::ListDecimal);
    EXPECT_EQ(five.textList()->format().property(kListStartProperty).toInt(), 5);
    // each level has its own style, and a sub-list starts again after an item above it
    EXPECT_EQ(subA.textList()->format().style(), QTextListFormat::ListLowerAlpha);
    EXPECT_EQ(subA.textList()->format().indent(), 2);
    EXPECT_NE(subA.textList(), subAgain.textList());
    EXPECT_EQ(subAgain.textList()->itemNumber(subAgain), 0);
}

TEST(ForeignLists, LevelsKeepTheirStyleStartAndNumbering)
{
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(QString::fromLatin1(kTwoLevelList), &doc));
    ExpectTwoLevelList(doc);
}

TEST(ForeignLists, OurRtfOfNestedStartedListsReadsBackTheSame)
{
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(QString::fromLatin1(kTwoLevelList), &doc));
    const QString saved = WriteRtf(doc);
    // every level is written with its style and start, and the numbers shown go on
    EXPECT_TRUE(saved.contains(QStringLiteral("\\levelnfc0\\leveljc0\\levelfollow0\\levelstartat5"))) << saved.toStdString();
    EXPECT_TRUE(saved.contains(QStringLiteral("\\levelnfc4\\leveljc0\\levelfollow0\\levelstartat1")));
    EXPECT_TRUE(saved.contains(QStringLiteral("{\\listtext 6.\\tab}\\ls1\\ilvl0")));
    EXPECT_EQ(saved.count(QStringLiteral("\\listtemplateid")), 1);
    QTextDocument again;
    ASSERT_TRUE(ReadRtf(saved, &again));
    ExpectTwoLevelList(again);
    EXPECT_EQ(WriteRtf(again).toStdString(), saved.toStdString());
}

TEST(ForeignLists, LongListNumbersOnWithoutRestarting)
{
    QString rtf = QStringLiteral("{\\rtf1\\ansi{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc0}\\listid1}}"
                                 "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\\pard\\ls1 ");
    for (int i = 0; i < 2500; ++i)
        rtf += QStringLiteral("item\\par ");
    rtf += u'}';
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(rtf, &doc));
    EXPECT_EQ(doc.begin().textList(), doc.lastBlock().previous().textList());
    EXPECT_TRUE(WriteRtf(doc).contains(QStringLiteral("{\\listtext 2500.\\tab}")));
}

TEST(ForeignBreaks, PageBreakStartsTheNextParagraphOnANewPage)
{
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(QStringLiteral("{\\rtf1\\ansi one\\page two\\par three\\par }"), &doc));
    ASSERT_EQ(doc.blockCount(), 3);
    EXPECT_FALSE(doc.begin().blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_TRUE(doc.begin().next().blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_FALSE(doc.lastBlock().blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    QTextDocument again;
    ASSERT_TRUE(ReadRtf(WriteRtf(doc), &again));
    EXPECT_TRUE(again.begin().next().blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
}

} // namespace

namespace {

QTextTable* FirstTable(QTextDocument& doc)
{
    for (QTextFrame* f : doc.rootFrame()->childFrames())
        if (auto* t = qobject_cast<QTextTable*>(f))
            return t;
    return nullptr;
}

QString CellText(QTextTable* t, int r, int c)
{
    const QTextTableCell cell = t->cellAt(r, c);
    QTextCursor a = cell.firstCursorPosition();
    a.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return a.selectedText();
}

struct Span
{
    int row, col, rowSpan, colSpan;
    const char* text;
};

struct TableCase
{
    const char* name;
    const char* rows;  // the table's RTF, between "before\par " and "\pard after\par }"
    int rowCount, colCount;
    std::vector<Span> cells;
};

class ForeignTables : public ::testing::TestWithParam<TableCase> {};

void ExpectCells(QTextDocument& doc, const TableCase& c)
{
    QTextTable* t = FirstTable(doc);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->rows(), c.rowCount);
    EXPECT_EQ(t->columns(), c.colCount);
    for (const Span& s : c.cells) {
        const QTextTableCell cell = t->cellAt(s.row, s.col);
        EXPECT_EQ(cell.row(), s.row) << s.text;
        EXPECT_EQ(cell.column(), s.col) << s.text;
        EXPECT_EQ(cell.rowSpan(), s.rowSpan) << s.text;
        EXPECT_EQ(cell.columnSpan(), s.colSpan) << s.text;
        EXPECT_EQ(CellText(t, s.row, s.col).toStdString(), std::string(s.text));
    }
}

TEST_P(ForeignTables, CellsSitUnderTheirEdgesAndKeepTheirMerges)
{
    const TableCase& c = GetParam();
    const QString rtf = QStringLiteral("{\\rtf1\\ansi before\\par ") + QString::fromLatin1(c.rows)
        + QStringLiteral("\\pard after\\par }");
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(rtf, &doc));
    ExpectCells(doc, c);
    // our own RTF of it reads back the same, and saves again unchanged
    const QString saved = WriteRtf(doc);
    QTextDocument again;
    ASSERT_TRUE(ReadRtf(saved, &again));
    ExpectCells(again, c);
    EXPECT_EQ(WriteRtf(again).toStdString(), saved.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ForeignTables,
    ::testing::Values(
        TableCase{"TwoWideCellsUnderThree",
                  R"(\trowd\cellx2000\cellx4000\cellx6000\pard\intbl a\cell b\cell c\cell\row )"
                  R"(\trowd\cellx4000\cellx6000\pard\intbl wide\cell narrow\cell\row )",
                  2, 3, {{0, 0, 1, 1, "a"}, {0, 2, 1, 1, "c"}, {1, 0, 1, 2, "wide"}, {1, 2, 1, 1, "narrow"}}},
        TableCase{"ThreeCellsUnderTwoSplitTheColumnsAbove",
                  R"(\trowd\cellx3000\cellx6000\pard\intbl A\cell B\cell\row )"
                  R"(\trowd\cellx2000\cellx4000\cellx6000\pard\intbl x\cell y\cell z\cell\row )",
                  2, 4, {{0, 0, 1, 2, "A"}, {0, 2, 1, 2, "B"}, {1, 0, 1, 1, "x"}, {1, 1, 1, 2, "y"}, {1, 3, 1, 1, "z"}}},
        TableCase{"HorizontalMerge",
                  R"(\trowd\clmgf\cellx2000\clmrg\cellx4000\cellx6000\pard\intbl joined\cell\cell c\cell\row )"
                  R"(\trowd\cellx2000\cellx4000\cellx6000\pard\intbl d\cell e\cell f\cell\row )",
                  2, 3, {{0, 0, 1, 2, "joined"}, {0, 2, 1, 1, "c"}, {1, 1, 1, 1, "e"}}},
        TableCase{"VerticalMerge",
                  R"(\trowd\clvmgf\cellx2000\cellx4000\pard\intbl tall\cell b\cell\row )"
                  R"(\trowd\clvmrg\cellx2000\cellx4000\pard\intbl\cell d\cell\row )"
                  R"(\trowd\cellx2000\cellx4000\pard\intbl e\cell f\cell\row )",
                  3, 2, {{0, 0, 2, 1, "tall"}, {1, 1, 1, 1, "d"}, {2, 0, 1, 1, "e"}}}),
    [](const ::testing::TestParamInfo<TableCase>& info) { return std::string(info.param.name); });


TEST(ForeignTables, FuzzFoundMergesSaveStably)
{
    // merged cells over columns a later row splits; a row of merged cells only; a merged
    // column narrower than the slack allowed for rounded edges; a vertical merge beside a
    // paragraph with a format of its own
    const QByteArray inputs[] = {QByteArray("{\\rtf1\\ansi \\trowd\\clvmgf\\clm\xbd""f\\cellparowd\\clvmrg\\cx20{\\rtf1\\rowd\\clvmgf\\clmgf\\cell\\par0\\clmrg\\cellx4000\\cellx6000\\parowd\\clvmrg\xe2""\\clmgf\\cellx2000\\clvmrg\xa3""clmrg\\ce{\\r\xfb""tf1\\a\\pard\\2\\cell\\row\\parl00\\clmrg\\cellx4000\\cel{mgf\\cljipsvibmcljipsvo7i\\tx\\74fonllx2ips1g\\clmrg\\ce{\\ibm851\\drpaa2\\\\cell\\row\\parllx5d"), QByteArray("{\\rtf1\\ansi \\trowd\\clvmgf\\clmgf\\cellx2000\\clmrg\\cellx400\\clvmgf6000\\p\\listtableard\\intbl a\\cell\\cell c\\cell\\row \\trowd\\clvmrg\\clmgf\\cellx2000\\clvmrg\\clmrg\\cellx\xf7""\xf7""\xf7""\xf7""4\xff""\xff""\xff""\xff""\xff""\xff""\xff""\xff""\xff""\xff""\xff""\xff""\xff""\xff""\xff""\xff""\xff""\xff""\xff""\xff""\xff""\xff""\xff""\xff""000\\cellx6000\\pard\\intbl\\cels\\cell f\\cell\\row \\ti i\\cell j\\cell\\row\\pard x\\par }"), QByteArray("{\\rtf1\\ansi \\trowd\\clvmgf\\clmgf\\cellx2000\\clmrg\\cellx400\x1d""\\cellx6000\\pard\\intbl a\\cell\\cell c\\cell\\row \\trowd\\clvmrg\\clmgf\\cellx2000\\clvmrg\\clmrg\\cellard\\intbl a\\cex4000\\cellx6000\\pard\\intbl\\cell\\cell f\\cell\\row \\trd\\intbl g\\cell j\\cell\\r\xba""\xfa""\xba""\xba""\xba""\xba""5000\\cellx6000\\pard\\intbl g\\cell j\\cell\\row\\pard x\\par }"), QByteArray("{\\rtf1\\ansi \\trowd\\clvmgf\\clmgf\\cellx2000\\clmrg\\cellx400\x1d""\\cellx6000\\pard\\intbl a\\cell\\cell c\\cell\\row \\trowd\\clvmrg\\clmgf\\cellx2000\\clvmrg\\clmrg\\cellx4000\\cellx6000\\pard\\intbl\\cell\\cell f\\cell\\row \\trowd\\cellx1000\\c\xe6""\xe6""\xe6""\xe6""\xe6""\xba""\xba""\xba""\xba""\xfa""\xba""\xba""\xba""\xba""5000\\cellx6000\\pard\\intbl g\\cell j\\cell\\row\\pard x\\par }")};
    for (const QByteArray& input : inputs) {
        QString rtf = QString::fromLatin1(input);
        if (input.at(0) & 1)
            rtf.prepend(QStringLiteral("{\\rtf1 "));
        QTextDocument doc;
        ASSERT_TRUE(ReadRtf(rtf, &doc));
        const QString once = WriteRtf(doc);
        QTextDocument again;
        ASSERT_TRUE(ReadRtf(once, &again));
        EXPECT_EQ(WriteRtf(again).toStdString(), once.toStdString());
    }
}

} // namespace
