#include "platform/richtext/richtexteditor.h"

#include "platform/richtext/rtf.h"
#include "platform/richtext/ruler.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QToolBar>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace richtext;

namespace {

const QString kBody = QStringLiteral(
    "{\\rtf1\\ansi\\ansicpg1252\\uc0\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0\\fprq2 Arial;}}"
    "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue255;}\\plain\\f0\\fs20 "
    "\\pard Fire is \\b active\\b0  on the ridge.\\par }");

class EditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        editor.resize(520, 260);
        editor.setRulerVisible(true);
        editor.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
        editor.setRtf(kBody);
    }

    QAction* action(const QString& text)
    {
        for (QAction* a : editor.buttonBar()->actions())
            if (a->text() == text)
                return a;
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    }

    void select(int from, int to)
    {
        QTextCursor c = editor.textEdit()->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        editor.textEdit()->setTextCursor(c);
    }

    RichTextEditor editor;
};

TEST_F(EditorTest, LoadingIsSilentAndSavesTheSameText)
{
    QSignalSpy changed(&editor, &RichTextEditor::changed);
    editor.setRtf(kBody);
    editor.setRtf(EmptyRtf());
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(editor.rtf(), EmptyRtf());
    EXPECT_EQ(editor.plainTextLength(), 0);
    editor.setRtf(kBody);
    EXPECT_EQ(editor.rtf(), kBody);
    EXPECT_EQ(editor.plainText(), QStringLiteral("Fire is active on the ridge."));
    editor.setRtf(QStringLiteral("An old plain note"));
    EXPECT_EQ(editor.plainText(), QStringLiteral("An old plain note"));
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(EditorTest, EveryUserEditRaisesChange)
{
    QSignalSpy changed(&editor, &RichTextEditor::changed);
    editor.textEdit()->setFocus();
    editor.textEdit()->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor.textEdit(), " Wind");
    EXPECT_GT(changed.count(), 0);
    EXPECT_TRUE(editor.rtf().contains(QStringLiteral("ridge. Wind\\par }")));

    changed.clear();
    select(0, 4);
    action(QStringLiteral("Italic"))->trigger();
    EXPECT_GT(changed.count(), 0);
    EXPECT_TRUE(editor.rtf().contains(QStringLiteral("\\i Fire\\i0")));

    changed.clear();
    action(QStringLiteral("Centre"))->trigger();
    EXPECT_GT(changed.count(), 0);
    EXPECT_TRUE(editor.rtf().contains(QStringLiteral("\\pard\\qc ")));

    changed.clear();
    auto* size = editor.buttonBar()->findChild<QComboBox*>();
    ASSERT_NE(size, nullptr);
    select(0, 4);
    size->setCurrentIndex(size->findData(14));
    emit size->activated(size->currentIndex());
    EXPECT_GT(changed.count(), 0);
    EXPECT_TRUE(editor.rtf().contains(QStringLiteral("\\fs28 Fire"))) << editor.rtf().toStdString();

    changed.clear();
    action(QStringLiteral("Bullets"))->trigger();
    EXPECT_GT(changed.count(), 0);
    EXPECT_TRUE(editor.rtf().contains(QStringLiteral("\\tab}\\ls1\\ilvl0")));
    action(QStringLiteral("Bullets"))->trigger();
    EXPECT_FALSE(editor.rtf().contains(QStringLiteral("\\ls1")));

    changed.clear();
    action(QStringLiteral("Increase indent"))->trigger();
    action(QStringLiteral("Increase indent"))->trigger();
    action(QStringLiteral("Decrease indent"))->trigger();
    EXPECT_EQ(changed.count(), 3);
    EXPECT_TRUE(editor.rtf().contains(QStringLiteral("\\li360 ")));
}

TEST_F(EditorTest, CopyAndPasteKeepFormatting)
{
    QSignalSpy changed(&editor, &RichTextEditor::changed);
    select(8, 14);  // "active", bold
    editor.copy();
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_TRUE(QString::fromLatin1(mime->data(QStringLiteral("text/rtf"))).contains(QStringLiteral("\\b active")));
    editor.textEdit()->moveCursor(QTextCursor::End);
    editor.paste();
    EXPECT_GT(changed.count(), 0);
    EXPECT_TRUE(editor.rtf().contains(QStringLiteral("ridge.\\b active\\par }"))) << editor.rtf().toStdString();

    select(0, 5);
    editor.cut();
    EXPECT_EQ(editor.plainText().left(3), QStringLiteral("is "));
}

