#include "worksheets/setup_situation/frm23situation.h"

#include "core/g0items.h"
#include "core/g2situation.h"
#include "core/uimode.h"
#include "platform/richtext/emptybody.h"
#include "platform/richtext/richtexteditor.h"
#include "support/worksheet_fixture.h"
#include "worksheets/common/topiceditor.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <memory>

using worksheets::frm23Situation;

namespace {

class SituationTest : public WorksheetFixture<frm23Situation> {
protected:
    // A topic as the data file brings it: a name, a heading, instructions of its own.
    int storedTopic(const QString& name, const QString& instructions = QString(), const QString& body = richtext::kEmptyBody)
    {
        const int key = core::NewSituationTopic(name);
        core::c0Item* topic = core::GetSituationItem(key);
        topic->SetHeading(name);
        topic->SetItemText(instructions);
        topic->SetBody(body);
        core::SaveSituation();
        core::ClearItems();
        return key;
    }
    void leave()
    {
        core::SaveSituation();
        form.reset();
    }
    QVariant stored(int key, const QString& field) { return WorksheetFixture::stored("Items", key, field); }
    QStringList listTexts() const
    {
        QStringList texts;
        for (int i = 0; i < form->lstTopics()->count(); ++i)
            texts << form->lstTopics()->item(i)->text();
        return texts;
    }
    QLineEdit* heading() const { return form->topic()->nameBox(); }
    QTextEdit* body() const { return form->topic()->bodyEditor()->textEdit(); }
    void typeHeading(const QString& text)
    {
        heading()->setFocus();
        heading()->selectAll();
        QTest::keyClicks(heading(), text);
    }
    void typeBody(const QString& text)
    {
        body()->setFocus();
        QTest::keyClicks(body(), text);
    }
    void expectEmptyState()
    {
        EXPECT_EQ(form->lstTopics()->count(), 0);
        EXPECT_EQ(form->current(), nullptr);
        EXPECT_TRUE(form->topic()->isEmptyState());
        EXPECT_EQ(heading()->text(), "");
        EXPECT_EQ(form->topic()->bodyEditor()->plainText(), "");
        EXPECT_EQ(form->lblInstructions()->text(), "");
        EXPECT_FALSE(form->cmdDelete()->isEnabled());
        EXPECT_TRUE(form->cmdNewTopic()->isEnabled());
    }
};

TEST_F(SituationTest, OpeningShowsTheFirstTopicWithItsInstructionsAndTheNarrativeReady)
{
    const int weather = storedTopic("Weather", "Give the forecast for the next 72 hours.",
                                    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Red flag warning\\par }");
    storedTopic("Fuels");
    open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(listTexts(), QStringList({"Weather", "Fuels"}));
    EXPECT_EQ(form->lstTopics()->currentRow(), 0);
    ASSERT_NE(form->current(), nullptr);
    EXPECT_EQ(form->current()->ItemKey(), weather);
    EXPECT_EQ(heading()->text(), "Weather");
    EXPECT_EQ(form->topic()->bodyEditor()->plainText(), "Red flag warning");
    EXPECT_EQ(form->lblInstructions()->text(), "Give the forecast for the next 72 hours.");
    EXPECT_EQ(QApplication::focusWidget(), body());
    EXPECT_TRUE(form->cmdDelete()->isEnabled());
    EXPECT_FALSE(form->current()->Changed()) << "filling writes nothing";

    // A topic without instructions shows none.
    form->lstTopics()->setCurrentRow(1);
    EXPECT_EQ(heading()->text(), "Fuels");
    EXPECT_EQ(form->lblInstructions()->text(), "");
}

TEST_F(SituationTest, AnEmptyListShowsNothingToEdit)
{
    open();
    expectEmptyState();
}

TEST_F(SituationTest, AddedTopicLeftUntouchedIsStoredAsNewTopic)
{
    storedTopic("Weather");
    open();
    typeBody("Winds SW 15");
    QTest::mouseClick(form->cmdNewTopic(), Qt::LeftButton);
    ASSERT_NE(form->current(), nullptr);
    const int key = form->current()->ItemKey();
    EXPECT_EQ(listTexts(), QStringList({"Weather", "New Topic"}));
    EXPECT_EQ(form->lstTopics()->currentRow(), 1);
    // The heading box waits empty for the user's heading; the body is the empty one.
    EXPECT_EQ(heading()->text(), "");
    EXPECT_EQ(form->topic()->bodyEditor()->plainText(), "");
    EXPECT_EQ(form->lblInstructions()->text(), "");
    EXPECT_EQ(QApplication::focusWidget(), heading());
    EXPECT_TRUE(form->cmdDelete()->isEnabled());
    // Written at once under the situation group; the topic left was stored first.
    EXPECT_EQ(stored(key, "ItemName").toString(), "New Topic");
    EXPECT_EQ(stored(key, "ParentKey").toInt(), core::kSituationGroupKey);
    EXPECT_EQ(stored(key, "Body").toString(), richtext::kEmptyBody);
    EXPECT_TRUE(stored(key - 1, "Body").toString().contains("Winds SW 15"));

    leave();
    EXPECT_EQ(stored(key, "Heading").toString(), "New Topic");
    EXPECT_EQ(stored(key, "ItemName").toString(), "New Topic");
}

TEST_F(SituationTest, RenameAndNarrativeFollowTheTypingAndAreStoredWhenAnotherTopicIsChosen)
{
    const int a = storedTopic("Weather");
    const int b = storedTopic("Fuels");
    open();
    typeHeading("Weather and winds");
    EXPECT_EQ(listTexts(), QStringList({"Weather and winds", "Fuels"}));
    typeBody("Critical fire weather through Thursday");
    EXPECT_EQ(stored(a, "Heading").toString(), "Weather");

    form->lstTopics()->setCurrentRow(1);
    EXPECT_EQ(form->current()->ItemKey(), b);
    EXPECT_EQ(stored(a, "Heading").toString(), "Weather and winds");
    EXPECT_EQ(stored(a, "ItemName").toString(), "Weather and winds");
    const QString narrative = stored(a, "Body").toString();
    EXPECT_TRUE(narrative.contains("Critical fire weather through Thursday")) << narrative.toStdString();
    EXPECT_TRUE(narrative.endsWith("\\par }")) << narrative.toStdString();

    // The heading box takes at most 80 characters; an empty heading is allowed.
    typeHeading(QString(100, QLatin1Char('h')));
    EXPECT_EQ(form->current()->Heading(), QString(80, QLatin1Char('h')));
    typeHeading("");
    heading()->selectAll();
    QTest::keyClick(heading(), Qt::Key_Delete);
    EXPECT_EQ(listTexts(), QStringList({"Weather and winds", ""}));
    leave();
    EXPECT_EQ(stored(b, "Heading").toString(), "");
    EXPECT_EQ(stored(b, "ItemName").toString(), "");
}

// Deleting asks nothing, shows the first topic, and the topic is gone from the file for good,
// edits and all; the last one leaves nothing to edit.
TEST_F(SituationTest, DeletedTopicsStayDeleted)
{
    const int a = storedTopic("Weather");
    const int b = storedTopic("Fuels");
    const int c = storedTopic("Topography");
    open();
    form->lstTopics()->setCurrentRow(1);
    typeHeading("Fuels and fuel moisture");
    typeBody("1000-hour fuels at 9%");

    QTest::mouseClick(form->cmdDelete(), Qt::LeftButton);
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_EQ(listTexts(), QStringList({"Weather", "Topography"}));
    EXPECT_EQ(form->lstTopics()->currentRow(), 0);
    EXPECT_EQ(form->current()->ItemKey(), a);
    EXPECT_EQ(stored(b, "ItemName").toString(), "<no row>");
    // Siblings keep their places.
    EXPECT_EQ(stored(c, "ChildIndex").toInt(), 3);

    form->lstTopics()->setCurrentRow(1);   // stores the topic left: no orphan comes back
    EXPECT_EQ(stored(b, "ItemName").toString(), "<no row>");

    QTest::mouseClick(form->cmdDelete(), Qt::LeftButton);
    EXPECT_EQ(listTexts(), QStringList{"Weather"});
    typeHeading("Weather, last");
    QTest::mouseClick(form->cmdDelete(), Qt::LeftButton);
    expectEmptyState();
    // Keys typed into the empty state reach no topic.
    QTest::keyClicks(heading(), "lost?");
    QTest::keyClicks(body(), "lost?");
    leave();
    for (int key : {a, b, c})
        EXPECT_EQ(stored(key, "ItemName").toString(), "<no row>") << key;
    EXPECT_EQ(core::CountChildItems(core::kSituationGroupKey), 0);

    // A new topic after all were deleted starts clean.
    open();
    QTest::mouseClick(form->cmdNewTopic(), Qt::LeftButton);
    EXPECT_EQ(listTexts(), QStringList{"New Topic"});
    EXPECT_FALSE(form->topic()->isEmptyState());
    EXPECT_TRUE(form->cmdDelete()->isEnabled());
}

TEST_F(SituationTest, ADeleteTheFileRefusesLeavesTheTopicShownAndEdited)
{
    storedTopic("Weather");
    const int fuels = storedTopic("Fuels");
    open();
    form->lstTopics()->setCurrentRow(1);
    db().Execute("CREATE TEMP TRIGGER keep_items BEFORE DELETE ON Items BEGIN SELECT RAISE(ABORT, 'the disk is full'); END");
    QTest::mouseClick(form->cmdDelete(), Qt::LeftButton);
    db().Execute("DROP TRIGGER keep_items");
    EXPECT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(listTexts(), QStringList({"Weather", "Fuels"}));
    ASSERT_NE(form->current(), nullptr);
    EXPECT_EQ(form->current()->ItemKey(), fuels);
    typeHeading("Fuels and fuel moisture");
    leave();
    EXPECT_EQ(stored(fuels, "Heading").toString(), "Fuels and fuel moisture");
}

TEST_F(SituationTest, ChangesFiredWhileFillingWriteNothing)
{
    const int a = storedTopic("Weather");
    open();
    {
        core::BusyScope busy;
        heading()->setText("Overwritten");
        body()->insertPlainText("Overwritten");
    }
    EXPECT_FALSE(form->current()->Changed());
    EXPECT_EQ(listTexts(), QStringList{"Weather"});
    leave();
    EXPECT_EQ(stored(a, "Heading").toString(), "Weather");
    EXPECT_EQ(stored(a, "Body").toString(), richtext::kEmptyBody);
}

// Add, name, write and delete with the keyboard alone.
TEST_F(SituationTest, KeyboardAlone)
{
    storedTopic("Weather");
    open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->lstTopics()->setFocus();
    QTest::keyClick(form->lstTopics(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form->cmdNewTopic());
    QTest::keyClick(form->cmdNewTopic(), Qt::Key_Space);
    ASSERT_EQ(QApplication::focusWidget(), heading());
    QTest::keyClicks(heading(), "Values threatened");
    QTest::keyClick(heading(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), body());
    QTest::keyClicks(body(), "Structures along Hwy 190");
    EXPECT_EQ(listTexts(), QStringList({"Weather", "Values threatened"}));
    EXPECT_TRUE(form->current()->Body().contains("Structures along Hwy 190"));
    // Back to the buttons: Shift+Tab from the heading reaches Delete.
    heading()->setFocus();
    QTest::keyClick(heading(), Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), form->cmdDelete());
    QTest::keyClick(form->cmdDelete(), Qt::Key_Space);
    EXPECT_EQ(listTexts(), QStringList{"Weather"});
}

} // namespace
