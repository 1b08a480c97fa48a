#include "platform/spell/spellchecker.h"
#include "platform/spell/spelldialog.h"
#include "platform/spell/spellsession.h"

#include "platform/richtext/richtexteditor.h"
#include "platform/ui/scriptedprompter.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace spell;

namespace {

class SpellTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        checker = std::make_unique<SpellChecker>(folder.path());
        ASSERT_TRUE(checker->isValid()) << "en_US dictionary missing";
    }

    QTemporaryDir folder;
    std::unique_ptr<SpellChecker> checker;
};

TEST_F(SpellTest, ChecksAndSuggests)
{
    for (const char* good : {"fire", "Fire", "ridge", "don't", "don\u2019t", "RMA", "FMU2", "12", ""})
        EXPECT_TRUE(checker->check(QString::fromUtf8(good))) << good;
    for (const char* bad : {"fier", "Teh", "ridgee", "Ardwynn"})
        EXPECT_FALSE(checker->check(QString::fromUtf8(bad))) << bad;
    EXPECT_TRUE(checker->suggest(QStringLiteral("fier")).contains(QStringLiteral("fire")));
}

TEST_F(SpellTest, AddedWordsLastToTheNextStart)
{
    EXPECT_TRUE(checker->add(QStringLiteral("Tolmarian")));
    EXPECT_TRUE(checker->check(QStringLiteral("Tolmarian")));
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("Custom.dct"))));
    checker.reset();

    SpellChecker next(folder.path());
    EXPECT_TRUE(next.check(QStringLiteral("Tolmarian")));
    EXPECT_FALSE(next.check(QStringLiteral("Tolmarians")));

    // two editors open at once each add a word: the file keeps both
    SpellChecker first(folder.path());
    SpellChecker second(folder.path());
    EXPECT_TRUE(first.add(QStringLiteral("Ardwynn")));
    EXPECT_TRUE(second.add(QStringLiteral("Brevara")));
    SpellChecker both(folder.path());
    for (const char* w : {"Tolmarian", "Ardwynn", "Brevara"})
        EXPECT_TRUE(both.check(QString::fromLatin1(w))) << w;

    // an older dictionary written in the Windows code page
    QFile old(folder.filePath(QStringLiteral("Custom.dct")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("Caf\xe9ville\r\nTolmarian\r\n");
    old.close();
    SpellChecker legacy(folder.path());
    EXPECT_TRUE(legacy.check(QString::fromUtf8("Caféville")));
    EXPECT_TRUE(legacy.check(QStringLiteral("Tolmarian")));
}

TEST_F(SpellTest, UnwritableDictionaryReportsFailureButKeepsTheWord)
{
    QFile blocker(folder.filePath(QStringLiteral("notafolder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SpellChecker stuck(folder.filePath(QStringLiteral("notafolder/inner")));
    EXPECT_FALSE(stuck.add(QStringLiteral("Tolmarian")));
    EXPECT_TRUE(stuck.check(QStringLiteral("Tolmarian")));

    EXPECT_EQ(CustomDictionaryFolder(folder.path()), QDir(folder.path()).absolutePath());
    EXPECT_NE(CustomDictionaryFolder(folder.filePath(QStringLiteral("missing"))),
              folder.filePath(QStringLiteral("missing")));
}

TEST_F(SpellTest, SessionWalksChangesAndIgnores)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("Teh "));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("fier"), bold);
    c.insertText(QStringLiteral(" crew saw teh fier near\nteh 'ridgee' on FMU 12."), QTextCharFormat());

    SpellSession s(*checker, &doc);
    ASSERT_TRUE(s.next());
    EXPECT_EQ(s.word(), QStringLiteral("Teh"));
    EXPECT_EQ(s.position(), 0);
    s.ignore();
    ASSERT_TRUE(s.next());
    EXPECT_EQ(s.word(), QStringLiteral("fier"));
    EXPECT_TRUE(s.suggestions().contains(QStringLiteral("fire")));
    s.changeAll(QStringLiteral("fire"));
    ASSERT_TRUE(s.next());
    EXPECT_EQ(s.word(), QStringLiteral("teh"));
    s.ignoreAll();
    ASSERT_TRUE(s.next());  // the second "fier" is changed on the way, the second "teh" ignored
    EXPECT_EQ(s.word(), QStringLiteral("ridgee"));
    s.change(QStringLiteral("ridge"));
    EXPECT_FALSE(s.next());
    EXPECT_FALSE(s.next());

    EXPECT_EQ(doc.toPlainText(), QStringLiteral("Teh fire crew saw teh fire near\nteh 'ridge' on FMU 12."));
    EXPECT_EQ(s.changeCount(), 3);
    QTextCursor at(&doc);
    at.setPosition(5);
    EXPECT_EQ(at.charFormat().fontWeight(), QFont::Bold);
}

TEST_F(SpellTest, CorrectionsInTheEditorRaiseItsChange)
{
    richtext::RichTextEditor editor;
    editor.setRtf(QStringLiteral("{\\rtf1 \\pard Spot fier\\par }"));
    QSignalSpy changed(&editor, &richtext::RichTextEditor::changed);
    SpellSession s(*checker, editor.document());
    ASSERT_TRUE(s.next());
    s.change(QStringLiteral("fire"));
    EXPECT_GT(changed.count(), 0);
    EXPECT_TRUE(editor.rtf().contains(QStringLiteral("Spot fire\\par }")));
}

TEST_F(SpellTest, DialogDrivesTheWalk)
{
    ui::ScriptedPrompter prompter;
    QTextEdit edit;
    edit.setPlainText(QStringLiteral("The fier and the Tolmarian crew"));
    SpellSession s(*checker, edit.document());
    SpellDialog dialog(s, &edit);
    ASSERT_TRUE(dialog.start());
    EXPECT_EQ(dialog.currentWord(), QStringLiteral("fier"));
    EXPECT_EQ(edit.textCursor().selectedText(), QStringLiteral("fier"));
    ASSERT_GT(dialog.suggestionList()->count(), 0);
    const int fire = dialog.suggestionList()->row(
        dialog.suggestionList()->findItems(QStringLiteral("fire"), Qt::MatchExactly).value(0));
    dialog.suggestionList()->setCurrentRow(fire);
    EXPECT_EQ(dialog.changeTo()->text(), QStringLiteral("fire"));
    dialog.grab().save(QStringLiteral("spelldialog.png"));
    dialog.button(QStringLiteral("Change"))->click();
    EXPECT_EQ(dialog.currentWord(), QStringLiteral("Tolmarian"));
    dialog.button(QStringLiteral("Add"))->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("The fire and the Tolmarian crew"));
    EXPECT_TRUE(SpellChecker(folder.path()).check(QStringLiteral("Tolmarian")));
    EXPECT_TRUE(prompter.messages().isEmpty());

    // nothing left to find: no dialog, just the closing message
    EXPECT_EQ(CheckSpelling(&edit, *checker), 0);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages().at(0).text, QStringLiteral("The spelling check is complete."));

    SpellChecker missing(folder.path(), QStringLiteral("/nonexistent/en_US.aff"), QStringLiteral("/nonexistent/en_US.dic"));
    EXPECT_FALSE(missing.isValid());
    edit.setPlainText(QStringLiteral("fier"));
    EXPECT_EQ(CheckSpelling(&edit, missing), 0);
    ASSERT_EQ(prompter.messages().size(), 2);
    EXPECT_EQ(prompter.messages().at(1).text, QStringLiteral("The spelling dictionary could not be found."));
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("fier"));
}

} // namespace
