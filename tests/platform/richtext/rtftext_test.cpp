#include "platform/richtext/rtftext.h"

#include <gtest/gtest.h>

using richtext::FixRtfLists;
using richtext::TrimTrailingBreaks;

TEST(TrimTrailingBreaks, StripsOnlyTrailingBlanksAndBreaks)
{
    const struct { const char* in; const char* out; } cases[] = {
        {"", ""},
        {"plain", "plain"},
        {"text  ", "text"},
        {"text\r\n", "text"},
        {"text \r\n \n\r  ", "text"},
        {" \r\n ", ""},
        {"a \r\nb", "a \r\nb"},       // inner breaks stay
        {"tabbed\t", "tabbed\t"},     // a tab is not a blank
        {"  leading", "  leading"},
    };
    for (const auto& c : cases) {
        QString text = QString::fromUtf8(c.in);
        const QString result = TrimTrailingBreaks(text);
        EXPECT_EQ(result, QString::fromUtf8(c.out)) << c.in;
        EXPECT_EQ(text, result) << "the caller's text is trimmed too: " << c.in;
    }
}

namespace {
// A two-item bullet list as the text editor writes it.
QString ListRtf(const QString& body = QStringLiteral("Item"))
{
    return QStringLiteral(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Symbol;}}"
        "{\\*\\listtable{\\list\\listtemplateid1\\listhybrid{\\listlevel\\levelnfc23}\\listid1}}"
        "{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}}"
        "\\pard{\\pntext\\f1\\'B7\\tab}\\ls1\\ilvl0 %1 one\\par"
        "{\\pntext\\f1\\'B7\\tab}\\ls1\\ilvl0 %1 two\\par}").arg(body);
}

QString Indented(QString rtf)
{
    return rtf.replace(QStringLiteral("\\tab}\\ls1\\ilvl0"),
                       QStringLiteral("\\tab}\\pard\\fi-360\\li360\\tx360\\ls1\\ilvl0"));
}

class FixRtfListsTest : public ::testing::Test {
protected:
    void SetUp() override { richtext::SetListCounter(0); }
};
}  // namespace

TEST_F(FixRtfListsTest, FirstListOnlyGetsIndentsLaterListsGetTheirOwnId)
{
    const QString source = ListRtf();
    const QString first = FixRtfLists(source);
    EXPECT_EQ(first, Indented(source));
    EXPECT_EQ(richtext::ListCounter(), 1);

    QString second = FixRtfLists(source);
    EXPECT_EQ(source, ListRtf()) << "the caller's text stays as it was";
    EXPECT_EQ(second, Indented(source)
                          .replace(QStringLiteral("listtemplateid1"), QStringLiteral("listtemplateid2"))
                          .replace(QStringLiteral("listid1"), QStringLiteral("listid2"))
                          .replace(QStringLiteral("\\ls1"), QStringLiteral("\\ls2")));
    EXPECT_EQ(richtext::ListCounter(), 2);
}

TEST_F(FixRtfListsTest, TextWithoutAListIsNotCounted)
{
    const QString plain = QStringLiteral("{\\rtf1\\ansi\\pard Nothing listed\\par}");
    EXPECT_EQ(FixRtfLists(plain), plain);
    // Item markup without a list table is still indented, and still not counted.
    const QString bare = QStringLiteral("{\\rtf1{\\pntext\\tab}\\ls1\\ilvl0 x\\par}");
    EXPECT_EQ(FixRtfLists(bare), Indented(bare));
    EXPECT_EQ(richtext::ListCounter(), 0);
}

TEST_F(FixRtfListsTest, TwoDigitIdsDoNotMatchThemselves)
{
    richtext::SetListCounter(11);
    const QString fixed = FixRtfLists(ListRtf());
    EXPECT_EQ(fixed.count(QStringLiteral("listtemplateid12")), 1);
    EXPECT_EQ(fixed.count(QStringLiteral("\\listid12}")), 1);
    EXPECT_EQ(fixed.count(QStringLiteral("\\listid12\\")), 1);
    EXPECT_EQ(fixed.count(QStringLiteral("\\ls12")), 3);
    EXPECT_FALSE(fixed.contains(QStringLiteral("\\ls1\\")));
    EXPECT_FALSE(fixed.contains(QStringLiteral("listid1\\")));
}

TEST_F(FixRtfListsTest, TruncatedListTableDoesNotCorruptText)
{
    richtext::SetListCounter(1);
    const QString broken = QStringLiteral("{\\rtf1{\\*\\listtable{\\list\\listtemplateid1}}x\\par}");
    EXPECT_EQ(FixRtfLists(broken), QStringLiteral("{\\rtf1{\\*\\listtable{\\list\\listtemplateid2}}x\\par}"));
}