TEST_F(EditorTest, PastedWebTextShowsOnlyWhatTheBodyKeeps)
{
    auto* mime = new QMimeData;
    mime->setHtml(QStringLiteral("<p><span style=\"font-family:'Courier New'\"><b>Spot</b> fire</span>"
                                 "<img src=\"missing.png\" width=\"20\" height=\"20\"></p>"));
    QApplication::clipboard()->setMimeData(mime);
    editor.textEdit()->moveCursor(QTextCursor::End);
    editor.paste();
    // the editor shows no picture and no other font than the saved body would give back
    EXPECT_FALSE(editor.document()->toPlainText().contains(QChar::ObjectReplacementCharacter));
    bool otherFont = false;
    for (QTextBlock b = editor.document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            otherFont |= it.fragment().charFormat().fontFamilies().toStringList().contains(QStringLiteral("Courier New"));
    EXPECT_FALSE(otherFont);
    const QString saved = editor.rtf();
    EXPECT_TRUE(saved.contains(QStringLiteral("\\b Spot\\b0  fire"))) << saved.toStdString();
    editor.setRtf(saved);
    EXPECT_EQ(editor.rtf(), saved);
}

TEST_F(EditorTest, RulerMovesIndentsAndSetsTabStops)
{
    Ruler* ruler = editor.ruler();
    ASSERT_TRUE(ruler->isVisible());
    const int x0 = int(ruler->textLeft());
    const int bottom = ruler->height() - 3;
    QSignalSpy changed(&editor, &RichTextEditor::changed);
    // left indent marker from 0 to half an inch
    QTest::mousePress(ruler, Qt::LeftButton, {}, QPoint(x0, bottom));
    QTest::mouseMove(ruler, QPoint(x0 + 48, bottom));
    QTest::mouseRelease(ruler, Qt::LeftButton, {}, QPoint(x0 + 48, bottom));
    EXPECT_TRUE(editor.rtf().contains(QStringLiteral("\\li720 "))) << editor.rtf().toStdString();
    // a click on the scale away from the markers adds a left tab stop at 2 inches
    QTest::mouseClick(ruler, Qt::LeftButton, {}, QPoint(x0 + 192, bottom));
    EXPECT_TRUE(editor.rtf().contains(QStringLiteral("\\tx2880 ")));
    EXPECT_EQ(changed.count(), 2);

    auto drag = [&](QPoint from, QPoint to) {
        QTest::mousePress(ruler, Qt::LeftButton, {}, from);
        QTest::mouseMove(ruler, to);
        QTest::mouseRelease(ruler, Qt::LeftButton, {}, to);
    };
    // first line from the left indent to one inch
    drag(QPoint(x0 + 48, 3), QPoint(x0 + 96, 3));
    EXPECT_TRUE(editor.rtf().contains(QStringLiteral("\\fi720\\li720\\tx2880 "))) << editor.rtf().toStdString();
    // right indent in by one inch
    const int right = x0 + editor.textEdit()->viewport()->width() - 2 * int(editor.document()->documentMargin());
    drag(QPoint(right, bottom), QPoint(right - 96, bottom));
    EXPECT_TRUE(editor.rtf().contains(QRegularExpression(QStringLiteral("\\\\ri14[0-9]{2}"))))
        << editor.rtf().toStdString();
    // a tab stop dragged off the ruler is gone
    drag(QPoint(x0 + 192, bottom), QPoint(x0 + 192, bottom + 40));
    EXPECT_FALSE(editor.rtf().contains(QStringLiteral("\\tx")));
    EXPECT_EQ(changed.count(), 5);

    editor.grab().save(QStringLiteral("richtexteditor.png"));
}

TEST_F(EditorTest, DisabledEditorTakesNoInput)
{
    editor.setEnabled(false);
    QSignalSpy changed(&editor, &RichTextEditor::changed);
    QTest::keyClicks(editor.textEdit(), "x");
    EXPECT_EQ(changed.count(), 0);
    editor.setEnabled(true);
    editor.clear();
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(editor.rtf(), EmptyRtf());
}

// Tab types a tab, which the body keeps; a keyboard user still leaves the body forward with
// Ctrl+Tab and back with Ctrl+Shift+Tab or Shift+Tab.
TEST(BodyFocusTest, TabTypesATabAndCtrlTabLeavesTheBody)
{
    QWidget form;
    auto* before = new QLineEdit(&form);
    auto* editor = new RichTextEditor(&form);
    auto* after = new QPushButton(QStringLiteral("Spellcheck"), &form);
    auto* layout = new QVBoxLayout(&form);
    layout->addWidget(before);
    layout->addWidget(editor);
    layout->addWidget(after);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QApplication::setActiveWindow(&form);
    BodyTextEdit* body = editor->textEdit();

    body->setFocus();
    QTest::keyClick(body, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), body);
    EXPECT_EQ(editor->plainText(), QStringLiteral("\t"));
    EXPECT_TRUE(editor->rtf().contains(QStringLiteral("\\tab"))) << editor->rtf().toStdString();

    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QWidget* lands;
    } cases[] = {
        {Qt::Key_Tab, Qt::ControlModifier, after},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, before},
        {Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, before},
        {Qt::Key_Backtab, Qt::ShiftModifier, before},
    };
    for (const auto& c : cases) {
        body->setFocus();
        QTest::keyClick(body, c.key, c.modifiers);
        EXPECT_EQ(QApplication::focusWidget(), c.lands) << int(c.key) << " " << int(c.modifiers);
    }
    EXPECT_EQ(editor->plainText(), QStringLiteral("\t"));   // no key typed anything more
}

} // namespace
