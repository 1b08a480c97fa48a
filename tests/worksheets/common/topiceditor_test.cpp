#include "worksheets/common/topiceditor.h"

#include "core/uimode.h"
#include "platform/richtext/emptybody.h"
#include "platform/richtext/richtexteditor.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

using worksheets::ApplyEndingRule;
using worksheets::TopicEditor;

namespace {

struct EndingCase {
    const char* rtf;
    const char* plain;
    const char* stored;
};

const EndingCase kEnding[] = {
    // Already closed: kept.
    {"{\\rtf1 abc\\par }", "abc", "{\\rtf1 abc\\par }"},
    // Ends in a bare brace: the paragraph is closed before it.
    {"{\\rtf1 abc}", "abc", "{\\rtf1 abc\\par }"},
    {"{\\rtf1 {\\b abc}}", "abc", "{\\rtf1 {\\b abc}\\par }"},
    // No text: stored as read, even without the closing paragraph.
    {"{\\rtf1 }", "", "{\\rtf1 }"},
    {"", "", ""},
    // Not ending in a brace (damaged): left alone rather than guessed at.
    {"{\\rtf1 abc", "abc", "{\\rtf1 abc"},
    {"{\\rtf1 abc} ", "abc", "{\\rtf1 abc} "},
    // "\par}" without the blank is not the closing form.
    {"{\\rtf1 abc\\par}", "abc", "{\\rtf1 abc\\par\\par }"},
};

TEST(EndingRule, StoredBodies)
{
    for (const EndingCase& c : kEnding) {
        SCOPED_TRACE(c.rtf);
        EXPECT_EQ(ApplyEndingRule(QString::fromUtf8(c.rtf), QString::fromUtf8(c.plain)), QString::fromUtf8(c.stored));
    }
}

// The model object a form keeps while it is shown.
struct Topic {
    QString name;
    QString body;
    int writes = 0;
};

class TopicEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        editor.resize(500, 300);
        QObject::connect(&editor, &TopicEditor::nameChanged, [this](const QString& t) { topic.name = t; ++topic.writes; });
        QObject::connect(&editor, &TopicEditor::bodyChanged, [this](const QString& r) { topic.body = r; ++topic.writes; });
    }
    TopicEditor editor;
    Topic topic;
};

TEST_F(TopicEditorTest, ChangesWhileBusyWriteNothing)
{
    editor.display("Forest", richtext::kEmptyBody);
    {
        core::BusyScope busy;   // as Setup fills the boxes
        editor.nameBox()->setText("Grassland");
        editor.bodyEditor()->textEdit()->insertPlainText("typed while filling");
    }
    EXPECT_EQ(topic.writes, 0);
    EXPECT_TRUE(core::IsIdle());
}

TEST_F(TopicEditorTest, UserEditsReachTheObjectWithTheEndingRule)
{
    editor.display("Forest", richtext::kEmptyBody);
    editor.show();
    QTest::keyClicks(editor.nameBox(), "X");
    EXPECT_EQ(topic.name, "ForestX");

    editor.bodyEditor()->textEdit()->setFocus();
    QTest::keyClicks(editor.bodyEditor()->textEdit(), "Protect the watershed");
    EXPECT_TRUE(topic.body.endsWith("\\par }")) << topic.body.right(40).toStdString();
    EXPECT_EQ(topic.body, editor.bodyRtf());
    EXPECT_TRUE(editor.bodyEditor()->plainText().contains("Protect the watershed"));
}

TEST_F(TopicEditorTest, DisplayIsStableAcrossVisits)
{
    const QString body = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Keep \\b bold\\b0  text\\par }";
    editor.display("Area", body);
    for (int visit = 0; visit < 10; ++visit) {
        editor.showEmpty();
        editor.display("Area", body);
    }
    EXPECT_EQ(topic.writes, 0);
    EXPECT_EQ(editor.bodyEditor()->plainText().trimmed(), "Keep bold text");
}

TEST_F(TopicEditorTest, EmptyStateDisablesBothBoxesAndSpelling)
{
    editor.display("Forest", richtext::kEmptyBody);
    EXPECT_FALSE(editor.isEmptyState());
    editor.showEmpty();
    EXPECT_TRUE(editor.isEmptyState());
    EXPECT_EQ(editor.name(), "");
    EXPECT_FALSE(editor.nameBox()->isEnabled());
    EXPECT_FALSE(editor.bodyEditor()->isEnabled());
    EXPECT_FALSE(editor.spellButton()->isEnabled());
    EXPECT_EQ(editor.bodyEditor()->plainText(), "");
    EXPECT_EQ(topic.writes, 0);

    editor.display("Back", richtext::kEmptyBody);
    EXPECT_TRUE(editor.nameBox()->isEnabled());
    EXPECT_TRUE(editor.bodyEditor()->isEnabled());
    EXPECT_TRUE(editor.spellButton()->isEnabled());
}

} // namespace

namespace {

// A heading stored longer than the box lets the user type (a file written elsewhere) is shown
// and edited whole; the next topic's heading has the box's own length again.
TEST_F(TopicEditorTest, AHeadingLongerThanItsBoxIsKeptWhole)
{
    editor.nameBox()->setMaxLength(80);
    const QString heading = QString(80, QLatin1Char('h')) + "tail";
    editor.display(heading, richtext::kEmptyBody);
    editor.show();
    EXPECT_EQ(editor.name(), heading);
    editor.nameBox()->setFocus();
    editor.nameBox()->end(false);
    QTest::keyClicks(editor.nameBox(), "more");
    EXPECT_EQ(topic.name, QString()) << "a full box takes nothing";
    QTest::keyClick(editor.nameBox(), Qt::Key_Backspace);
    EXPECT_EQ(topic.name, heading.chopped(1));

    editor.display("Short", richtext::kEmptyBody);
    editor.nameBox()->end(false);
    QTest::keyClicks(editor.nameBox(), QString(100, QLatin1Char('x')));
    EXPECT_EQ(topic.name.size(), 80);
}

} // namespace
