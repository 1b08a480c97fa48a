#include "platform/label/formattedlabel.h"

#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

using label::FormattedLabel;
using label::Paragraph;
using label::ParseMarkup;

namespace {

struct Expected {
    QString text;
    int before, left, right;
};

struct Case {
    const char* name;
    QString caption;
    QList<Expected> paragraphs;
};

} // namespace

TEST(FormattedLabelMarkup, ParagraphSettingsOfEveryTag)
{
    const QList<Case> cases = {
        {"plain", "Just text", {{"Just text", 0, 0, 0}}},
        {"CR splits", "one|CR|two", {{"one", 0, 0, 0}, {"two", 0, 0, 0}}},
        {"BEFORE after CR applies to that paragraph and sticks",
         "a|CR||BEFORE:180|b|CR||BEFORE:90|c|CR|d",
         {{"a", 0, 0, 0}, {"b", 180, 0, 0}, {"c", 90, 0, 0}, {"d", 90, 0, 0}}},
        {"BEFORE before CR applies to the next paragraph",
         "New button.|BEFORE:180||CR|Open button.", {{"New button.", 0, 0, 0}, {"Open button.", 180, 0, 0}}},
        {"mixed case names", "|Before:60||Left:0||Right:0|x|CR||left:180|y|cr||LEFT:0|z",
         {{"x", 60, 0, 0}, {"y", 60, 180, 0}, {"z", 60, 0, 0}}},
        {"PARALEFT indents the following paragraphs", "head|CR||PARALEFT:180|- a|CR|- b",
         {{"head", 0, 0, 0}, {"- a", 0, 180, 0}, {"- b", 0, 180, 0}}},
        {"Right", "|Right:240|r", {{"r", 0, 0, 240}}},
        {"unknown tags and stray bars stay text", "a|X:3|b|c||CR", {{"a|X:3|b|c||CR", 0, 0, 0}}},
        {"trailing CR gives an empty paragraph", "a|CR|", {{"a", 0, 0, 0}, {"", 0, 0, 0}}},
        {"empty caption", "", {}},
        {"figures past ten inches are held there (a hang in the layout otherwise)",
         "|Before:2147483647||Left:-99999||Right:99999999999|x", {{"x", 14400, -14400, 0}}},
    };
    for (const Case& c : cases) {
        const QList<Paragraph> got = ParseMarkup(c.caption);
        ASSERT_EQ(got.size(), c.paragraphs.size()) << c.name;
        for (int i = 0; i < got.size(); ++i) {
            const Expected& e = c.paragraphs[i];
            EXPECT_EQ(got[i].text(), e.text) << c.name << " #" << i;
            EXPECT_EQ(got[i].beforeTwips, e.before) << c.name << " #" << i;
            EXPECT_EQ(got[i].leftTwips, e.left) << c.name << " #" << i;
            EXPECT_EQ(got[i].rightTwips, e.right) << c.name << " #" << i;
        }
    }
}

TEST(FormattedLabelMarkup, BoldRunsFollowTheBTags)
{
    const auto got = ParseMarkup(QStringLiteral("|B:1|Type 1:|CR||B:0|The difference |b:1|is|B:0| size."));
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(got[0].runs, (QList<label::Run>{{"Type 1:", true}}));
    EXPECT_EQ(got[1].runs, (QList<label::Run>{{"The difference ", false}, {"is", true}, {" size.", false}}));
}

TEST(FormattedLabelWidget, RendersParagraphsWithTheirMarginsAndWeights)
{
    FormattedLabel label;
    label.setCaption(QStringLiteral("|B:1|Head|B:0||CR||BEFORE:180||Left:180|Body"));
    EXPECT_EQ(label.plainText(), QStringLiteral("Head\nBody"));
    const QTextDocument* doc = label.document();
    ASSERT_EQ(doc->blockCount(), 2);
    const QTextBlock head = doc->begin();
    const QTextBlock body = head.next();
    EXPECT_EQ(head.blockFormat().topMargin(), 0);
    EXPECT_GT(body.blockFormat().topMargin(), 0);
    EXPECT_GT(body.blockFormat().leftMargin(), 0);
    EXPECT_EQ(head.begin().fragment().charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(body.begin().fragment().charFormat().fontWeight(), QFont::Normal);

    // Space before adds height; a narrower label wraps into more height.
    FormattedLabel flat;
    flat.setCaption(QStringLiteral("Head|CR|Body"));
    EXPECT_GT(label.heightForWidth(300), flat.heightForWidth(300));
    label.setCaption(QString(40, QLatin1Char('w')) + QStringLiteral(" ") + QString(40, QLatin1Char('w')));
    EXPECT_GT(label.heightForWidth(120), label.heightForWidth(2000));
}
